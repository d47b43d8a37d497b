#include "PcmTools.h"

#include <QtEndian>

#include <cstdlib>

namespace fareboard {
namespace {

void appendLe32(QByteArray& out, uint32_t v)
{
    char b[4];
    qToLittleEndian(v, b);
    out.append(b, 4);
}

void appendLe16(QByteArray& out, uint16_t v)
{
    char b[2];
    qToLittleEndian(v, b);
    out.append(b, 2);
}

}  // namespace

std::size_t lengthWithoutQuietTail(const int16_t* samples, std::size_t count, int channels, int threshold)
{
    if (channels < 1)
        channels = 1;
    std::size_t end = count;
    while (end > 0 && std::abs(int(samples[end - 1])) <= threshold)
        --end;
    const std::size_t frames = (end + channels - 1) / channels;
    return frames * channels;
}

std::size_t startWithoutQuietLead(const int16_t* samples, std::size_t count, int threshold, std::size_t keep)
{
    std::size_t first = 0;
    while (first < count && std::abs(int(samples[first])) <= threshold)
        ++first;
    if (first == count)
        return count;
    return first > keep ? first - keep : 0;
}

QByteArray monoWaveFile(const std::vector<int16_t>& samples, int sampleRate)
{
    const uint32_t dataBytes = uint32_t(samples.size() * sizeof(int16_t));
    QByteArray out;
    out.reserve(44 + int(dataBytes));
    out.append("RIFF", 4);
    appendLe32(out, 36 + dataBytes);
    out.append("WAVEfmt ", 8);
    appendLe32(out, 16);
    appendLe16(out, 1);  // PCM
    appendLe16(out, 1);  // mono
    appendLe32(out, uint32_t(sampleRate));
    appendLe32(out, uint32_t(sampleRate) * 2);
    appendLe16(out, 2);
    appendLe16(out, 16);
    out.append("data", 4);
    appendLe32(out, dataBytes);
    for (int16_t s : samples)
        appendLe16(out, uint16_t(s));
    return out;
}

}  // namespace fareboard
