#include "FuzzTarget.h"

#include "announce/BroadcastData.h"
#include "platform/AppError.h"
#include "platform/ShiftJis.h"

#include <vector>

using namespace fareboard;

std::vector<QByteArray> fuzzSeeds()
{
    const QString text = QStringLiteral(
        "\"ご乗車ありがとうございます。このバスは、港行きです。\",0,1\r\n"
        "\"次は、市役所前です。お降りの方は、ボタンでお知らせください。\",1,2\r\n"
        "次は、中央公園です。,1,3\r\n"
        "\"次は、終点、港です。\",1\r\n"
        "0\r\n\r\n");
    return {toShiftJis(text), toShiftJis(QStringLiteral("a,1,1\rb,2,2\nc,3,3")), QByteArray("\"open,1,1\r\n")};
}

// Reads the bytes the way the tape loads a route's announcements.
extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QByteArray bytes(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    try {
        std::vector<TapeEntry> tape(static_cast<size_t>(broadcastLineCount(bytes)));
        BroadcastFieldReader reader(bytes);
        size_t index = 0;
        while (!reader.atEnd() && !reader.onlyBlankLeft()) {
            if (index >= tape.size())
                throw AppError(ErrorNumber::SubscriptOutOfRange);
            TapeEntry& entry = tape[index++];
            entry.Text = reader.nextText();
            entry.StepFlag = reader.nextNumber();
            entry.ChimeFlag = reader.nextNumber();
        }
    } catch (const AppError&) {
    }
    return 0;
}
