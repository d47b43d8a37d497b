#include "CsvReader.h"

#include "InputError.h"

#include <QFileInfo>

#include <algorithm>
#include <cstring>

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
    : source_(source), fileName_(std::move(fileName)), limits_(limits)
{
}

// Keeps the bytes not yet taken and reads more after them: a chunk, or as much again as is kept
// when that is more, so that a long record is whole after a few reads.
void CsvReader::refill()
{
    const qsizetype kept = size_ - at_;
    if (at_ > 0) {
        std::memmove(buffer_.data(), buffer_.data() + at_, std::size_t(kept));
        at_ = 0;
        size_ = kept;
    }
    // A source may hand out less than asked; reading on until all is in keeps a long record from
    // being parsed again after every few bytes.
    const qsizetype target = size_ + std::max(kChunk, kept);
    if (qsizetype(buffer_.size()) < target)
        buffer_.resize(std::size_t(target));
    while (size_ < target && !ended_) {
        const qint64 n = source_.read(buffer_.data() + size_, target - size_);
        if (n <= 0)
            ended_ = true;
        else
            size_ += n;
    }
    if (!started_) {
        started_ = true;
        if (size_ >= 3 && std::memcmp(buffer_.data(), "\xEF\xBB\xBF", 3) == 0)
            at_ = 3;
    }
}

bool CsvReader::next(CsvRecord& record)
{
    if (!next(view_)) {
        record.fields.clear();
        return false;
    }
    record.line = view_.line;
    record.fields.resize(qsizetype(view_.fields.size()));
    for (std::size_t i = 0; i < view_.fields.size(); ++i)
        record.fields[qsizetype(i)] = view_.fields[i].toByteArray();
    return true;
}

bool CsvReader::next(CsvRecordView& record)
{
    for (;;) {
        switch (parse(record)) {
        case Parsed::Record:
            return true;
        case Parsed::End:
            record.fields.clear();
            return false;
        case Parsed::NeedMore:
            refill();
            break;
        }
    }
}

// One record from the bytes in the buffer, or NeedMore when they end before it does (and the
// file does not): the record is then parsed again from its start once more bytes are in. A
// record is taken whole or not at all, so `at_` and `line_` move only past whole records and
// empty lines. Fields are views of the buffer; only a quoted field with doubled quotes is
// written out, into `unquoted_`, which is made big enough first never to move meanwhile.
CsvReader::Parsed CsvReader::parse(CsvRecordView& record)
{
    const char* const begin = buffer_.data();
    const char* const end = begin + size_;
    const char* p = begin + at_;
    int line = line_;
    auto commit = [&] {
        at_ = p - begin;
        line_ = line;
    };
    // Whether the byte after `p` is unknown yet; at the end of the file it is known not to be.
    auto unknownAfter = [&](const char* at) { return at + 1 == end && !ended_; };

    for (;;) {  // empty lines
        if (p == end) {
            commit();
            return ended_ ? Parsed::End : Parsed::NeedMore;
        }
        if (*p != '\r' && *p != '\n')
            break;
        if (*p == '\r' && unknownAfter(p)) {
            commit();
            return Parsed::NeedMore;
        }
        p += (p[0] == '\r' && p + 1 < end && p[1] == '\n') ? 2 : 1;
        ++line;
    }
    commit();
    record.line = line;
    record.fields.clear();
    if (unquoted_.size() < std::size_t(size_ - at_))
        unquoted_.resize(std::size_t(size_ - at_));
    char* written = unquoted_.data();
    qsizetype bytes = 0;
    auto count = [&](qsizetype n) {
        bytes += n;
        if (bytes > limits_.maxRecordBytes)
            throw InputError(fileName_, record.line,
                             QStringLiteral("the record is longer than %1 bytes; this is not a line of such a file")
                                 .arg(limits_.maxRecordBytes));
    };

    for (;;) {
        if (qsizetype(record.fields.size()) >= limits_.maxFields)
            throw InputError(fileName_, record.line,
                             QStringLiteral("more than %1 fields in one record").arg(limits_.maxFields));
        if (p == end && !ended_)
            return Parsed::NeedMore;
        if (p < end && *p == '"') {
            const int openedOn = line;
            const char* from = ++p;
            char* out = nullptr;  // where the field is written out once it has a doubled quote
            for (;;) {
                const char* stop = std::find_if(p, end, [](char c) { return c == '"' || c == '\r' || c == '\n'; });
                count(stop - p);
                if (out) {
                    std::memcpy(written, p, std::size_t(stop - p));
                    written += stop - p;
                }
                p = stop;
                if (p == end) {
                    if (ended_)
                        throw InputError(fileName_, openedOn, QStringLiteral("a quoted field is never closed"));
                    return Parsed::NeedMore;
                }
                if (unknownAfter(p))
                    return Parsed::NeedMore;
                if (*p == '"' && !(p + 1 < end && p[1] == '"')) {
                    record.fields.emplace_back(out ? QByteArrayView(out, written - out) : QByteArrayView(from, p - from));
                    ++p;
                    break;
                }
                if (*p == '"') {
                    if (!out) {
                        out = written;
                        std::memcpy(written, from, std::size_t(p - from));
                        written += p - from;
                    }
                    count(1);
                    *written++ = '"';
                    p += 2;
                    continue;
                }
                // A line end inside quotes is part of the field, as written.
                const qsizetype n = (p[0] == '\r' && p + 1 < end && p[1] == '\n') ? 2 : 1;
                count(n);
                if (out) {
                    std::memcpy(written, p, std::size_t(n));
                    written += n;
                }
                p += n;
                ++line;
            }
            if (p == end && !ended_)
                return Parsed::NeedMore;
            if (p < end && *p != ',' && *p != '\r' && *p != '\n')
                throw InputError(fileName_, line, QStringLiteral("text follows the closing quote of a field"));
        } else {
            const char* stop =
                std::find_if(p, end, [](char c) { return c == ',' || c == '\r' || c == '\n' || c == '"'; });
            count(stop - p);
            record.fields.emplace_back(p, stop - p);
            p = stop;
            if (p == end && !ended_)
                return Parsed::NeedMore;
            if (p < end && *p == '"')
                throw InputError(fileName_, line,
                                 QStringLiteral("a quote inside an unquoted field (write it as \"\" inside quotes)"));
        }
        if (p < end && *p == ',') {
            ++p;
            continue;
        }
        if (p < end) {
            if (*p == '\r' && unknownAfter(p))
                return Parsed::NeedMore;
            p += (p[0] == '\r' && p + 1 < end && p[1] == '\n') ? 2 : 1;
            ++line;
        }
        commit();
        return Parsed::Record;
    }
}

}  // namespace fareboard::datatool
