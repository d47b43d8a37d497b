#pragma once

#include "SpeechSettings.h"

#include <QDialog>

class QSlider;

namespace fareboard {

// Speed, pitch and loudness of the voice, one slider each.
class SpeechAdjustDialog final : public QDialog {
    Q_OBJECT
public:
    SpeechAdjustDialog(const SpeechSettings& settings, const QString& title, QWidget* owner = nullptr);

    SpeechSettings settings() const;

private:
    QSlider* addSlider(const QString& name, int min, int max, int value);

    QSlider* rate_;
    QSlider* pitch_;
    QSlider* volume_;
};

}  // namespace fareboard
