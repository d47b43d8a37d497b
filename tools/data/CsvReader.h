#pragma once

#include "ByteSource.h"

#include <QByteArray>
#include <QByteArrayView>
#include <QList>
#include <QString>

#include <vector>

namespace fareboard::datatool {

struct CsvRecord {
    int line = 0;  // where the record starts; a quoted field may carry it over several lines
    QList<QByteArray> fields;
};

// A record as views of the reader's own bytes, which the next call to next() reuses: for a
// reader of a million rows that only looks at a few fields of each.
struct CsvRecordView {
    int line = 0;
    std::vector<QByteArrayView> fields;
};

// RFC 4180 records, read a record at a time: memory stays at one record however large the file
// is, so a caller that stops at its first fault never reads the rest. Delimiters are ASCII, so
// splitting before decoding is safe for UTF-8. CR LF, LF and CR all end a line; a UTF-8 byte
// order mark at the start is dropped; empty lines are skipped. A record longer than
// `maxRecordBytes` or with more than `maxFields` fields is refused with its line, since no file
// these readers take has one and holding it would let one line take all memory.
class CsvReader {
public:
    struct Limits {
        qsizetype maxRecordBytes = 1 << 20;
        int maxFields = 4096;
    };

    CsvReader(ByteSource& source, QString fileName, Limits limits);
    CsvReader(ByteSource& source, QString fileName) : CsvReader(source, std::move(fileName), Limits{}) {}

    // The next record, or false at the end of the file. Throws InputError naming file and line
    // for a quote left open, text after a closing quote, a quote inside an unquoted field, or a
    // record past the limits.
    bool next(CsvRecord& record);
    // The same, without copying the fields; they are good until the next call.
    bool next(CsvRecordView& record);

    const QString& fileName() const { return fileName_; }

private:
    enum class Parsed { Record, NeedMore, End };
    Parsed parse(CsvRecordView& record);
    void refill();

    ByteSource& source_;
    QString fileName_;
    Limits limits_;
    std::vector<char> buffer_;  // bytes read; those before at_ are taken
    std::vector<char> unquoted_;  // quoted fields with doubled quotes, as they read
    CsvRecordView view_;          // what next(CsvRecord&) copies from
    qsizetype at_ = 0, size_ = 0;
    bool ended_ = false, started_ = false;
    int line_ = 1;
};

}  // namespace fareboard::datatool
