#pragma once

#include <QByteArray>
#include <QString>

#include <array>
#include <cstdint>
#include <vector>

namespace fareboard {

// The ".hy3" fare data file: a 16-bit row count, then that many records of
// (16-bit name length, Shift-JIS name, 16-bit ticket number, 150 16-bit values), little-endian.
namespace FareDataFile {

struct Record {
    QString stopName;
    int16_t ticketNo = 0;
    std::array<int16_t, 150> values{};
};

constexpr qint64 kFixedRecordBytes = 304;
// The largest file that can matter: 301 records with the longest names. Anything past it is
// never read, so a huge or endless file costs no more than this.
constexpr qint64 kMaxUsefulBytes = 2 + 301 * (kFixedRecordBytes + 65535);

// The stored count N. AppError 62 when the file is shorter than two bytes.
int16_t readCount(const QByteArray& bytes);

// The first `count` records after the count. AppError 62 when the file ends before them.
std::vector<Record> readRecords(const QByteArray& bytes, int count);

}  // namespace FareDataFile
}  // namespace fareboard
