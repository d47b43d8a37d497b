#include "CsvReader.h"

#include "InputError.h"

#include <QFileInfo>

#include <algorithm>

namespace fareboard::datatool {
namespace {
constexpr qsizetype kChunk = 64 * 1024;
}

FileSource::FileSource(const QString& path) : file_(path)
{
    const QFileInfo info(path);
    if (!info.exists())
        throw InputError(path, 0, QStringLiteral("cannot read: no such file"));
    if (info.isDir())
        throw InputError(path, 0, QStringLiteral("cannot read: is a folder"));
    if (!file_.open(QIODevice::ReadOnly))
        throw InputError(path, 0, QStringLiteral("cannot read: %1").arg(file_.errorString()));
}

qint64 FileSource::read(char* buffer, qint64 max)
{
    const qint64 n = file_.read(buffer, max);
    if (n < 0)
        throw InputError(file_.fileName(), 0, QStringLiteral("cannot read: %1").arg(file_.errorString()));
    return n;
}

CsvReader::CsvReader(ByteSource& source, QString fileName, Limits limits)
    : source_(source), fileName_(std::move(fileName)), limits_(limits), buffer_(std::size_t(kChunk))
{
}

void CsvReader::fill()
{
    if (ended_ || at_ < size_)
        return;
    at_ = 0;
    size_ = source_.read(buffer_.data(), kChunk);
    if (size_ <= 0) {
        size_ = 0;
        ended_ = true;
    }
    if (!started_) {
        started_ = true;
        if (size_ >= 3 && buffer_[0] == '\xEF' && buffer_[1] == '\xBB' && buffer_[2] == '\xBF')
            at_ = 3;
    }
}

int CsvReader::peek()
{
    fill();
    return at_ < size_ ? uchar(buffer_[std::size_t(at_)]) : -1;
}

int CsvReader::get()
{
    const int c = peek();
    if (c >= 0)
        ++at_;
    return c;
}

// Takes the rest of a line ending that began with `c` and counts the line.
void CsvReader::endLine(int c)
{
    if (c == '\r' && peek() == '\n')
        get();
    ++line_;
}

void CsvReader::append(QByteArray& field, const char* bytes, qsizetype count, const CsvRecord& record)
{
    recordBytes_ += count;
    if (recordBytes_ > limits_.maxRecordBytes)
        throw InputError(fileName_, record.line,
                         QStringLiteral("the record is longer than %1 bytes; this is not a line of such a file")
                             .arg(limits_.maxRecordBytes));
    field.append(bytes, count);
}

// The bytes from here up to the first of `stops` (or the end of what is buffered), appended to
// the field as one piece: a field is copied once, not a byte at a time.
template <typename IsStop>
void CsvReader::appendUntil(QByteArray& field, const CsvRecord& record, IsStop isStop)
{
    while (peek() >= 0) {
        const char* begin = buffer_.data() + at_;
        const char* end = buffer_.data() + size_;
        const char* stop = std::find_if(begin, end, isStop);
        append(field, begin, stop - begin, record);
        at_ += stop - begin;
        if (stop != end)
            return;
    }
}

bool CsvReader::next(CsvRecord& record)
{
    for (;;) {  // empty lines
        const int c = peek();
        if (c < 0) {
            record.fields.clear();
            return false;
        }
        if (c != '\r' && c != '\n')
            break;
        endLine(get());
    }
    record.line = line_;
    recordBytes_ = 0;
    // The fields of the last record are emptied and filled again, so their buffers serve the
    // next record too: a million rows cost no allocation each.
    qsizetype count = 0;
    for (;;) {
        if (count >= limits_.maxFields)
            throw InputError(fileName_, record.line,
                             QStringLiteral("more than %1 fields in one record").arg(limits_.maxFields));
        if (count == record.fields.size())
            record.fields.emplace_back();
        QByteArray& field = record.fields[count++];
        field.resize(0);
        int c = peek();
        if (c == '"') {
            const int openedOn = line_;
            get();
            for (;;) {
                appendUntil(field, record, [](char b) { return b == '"' || b == '\r' || b == '\n'; });
                c = get();
                if (c < 0)
                    throw InputError(fileName_, openedOn, QStringLiteral("a quoted field is never closed"));
                if (c == '"') {
                    if (peek() != '"')
                        break;
                    get();
                } else {
                    // A line end inside quotes is part of the field, as written.
                    if (c == '\r' && peek() == '\n') {
                        append(field, "\r", 1, record);
                        c = get();
                    }
                    ++line_;
                }
                const char one = char(c);
                append(field, &one, 1, record);
            }
            c = peek();
            if (c >= 0 && c != ',' && c != '\r' && c != '\n')
                throw InputError(fileName_, line_, QStringLiteral("text follows the closing quote of a field"));
        } else {
            appendUntil(field, record, [](char b) { return b == ',' || b == '\r' || b == '\n' || b == '"'; });
            if (peek() == '"')
                throw InputError(fileName_, line_,
                                 QStringLiteral("a quote inside an unquoted field (write it as \"\" inside quotes)"));
        }
        c = get();
        if (c == ',')
            continue;
        if (c >= 0)
            endLine(c);
        record.fields.resize(count);
        return true;
    }
}

}  // namespace fareboard::datatool
