#pragma once

#include <QString>

class QWidget;

namespace fareboard {

// A voice that reads Japanese text aloud on its own while the program goes on.
class SpeechEngine {
public:
    virtual ~SpeechEngine() = default;
    // Starts reading `text` and returns at once; whatever was being read stops first.
    virtual void speak(const QString& text) = 0;
    // Silences the voice at once.
    virtual void stop() = 0;
    // True from speak() until the text has been read to its end or stopped.
    virtual bool speaking() const = 0;
    // Lets the user set how the voice sounds; applies from the next text on.
    virtual void showAdjustDialog(QWidget* owner, const QString& title) = 0;
};

}  // namespace fareboard
