#include "OutputFiles.h"

#include "StrictText.h"

namespace fareboard::datatool::gtfs {
namespace {

bool isKana(QChar c)
{
    const char16_t u = c.unicode();
    return (u >= 0x3041 && u <= 0x309F) || (u >= 0x30A0 && u <= 0x30FF) || u == 0x3000 || u == 0xFF5E;
}

}  // namespace

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

QByteArray readingsFileBytes(const QString& source, const std::vector<std::pair<QString, QString>>& readings,
                             QStringList& warnings)
{
    QByteArray out = QStringLiteral("# 読み: %1 の translations.txt (ja-Hrkt) から\n").arg(source).toUtf8();
    for (const auto& [text, reading] : readings) {
        const auto unsafe = [](const QString& s) {
            return s.contains(QLatin1Char(',')) || s.contains(QLatin1Char('\n')) || s.contains(QLatin1Char('\r'));
        };
        if (text.isEmpty() || unsafe(text) || unsafe(reading) || text.startsWith(QLatin1Char('#'))) {
            warnings << QStringLiteral("the reading of \"%1\" is left out: the readings file cannot hold it").arg(text);
            continue;
        }
        if (!std::all_of(reading.begin(), reading.end(), isKana)) {
            warnings << QStringLiteral("the reading \"%1\" of \"%2\" is not in kana; left out").arg(reading, text);
            continue;
        }
        out += text.toUtf8() + ',' + reading.toUtf8() + '\n';
    }
    return out;
}

QByteArray csvBytes(const std::vector<QStringList>& rows)
{
    QByteArray out;
    for (const QStringList& row : rows) {
        for (qsizetype i = 0; i < row.size(); ++i) {
            QByteArray field = row[i].toUtf8();
            if (field.contains(',') || field.contains('"') || field.contains('\n') || field.contains('\r'))
                field = '"' + field.replace("\"", "\"\"") + '"';
            if (i > 0)
                out += ',';
            out += field;
        }
        out += '\n';
    }
    return out;
}

}  // namespace fareboard::datatool::gtfs
