#pragma once

#include <QByteArray>
#include <QString>

#include <vector>

namespace fareboard {

// One line of a readings file: how a written form is to be read aloud.
struct ReadingLine {
    QString written;  // as it appears in announcement texts
    QString reading;  // hiragana or katakana, as given
    int line = 0;     // 1-based
};

// A line that was left out, and why (for "file:line: reason" reports).
struct BadReadingLine {
    int line = 0;
    QString reason;
};

struct ReadingsFileContents {
    std::vector<ReadingLine> entries;
    std::vector<BadReadingLine> bad;
};

// Reads a readings file: UTF-8 (a byte-order mark is allowed), one "表記,読み" a line, blank
// lines and lines starting with '#' ignored, LF or CR LF line ends. A bad line is reported and
// left out, never fatal, so one typo does not silence every other reading in the file. When a
// written form is given twice the first line holds and the second is reported.
//
// Kept free of everything but Qt Core: the importer that writes these files and the checker
// that reports on them share it.
ReadingsFileContents parseReadingsFile(const QByteArray& bytes);

// True for hiragana, katakana and the marks readings use (ー, small kana, ゝゞヽヾ).
bool isReadingKana(QChar c);

}  // namespace fareboard
