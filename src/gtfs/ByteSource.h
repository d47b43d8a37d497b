#pragma once

#include <QByteArray>
#include <QFile>
#include <QString>

#include <cstring>

namespace fareboard::datatool {

// Where a reader takes its bytes from, a piece at a time, so that no input is ever held whole:
// a file, a zip entry, or bytes already in memory (tests, fuzzing). Throws InputError when the
// bytes cannot be read.
class ByteSource {
public:
    virtual ~ByteSource() = default;
    // Up to `max` bytes into `buffer`; 0 at the end.
    virtual qint64 read(char* buffer, qint64 max) = 0;
};

class MemorySource : public ByteSource {
public:
    explicit MemorySource(QByteArray bytes) : bytes_(std::move(bytes)) {}
    qint64 read(char* buffer, qint64 max) override
    {
        const qint64 n = std::min<qint64>(max, bytes_.size() - at_);
        std::memcpy(buffer, bytes_.constData() + at_, std::size_t(n));
        at_ += n;
        return n;
    }

private:
    QByteArray bytes_;
    qint64 at_ = 0;
};

// A file opened for reading; the path names it in messages.
class FileSource : public ByteSource {
public:
    // Throws InputError naming the file when it cannot be opened.
    explicit FileSource(const QString& path);
    qint64 read(char* buffer, qint64 max) override;

private:
    QFile file_;
};

}  // namespace fareboard::datatool
