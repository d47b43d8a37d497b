#pragma once

#include "platform/speech/SpeechEngine.h"

#include <QStringList>

namespace fareboard::test {

// Records "speak <text>", "stop" and "adjust <title>"; speaking from speak() until stop().
// What is made ahead (prepare, prefetch) is kept on the side.
class FakeSpeechEngine final : public SpeechEngine {
public:
    QStringList calls;
    QStringList* journal = nullptr;
    QWidget* adjustOwner = nullptr;
    bool isSpeaking = false;
    QStringList prepared;    // the last prepare()'s texts
    QStringList prefetched;  // every prefetch(), kept apart from the calls journal


    void speak(const QString& text) override
    {
        record(QStringLiteral("speak ") + text);
        isSpeaking = true;
    }
    void stop() override
    {
        record(QStringLiteral("stop"));
        isSpeaking = false;
    }
    bool speaking() const override { return isSpeaking; }
    void showAdjustDialog(QWidget* owner, const QString& title) override
    {
        adjustOwner = owner;
        record(QStringLiteral("adjust ") + title);
    }

    void prepare(const QStringList& texts) override { prepared = texts; }
    void prefetch(const QString& text) override { prefetched << text; }

    QStringList spoken() const
    {
        QStringList texts;
        for (const QString& c : calls) {
            if (c.startsWith(QStringLiteral("speak ")))
                texts << c.mid(6);
        }
        return texts;
    }

private:
    void record(const QString& call)
    {
        calls << call;
        if (journal)
            *journal << call;
    }
};

}  // namespace fareboard::test
