#include "ConsoleRules.h"

#include <algorithm>

namespace fareboard {

qint64 leadingNumber(const QString& text)
{
    qint64 value = 0;
    int i = 0;
    while (i < text.size() && text.at(i).isSpace())
        ++i;
    for (int digits = 0; i < text.size() && text.at(i) >= QLatin1Char('0') && text.at(i) <= QLatin1Char('9') &&
                         digits < 15;
         ++i, ++digits)
        value = value * 10 + (text.at(i).unicode() - '0');
    return value;
}

int16_t clampSection(qint64 section)
{
    if (section <= 0)
        return 1;
    if (section >= 301)
        return 300;
    return static_cast<int16_t>(section);
}

QString routeKey(const QString& routeText) { return QString::number(leadingNumber(routeText)); }

void KeypadEntry::press(int key)
{
    if (key >= 0 && key <= 9) {
        QString& display = entryToRoute ? route : section;
        const int limit = entryToRoute ? kRouteDigits : kSectionDigits;
        if (display.size() < limit)
            display += QString::number(key);
    } else if (key == kRouteKey) {
        entryToRoute = true;
        route.clear();
    } else if (key == kSectionKey) {
        entryToRoute = false;
        section.clear();
    }
}

std::optional<int> steppingSoundFile(bool always, bool byColumn, int columnIndex, const FareTable::Row& row)
{
    if (always)
        return 7;
    if (!byColumn || columnIndex < 0 || columnIndex >= FareTable::ValueCount)
        return std::nullopt;
    switch (row.value(columnIndex + 1)) {
    case 1: return 8;
    case 2: return 9;
    case 3: return 10;
    default: return std::nullopt;
    }
}

int firstTicketShown(const FareTable& table, int section)
{
    if (section < 1 || section >= FareTable::RowLimit)
        return section;
    const int16_t ticket = table.row(section).TicketNo;
    return ticket >= 1 ? ticket : section;
}

std::vector<DigitWrite> boardDigitWrites(const FareTable::Row& row, int n, int firstTicket, bool lateNight,
                                         const InfoDigitOptions& info, const QString& routeText)
{
    std::vector<DigitWrite> writes;
    for (int i = std::max(firstTicket, 1); i <= 24; ++i) {
        const int16_t fare = row.value(i);
        if (lateNight && fare != -1) {
            const int32_t doubled = 2 * static_cast<int32_t>(fare);
            if (doubled >= INT16_MIN && doubled <= INT16_MAX)
                writes.push_back({i, static_cast<int16_t>(doubled)});
            else
                writes.push_back({i, doubled});
        } else {
            writes.push_back({i, fare});
        }
    }
    // A digit chosen with no list selection is Degit(0), the spare digit above the grid.
    auto digit = [](int listIndex) { return std::clamp(listIndex + 1, 0, 24); };
    if (info.rowNumber)
        writes.push_back({digit(info.rowNumberDigit), static_cast<int16_t>(info.countFromZero ? n - 1 : n)});
    if (info.ticketNumber)
        writes.push_back({digit(info.ticketNumberDigit), row.TicketNo});
    if (info.routeNumber)
        writes.push_back({digit(info.routeNumberDigit), routeText});
    // Without a chosen column there is nothing to show.
    if (info.dataColumn && info.dataColumnIndex >= 0 && info.dataColumnIndex < FareTable::ValueCount)
        writes.push_back({digit(info.dataColumnDigit), row.value(info.dataColumnIndex + 1)});
    return writes;
}

QString routeSetDateText(const QDate& today) { return today.toString(QStringLiteral("MM-dd-yyyy")); }

QString ticketDateText(int dateMode, const QDate& today, const QString& routeSetDate, const QString& fixedDate)
{
    switch (dateMode) {
    case 1: return routeSetDate;
    case 2: return fixedDate;
    default: return routeSetDateText(today);
    }
}

QString backlightErrorText(int errorNumber)
{
    QString detail;
    switch (errorNumber) {
    case 7:
    case 28:
    case 51:
        detail = QStringLiteral("　内部的なエラーです。ことり鉄道へ報告してください。エラー場所：frmCtl.Option4_Click()");
        break;
    case 53:
    case 75:
    case 76: detail = QStringLiteral("　画像ファイルが見つからないか、指定している場所が不正です。"); break;
    case 57:
    case 68: detail = QStringLiteral("　デバイスエラーもしくは準備が出来ていません。"); break;
    case 481: detail = QStringLiteral("　指定した画像の内容が不正です。この部分では扱えません。"); break;
    default: break;
    }
    return QStringLiteral("エラーです。\r\n\r\nエラーコード：") + QString::number(errorNumber) + detail;
}

}  // namespace fareboard
