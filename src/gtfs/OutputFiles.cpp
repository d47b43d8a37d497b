#include "OutputFiles.h"

#include <algorithm>

#include "StrictText.h"
#include "reading/ReadingsFile.h"

#include <QHash>

namespace fareboard::datatool::gtfs {

QByteArray tapeFileBytes(const std::vector<TapeEntry>& tape)
{
    QByteArray out;
    for (const TapeEntry& entry : tape) {
        const auto text = encodeShiftJis(entry.Text);
        out += '"' + text.value_or(QByteArray()) + "\"," + QByteArray::number(entry.StepFlag) + ',' +
               QByteArray::number(entry.ChimeFlag) + "\r\n";
    }
    return out;
}

QByteArray readingsFileBytes(const QString& source, const QString& translations,
                             const std::vector<FeedReading>& readings, QStringList& warnings)
{
    QByteArray out = QStringLiteral("# 読み: %1 の translations.txt (ja-Hrkt) から\n").arg(source).toUtf8();
    QHash<QString, QString> written;  // text → its reading, for the texts already in the file
    for (const auto& [text, given, line] : readings) {
        const QString where = QStringLiteral("%1:%2: ").arg(translations).arg(line);
        const TakenReading taken = takeReading(text, given);
        if (!taken.taken()) {
            warnings << where + QStringLiteral("the reading \"%1\" of \"%2\" is not in kana; left out").arg(given, text);
            continue;
        }
        // Two names that differ only in an annotation (船形沢（旧道）, 船形沢（新道）) share the
        // shortened text only while they share its reading; otherwise the later keeps its whole name.
        QString form = taken.written;
        if (form != text && written.contains(form) && written.value(form) != taken.reading)
            form = text;
        if (form.isEmpty() || form.contains(QLatin1Char(',')) || form.contains(QLatin1Char('\n')) ||
            form.contains(QLatin1Char('\r')) || form.startsWith(QLatin1Char('#'))) {
            warnings << where + QStringLiteral("the reading of \"%1\" is left out: the readings file cannot hold it").arg(text);
            continue;
        }
        if (const auto seen = written.constFind(form); seen != written.constEnd()) {
            if (*seen != taken.reading)
                warnings << where + QStringLiteral("\"%1\" is already read \"%2\"; the reading \"%3\" is left out")
                                        .arg(form, *seen, given);
            continue;
        }
        written.insert(form, taken.reading);
        out += form.toUtf8() + ',' + taken.reading.toUtf8() + '\n';
    }
    return out;
}

void appendCsvField(QByteArray& out, QStringView field)
{
    const bool quoted = std::any_of(field.begin(), field.end(), [](QChar c) {
        return c == u',' || c == u'"' || c == u'\n' || c == u'\r';
    });
    if (!quoted) {
        out += field.toUtf8();
        return;
    }
    out += '"';
    out += field.toUtf8().replace("\"", "\"\"");
    out += '"';
}

QByteArray csvBytes(const std::vector<QStringList>& rows)
{
    QByteArray out;
    for (const QStringList& row : rows) {
        for (qsizetype i = 0; i < row.size(); ++i) {
            if (i > 0)
                out += ',';
            appendCsvField(out, row[i]);
        }
        out += '\n';
    }
    return out;
}

}  // namespace fareboard::datatool::gtfs
