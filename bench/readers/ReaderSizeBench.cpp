// The file readers against inputs far past the fuzzers' 4 KB, in the shapes that once made
// them slow or hungry: blank lines, a line of commas, the longest strings and records a file
// can declare. Each series grows the input fourfold per step and lets Google Benchmark fit the
// growth: anything worse than O(N) in the "_BigO" line is a size-dependent fault.
#include "DataCheck.h"
#include "announce/mdlM_Tape.h"
#include "announce/mdlSndAPI.h"
#include "board/SettingsFile.h"
#include "console/FareDataFile.h"
#include "platform/AppError.h"
#include "support/Bytes.h"
#include "support/Fakes.h"
#include "support/FakeTapeHost.h"

#include <benchmark/benchmark.h>

#include <QFile>
#include <QTemporaryDir>

using namespace fareboard;
using namespace fareboard::test;

namespace {

constexpr int64_t kFrom = 4 << 10;
constexpr int64_t kTo = 1 << 20;  // the largest broadcast data the tape reads

QByteArray blankLinesThenText(int64_t bytes)
{
    QByteArray data;
    data.reserve(bytes);
    while (data.size() + 2 < bytes)
        data += "\r\n";
    return data + "x";
}

// The tape's whole load, from the file on disk, as a reset does it.
void tapeLoad(benchmark::State& state, const QByteArray& contents)
{
    QTemporaryDir dir;
    QFile file(dir.filePath(QStringLiteral("7tp.csv")));
    if (!file.open(QIODevice::WriteOnly) || file.write(contents) != contents.size()) {
        state.SkipWithError("cannot write the broadcast data");
        return;
    }
    file.close();
    FakeTapeHost host;
    FakeAudioDevice audio;
    FakeSleeper sleeper;
    mdlSndAPI sound(audio, sleeper, QStringLiteral("fareboard"));
    mdlM_Tape tape(host, sound, [] { return std::unique_ptr<SpeechEngine>(); });
    for (auto _ : state) {
        tape.TapeLoad(dir.path(), QStringLiteral("7"));
        benchmark::DoNotOptimize(tape.TapeCount());
    }
    state.SetComplexityN(state.range(0));
    state.SetBytesProcessed(int64_t(state.iterations()) * contents.size());
}

void BM_TapeLoadBlankLines(benchmark::State& state) { tapeLoad(state, blankLinesThenText(state.range(0))); }
BENCHMARK(BM_TapeLoadBlankLines)->RangeMultiplier(4)->Range(kFrom, kTo)->Complexity()->Unit(benchmark::kMillisecond);

void BM_TapeLoadCommas(benchmark::State& state) { tapeLoad(state, QByteArray(state.range(0), ',')); }
BENCHMARK(BM_TapeLoadCommas)->RangeMultiplier(4)->Range(kFrom, kTo)->Complexity()->Unit(benchmark::kMillisecond);

void check(benchmark::State& state, const QByteArray& contents)
{
    for (auto _ : state) {
        const auto report = datatool::checkBroadcastData(contents, QStringLiteral("7tp.csv"));
        benchmark::DoNotOptimize(report.errors.size());
    }
    state.SetComplexityN(state.range(0));
    state.SetBytesProcessed(int64_t(state.iterations()) * contents.size());
}

void BM_CheckBlankLines(benchmark::State& state) { check(state, blankLinesThenText(state.range(0))); }
BENCHMARK(BM_CheckBlankLines)->RangeMultiplier(4)->Range(kFrom, kTo)->Complexity()->Unit(benchmark::kMillisecond);

void BM_CheckCommas(benchmark::State& state) { check(state, QByteArray(state.range(0), ',')); }
BENCHMARK(BM_CheckCommas)->RangeMultiplier(4)->Range(kFrom, kTo)->Complexity()->Unit(benchmark::kMillisecond);

// Fare data of 301 rows whose names share the input's size, up to the longest names a row can
// declare, then as much again of bytes after the last row.
void BM_FareDataLongNames(benchmark::State& state)
{
    const int rows = 301;
    const int nameBytes = int(std::min<int64_t>(state.range(0) / rows, 65535));
    Bytes b;
    b.i2(int16_t(rows));
    for (int r = 0; r < rows; ++r) {
        b.i2(int16_t(uint16_t(nameBytes))).raw(QByteArray(nameBytes, 'A')).i2(int16_t(r));
        for (int c = 0; c < 150; ++c)
            b.i2(int16_t(c));
    }
    const QByteArray data = b.data() + QByteArray(state.range(0), '\xFF');
    for (auto _ : state) {
        try {
            const auto records = FareDataFile::readRecords(data, FareDataFile::readCount(data));
            benchmark::DoNotOptimize(records.size());
        } catch (const AppError&) {
        }
    }
    state.SetComplexityN(state.range(0));
    state.SetBytesProcessed(int64_t(state.iterations()) * data.size());
}
BENCHMARK(BM_FareDataLongNames)->RangeMultiplier(4)->Range(kFrom, 16 << 20)->Complexity()->Unit(benchmark::kMillisecond);

// A settings file whose strings grow to the longest a length field allows, with bytes of a
// newer program after the last record.
void BM_SettingsLongStrings(benchmark::State& state)
{
    SettingsStore store;
    const QString text(int(std::min<int64_t>(state.range(0) / 21, 65535)), u'路');
    store.DataDir.FareDataDir = text.left(32767);
    store.Sound.SoundFile6 = text.left(32767);
    store.SeiriPrev.FixedDate = text.left(32767);
    const QByteArray data = SettingsFile::encode(store) + QByteArray(state.range(0), '\x01');
    for (auto _ : state) {
        const SettingsStore read = SettingsFile::decode(data);
        benchmark::DoNotOptimize(read.DegitCount);
    }
    state.SetComplexityN(state.range(0));
    state.SetBytesProcessed(int64_t(state.iterations()) * data.size());
}
BENCHMARK(BM_SettingsLongStrings)->RangeMultiplier(4)->Range(kFrom, 1 << 20)->Complexity()->Unit(benchmark::kMillisecond);

}  // namespace
