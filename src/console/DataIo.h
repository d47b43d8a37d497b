#pragma once

#include "console/FareTable.h"

#include <QString>

#include <cstdint>

namespace fareboard {

class MessageBox;

// What describes the loaded route on the console.
struct RouteState {
    QString RouteText;       // route number as entered, digits only, at most 5
    int16_t SectionNo = 0;   // section entered at reset, 1..300
    int16_t RowCount = 0;    // rows of the loaded fare file
    int16_t StopIndex = 0;   // current row minus one
    QString RouteSetDate;    // date of the last successful reset
};

// The route table and the loaded route's state, and the loading of a fare data file into them.
class DataIo {
public:
    FareTable Table;
    RouteState Route;

    // Reads <folder><routeKey>.hy3 (any letter case) and checks it against Route.SectionNo.
    // `folder` is empty or ends in a separator. On success the table, RowCount and StopIndex
    // hold the new route. On failure a message box titled `title` says why and nothing of the
    // route changes: stepping must go on over the previous route, not over a mix of two.
    bool LoadFareData(const QString& folder, const QString& routeKey, MessageBox& messageBox,
                      const QString& title);
};

namespace FareMessages {
inline const QString Missing = QStringLiteral("指定した系統のデータがありません...");
inline const QString Empty = QStringLiteral("指定した系統はデータの数が0(未登録)の可能性があります...");
inline const QString SectionTooLarge = QStringLiteral(
    "指定した区間はデータの数よりも多いです...\r\n  解決法：正しい区間を入力して下さい.");
}  // namespace FareMessages

}  // namespace fareboard
