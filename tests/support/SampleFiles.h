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

}  // namespace fareboard::test
