#include "FareDataWriter.h"

#include "InputError.h"
#include "StrictText.h"

namespace fareboard::datatool {
namespace {

constexpr int kMaxRows = 301;

void appendLe16(QByteArray& out, int value)
{
    const auto v = uint16_t(value);
    out += char(v & 0xFF);
    out += char(v >> 8);
}

int readLe16(const QByteArray& bytes, qsizetype at)
{
    return int16_t(uint16_t(uchar(bytes[at]) | (uchar(bytes[at + 1]) << 8)));
}

}  // namespace

QByteArray encodeFareData(const std::vector<FareDataFile::Record>& rows, const QString& fileName)
{
    if (rows.empty() || rows.size() > std::size_t(kMaxRows))
        throw InputError(fileName, 0,
                         QStringLiteral("%1 rows; a fare data file holds 1 to %2").arg(rows.size()).arg(kMaxRows));
    QByteArray out;
    out.reserve(2 + qsizetype(rows.size()) * (FareDataFile::kFixedRecordBytes + 32));
    appendLe16(out, int(rows.size()));
    for (std::size_t r = 0; r < rows.size(); ++r) {
        const auto& row = rows[r];
        const auto name = encodeShiftJis(row.stopName);
        if (!name || name->size() > 32767)
            throw InputError(fileName, 0, QStringLiteral("row %1: the stop name cannot be written in Shift-JIS").arg(r + 1));
        appendLe16(out, int(name->size()));
        out += *name;
        appendLe16(out, row.ticketNo);
        // The values in one piece: an import writes a thousand tables of 150 values a row.
        char values[sizeof row.values];
        for (std::size_t i = 0; i < row.values.size(); ++i) {
            const auto v = uint16_t(row.values[i]);
            values[2 * i] = char(v & 0xFF);
            values[2 * i + 1] = char(v >> 8);
        }
        out.append(values, sizeof values);
    }
    return out;
}

std::vector<FareDataFile::Record> decodeFareData(const QByteArray& bytes, const QString& fileName)
{
    if (bytes.size() < 2)
        throw InputError(fileName, 0, QStringLiteral("the file is too short to hold the row count"));
    const int count = readLe16(bytes, 0);
    if (count < 1 || count > kMaxRows)
        throw InputError(fileName, 0,
                         QStringLiteral("the row count is %1; a fare data file holds 1 to %2").arg(count).arg(kMaxRows));

    std::vector<FareDataFile::Record> rows;
    qsizetype at = 2;
    for (int r = 1; r <= count; ++r) {
        const auto cutOff = [&] {
            return InputError(fileName, 0,
                              QStringLiteral("row %1 of %2: the file ends inside it (byte %3)").arg(r).arg(count).arg(bytes.size()));
        };
        if (bytes.size() - at < 2)
            throw cutOff();
        const int length = uint16_t(readLe16(bytes, at));
        at += 2;
        if (bytes.size() - at < length + FareDataFile::kFixedRecordBytes - 2)
            throw cutOff();
        FareDataFile::Record row;
        const auto name = decodeShiftJis(bytes.mid(at, length));
        if (!name)
            throw InputError(fileName, 0, QStringLiteral("row %1: the stop name is not valid Shift-JIS").arg(r));
        row.stopName = *name;
        at += length;
        row.ticketNo = int16_t(readLe16(bytes, at));
        at += 2;
        for (auto& v : row.values) {
            v = int16_t(readLe16(bytes, at));
            at += 2;
        }
        rows.push_back(std::move(row));
    }
    return rows;
}

}  // namespace fareboard::datatool
