#pragma once

#include <QString>
#include <QVariant>

#include <array>
#include <cstdint>

namespace fareboard {

// The route table: one row per stop of the loaded route, in running order. Fixed size and never
// reallocated, so readers may hold row references across a load.
class FareTable {
public:
    static constexpr int RowLimit = 301;     // rows 1..301 (one more than the largest section)
    static constexpr int ValueCount = 150;   // data columns 1..150; 1..24 are the fares
    static constexpr int ColumnLimit = ValueCount + 2;

    struct Row {
        QString StopName;
        int16_t TicketNo = 0;
        std::array<int16_t, ValueCount> Values{};  // Values[k - 1] is data column k

        // Data column k, 1..150; -1 marks a column without a fare.
        int16_t value(int k) const { return Values.at(static_cast<size_t>(k - 1)); }
    };

    // Column 1 is StopName, 2 TicketNo, c = 3..152 is data column c - 2.
    // Out-of-range row or column: AppError 9; a number that does not fit 16 bits: AppError 6.
    void SetCell(int row, int column, const QVariant& value);

    void ClearTable();

    // Row 1..301; AppError 9 outside.
    const Row& row(int row) const;

private:
    std::array<Row, RowLimit> rows_{};
};

}  // namespace fareboard
