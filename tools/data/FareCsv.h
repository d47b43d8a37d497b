#pragma once

#include "ByteSource.h"
#include "console/FareDataFile.h"

#include <QByteArray>
#include <QString>

#include <vector>

namespace fareboard::datatool {

// A fare table as a person edits it: UTF-8 CSV, a header row, then one row per stop:
//
//   停留所名,整理券番号,1,2,3
//   青凪駅,1,180,0,0
//
// The header names the data columns 1, 2, ... n in order (at most 150; the first two header
// cells are free text), and every row has exactly the header's number of fields, so a value
// left out is noticed instead of shifting the rest of the row. Quoted fields follow the usual
// CSV rules; a UTF-8 byte order mark and CR LF line ends are accepted; empty lines are skipped.

// The rows of the table, checked against everything a fare data file can hold and a reset can
// use: 2 to 301 rows, 16-bit numbers, stop names that Shift-JIS can write and that hold no
// control characters. Throws InputError naming the line at the first fault, having read no
// further, so a huge or endless input costs no more than a full table.
std::vector<FareDataFile::Record> readFareCsv(ByteSource& source, const QString& fileName);
std::vector<FareDataFile::Record> readFareCsv(const QByteArray& bytes, const QString& fileName);

// The table as CSV in the form readFareCsv reads: LF line ends, no byte order mark, as many
// data columns as the last column that holds a value other than 0 in any row.
QByteArray writeFareCsv(const std::vector<FareDataFile::Record>& rows);

}  // namespace fareboard::datatool
