#pragma once

#include <QByteArray>
#include <QString>

#include <vector>

namespace fareboard::test {

// Fare data rows as a test describes them; written to bytes by hand, field by field.
struct SampleRow {
    QByteArray nameSjis;  // the stop name's Shift-JIS bytes
    int ticketNo = 0;
    std::vector<int> values;  // columns 1..n; the rest of the 150 are 0
};

// A ".hy3" with the given stored count and rows (the count need not match the rows).
QByteArray fareFileBytes(int count, const std::vector<SampleRow>& rows);

// `n` rows named "S1", "S2", ..., ticket number r, column k = 10 * r + k.
std::vector<SampleRow> numberedRows(int n);

// A settings file in which every field holds a value of its own (so a field read from the
// wrong place shows), every string non-empty. Field values are documented at its definition.
QByteArray distinctSettingsBytes();

// A town list (towns.csv) of 2,000 cities that all have a 中央, so a town found in one city
// weighs as in the real list, and a few towns of Aomori (三沢市 02207 and its prefecture),
// Hokkaido and Tokyo (three of them in 久世…), with a line that is no town and one whose
// reading is not katakana.
QByteArray townListBytes();

}  // namespace fareboard::test
