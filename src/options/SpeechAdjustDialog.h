#pragma once

#include "platform/speech/SpeechSettings.h"

#include <QDialog>

#include <vector>

class QComboBox;
class QSlider;

namespace fareboard {

// The voice, its speed, pitch and loudness, and "試聴" to hear a sample with them before
// they are kept.
class SpeechAdjustDialog final : public QDialog {
    Q_OBJECT
public:
    // `voices`: the installed ones, offered in this order.
    SpeechAdjustDialog(const SpeechSettings& settings, const std::vector<VoiceKind>& voices, const QString& title,
                       QWidget* owner = nullptr);

    SpeechSettings settings() const;

signals:
    void auditionRequested(const SpeechSettings& settings);

private:
    QSlider* addSlider(const QString& name, int min, int max, int value);
    void showValues(const SpeechSettings& settings);

    QComboBox* voice_;
    QSlider* rate_;
    QSlider* pitch_;
    QSlider* volume_;
};

}  // namespace fareboard
