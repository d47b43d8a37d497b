#pragma once

#include <QByteArray>
#include <QString>

#include <cstdint>
#include <initializer_list>

namespace fareboard::test {

// Builds file contents by hand, byte by byte, so tests do not trust the code they check.
class Bytes {
public:
    Bytes& i2(int v);
    Bytes& i4(int32_t v);
    Bytes& raw(std::initializer_list<int> bytes);
    Bytes& raw(const QByteArray& bytes);
    // A length-prefixed string of plain ASCII.
    Bytes& ascii(const char* text);
    Bytes& zeros(int count);

    const QByteArray& data() const { return data_; }
    operator const QByteArray&() const { return data_; }

private:
    QByteArray data_;
};

// Writes `bytes` to `path`, creating folders; fails the test on error.
void writeFile(const QString& path, const QByteArray& bytes);
QByteArray readFile(const QString& path);

}  // namespace fareboard::test
