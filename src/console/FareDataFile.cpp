#include "FareDataFile.h"

#include "platform/AppError.h"
#include "platform/ShiftJis.h"

namespace fareboard::FareDataFile {
namespace {

class Reader {
public:
    explicit Reader(const QByteArray& bytes) : bytes_(bytes) {}

    uint16_t u16()
    {
        need(2);
        const auto* p = reinterpret_cast<const unsigned char*>(bytes_.constData()) + pos_;
        pos_ += 2;
        return static_cast<uint16_t>(p[0] | (p[1] << 8));
    }
    int16_t i16() { return static_cast<int16_t>(u16()); }
    QByteArray take(qint64 n)
    {
        need(n);
        QByteArray out = bytes_.mid(pos_, n);
        pos_ += n;
        return out;
    }

private:
    void need(qint64 n) const
    {
        if (bytes_.size() - pos_ < n)
            throw AppError(ErrorNumber::InputPastEndOfFile);
    }

    const QByteArray& bytes_;
    qint64 pos_ = 0;
};

}  // namespace

int16_t readCount(const QByteArray& bytes)
{
    Reader r(bytes);
    return r.i16();
}

std::vector<Record> readRecords(const QByteArray& bytes, int count)
{
    Reader r(bytes);
    r.u16();
    std::vector<Record> records;
    if (count <= 0)
        return records;
    records.reserve(static_cast<size_t>(count));
    for (int i = 0; i < count; ++i) {
        Record rec;
        const uint16_t length = r.u16();
        rec.stopName = fromShiftJis(r.take(length));
        rec.ticketNo = r.i16();
        for (auto& v : rec.values)
            v = r.i16();
        records.push_back(std::move(rec));
    }
    return records;
}

}  // namespace fareboard::FareDataFile
