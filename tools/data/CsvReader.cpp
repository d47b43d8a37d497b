#include "CsvReader.h"

#include "InputError.h"

#include <QFileInfo>

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

void CsvReader::append(QByteArray& field, char c, const CsvRecord& record)
{
    if (++recordBytes_ > limits_.maxRecordBytes)
        throw InputError(fileName_, record.line,
                         QStringLiteral("the record is longer than %1 bytes; this is not a line of such a file")
                             .arg(limits_.maxRecordBytes));
    field += c;
}

bool CsvReader::next(CsvRecord& record)
{
    record.fields.clear();
    for (;;) {  // empty lines
        const int c = peek();
        if (c < 0)
            return false;
        if (c != '\r' && c != '\n')
            break;
        endLine(get());
    }
    record.line = line_;
    recordBytes_ = 0;
    for (;;) {
        if (record.fields.size() >= limits_.maxFields)
            throw InputError(fileName_, record.line,
                             QStringLiteral("more than %1 fields in one record").arg(limits_.maxFields));
        QByteArray field;
        int c = peek();
        if (c == '"') {
            const int openedOn = line_;
            get();
            for (;;) {
                c = get();
                if (c < 0)
                    throw InputError(fileName_, openedOn, QStringLiteral("a quoted field is never closed"));
                if (c == '"') {
                    if (peek() != '"')
                        break;
                    get();
                } else if (c == '\r' || c == '\n') {
                    // A line end inside quotes is part of the field, as written.
                    if (c == '\r' && peek() == '\n') {
                        append(field, '\r', record);
                        c = get();
                    }
                    ++line_;
                }
                append(field, char(c), record);
            }
            c = peek();
            if (c >= 0 && c != ',' && c != '\r' && c != '\n')
                throw InputError(fileName_, line_, QStringLiteral("text follows the closing quote of a field"));
        } else {
            while (c >= 0 && c != ',' && c != '\r' && c != '\n') {
                if (c == '"')
                    throw InputError(fileName_, line_,
                                     QStringLiteral("a quote inside an unquoted field (write it as \"\" inside quotes)"));
                append(field, char(get()), record);
                c = peek();
            }
        }
        record.fields.append(std::move(field));
        c = get();
        if (c == ',')
            continue;
        if (c >= 0)
            endLine(c);
        return true;
    }
}

}  // namespace fareboard::datatool
