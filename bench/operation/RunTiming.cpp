// How close to its timetable a sixty-times run steps the board: the sample feed's 川57, its
// first trip from its first stop to the last, on the program as it runs (the real mixer on
// SDL's silent driver, the real voice, the demo's chimes heard to their end before each
// announcement). Each step is timed from the moment the timetable wants it to the moment the
// board shows it. The baseline of the same run is a bare precise timer of the same process
// firing at the same moments with nothing else to do. The program's processor share during the
// run is printed against that of the same process during the baseline.
//
// Usage: operation_run_timing [speed]   (60 unless given; QT_QPA_PLATFORM as for the program)
#include "app/Application.h"
#include "extlib/QtKobuRes.h"
#include "operation/Operation.h"
#include "operation/OperationRun.h"
#include "operation/Timetable.h"
#include "options/frmOption.h"
#include "platform/Clock.h"
#include "platform/DesktopShell.h"
#include "platform/EventLoopSleeper.h"
#include "platform/MessageBox.h"
#include "platform/audio/SdlAudioDevice.h"
#include "platform/audio/SdlMixer.h"
#include "platform/audio/SdlPcmPlayer.h"
#include "platform/speech/BackgroundSpeechEngine.h"
#include "platform/speech/InstalledVoices.h"
#include "platform/speech/Voice.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QLineEdit>
#include <QTemporaryDir>
#include <QTimer>

#include <sys/resource.h>

#include <algorithm>
#include <cstdio>
#include <numeric>
#include <vector>

namespace {

class NoBoxes final : public fareboard::MessageBox {
public:
    Answer show(const QString& text, const QString&, Icon, Buttons) override
    {
        std::fprintf(stderr, "message: %s\n", text.toUtf8().constData());
        return Answer::Ok;
    }
};

struct Figures {
    double worst = 0, mean = 0;
    std::size_t count = 0;
};

Figures figures(const std::vector<qint64>& late)
{
    Figures f;
    f.count = late.size();
    if (late.empty())
        return f;
    f.worst = double(*std::max_element(late.begin(), late.end(),
                                       [](qint64 a, qint64 b) { return std::abs(a) < std::abs(b); }));
    f.mean = double(std::accumulate(late.begin(), late.end(), qint64(0))) / double(late.size());
    return f;
}

// Processor seconds this process has used, all its threads (the voice's worker among them).
double cpuSeconds()
{
    rusage use{};
    getrusage(RUSAGE_SELF, &use);
    return double(use.ru_utime.tv_sec + use.ru_stime.tv_sec) + double(use.ru_utime.tv_usec + use.ru_stime.tv_usec) / 1e6;
}

// A bare timer at each moment of `at` (milliseconds from now): how late each fires.
std::vector<qint64> bareTimerLateness(const std::vector<qint64>& at)
{
    QElapsedTimer clock;
    clock.start();
    std::vector<qint64> late;
    QEventLoop loop;
    std::size_t next = 0;
    QTimer timer;
    timer.setSingleShot(true);
    timer.setTimerType(Qt::PreciseTimer);
    QObject::connect(&timer, &QTimer::timeout, [&] {
        late.push_back(clock.elapsed() - at[next]);
        if (++next == at.size())
            loop.quit();
        else
            timer.start(int(std::max<qint64>(0, at[next] - clock.elapsed())));
    });
    timer.start(int(at.front()));
    loop.exec();
    return late;
}

}  // namespace

