// From the press of "送り" to the first sample of a "次は、…です。" announcement reaching the
// mixer, on the real mixer (silent driver) and the real voices: an entry made ahead, and one
// the background worker has not made yet. espeak-ng, which synthesises in a few milliseconds
// on the worker thread, is the baseline of the same run.
#include "announce/TapeHost.h"
#include "announce/mdlM_Tape.h"
#include "announce/mdlSndAPI.h"
#include "platform/EventLoopSleeper.h"
#include "platform/ShiftJis.h"
#include "platform/audio/SdlAudioDevice.h"
#include "platform/audio/SdlMixer.h"
#include "platform/audio/SdlPcmPlayer.h"
#include "platform/speech/BackgroundSpeechEngine.h"
#include "platform/speech/EspeakKanaVoice.h"
#include "platform/speech/InstalledVoices.h"
#include "platform/speech/Voice.h"

#include <QFile>
#include <QTemporaryDir>

#include <SDL_mixer.h>
#include <benchmark/benchmark.h>

#include <algorithm>
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

// A tape of "次は、…です。" announcements, one stop each; `tag` makes the texts new.
void writeTape(const QString& folder, int tag)
{
    QFile file(folder + QStringLiteral("/1tp.csv"));
    file.open(QIODevice::WriteOnly);
    const char* stops[] = {"札幌駅前", "大通", "すすきの", "中島公園", "豊平橋", "平岸", "澄川", "真駒内"};
    for (const char* stop : stops) {
        file.write(fareboard::toShiftJis(
            QStringLiteral("次は、%1%2です。,0,0\r\n").arg(QString::fromUtf8(stop), tag ? QStringLiteral("%1番").arg(tag) : QString())));
    }
}

// args: voice (0 Open JTalk, 1 espeak-ng), ready (1: the entry was made ahead, 0: it was not).
void BM_TapeNextToFirstSpeechSample(benchmark::State& state)
{
    setenv("SDL_AUDIODRIVER", "dummy", 0);
    const auto kind = state.range(0) == 0 ? fareboard::VoiceKind::OpenJTalk : fareboard::VoiceKind::Espeak;
    const bool ready = state.range(1) == 1;
    state.SetLabel(QStringLiteral("%1, %2").arg(fareboard::voiceName(kind), ready ? QStringLiteral("made ahead") : QStringLiteral("not made yet")).toStdString());
    const auto installed = fareboard::installedVoices();
    if (std::find(installed.begin(), installed.end(), kind) == installed.end()) {
        state.SkipWithError("voice not installed");
        return;
    }
    QTemporaryDir dir;
    writeTape(dir.path(), 0);

    fareboard::SdlMixer mixer;
    fareboard::SdlAudioDevice device(mixer);
    fareboard::SdlPcmPlayer speech(mixer, QStringLiteral("benchSpeech"));
    fareboard::EventLoopSleeper sleeper;
    fareboard::mdlSndAPI snd(device, sleeper, QStringLiteral("bench"));
    QuietHost host;
    fareboard::BackgroundSpeechEngine* engine = nullptr;
    fareboard::mdlM_Tape tape(host, snd, [&]() -> std::unique_ptr<fareboard::SpeechEngine> {
        auto made = fareboard::BackgroundSpeechEngine::create(
            speech, {kind}, [](fareboard::VoiceKind k) {
                if (k == fareboard::VoiceKind::Espeak)
                    return std::unique_ptr<fareboard::Voice>(std::make_unique<fareboard::EspeakKanaVoice>(QStringLiteral(FAREBOARD_BENCH_BUS_DICTIONARY)));
                return fareboard::makeInstalledVoice(k);
            }, QString());
        engine = made.get();
        return made;
    });
    tape.TapeInit();
    if (!tape.TapeUsable()) {
        state.SkipWithError("no speech engine");
        return;
    }
    // The first text also loads what the voice loads once (espeak-ng's analyser).
    engine->speak(QStringLiteral("次は、市役所前です。"));
    std::this_thread::sleep_for(std::chrono::milliseconds(1500));
    engine->stop();

    FirstSound first;
    Mix_SetPostMix(&watchMix, &first);
    int tag = 0;
    for (auto _ : state) {
        tape.TapeStop();
        if (ready) {
            if (tape.TapePos() >= tape.TapeCount() || tape.TapeCount() == 0) {
                tape.TapeLoad(dir.path(), QStringLiteral("1"));
                const auto began = Clock::now();
                for (int pos = 1; pos <= tape.TapeCount(); ++pos) {
                    while (!engine->ready(tape.spokenAt(pos)) && Clock::now() - began < std::chrono::seconds(60))
                        std::this_thread::sleep_for(std::chrono::milliseconds(5));
                }
            }
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(60));  // let the stopped sound drain
        if (!ready) {
            // Texts never spoken before, loaded just now: the worker has only started on them.
            writeTape(dir.path(), ++tag);
            tape.TapeLoad(dir.path(), QStringLiteral("1"));
        }

        first.at = 0;
        first.armed = true;
        const auto start = Clock::now();
        tape.TapeNext();
        while (first.at.load() == 0) {
            if (Clock::now() - start > std::chrono::seconds(5)) {
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
    ->ArgsProduct({{0, 1}, {1, 0}})
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond)
    ->Iterations(1)
    ->Repetitions(15)
    ->ReportAggregatesOnly(true);

}  // namespace
