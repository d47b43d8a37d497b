#pragma once

#include "platform/Clock.h"
#include "support/FakeAudio.h"
#include "support/FakeKobuRes.h"
#include "support/FakeShell.h"
#include "support/FakeSpeech.h"
#include "platform/MessageBox.h"
#include "platform/PlatformServices.h"
#include "platform/Sleeper.h"

#include <deque>
#include <vector>

namespace fareboard::test {

// Records every box and answers from a queue the test fills (Ok/Yes by default).
class FakeMessageBox final : public MessageBox {
public:
    struct Shown {
        QString text;
        QString title;
        Icon icon;
        Buttons buttons;
    };
    std::vector<Shown> shown;
    std::deque<Answer> answers;

    Answer show(const QString& text, const QString& title, Icon icon, Buttons buttons) override
    {
        shown.push_back({text, title, icon, buttons});
        if (!answers.empty()) {
            const Answer a = answers.front();
            answers.pop_front();
            return a;
        }
        return buttons == Buttons::YesNo || buttons == Buttons::YesNoCancel ? Answer::Yes : Answer::Ok;
    }
};

class FakeSleeper final : public Sleeper {
public:
    std::vector<int> calls;
    void sleep(int milliseconds) override { calls.push_back(milliseconds); }
};

class FakeClock final : public Clock {
public:
    QDateTime time{QDate(2010, 3, 5), QTime(9, 5, 0)};
    QDateTime now() const override { return time; }
};

// One set of fakes, handed to an Application as its platform services.
struct FakeServices {
    FakeMessageBox messageBox;
    FakeSleeper sleeper;
    FakeClock clock;
    FakeKobuRes library;
    FakeShell shell;
    FakeAudioDevice audio;
    // The speech engine the tape makes; it belongs to the tape, so only its address is kept.
    FakeSpeechEngine* speech = nullptr;
    PlatformServices services()
    {
        return {messageBox, sleeper, clock, library, shell, audio, [this]() -> std::unique_ptr<SpeechEngine> {
                    auto engine = std::make_unique<FakeSpeechEngine>();
                    speech = engine.get();
                    return engine;
                }};
    }
};

}  // namespace fareboard::test
