#include "FuzzTarget.h"

#include "reading/ReadingsFile.h"
#include "reading/SpokenText.h"

#include <vector>

using namespace fareboard;

std::vector<QByteArray> fuzzSeeds()
{
    return {QByteArray("\xEF\xBB\xBF# readings\r\n厚別,あつべつ\r\n豊平,とよひら\r\n"),
            QByteArray("ひばり橋,ひばりばし\n灯台下,トウダイシタ\n\n大通おおどおり\n麻生,あさぶ,あそう\n,x\n"),
            QByteArray("JR,じぇいあーる\n1丁目,いっちょうめ\n行き,ゆき")};
}

// Reads the bytes as the tape reads a folder's readings, then applies them to a text.
extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QByteArray bytes(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    const ReadingsFileContents contents = parseReadingsFile(bytes);
    ReadingTable table;
    table.addAll(contents.entries);
    (void)spokenText(QStringLiteral("次は、北1条西4丁目、JR札幌駅行きです。"), table);
    (void)spokenText(QString::fromUtf8(bytes), table);
    return 0;
}
