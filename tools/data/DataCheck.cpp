#include "DataCheck.h"

#include "StrictText.h"
#include "announce/BroadcastData.h"
#include "board/BoardLayout.h"
#include "console/FareDataFile.h"
#include "platform/AppError.h"
#include "platform/ShiftJis.h"

#include <algorithm>
#include <cmath>
#include <functional>
#include <vector>

namespace fareboard::datatool {
namespace {

constexpr int kMaxRows = 301;
constexpr qsizetype kMaxFindings = 500;

int readLe16(const QByteArray& bytes, qsizetype at)
{
    return int16_t(uint16_t(uchar(bytes[at]) | (uchar(bytes[at + 1]) << 8)));
}

QString at(const QString& fileName, int line)
{
    return QStringLiteral("%1:%2: ").arg(fileName).arg(line);
}

QString inRow(const QString& fileName, int row)
{
    return QStringLiteral("%1: row %2: ").arg(fileName).arg(row);
}

bool hasHalfWidth(const QString& name)
{
    for (QChar c : name) {
        if (c.isSurrogate())
            continue;
        const auto bytes = encodeShiftJis(QString(c));
        if (bytes && bytes->size() == 1)
            return true;
    }
    return false;
}

struct LineFields {
    QList<QByteArray> fields;  // the first three; only the count of any further ones matters
    int count = 0;
    bool quoteRunsOn = false;  // a quote opened on the line and not closed there
};

// The fields of one line, split the way the program's reader splits them.
LineFields fieldsOfLine(const QByteArray& line)
{
    LineFields result;
    const qsizetype n = line.size();
    qsizetype i = 0;
    for (;;) {
        while (i < n && (line[i] == ' ' || line[i] == '\t'))
            ++i;
        QByteArray field;
        if (i < n && line[i] == '"') {
            const qsizetype close = line.indexOf('"', i + 1);
            if (close < 0) {
                result.quoteRunsOn = true;
                field = line.mid(i + 1);
                i = n;
            } else {
                field = line.mid(i + 1, close - i - 1);
                i = close + 1;
                while (i < n && line[i] != ',')
                    ++i;
            }
        } else {
            const qsizetype start = i;
            while (i < n && line[i] != ',')
                ++i;
            field = line.mid(start, i - start).trimmed();
        }
        if (++result.count <= 3)
            result.fields.append(field);
        if (i < n && line[i] == ',') {
            ++i;
            continue;
        }
        return result;
    }
}

bool isBlankLine(const QByteArray& line)
{
    return line.trimmed().isEmpty();
}

void checkFlag(const QByteArray& field, const QString& what, const QString& where, CheckReport& report,
               const std::function<void(int)>& judge)
{
    const QByteArray trimmed = field.trimmed();
    bool ok = false;
    const double value = trimmed.toDouble(&ok);
    if (!ok || !std::isfinite(value)) {
        report.errors << where + QStringLiteral("the %1 \"%2\" is not a number; the program reads it as 0")
                                     .arg(what, fromShiftJis(trimmed));
        return;
    }
    if (std::nearbyint(value) < -32768.0 || std::nearbyint(value) > 32767.0) {
        report.errors << where + QStringLiteral("the %1 %2 is outside -32768..32767; the program reads it as 0")
                                     .arg(what, QString::fromLatin1(trimmed));
        return;
    }
    judge(broadcastNumber(trimmed));
}

}  // namespace

QString fareWiderThanBoard(int largestFare)
{
    const QString digits = QString::number(largestFare);
    if (digits.size() <= BoardLayout::kFareDigits)
        return {};
    return QStringLiteral("the largest fare, %1, needs %2 digits; the board's fares have %3, so it shows \"%4\"")
        .arg(largestFare)
        .arg(digits.size())
        .arg(BoardLayout::kFareDigits)
        .arg(digits.right(BoardLayout::kFareDigits));
}

CheckReport checkFareData(const QByteArray& bytes, const QString& fileName)
{
    CheckReport report;
    if (bytes.size() < 2) {
        report.errors << fileName + QStringLiteral(": the file is too short to hold the row count");
        return report;
    }
    const int count = readLe16(bytes, 0);
    if (count < 1 || count > kMaxRows) {
        report.errors << fileName + QStringLiteral(": the row count is %1; the program loads 1 to %2 rows").arg(count).arg(kMaxRows);
        return report;
    }
    report.summary << fileName + QStringLiteral(": fare data, %1 stops").arg(count);
    if (count == 1)
        report.errors << fileName + QStringLiteral(": only one stop: a reset needs a section below the count, so none is accepted");
    else
        report.summary << QStringLiteral("sections a reset accepts: 1 to %1 (stepping reaches row %2)").arg(count - 1).arg(count);

    qsizetype pos = 2;
    int lastColumn = 0;
    int largestFare = 0;
    QStringList rowLines;
    for (int r = 1; r <= count; ++r) {
        if (bytes.size() - pos < 2) {
            report.errors << inRow(fileName, r) + QStringLiteral("the file ends before this row (the program refuses the file)");
            return report;
        }
        const int length = uint16_t(readLe16(bytes, pos));
        if (bytes.size() - pos - 2 < length + FareDataFile::kFixedRecordBytes - 2) {
            report.errors << inRow(fileName, r) + QStringLiteral("the file ends inside this row (the program refuses the file)");
            return report;
        }
        const QByteArray nameBytes = bytes.mid(pos + 2, length);
        pos += 2 + length;
        const int ticket = readLe16(bytes, pos);
        pos += 2;
        for (int k = 1; k <= 150; ++k) {
            const int value = readLe16(bytes, pos + 2 * (k - 1));
            if (value != 0)
                lastColumn = std::max(lastColumn, k);
            if (k <= BoardLayout::kFareColumns * BoardLayout::kFareRows)
                largestFare = std::max(largestFare, value);
        }
        pos += 300;

        const auto name = decodeShiftJis(nameBytes);
        const QString shown = name ? *name : fromShiftJis(nameBytes);
        if (length > 32767)
            report.errors << inRow(fileName, r) + QStringLiteral("the name length %1 is past 32767").arg(length);
        if (!name)
            report.errors << inRow(fileName, r) + QStringLiteral("the stop name is not valid Shift-JIS; the board shows \"%1\"").arg(shown);
        else if (shown.isEmpty())
            report.warnings << inRow(fileName, r) + QStringLiteral("the stop name is empty; the board shows nothing");
        else if (shown.size() > kLongStopName)
            report.warnings << inRow(fileName, r) + QStringLiteral("the stop name \"%1\" has %2 characters").arg(shown).arg(shown.size());
        if (name && hasHalfWidth(shown))
            report.warnings << inRow(fileName, r)
                                   + QStringLiteral("the stop name \"%1\" has half-width characters, which the board's "
                                                    "16-dot column draws two to a cell")
                                         .arg(shown);
        rowLines << QStringLiteral("%1  %2  %3").arg(r, 3).arg(ticket, 6).arg(shown);
    }
    if (const QString wide = fareWiderThanBoard(largestFare); !wide.isEmpty())
        report.warnings << fileName + QStringLiteral(": ") + wide;
    report.summary << QStringLiteral("data columns in use: 1 to %1").arg(lastColumn);
    report.summary << QStringLiteral("row  ticket  stop name");
    report.summary << rowLines;
    if (pos < bytes.size())
        report.warnings << fileName + QStringLiteral(": %1 bytes after the last row are ignored").arg(bytes.size() - pos);
    return report;
}

CheckReport checkBroadcastData(const QByteArray& bytes, const QString& fileName)
{
    CheckReport report;
    if (bytes.isEmpty()) {
        report.errors << fileName + QStringLiteral(": the file is empty");
        return report;
    }
    if (looksLikeUtf8(withoutByteOrderMark(bytes))) {
        report.errors << fileName + QStringLiteral(": the file is UTF-8, but the program reads broadcast data as Shift-JIS; "
                                                   "convert it with: fareboard-data sjis IN OUT");
        return report;
    }

    if (bytes.size() > kMaxBroadcastBytes) {
        report.errors << fileName + QStringLiteral(": %1 bytes; the program does not load broadcast data larger than %2 KB")
                                        .arg(bytes.size())
                                        .arg(kMaxBroadcastBytes / 1024);
        return report;
    }

    const TextLines text = splitLines(bytes);
    int lastContent = 0;
    for (int i = 0; i < text.lines.size(); ++i) {
        if (!isBlankLine(text.lines[i]))
            lastContent = i + 1;
    }
    for (int i = 0; i < text.lines.size(); ++i) {
        const int line = i + 1;
        // Past a few hundred findings a user fixes the cause, not each line; a list of every
        // line of a large broken file would only bury the summary.
        if (report.errors.size() + report.warnings.size() >= kMaxFindings) {
            report.warnings << fileName + QStringLiteral(": lines %1 to %2 are not checked one by one (%3 findings already)")
                                              .arg(line)
                                              .arg(text.lines.size())
                                              .arg(kMaxFindings);
            break;
        }
        const QByteArray& bytesOfLine = text.lines[i];
        const QString where = at(fileName, line);
        if (!decodeShiftJis(bytesOfLine))
            report.errors << where + QStringLiteral("not valid Shift-JIS; the program shows \"?\" in its place");
        if (isBlankLine(bytesOfLine)) {
            if (line > lastContent)
                report.warnings << where + QStringLiteral("an empty line at the end: the tape reaches it as a silent entry");
            else
                report.errors << where + QStringLiteral("an empty line: the program reads it as one field, so every later "
                                                        "entry takes its fields from the wrong place");
            continue;
        }
        const LineFields parts = fieldsOfLine(bytesOfLine);
        if (parts.quoteRunsOn) {
            report.errors << where + QStringLiteral("the quote is not closed on this line: the text runs on into the next line");
            continue;
        }
        const int fields = parts.count;
        if (fields < 3) {
            report.errors << where + QStringLiteral("%1 of the 3 fields (text, step flag, chime flag): the entry takes the "
                                                    "missing ones from line %2")
                                         .arg(fields)
                                         .arg(line + 1);
            continue;
        }
        if (fields > 3) {
            report.errors << where + QStringLiteral("%1 fields where 3 belong (text, step flag, chime flag): the extra ones "
                                                    "start the next entry (put a text with commas in double quotes)")
                                         .arg(fields);
            continue;
        }
        if (parts.fields[0].isEmpty())
            report.warnings << where + QStringLiteral("no text: nothing is spoken");
        checkFlag(parts.fields[1], QStringLiteral("step flag"), where, report, [&](int flag) {
            if (flag != 0 && flag != 1)
                report.warnings << where + QStringLiteral("step flag %1: only 1 steps the fares, anything else does not").arg(flag);
        });
        checkFlag(parts.fields[2], QStringLiteral("chime flag"), where, report, [&](int flag) {
            if (flag < 0 || flag > 3)
                report.warnings << where + QStringLiteral("chime flag %1 plays no chime (1 to 3 choose one, 0 none)").arg(flag);
        });
    }

    // The entries exactly as the tape loads them, so the summary shows what the board will do.
    const int count = broadcastLineCount(bytes);
    std::vector<TapeEntry> entries;
    try {
        BroadcastFieldReader reader(bytes);
        // The tape holds one entry per line; reading stops at the first one too many.
        while (!reader.atEnd() && !reader.onlyBlankLeft() && int(entries.size()) <= count) {
            TapeEntry entry;
            entry.Text = reader.nextText();
            entry.StepFlag = reader.nextNumber();
            entry.ChimeFlag = reader.nextNumber();
            entries.push_back(entry);
        }
    } catch (const AppError&) {
        report.errors << fileName + QStringLiteral(": the last entry runs past the end of the file: the program does not load "
                                                   "this tape");
    }
    if (int(entries.size()) > count)
        report.errors << fileName + QStringLiteral(": more entries than lines: the program does not load this tape");

    int steps = 0;
    int chimes[4] = {0, 0, 0, 0};
    QStringList entryLines;
    for (std::size_t e = 0; e < entries.size(); ++e) {
        const TapeEntry& entry = entries[e];
        steps += entry.StepFlag == 1 ? 1 : 0;
        if (entry.ChimeFlag >= 1 && entry.ChimeFlag <= 3)
            ++chimes[entry.ChimeFlag];
        entryLines << QStringLiteral("%1  %2  %3  %4").arg(e + 1, 5).arg(entry.StepFlag, 4).arg(entry.ChimeFlag, 5).arg(entry.Text);
    }
    report.summary << fileName + QStringLiteral(": broadcast data, %1 entries; %2 step the fares; chimes 1: %3, 2: %4, 3: %5")
                                     .arg(count)
                                     .arg(steps)
                                     .arg(chimes[1])
                                     .arg(chimes[2])
                                     .arg(chimes[3]);
    report.summary << QStringLiteral("entry  step  chime  text");
    report.summary << entryLines;
    return report;
}

}  // namespace fareboard::datatool
