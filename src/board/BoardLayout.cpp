#include "BoardLayout.h"

namespace fareboard::BoardLayout {
namespace {

// The panel's cells are not evenly spaced, and from the second row on the right four columns
// sit one pixel further right: the artwork was drawn by hand and these follow it.
constexpr int kDegitLeftFirstRow[kFareColumns] = {103, 164, 226, 288, 351, 413};
constexpr int kDegitLeftOtherRows[kFareColumns] = {103, 164, 227, 289, 352, 414};
constexpr int kDegitTop[kFareRows] = {51, 104, 156, 208};
constexpr int kLabelLeftFirstRow[kFareColumns] = {105, 166, 228, 291, 353, 415};
constexpr int kLabelLeftOtherRows[kFareColumns] = {105, 167, 229, 292, 354, 416};
constexpr int kLabelTop[kFareRows] = {31, 85, 137, 189};

}  // namespace

QRect degitRect(int index)
{
    if (index < 1 || index > kFareColumns * kFareRows)
        return {};
    const int row = (index - 1) / kFareColumns;
    const int col = (index - 1) % kFareColumns;
    const int left = row == 0 ? kDegitLeftFirstRow[col] : kDegitLeftOtherRows[col];
    return {left, kDegitTop[row], 57, 29};
}

QRect seiriNumRect(int index)
{
    if (index < 1 || index > kFareColumns * kFareRows)
        return {};
    const int row = (index - 1) / kFareColumns;
    const int col = (index - 1) % kFareColumns;
    const int left = row == 0 ? kLabelLeftFirstRow[col] : kLabelLeftOtherRows[col];
    return {left, kLabelTop[row], 52, 16};
}

}  // namespace fareboard::BoardLayout
