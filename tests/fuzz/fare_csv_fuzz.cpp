#include "FuzzTarget.h"

#include "FareCsv.h"
#include "FareDataWriter.h"
#include "InputError.h"

using namespace fareboard::datatool;

std::vector<QByteArray> fuzzSeeds()
{
    return {
        "停留所名,整理券番号,1,2,3\n青凪駅,1,180,-1,0\r\n\"港,桟橋\"\"前\"\"\",2,  190 ,+200,-32768\n,3,0,0,32767\n",
        "\xEF\xBB\xBF停留所名,整理券番号\r\nA,1\r\nB,2\r\n",
    };
}

// What import does with a table: read it, then make the fare data file's bytes.
extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    try {
        const auto rows = readFareCsv(QByteArray(reinterpret_cast<const char*>(data), qsizetype(size)), QStringLiteral("fuzz.csv"));
        encodeFareData(rows, QStringLiteral("fuzz.hy3"));
    } catch (const InputError&) {
    }
    return 0;
}
