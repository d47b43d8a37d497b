#include "FuzzTarget.h"

#include "platform/speech/OpenJTalkVoice.h"

#include <QtEndian>

#include <vector>

using namespace fareboard;

namespace {

QByteArray le32(quint32 v)
{
    QByteArray b(4, '\0');
    qToLittleEndian(v, b.data());
    return b;
}

QByteArray wave(quint16 channels, quint16 bits, const QByteArray& extraChunk, const QByteArray& samples)
{
    QByteArray fmt;
    fmt += QByteArray("\x01\x00", 2);
    fmt += char(channels & 0xFF);
    fmt += char(channels >> 8);
    fmt += le32(48000) + le32(96000) + QByteArray("\x02\x00", 2);
    fmt += char(bits & 0xFF);
    fmt += char(bits >> 8);
    const QByteArray body = QByteArray("WAVEfmt ") + le32(16) + fmt + extraChunk + "data" + le32(quint32(samples.size())) + samples;
    return "RIFF" + le32(quint32(body.size())) + body;
}

}  // namespace

// What Open JTalk (or a program standing in for it) writes as its WAV.
std::vector<QByteArray> fuzzSeeds()
{
    return {wave(1, 16, {}, QByteArray("\x10\x00\xF0\xFF\x00\x80\xFF\x7F", 8)),
            wave(1, 16, QByteArray("LIST") + le32(5) + "abcde\0", QByteArray("\x01\x02\x03", 3)),
            wave(2, 16, {}, QByteArray(8, '\x01')), wave(1, 8, {}, QByteArray(4, '\x7F'))};
}

// The voice's reader: never reads outside the bytes, whatever the chunk sizes say, and what it
// returns is no more than the bytes hold.
extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QByteArray bytes(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    int rate = 0;
    bool parsed = false;
    const std::vector<int16_t> samples = monoWaveSamples(bytes, &rate, &parsed);
    if (samples.size() * 2 > size || (!parsed && !samples.empty()))
        __builtin_trap();
    return 0;
}
