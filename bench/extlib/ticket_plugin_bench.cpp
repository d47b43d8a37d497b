#include "extlib/QtKobuRes.h"
#include "extlib/TicketPlugin.h"

#include <benchmark/benchmark.h>

#include <QApplication>
#include <QImage>

#include <cstdlib>

using namespace fareboard;

namespace {

const QString kSample = QString::fromUtf8(FAREBOARD_SAMPLE_PLUGIN_PATH);

// What every board update pays with the preview on: load the sample, draw its ticket into the
// preview, unload it again; in the helper process the program uses, and in this process, the
// way plug-ins ran before the helper, as the baseline.
void drawSample(benchmark::State& state, QtKobuRes::PluginHosting hosting)
{
    QtKobuRes library(hosting);
    QImage surface(300, 156, QImage::Format_RGB32);
    int16_t ticket = 1;
    for (auto _ : state) {
        surface.fill(Qt::white);
        library.KBU_DrawSeiriken(kSample, surface, QStringLiteral("中央駅北口"), QStringLiteral("05-14-2025"),
                                 QStringLiteral("14:05:33"), 12, ticket, ticket, 0);
        ticket = ticket == 99 ? int16_t(1) : int16_t(ticket + 1);
        benchmark::DoNotOptimize(surface.constBits());
    }
}
void BM_DrawSeirikenSampleInHelper(benchmark::State& state) { drawSample(state, QtKobuRes::PluginHosting::Helper); }
BENCHMARK(BM_DrawSeirikenSampleInHelper)->Unit(benchmark::kMicrosecond)->Repetitions(5)->ReportAggregatesOnly(true);

void BM_DrawSeirikenSampleInProcess(benchmark::State& state)
{
    drawSample(state, QtKobuRes::PluginHosting::InProcess);
}
BENCHMARK(BM_DrawSeirikenSampleInProcess)->Unit(benchmark::kMicrosecond)->Repetitions(5)->ReportAggregatesOnly(true);

// The loading alone, to see how much of the update is the per-call load and unload.
void BM_OpenSample(benchmark::State& state)
{
    for (auto _ : state) {
        auto plugin = TicketPlugin::open(kSample);
        benchmark::DoNotOptimize(plugin.get());
    }
}
BENCHMARK(BM_OpenSample)->Unit(benchmark::kMicrosecond)->Repetitions(5)->ReportAggregatesOnly(true);

}  // namespace

