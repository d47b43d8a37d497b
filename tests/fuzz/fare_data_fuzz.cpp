#include "FuzzTarget.h"

#include "console/FareDataFile.h"
#include "console/FareTable.h"
#include "platform/AppError.h"
#include "support/SampleFiles.h"

using namespace fareboard;

std::vector<QByteArray> fuzzSeeds()
{
    using test::SampleRow;
    return {
        test::fareFileBytes(5, test::numberedRows(5)),
        test::fareFileBytes(2, {SampleRow{QByteArray(), 1, {120, -1}},
                                SampleRow{QByteArray("\x8E\x73\x96\xF0\x8F\x8A\x91\x4F", 8), 2, {230}}}),
        test::fareFileBytes(0, {}),
        test::fareFileBytes(-1, {}),
    };
}

// Does what loading a route does with the bytes: read the count, then the records into a table.
extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QByteArray bytes(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    try {
        const int16_t count = FareDataFile::readCount(bytes);
        if (count < 1 || count > FareTable::RowLimit)
            return 0;
        const auto records = FareDataFile::readRecords(bytes, count);
        FareTable table;
        for (int r = 1; r <= count; ++r) {
            const auto& rec = records[static_cast<size_t>(r - 1)];
            table.SetCell(r, 1, rec.stopName);
            table.SetCell(r, 2, rec.ticketNo);
            for (int c = 3; c <= FareTable::ColumnLimit; ++c)
                table.SetCell(r, c, rec.values[static_cast<size_t>(c - 3)]);
        }
    } catch (const AppError&) {
        // A refused file is a correct answer; only crashes, hangs and leaks are findings.
    }
    return 0;
}
