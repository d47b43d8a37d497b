// Laying out and drawing a stop name, as the board does at every stop.
#include "controls/stopname/ChimeiCtl_B.h"
#include "platform/glyphs/HostGlyphSource.h"

#include <benchmark/benchmark.h>

#include <QApplication>

#include <cstdlib>
#include <memory>

namespace {

const QString kTenCharacters = QStringLiteral("市立総合病院（東口）");

// The usual case: the fonts are open and the name's glyphs were drawn before.
void SetChimeiTenCharacters(benchmark::State& state)
{
    fareboard::ChimeiCtl_B ctl(nullptr, std::make_shared<fareboard::HostGlyphSource>());
    ctl.SetChimei(kTenCharacters);
    for (auto _ : state) {
        ctl.SetChimei(kTenCharacters);
        benchmark::DoNotOptimize(ctl.strip().constBits());
    }
}
BENCHMARK(SetChimeiTenCharacters)->Unit(benchmark::kMicrosecond)->Repetitions(10)->ReportAggregatesOnly(true);

// The first name after start-up: the font files are opened and every glyph rendered.
void SetChimeiTenCharactersColdFonts(benchmark::State& state)
{
    for (auto _ : state) {
        fareboard::ChimeiCtl_B ctl(nullptr, std::make_shared<fareboard::HostGlyphSource>());
        ctl.SetChimei(kTenCharacters);
        benchmark::DoNotOptimize(ctl.strip().constBits());
    }
}
BENCHMARK(SetChimeiTenCharactersColdFonts)->Unit(benchmark::kMillisecond)->Repetitions(5)->ReportAggregatesOnly(true);

}  // namespace

