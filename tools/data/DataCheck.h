#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

namespace fareboard::datatool {

// What `check` found in a file, each line already naming the file and the line or row.
struct CheckReport {
    QStringList summary;   // what the file holds, as the program will read it
    QStringList warnings;  // the program reads it, but it is probably not what was meant
    QStringList errors;    // the program refuses the file or reads it differently than it looks

    bool ok() const { return errors.isEmpty(); }
};

// Stop names longer than this are shown (they scroll), but are longer than any real stop name
// and are most likely two cells run together.
inline constexpr int kLongStopName = 20;

// What the board makes of the largest fare it shows when it is wider than the fare cells
// ("020" for 1020); empty when every fare fits.
QString fareWiderThanBoard(int largestFare);

// A ".hy3" fare data file: the count, every row complete, the sections a reset accepts, names
// that are empty, too long, not Shift-JIS or hold half-width characters (which the board's
// two-byte column splits wrongly), fares wider than the board's cells.
CheckReport checkFareData(const QByteArray& bytes, const QString& fileName);

// A "tp.csv" broadcast data file, line by line: the encoding, three fields on each line (a line
// with fewer borrows fields from the next line, one with more lends them to it), the flags;
// then the entries as the program's own reader reads them.
CheckReport checkBroadcastData(const QByteArray& bytes, const QString& fileName);

}  // namespace fareboard::datatool