int main(int argc, char** argv)
{
    QApplication qtApp(argc, argv);
    const int speed = argc > 1 ? std::max(1, std::atoi(argv[1])) : 60;
    QTemporaryDir scratch;
    const QString sample = QStringLiteral(FAREBOARD_GTFS_SAMPLE_DIR);
    const fareboard::Timetable timetable = fareboard::readTimetable(sample, QStringLiteral("2"));
    if (timetable.trips.empty()) {
        std::fprintf(stderr, "no timetable in %s: %s\n", qPrintable(sample), qPrintable(timetable.fault));
        return 1;
    }
    const fareboard::TimetableTrip& trip = timetable.trips.front();

    NoBoxes messageBox;
    fareboard::EventLoopSleeper sleeper;
    fareboard::SystemClock clock;
    fareboard::QtKobuRes library;
    fareboard::DesktopShell shell;
    fareboard::SdlMixer mixer;
    fareboard::SdlAudioDevice audio(mixer);
    fareboard::SdlPcmPlayer voiceChannel(mixer, QStringLiteral("benchVoice"));
    const QString speechSettings = scratch.filePath(QStringLiteral("speech.conf"));
    fareboard::PlatformServices services{messageBox, sleeper, clock, library, shell, audio, [&] {
                                             return std::unique_ptr<fareboard::SpeechEngine>(
                                                 fareboard::BackgroundSpeechEngine::create(
                                                     voiceChannel, fareboard::installedVoices(),
                                                     fareboard::makeInstalledVoice, speechSettings));
                                         }};
    fareboard::ApplicationConfig config{QStringLiteral("fareboard"), scratch.filePath(QStringLiteral("fareboard.in4")),
                                        QStringLiteral(FAREBOARD_DEMO_DIR)};
    fareboard::Application app(services, config);
    app.start();
    mixer.openInBackground();
    // The demo's chimes and options, the sample's route.
    app.options().Text2(0)->setText(sample);
    app.options().Text2(1)->setText(sample);

    fareboard::OperationRun& run = app.operation()->run();
    std::vector<qint64> late, scheduled;
    qint64 firstScheduled = -1;
    QObject::connect(&run, &fareboard::OperationRun::stepped, [&](int, qint64 wanted, qint64 shown) {
        if (firstScheduled < 0)
            firstScheduled = wanted;
        scheduled.push_back(wanted - firstScheduled);
        late.push_back(shown - wanted);
    });
    QEventLoop loop;
    QObject::connect(&run, &fareboard::OperationRun::stateChanged, [&] {
        if (run.state() == fareboard::OperationRun::State::Stopped)
            loop.quit();
    });
    if (!run.start(QStringLiteral("2"), &trip, speed, false)) {
        std::fprintf(stderr, "route 2 could not be set from %s\n", qPrintable(sample));
        return 1;
    }
    const std::size_t expected = run.plan().steps.size();
    QElapsedTimer wall;
    wall.start();
    const double cpuBefore = cpuSeconds();
    loop.exec();
    const double runShare = (cpuSeconds() - cpuBefore) / (double(wall.elapsed()) / 1000.0);

    // The same moments for a timer with nothing else to do, a little ahead so its start is settled.
    std::vector<qint64> at;
    for (qint64 s : scheduled)
        at.push_back(s + 200);
    wall.restart();
    const double idleBefore = cpuSeconds();
    const Figures baseline = figures(bareTimerLateness(at));
    const double idleShare = (cpuSeconds() - idleBefore) / (double(wall.elapsed()) / 1000.0);
    const Figures steps = figures(late);
    std::printf("trip %s, %zu stops, at x%d: %zu of %zu steps taken\n", qPrintable(trip.id), trip.departures.size(), speed,
                steps.count, expected);
    std::printf("  board steps: worst %+.0f ms, mean %+.1f ms from the timetable's moment\n", steps.worst, steps.mean);
    std::printf("  bare timer:  worst %+.0f ms, mean %+.1f ms (baseline, same moments)\n", baseline.worst, baseline.mean);
    std::printf("  processor: %.1f%% of one core during the run, %.1f%% while the bare timer runs\n", runShare * 100,
                idleShare * 100);
    std::printf("  each step (ms late):");
    for (qint64 l : late)
        std::printf(" %lld", static_cast<long long>(l));
    std::printf("\n");
    return steps.count == expected && std::abs(steps.worst) <= 200 ? 0 : 2;
}
