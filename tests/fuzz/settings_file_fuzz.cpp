#include "FuzzTarget.h"

#include "board/SettingsFile.h"
#include "platform/AppError.h"
#include "support/SampleFiles.h"

#include <cstdio>
#include <cstdlib>

using namespace fareboard;

std::vector<QByteArray> fuzzSeeds()
{
    SettingsStore japanese;
    japanese.DataDir.FareDataDir = QStringLiteral("/運賃/～①/");
    japanese.Sound.SoundFile3 = QStringLiteral("チャイム.mid");
    return {test::distinctSettingsBytes(), SettingsFile::encode(SettingsStore{}), SettingsFile::encode(japanese)};
}

// Any file that reads must write back to bytes that read to the same settings: after one
// round trip the bytes are stable.
extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QByteArray bytes(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    try {
        const QByteArray once = SettingsFile::encode(SettingsFile::decode(bytes));
        const QByteArray twice = SettingsFile::encode(SettingsFile::decode(once));
        if (once != twice) {
            std::fprintf(stderr, "settings do not survive a write and a read\n");
            std::abort();
        }
    } catch (const AppError&) {
    }
    return 0;
}
