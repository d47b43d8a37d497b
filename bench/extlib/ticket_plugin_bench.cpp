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
// preview, unload it again.
void BM_DrawSeirikenSample(benchmark::State& state)
{
    QtKobuRes library;
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
BENCHMARK(BM_DrawSeirikenSample)->Unit(benchmark::kMicrosecond)->Repetitions(5)->ReportAggregatesOnly(true);

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

