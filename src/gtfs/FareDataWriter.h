#pragma once

#include "console/FareDataFile.h"

#include <QByteArray>
#include <QString>

#include <vector>

namespace fareboard::datatool {

// Writing ".hy3" fare data files, the other half of FareDataFile's reader.

// The bytes of a fare data file holding `rows` (1..301 of them, names Shift-JIS can write;
// readFareCsv guarantees both). Throws InputError against `fileName` otherwise.
QByteArray encodeFareData(const std::vector<FareDataFile::Record>& rows, const QString& fileName);

// The rows of a fare data file for turning back into a table: a count of 1..301, every row
// complete and every name valid Shift-JIS, or InputError naming the row. Bytes after the last
// row are ignored, as the program ignores them.
std::vector<FareDataFile::Record> decodeFareData(const QByteArray& bytes, const QString& fileName);

// What the board makes of the largest fare it shows when it is wider than the fare cells
// ("020" for 1020); empty when every fare fits.
QString fareWiderThanBoard(int largestFare);

}  // namespace fareboard::datatool
