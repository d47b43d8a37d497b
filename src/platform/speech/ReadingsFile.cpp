#include "ReadingsFile.h"

#include <QHash>
#include <QStringDecoder>

namespace fareboard {

bool isReadingKana(QChar c)
{
    const char16_t u = c.unicode();
    return (u >= 0x3041 && u <= 0x3096) || (u >= 0x309D && u <= 0x309E)  // hiragana, ゝゞ
        || (u >= 0x30A1 && u <= 0x30FA) || (u >= 0x30FC && u <= 0x30FE);  // katakana, ー, ヽヾ
}

namespace {

QString firstNonKana(const QString& reading)
{
    for (QChar c : reading) {
        if (!isReadingKana(c))
            return QString(c);
    }
    return QString();
}

}  // namespace

ReadingsFileContents parseReadingsFile(const QByteArray& bytes)
{
    ReadingsFileContents out;
    QHash<QString, int> firstLine;
    QByteArrayView rest(bytes);
    if (rest.startsWith("\xEF\xBB\xBF"))
        rest = rest.sliced(3);

    int lineNumber = 0;
    while (!rest.isEmpty()) {
        ++lineNumber;
        const qsizetype end = rest.indexOf('\n');
        QByteArrayView raw = end < 0 ? rest : rest.first(end);
        rest = end < 0 ? QByteArrayView() : rest.sliced(end + 1);
        if (raw.endsWith('\r'))
            raw.chop(1);

        auto bad = [&](const QString& reason) { out.bad.push_back({lineNumber, reason}); };
        QStringDecoder decode(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
        const QString line = decode(raw);
        if (decode.hasError()) {
            bad(QStringLiteral("not UTF-8"));
            continue;
        }
        const QString trimmed = line.trimmed();
        if (trimmed.isEmpty() || trimmed.startsWith(QLatin1Char('#')))
            continue;

        const qsizetype comma = trimmed.indexOf(QLatin1Char(','));
        if (comma < 0) {
            bad(QStringLiteral("no comma; a line is 表記,読み"));
            continue;
        }
        if (trimmed.indexOf(QLatin1Char(','), comma + 1) >= 0) {
            bad(QStringLiteral("more than one comma; a line is 表記,読み"));
            continue;
        }
        ReadingLine entry{trimmed.left(comma).trimmed(), trimmed.mid(comma + 1).trimmed(), lineNumber};
        if (entry.written.isEmpty()) {
            bad(QStringLiteral("the written form (before the comma) is empty"));
            continue;
        }
        if (entry.reading.isEmpty()) {
            bad(QStringLiteral("the reading (after the comma) is empty"));
            continue;
        }
        if (const QString c = firstNonKana(entry.reading); !c.isEmpty()) {
            bad(QStringLiteral("the reading has '%1'; write it in hiragana or katakana").arg(c));
            continue;
        }
        if (const auto seen = firstLine.constFind(entry.written); seen != firstLine.constEnd()) {
            bad(QStringLiteral("'%1' is already read on line %2").arg(entry.written).arg(*seen));
            continue;
        }
        firstLine.insert(entry.written, lineNumber);
        out.entries.push_back(std::move(entry));
    }
    return out;
}

}  // namespace fareboard
