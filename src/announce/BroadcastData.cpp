#include "BroadcastData.h"

#include "platform/AppError.h"
#include "platform/ShiftJis.h"

#include <cmath>

namespace fareboard {
namespace {

bool isBlank(char c)
{
    return c == ' ' || c == '\t';
}

bool isLineEnd(char c)
{
    return c == '\r' || c == '\n';
}

}  // namespace

int broadcastLineCount(const QByteArray& bytes)
{
    int lines = 0;
    qsizetype i = 0;
    const qsizetype n = bytes.size();
    bool pending = false;
    while (i < n) {
        const char c = bytes[i++];
        if (c == '\r' || c == '\n') {
            if (c == '\r' && i < n && bytes[i] == '\n')
                ++i;
            ++lines;
            pending = false;
        } else {
            pending = true;
        }
    }
    return lines + (pending ? 1 : 0);
}

BroadcastFieldReader::BroadcastFieldReader(QByteArray bytes) : bytes_(std::move(bytes))
{
    contentEnd_ = bytes_.size();
    while (contentEnd_ > 0 && (isBlank(bytes_[contentEnd_ - 1]) || isLineEnd(bytes_[contentEnd_ - 1])))
        --contentEnd_;
}

bool BroadcastFieldReader::onlyBlankLeft() const
{
    return pos_ >= contentEnd_;
}

QByteArray BroadcastFieldReader::nextField()
{
    const qsizetype n = bytes_.size();
    while (pos_ < n && isBlank(bytes_[pos_]))
        ++pos_;
    if (pos_ >= n)
        throw AppError(ErrorNumber::InputPastEndOfFile);

    QByteArray field;
    if (bytes_[pos_] == '"') {
        const qsizetype close = bytes_.indexOf('"', pos_ + 1);
        const qsizetype end = close < 0 ? n : close;
        field = bytes_.mid(pos_ + 1, end - pos_ - 1);
        pos_ = close < 0 ? n : close + 1;
        while (pos_ < n && bytes_[pos_] != ',' && !isLineEnd(bytes_[pos_]))
            ++pos_;
    } else {
        const qsizetype start = pos_;
        while (pos_ < n && bytes_[pos_] != ',' && !isLineEnd(bytes_[pos_]))
            ++pos_;
        field = bytes_.mid(start, pos_ - start);
        while (!field.isEmpty() && isBlank(field.back()))
            field.chop(1);
    }

    // Step over the delimiter, a line end counting as one.
    if (pos_ < n) {
        if (bytes_[pos_] == ',') {
            ++pos_;
        } else if (bytes_[pos_] == '\r') {
            ++pos_;
            if (pos_ < n && bytes_[pos_] == '\n')
                ++pos_;
        } else if (bytes_[pos_] == '\n') {
            ++pos_;
        }
    }
    return field;
}

QString BroadcastFieldReader::nextText()
{
    return fromShiftJis(nextField());
}

int16_t BroadcastFieldReader::nextNumber()
{
    return broadcastNumber(nextField());
}

int16_t broadcastNumber(const QByteArray& field)
{
    bool ok = false;
    const double value = field.trimmed().toDouble(&ok);
    if (!ok || !std::isfinite(value))
        return 0;
    // Integer fields round halves to even, as the files' original reader did.
    const double rounded = std::nearbyint(value);
    if (rounded < -32768.0 || rounded > 32767.0)
        return 0;
    return int16_t(rounded);
}

int32_t tapePositionForRow(const std::vector<TapeEntry>& tape, int row)
{
    if (row <= 1)
        return 0;
    // The n-th stepping entry moves the board from row n to row n + 1.
    int steps = 0;
    for (std::size_t i = 0; i < tape.size(); ++i) {
        if (tape[i].StepFlag == 1 && ++steps == row)
            return int32_t(i);
    }
    return 0;
}

}  // namespace fareboard
