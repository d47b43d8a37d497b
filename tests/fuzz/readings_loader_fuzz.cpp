#include "FuzzTarget.h"

#include "platform/speech/ReadingsFile.h"
#include "platform/speech/SpokenText.h"

#include <vector>

using namespace fareboard;

// The first byte picks how many lines the rest grows into; the rest is lines to repeat.
std::vector<QByteArray> fuzzSeeds()
{
    return {QByteArray("\x00厚別,あつべつ\n厚別中央,あつべつちゅうおう\n"),
            QByteArray("\x01北1条,きたいちじょう\n#\n北,きた\r\nx"),
            QByteArray("\x03灯台,とうだい")};
}

// A readings file at scale, the way a city's stops make one: every line repeated with a number
// after its written form, so thousands of forms start with the same characters. Read as the tape
// reads it, then applied to texts that hit the longest and shortest of them.
extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (size == 0)
        return 0;
    const int wanted = 64 << (data[0] % 8);
    const QList<QByteArray> lines =
        QByteArray(reinterpret_cast<const char*>(data) + 1, static_cast<qsizetype>(size - 1)).split('\n').mid(0, 16);
    QByteArray file;
    for (int n = 0; n * lines.size() < wanted; ++n) {
        for (const QByteArray& line : lines) {
            const qsizetype comma = line.indexOf(',');
            file += comma < 0 ? line : line.left(comma) + QByteArray::number(n) + line.mid(comma);
            file += '\n';
        }
    }
    const ReadingsFileContents contents = parseReadingsFile(file);
    ReadingTable table;
    table.addAll(contents.entries);
    table.addAll(contents.entries);  // given again: replaced, never doubled
    QString text = QString::fromUtf8(lines.value(0)) + QString::number(wanted / 2) + QStringLiteral("、");
    text += QString::fromUtf8(lines.value(lines.size() - 1)).left(40);
    (void)spokenText(text, table);
    return 0;
}
