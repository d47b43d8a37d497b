// One board update of a full row: 24 fares, the four information digits and a six-character
// stop name, through the real console and board with fake host services.
#include "app/Application.h"
#include "board/Form1.h"
#include "console/frmCtl.h"
#include "extlib/QtKobuRes.h"
#include "options/frmOption.h"
#include "support/Fakes.h"

#include <benchmark/benchmark.h>

#include <QCheckBox>
#include <QCoreApplication>
#include <QElapsedTimer>
#include <QImage>
#include <QComboBox>
#include <QLineEdit>
#include <QTemporaryDir>

#include <algorithm>
#include <memory>

using namespace fareboard;
using namespace fareboard::test;

namespace {

struct Rig {
    QTemporaryDir dir;
    FakeServices fakes;
    std::unique_ptr<Application> app;

    explicit Rig(KobuRes* library = nullptr)
    {
        PlatformServices base = fakes.services();
        PlatformServices services{fakes.messageBox, fakes.sleeper, fakes.clock, library ? *library : fakes.library,
                                  fakes.shell,      fakes.audio,   base.makeSpeechEngine};
        app = std::make_unique<Application>(
            services, ApplicationConfig{QStringLiteral("fareboard"), dir.filePath(QStringLiteral("fareboard.in4"))});
        app->start();

        // Two stops with different fares and names, so every update changes every digit.
        DataIo& data = app->dataIo();
        const char* names[2] = {"北町三丁目前", "県立中央病院"};
        for (int r = 1; r <= 2; ++r) {
            data.Table.SetCell(r, 1, QString::fromUtf8(names[r - 1]));
            data.Table.SetCell(r, 2, r);
            for (int c = 3; c <= FareTable::ColumnLimit; ++c)
                data.Table.SetCell(r, c, 100 + 10 * r + c);
        }
        data.Route.RouteText = QStringLiteral("012");
        data.Route.SectionNo = 1;
        data.Route.RowCount = 2;

        frmOption& o = app->options();
        for (int i = 0; i < 4; ++i)
            o.Check3(i)->setChecked(true);
        o.Combo4(0)->setCurrentIndex(0);
        o.Combo4(1)->setCurrentIndex(5);
        o.Combo4(2)->setCurrentIndex(11);
        o.Combo4(3)->setCurrentIndex(23);
        o.Combo4(4)->setCurrentIndex(40);
        app->console().Check2()->setChecked(true);  // late-night doubling on: the longer path
    }
};

void BM_DispDataFullRow(benchmark::State& state)
{
    Rig rig;
    frmCtl& console = rig.app->console();
    int16_t n = 1;
    for (auto _ : state) {
        console.DispData(n);
        n = n == 1 ? int16_t(2) : int16_t(1);
    }
}
BENCHMARK(BM_DispDataFullRow)->Unit(benchmark::kMicrosecond)->Repetitions(15)->ReportAggregatesOnly(true);

// The same with the ticket preview on: the sample plug-in draws each stop's ticket, in the
// helper process as the program runs it, and in this process as the baseline it must keep up with.
void dispDataWithTicket(benchmark::State& state, QtKobuRes::PluginHosting hosting)
{
    QtKobuRes library(hosting);
    Rig rig(&library);
    rig.app->options().chkUseSeiriPrev()->setChecked(true);
    rig.app->options().txtSeiriPlgDir()->setText(QString::fromUtf8(FAREBOARD_SAMPLE_PLUGIN_PATH));
    frmCtl& console = rig.app->console();
    int16_t n = 1;
    for (auto _ : state) {
        console.DispData(n);
        n = n == 1 ? int16_t(2) : int16_t(1);
    }
}

void BM_DispDataFullRowWithTicket(benchmark::State& state)
{
    dispDataWithTicket(state, QtKobuRes::PluginHosting::Helper);
}
BENCHMARK(BM_DispDataFullRowWithTicket)->Unit(benchmark::kMicrosecond)->Repetitions(15)->ReportAggregatesOnly(true);

void BM_DispDataFullRowWithTicketInProcess(benchmark::State& state)
{
    dispDataWithTicket(state, QtKobuRes::PluginHosting::InProcess);
}
BENCHMARK(BM_DispDataFullRowWithTicketInProcess)->Unit(benchmark::kMicrosecond)->Repetitions(15)->ReportAggregatesOnly(true);

// A plug-in that takes a second over every ticket: how long a step holds the console (the
// time until the board update returns), and when the ticket shows, against the sample
// plug-in's in the same run.
void dispDataSlowPlugin(benchmark::State& state, const char* plugin)
{
    QtKobuRes library;
    Rig rig(&library);
    rig.app->options().chkUseSeiriPrev()->setChecked(true);
    rig.app->options().txtSeiriPlgDir()->setText(QString::fromUtf8(plugin));
    frmCtl& console = rig.app->console();
    auto inked = [&] {
        const QImage& img = console.previewImage();
        for (int y = 0; y < img.height(); ++y)
            for (int x = 0; x < img.width(); ++x)
                if (qGray(img.pixel(x, y)) < 128)
                    return true;
        return false;
    };
    int16_t n = 1;
    double longestMs = 0, ticketMs = 0;
    for (auto _ : state) {
        QElapsedTimer clock;
        clock.start();
        console.DispData(n);
        const double heldMs = double(clock.nsecsElapsed()) / 1e6;
        state.SetIterationTime(heldMs / 1000);
        longestMs = std::max(longestMs, heldMs);
        while (!inked() && clock.elapsed() < 5000)
            QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
        ticketMs = std::max(ticketMs, double(clock.nsecsElapsed()) / 1e6);
        n = n == 1 ? int16_t(2) : int16_t(1);
    }
    state.counters["longest_held_ms"] = longestMs;
    state.counters["ticket_shown_ms"] = ticketMs;
}

#ifdef FAREBOARD_SLOW_PLUGIN_PATH
void BM_DispDataSlowPlugin(benchmark::State& state) { dispDataSlowPlugin(state, FAREBOARD_SLOW_PLUGIN_PATH); }
BENCHMARK(BM_DispDataSlowPlugin)->UseManualTime()->Iterations(5)->Unit(benchmark::kMillisecond);
#endif

void BM_DispDataSamplePlugin(benchmark::State& state) { dispDataSlowPlugin(state, FAREBOARD_SAMPLE_PLUGIN_PATH); }
BENCHMARK(BM_DispDataSamplePlugin)->UseManualTime()->Iterations(5)->Unit(benchmark::kMillisecond);

}  // namespace
