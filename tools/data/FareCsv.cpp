#include "FareCsv.h"

#include "CsvReader.h"
#include "InputError.h"
#include "StrictText.h"

#include <QRegularExpression>

namespace fareboard::datatool {
namespace {

constexpr int kMaxRows = 301;
constexpr int kMaxValues = 150;
constexpr int kMaxNameBytes = 32767;  // the length is read back as a signed 16-bit number
// Room for the longest name and 152 numbers; a longer record cannot be a row of a table.
constexpr qsizetype kMaxRecordBytes = kMaxNameBytes + 152 * 16;
// A few more than a table has, so that a long row is told by its count of fields.
constexpr int kMaxFields = 2 + kMaxValues + 100;

QString decodeField(const QByteArray& field, const QString& fileName, int line)
{
    const auto text = decodeUtf8(field);
    if (!text)
        throw InputError(fileName, line,
                         QStringLiteral("the text is not UTF-8 (a Shift-JIS file? save it as UTF-8 first)"));
    return *text;
}

int16_t parseNumber(const QByteArray& field, const QString& what, const QString& fileName, int line)
{
    const QByteArray trimmed = field.trimmed();
    if (trimmed.isEmpty())
        throw InputError(fileName, line, QStringLiteral("%1 is missing").arg(what));
    static const QRegularExpression wholeNumber(QStringLiteral("^[+-]?[0-9]+$"));
    const QString text = decodeField(trimmed, fileName, line);
    if (!wholeNumber.match(text).hasMatch())
        throw InputError(fileName, line, QStringLiteral("%1: \"%2\" is not a whole number").arg(what, text));
    bool ok = false;
    const long long value = text.toLongLong(&ok);
    if (!ok || value < -32768 || value > 32767)
        throw InputError(fileName, line, QStringLiteral("%1: %2 is outside -32768..32767").arg(what, text));
    return int16_t(value);
}

QString valueName(int column)
{
    return QStringLiteral("data column %1").arg(column);
}

int readHeader(const CsvRecord& header, const QString& fileName)
{
    if (header.fields.size() < 2)
        throw InputError(fileName, header.line,
                         QStringLiteral("the header needs at least the stop name and ticket number columns"));
    const int valueCount = int(header.fields.size()) - 2;
    if (valueCount > kMaxValues)
        throw InputError(fileName, header.line,
                         QStringLiteral("the header has %1 data columns; a fare table holds at most %2")
                             .arg(valueCount)
                             .arg(kMaxValues));
    for (int k = 1; k <= valueCount; ++k) {
        const QByteArray cell = header.fields[k + 1].trimmed();
        if (cell != QByteArray::number(k)) {
            throw InputError(
                fileName, header.line,
                QStringLiteral("header field %1 should be the data column number %2 but is \"%3\" "
                               "(is the header row missing?)")
                    .arg(k + 2)
                    .arg(k)
                    .arg(decodeField(cell, fileName, header.line)));
        }
    }
    return valueCount;
}

QByteArray csvField(const QString& text)
{
    QByteArray bytes = text.toUtf8();
    if (!bytes.contains(',') && !bytes.contains('"') && !bytes.contains('\n') && !bytes.contains('\r'))
        return bytes;
    bytes.replace("\"", "\"\"");
    return '"' + bytes + '"';
}

}  // namespace

std::vector<FareDataFile::Record> readFareCsv(ByteSource& source, const QString& fileName)
{
    CsvReader reader(source, fileName, {kMaxRecordBytes, kMaxFields});
    CsvRecord record;
    if (!reader.next(record))
        throw InputError(fileName, 0, QStringLiteral("the file is empty; it needs a header row and at least one stop"));
    const int valueCount = readHeader(record, fileName);

    std::vector<FareDataFile::Record> rows;
    int line = 0;
    while (reader.next(record)) {
        line = record.line;
        if (rows.size() >= std::size_t(kMaxRows))
            throw InputError(fileName, line,
                             QStringLiteral("stop %1 is one too many: a fare table holds at most %2 stops")
                                 .arg(rows.size() + 1)
                                 .arg(kMaxRows));
        const int expected = valueCount + 2;
        const int found = int(record.fields.size());
        if (found < expected)
            throw InputError(fileName, line,
                             QStringLiteral("%1 fields, the header has %2: %3 is missing")
                                 .arg(found)
                                 .arg(expected)
                                 .arg(found == 1 ? QStringLiteral("the ticket number") : valueName(found - 1)));
        if (found > expected)
            throw InputError(fileName, line,
                             QStringLiteral("%1 fields, the header has only %2").arg(found).arg(expected));

        FareDataFile::Record row;
        row.stopName = decodeField(record.fields[0], fileName, line);
        // The board draws a name character by character; a control character (a NUL, a line
        // end inside quotes) would be written into the file as a glyph nobody meant.
        for (const QChar c : std::as_const(row.stopName)) {
            if (c.unicode() < 0x20 || c.unicode() == 0x7F)
                throw InputError(fileName, line,
                                 QStringLiteral("the stop name holds the control character U+%1")
                                     .arg(QString::number(c.unicode(), 16).toUpper().rightJustified(4, QLatin1Char('0'))));
        }
        const auto nameBytes = encodeShiftJis(row.stopName);
        if (!nameBytes)
            throw InputError(fileName, line,
                             QStringLiteral("the stop name \"%1\" holds %2, which Shift-JIS cannot write")
                                 .arg(row.stopName, firstCharacterWithoutShiftJis(row.stopName)));
        if (nameBytes->size() > kMaxNameBytes)
            throw InputError(fileName, line, QStringLiteral("the stop name is longer than %1 bytes").arg(kMaxNameBytes));
        row.ticketNo = parseNumber(record.fields[1], QStringLiteral("the ticket number"), fileName, line);
        for (int k = 1; k <= valueCount; ++k)
            row.values[std::size_t(k - 1)] = parseNumber(record.fields[k + 1], valueName(k), fileName, line);
        rows.push_back(std::move(row));
    }
    if (rows.empty())
        throw InputError(fileName, 0, QStringLiteral("there are no stops below the header"));
    // The program accepts a reset only at a section below the stop count, so a one-stop route
    // could never be set; the check says the same of such a file.
    if (rows.size() == 1)
        throw InputError(fileName, line,
                         QStringLiteral("only one stop: a reset needs a section below the count, so none is accepted"));
    return rows;
}

std::vector<FareDataFile::Record> readFareCsv(const QByteArray& bytes, const QString& fileName)
{
    MemorySource source(bytes);
    return readFareCsv(source, fileName);
}

QByteArray writeFareCsv(const std::vector<FareDataFile::Record>& rows)
{
    int valueCount = 0;
    for (const auto& row : rows) {
        for (int k = kMaxValues; k > valueCount; --k) {
            if (row.values[std::size_t(k - 1)] != 0) {
                valueCount = k;
                break;
            }
        }
    }
    QByteArray out = QStringLiteral("停留所名,整理券番号").toUtf8();
    for (int k = 1; k <= valueCount; ++k)
        out += ',' + QByteArray::number(k);
    out += '\n';
    for (const auto& row : rows) {
        out += csvField(row.stopName);
        out += ',' + QByteArray::number(row.ticketNo);
        for (int k = 1; k <= valueCount; ++k)
            out += ',' + QByteArray::number(row.values[std::size_t(k - 1)]);
        out += '\n';
    }
    return out;
}

}  // namespace fareboard::datatool
