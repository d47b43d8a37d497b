#include "FareTable.h"

#include "platform/AppError.h"

#include <cmath>

namespace fareboard {
namespace {

int16_t toInt16(const QVariant& value)
{
    bool ok = false;
    const double number = value.toDouble(&ok);
    if (!ok)
        throw AppError(13, QStringLiteral("型が一致しません。"));
    // Whole numbers are stored as they are; halves round to even, as the classic runtime does.
    const double rounded = std::nearbyint(number);
    if (rounded < INT16_MIN || rounded > INT16_MAX)
        throw AppError(ErrorNumber::Overflow);
    return static_cast<int16_t>(rounded);
}

}  // namespace

void FareTable::SetCell(int row, int column, const QVariant& value)
{
    if (row < 1 || row > RowLimit || column < 1 || column > ColumnLimit)
        throw AppError(ErrorNumber::SubscriptOutOfRange);
    Row& r = rows_[static_cast<size_t>(row - 1)];
    if (column == 1)
        r.StopName = value.toString();
    else if (column == 2)
        r.TicketNo = toInt16(value);
    else
        r.Values[static_cast<size_t>(column - 3)] = toInt16(value);
}

void FareTable::ClearTable()
{
    for (Row& r : rows_)
        r = Row{};
}

const FareTable::Row& FareTable::row(int row) const
{
    if (row < 1 || row > RowLimit)
        throw AppError(ErrorNumber::SubscriptOutOfRange);
    return rows_[static_cast<size_t>(row - 1)];
}

}  // namespace fareboard
