#pragma once

#include <QByteArray>
#include <QString>

#include <vector>

namespace fareboard {

// One line of a readings file: how a written form is to be read aloud.
struct ReadingLine {
    QString written;  // as it appears in announcement texts
    QString reading;  // hiragana or katakana, as takeReading leaves it
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

// True for the characters the voice cannot read by itself (kanji and their repeat mark).
bool isKanji(QChar c);

// True for the kana place names write between their kanji: 六ヶ所, 中ノ橋, 山の端, 桜が丘.
bool joinsKanji(QChar c);

// Where the name that starts at `at` ends: a run of kanji (of Unicode's Han script), with the
// kana that join them (joinsKanji) where a kanji follows. `at` itself when no kanji is there.
qsizetype placeNameEnd(QStringView text, qsizetype at);

// A reading as every voice is given it, with the written form it belongs to.
struct TakenReading {
    QString written;
    QString reading;  // empty when nothing of it is left to read
    QString notKana;  // the first character that is not kana, when the reading is refused for it
    bool taken() const { return notKana.isEmpty() && !reading.isEmpty(); }
};

// How a reading is taken, the same for the file's reader, its checker and the importer that
// writes it. Compatibility forms are folded first (half-width katakana widened, sound marks
// joined). Feeds write "・", spaces, "、" and periods into readings: inside a reading each run
// of them is a short pause, written "、" because both voices pause there; at either end they
// are dropped. Brackets are dropped, and what they hold is kept where it is kana and dropped
// with them where it is not: "ふながさわ（旧道）" is an annotation on the name, not a reading.
// When the written form ends in that same annotation it loses it too, so the voice reads it
// from the text rather than leave it out. Whatever is left must be kana.
TakenReading takeReading(const QString& written, const QString& reading);

}  // namespace fareboard
