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
#include <QComboBox>
#include <QLineEdit>
#include <QTemporaryDir>

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

}  // namespace
