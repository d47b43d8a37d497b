// From the press of "送り" to the first sample of the announcement reaching the mixer, for a
// thirty-character text with kanji, on the real mixer (silent driver) and the real voice.
#include "announce/TapeHost.h"
#include "announce/mdlM_Tape.h"
#include "announce/mdlSndAPI.h"
#include "platform/EventLoopSleeper.h"
#include "platform/ShiftJis.h"
#include "platform/audio/SdlAudioDevice.h"
#include "platform/audio/SdlMixer.h"
#include "platform/audio/SdlPcmPlayer.h"
#include "platform/speech/EspeakSpeechEngine.h"

#include <QFile>
#include <QTemporaryDir>

#include <SDL_mixer.h>
#include <benchmark/benchmark.h>

#include <atomic>
#include <chrono>
#include <cstdlib>
#include <thread>

namespace {

using Clock = std::chrono::steady_clock;

class QuietHost final : public fareboard::TapeHost {
public:
    QString GetOsInfo() override { return QStringLiteral("Linux"); }
    void setControlCaption(const QString&, const QString&) override {}
    void setControlEnabled(const QString&, bool) override {}
    void setControlToolTip(const QString&, const QString&) override {}
    bool optionSelected(const QString&) override { return false; }
    QString optionText(const QString&) override { return QString(); }
    QWidget* consoleWindow() override { return nullptr; }
};

// Set by the mixer thread when a mixed buffer first carries sound after being armed.
struct FirstSound {
    std::atomic<bool> armed{false};
    std::atomic<Clock::rep> at{0};
};

void SDLCALL watchMix(void* data, Uint8* stream, int len)
{
    auto* first = static_cast<FirstSound*>(data);
    if (!first->armed.load())
        return;
    const auto* samples = reinterpret_cast<const int16_t*>(stream);
    for (int i = 0; i < len / 2; ++i) {
        if (samples[i] != 0) {
            first->at = Clock::now().time_since_epoch().count();
            first->armed = false;
            return;
        }
    }
}

void BM_TapeNextToFirstSpeechSample(benchmark::State& state)
{
    setenv("SDL_AUDIODRIVER", "dummy", 0);
    // 30 characters, kanji, kana and punctuation.
    const QString text = QStringLiteral("次は、市役所前です。お降りの方は降車ボタンでお知らせください");
    QTemporaryDir dir;
    QFile file(dir.filePath(QStringLiteral("1tp.csv")));
    file.open(QIODevice::WriteOnly);
    for (int i = 0; i < 200; ++i)
        file.write(fareboard::toShiftJis(text + QStringLiteral(",0,0\r\n")));
    file.close();

    fareboard::SdlMixer mixer;
    fareboard::SdlAudioDevice device(mixer);
    fareboard::SdlPcmPlayer speech(mixer, QStringLiteral("benchSpeech"));
    fareboard::EventLoopSleeper sleeper;
    fareboard::mdlSndAPI snd(device, sleeper, QStringLiteral("bench"));
    QuietHost host;
    fareboard::mdlM_Tape tape(host, snd, [&]() -> std::unique_ptr<fareboard::SpeechEngine> {
        auto engine = fareboard::EspeakSpeechEngine::create(speech, QStringLiteral(FAREBOARD_BENCH_BUS_DICTIONARY));
        if (engine && !engine->hasUserDictionary())
            return nullptr;
        return engine;
    });
    tape.TapeInit();
    if (!tape.TapeUsable()) {
        state.SkipWithError("no speech engine");
        return;
    }
    tape.TapeLoad(dir.path(), QStringLiteral("1"));

    FirstSound first;
    Mix_SetPostMix(&watchMix, &first);
    std::this_thread::sleep_for(std::chrono::milliseconds(200));  // the analyser warms up once

    for (auto _ : state) {
        tape.TapeStop();
        if (tape.TapePos() >= tape.TapeCount())
            tape.TapeLoad(dir.path(), QStringLiteral("1"));
        std::this_thread::sleep_for(std::chrono::milliseconds(60));  // let the stopped sound drain

        first.at = 0;
        first.armed = true;
        const auto start = Clock::now();
        tape.TapeNext();
        while (first.at.load() == 0) {
            if (Clock::now() - start > std::chrono::seconds(2)) {
                state.SkipWithError("speech never reached the mixer");
                break;
            }
            std::this_thread::sleep_for(std::chrono::microseconds(200));
        }
        const auto reached = Clock::time_point(Clock::duration(first.at.load()));
        state.SetIterationTime(std::chrono::duration<double>(reached - start).count());
    }
    Mix_SetPostMix(nullptr, nullptr);
    tape.TapeStop();
}
BENCHMARK(BM_TapeNextToFirstSpeechSample)
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond)
    ->Iterations(1)
    ->Repetitions(40)
    ->ReportAggregatesOnly(true);

}  // namespace
