#pragma once

// The board's fare cells read back from a screenshot, for the tests that drive routes.

#include "board/BoardLayout.h"
#include "console/FareDataFile.h"
#include "controls/digit/M_Degit.h"
#include "platform/OleColor.h"

#include <QFile>
#include <QImage>
#include <QPoint>

#include <set>
#include <vector>

namespace fareboard::e2e {

// Fare cell `i` of a board whose client area is at `board`.
inline QImage fareCell(const QImage& shot, const QPoint& board, int i)
{
    return shot.copy(BoardLayout::degitRect(i).translated(board));
}

// The tickets whose fare cell has lit segments.
inline std::set<int> litCells(const QImage& shot, const QPoint& board)
{
    const QRgb lit = oleColorToQColor(M_Degit::kDefaultDegitForeColor).rgb() & 0xFFFFFF;
    std::set<int> cells;
    for (int i = 1; i <= 24; ++i) {
        const QImage c = fareCell(shot, board, i);
        int n = 0;
        for (int y = 0; y < c.height(); ++y)
            for (int x = 0; x < c.width(); ++x)
                n += (c.pixel(x, y) & 0xFFFFFF) == lit;
        if (n >= 20)
            cells.insert(i);
    }
    return cells;
}

// The tickets whose cell owes a fare at a row of the route table.
inline std::set<int> owing(const FareDataFile::Record& row)
{
    std::set<int> s;
    for (int k = 1; k <= 24; ++k)
        if (row.values[std::size_t(k - 1)] > 0)
            s.insert(k);
    return s;
}

// The rows of a fare data file; none when it cannot be read.
inline std::vector<FareDataFile::Record> fareRows(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    const QByteArray bytes = file.readAll();
    return FareDataFile::readRecords(bytes, FareDataFile::readCount(bytes));
}

}  // namespace fareboard::e2e
