#include "controls/digit/M_Degit.h"
#include "extlib/QtKobuRes.h"

#include <benchmark/benchmark.h>

#include <QApplication>

#include <cstdlib>

using namespace fareboard;

namespace {

// One fare digit of the board (3 cells, size 2, style 1) taking a new fare: the text rules and
// the whole picture run on every assignment.
void BM_DigitRedraw3Cells(benchmark::State& state)
{
    QtKobuRes library;
    M_Degit digit(library);
    digit.setKeta(3);
    digit.setDegitSize(2);
    digit.setDegitStyle(1);
    int16_t fare = 100;
    for (auto _ : state) {
        digit.setValue(fare);
        fare = fare == 990 ? int16_t(100) : int16_t(fare + 10);
        benchmark::DoNotOptimize(digit.surface().constBits());
    }
}
BENCHMARK(BM_DigitRedraw3Cells)->Unit(benchmark::kMicrosecond)->Repetitions(9)->ReportAggregatesOnly(true);

// The 24 fare digits lit for the lamp test, as the reset does.
void BM_DigitLampTest24(benchmark::State& state)
{
    QtKobuRes library;
    std::vector<std::unique_ptr<M_Degit>> digits;
    for (int i = 0; i < 24; ++i) {
        digits.push_back(std::make_unique<M_Degit>(library));
        digits.back()->setKeta(3);
        digits.back()->setDegitSize(2);
        digits.back()->setDegitStyle(1);
    }
    for (auto _ : state)
        for (auto& d : digits)
            d->ResetDegit(-1);
}
BENCHMARK(BM_DigitLampTest24)->Unit(benchmark::kMicrosecond)->Repetitions(9)->ReportAggregatesOnly(true);

}  // namespace

