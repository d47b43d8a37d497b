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
#include "platform/ShiftJis.h"
#include "platform/speech/ReadingsLimit.h"
#include "platform/speech/SpokenText.h"
#include "support/Bytes.h"
#include "support/Fakes.h"
#include "support/FakeTapeHost.h"

#include <benchmark/benchmark.h>

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>
#include <QTimer>

#include <algorithm>

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

QByteArray toShiftJisTape()
{
    return toShiftJis(QStringLiteral("次は北大前です,0,0\r\n次は終点です,0,0\r\n"));
}

// A readings file of `bytes`, every written form starting with the same two characters (the
// shape that made the table quadratic), the last line the one the tape needs.
QByteArray readingsAlike(int64_t bytes)
{
    QByteArray data;
    data.reserve(bytes + 64);
    for (int i = 0; data.size() + 64 < bytes; ++i)
        data += "北大" + QByteArray::number(i) + ",ほくだい\n";
    return data + "北大前,ほくだいまえ\n";
}

// The table a readings file becomes: one entry after another, all starting alike.
void BM_ReadingTableAlike(benchmark::State& state)
{
    std::vector<ReadingLine> lines;
    for (int64_t i = 0; i < state.range(0); ++i)
        lines.push_back({QStringLiteral("北大%1").arg(i), QStringLiteral("ほくだい"), int(i + 1)});
    for (auto _ : state) {
        ReadingTable table;
        table.addAll(lines);
        benchmark::DoNotOptimize(table.apply(QStringLiteral("次は北大前です")));
    }
    state.SetComplexityN(state.range(0));
}
BENCHMARK(BM_ReadingTableAlike)->RangeMultiplier(4)->Range(1 << 10, 1 << 20)->Complexity()->Unit(benchmark::kMillisecond);

// What the console feels of a reset's readings: a timer that should fire every 5 ms runs while
// the tape loads and reads the folder's readings, and the longest it was held is the longest a
// click would wait. Without a readings file (range 0) is the baseline of the same run.
void BM_ConsoleHeldByReadings(benchmark::State& state)
{
    QTemporaryDir dir;
    QFile tp(dir.filePath(QStringLiteral("7tp.csv")));
    if (!tp.open(QIODevice::WriteOnly) || tp.write(toShiftJisTape()) < 0) {
        state.SkipWithError("cannot write the broadcast data");
        return;
    }
    tp.close();
    if (state.range(0) > 0) {
        QFile readings(dir.filePath(QStringLiteral("readings.csv")));
        const QByteArray bytes = readingsAlike(state.range(0));
        if (!readings.open(QIODevice::WriteOnly) || readings.write(bytes) != bytes.size()) {
            state.SkipWithError("cannot write the readings");
            return;
        }
    }
    FakeTapeHost host;
    FakeAudioDevice audio;
    FakeSleeper sleeper;
    mdlSndAPI sound(audio, sleeper, QStringLiteral("fareboard"));
    mdlM_Tape tape(host, sound, [] { return std::unique_ptr<SpeechEngine>(); });
    double longestMs = 0, loadMs = 0;
    for (auto _ : state) {
        QElapsedTimer since;
        qint64 last = 0, longest = 0;
        QTimer tick;
        QObject::connect(&tick, &QTimer::timeout, [&] {
            longest = std::max(longest, since.nsecsElapsed() - last);
            last = since.nsecsElapsed();
        });
        tick.start(5);
        since.start();
        tape.TapeLoad(dir.path(), QStringLiteral("7"));
        longest = std::max(longest, since.nsecsElapsed() - last);
        last = since.nsecsElapsed();
        while (tape.readingsPending())
            QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
        QCoreApplication::processEvents();
        longest = std::max(longest, since.nsecsElapsed() - last);
        longestMs = std::max(longestMs, double(longest) / 1e6);
        loadMs = double(since.nsecsElapsed()) / 1e6;
        state.SetIterationTime(double(since.nsecsElapsed()) / 1e9);
    }
    state.counters["held_ms"] = longestMs;
    state.counters["load_ms"] = loadMs;
    state.counters["spoken_ok"] = tape.spokenAt(1).contains(QStringLiteral("ホクダイマエ")) || state.range(0) == 0;
}
BENCHMARK(BM_ConsoleHeldByReadings)->Arg(0)->Arg(1 << 20)->Arg(8 << 20)->Arg(kMaxReadingsBytes)
    ->UseManualTime()->Iterations(3)->Unit(benchmark::kMillisecond);
