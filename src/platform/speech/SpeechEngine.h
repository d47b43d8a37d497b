#pragma once

#include <QString>
#include <QStringList>

#include <functional>

class QWidget;

namespace fareboard {

// A voice that reads Japanese text aloud on its own while the program goes on. Texts come
// with their readings already applied (spokenText).
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
    // The texts likely to be spoken, in the order they will be: a voice that takes a while
    // makes them ahead, in the background, so that speak() need not wait.
    virtual void prepare(const QStringList& texts) { (void)texts; }
    // `text` is about to be spoken (a chime plays first): make it now, ahead of the rest.
    virtual void prefetch(const QString& text) { (void)text; }
    // `lost` is called, on the thread that made the engine, when it turns out at first use that
    // no voice can speak here after all (its library would not load); from then on the engine
    // stays silent.
    virtual void setLostHandler(std::function<void()> lost) { (void)lost; }
    // `failed` is called, on the thread that made the engine, once for each voice that failed
    // (its program ended in error, hung or answered nonsense) with what to tell the user; the
    // text it was to say is said by the next voice, and the lost handler follows when there
    // is none left.
    virtual void setFailureHandler(std::function<void(const QString& message)> failed) { (void)failed; }
};

}  // namespace fareboard
