#pragma once

#include <QByteArray>
#include <QString>

#include <cstdint>
#include <vector>

namespace fareboard {

// One announcement of the tape: one line of the broadcast data file.
struct TapeEntry {
    QString Text;
    int16_t StepFlag = 0;   // 1: the console steps the fares along with the tape
    int16_t ChimeFlag = 0;  // 1..3: which chime sounds before the text
};

// Broadcast data is a few kilobytes (a line per stop); the tape refuses anything larger than
// this, which keeps a stray file from holding the console while it is read.
inline constexpr qint64 kMaxBroadcastBytes = 1024 * 1024;

// Lines of the file as a line reader counts them: CR LF, CR or LF end a line, and a last line
// without an ending still counts.
int broadcastLineCount(const QByteArray& bytes);

// Reads the fields of broadcast data one after another, ignoring where lines end, the way
// the files were always read: a line with too few fields takes the rest from the next line.
// Fields are Shift-JIS; a quoted field may hold commas and ends at its closing quote (what
// follows it up to the next comma is dropped); an unquoted field is trimmed of spaces. A
// blank line is one empty field.
class BroadcastFieldReader {
public:
    explicit BroadcastFieldReader(QByteArray bytes);

    bool atEnd() const { return pos_ >= bytes_.size(); }
    // True when only blank lines and spaces remain, which editors often leave at the end.
    bool onlyBlankLeft() const;
    // Throws AppError 62 (input past end of file) when nothing is left.
    QByteArray nextField();
    QString nextText();
    int16_t nextNumber();

private:
    QByteArray bytes_;
    qsizetype pos_ = 0;
    // One past the last byte that is neither a space nor a line end, found once so that asking
    // before every entry stays cheap however many blank lines the file ends with.
    qsizetype contentEnd_ = 0;
};

// Where the tape stands when the board starts at `row`: just before the announcement that steps
// the board on from that row, so that the voice and the board keep in step from a middle
// start. Entry k of the tape is tape[k - 1]; the result is a tape position (0 before entry 1).
// A start at the first row, or a tape with too few stepping entries to tell, gives 0.
int32_t tapePositionForRow(const std::vector<TapeEntry>& tape, int row);

// A number field: a decimal integer from -32768 to 32767; anything else reads as 0.
int16_t broadcastNumber(const QByteArray& field);

}  // namespace fareboard
