#include "support/Bytes.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <cstring>

namespace fareboard::test {

Bytes& Bytes::i2(int v)
{
    data_.append(static_cast<char>(v & 0xFF));
    data_.append(static_cast<char>((v >> 8) & 0xFF));
    return *this;
}

Bytes& Bytes::i4(int32_t v)
{
    const auto u = static_cast<uint32_t>(v);
    for (int shift = 0; shift < 32; shift += 8)
        data_.append(static_cast<char>((u >> shift) & 0xFF));
    return *this;
}

Bytes& Bytes::raw(std::initializer_list<int> bytes)
{
    for (int b : bytes)
        data_.append(static_cast<char>(b));
    return *this;
}

Bytes& Bytes::raw(const QByteArray& bytes)
{
    data_.append(bytes);
    return *this;
}

Bytes& Bytes::ascii(const char* text)
{
    const int n = static_cast<int>(std::strlen(text));
    i2(n);
    data_.append(text, n);
    return *this;
}

Bytes& Bytes::zeros(int count)
{
    data_.append(QByteArray(count, '\0'));
    return *this;
}

void writeFile(const QString& path, const QByteArray& bytes)
{
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly)) << path.toStdString();
    ASSERT_EQ(f.write(bytes), bytes.size());
}

QByteArray readFile(const QString& path)
{
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly))
        return {};
    return f.readAll();
}

}  // namespace fareboard::test
