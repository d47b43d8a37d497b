#pragma once

#include "console/FareTable.h"
#include "controls/digit/DegitValue.h"

#include <QDate>
#include <QString>

#include <optional>
#include <vector>

namespace fareboard {

// The console's rules that do not need a window: entry, the reset's numbers, the stepping
// sound, and what one board update writes. The window applies them to its controls.

// The value of a text's leading decimal digits (blanks before them allowed); 0 when there are
// none. Entry texts hold at most five digits, so this never overflows.
qint64 leadingNumber(const QString& text);

// A section of 0 is the first one, and no route has more than 300 sections.
int16_t clampSection(qint64 section);

// The fare file's name part for an entered route: the number without leading zeros ("00012" →
// "12", "" → "0").
QString routeKey(const QString& routeText);

// The keypad: digits go to the route display after "系統" and to the section display otherwise;
// each display takes a fixed number of digits and ignores the rest.
struct KeypadEntry {
    static constexpr int kRouteDigits = 5;
    static constexpr int kSectionDigits = 3;
    static constexpr int kRouteKey = 10;    // "系統"
    static constexpr int kSectionKey = 11;  // "区間"

    QString route;
    QString section;
    bool entryToRoute = false;

    void press(int key);
};

// Which sound file (7 = always, 8..10 = by data value 1..3) a step plays on arriving at `row`.
// `columnIndex` is the list index of the chosen data column; none selected plays nothing.
std::optional<int> steppingSoundFile(bool always, bool byColumn, int columnIndex, const FareTable::Row& row);

// The options that put information on the board's digits instead of fares. The digit chosen
// for each is Degit(list index + 1); the data column is Values entry (list index + 1).
struct InfoDigitOptions {
    bool rowNumber = false;
    int rowNumberDigit = 0;
    bool countFromZero = false;
    bool ticketNumber = false;
    int ticketNumberDigit = 0;
    bool routeNumber = false;
    int routeNumberDigit = 0;
    bool dataColumn = false;
    int dataColumnDigit = 0;
    int dataColumnIndex = 0;
};

struct DigitWrite {
    int index;  // Degit(index), 0..24
    DegitValue value;
};

// The lowest ticket number the board shows fares for on a route started at `section`: the
// starting row's own ticket number, since the tickets below it were issued before the bus got
// there. Tables numbering tickets by row give the section itself; a row without a ticket
// number (0 or less) falls back to the section too.
int firstTicketShown(const FareTable& table, int section);

// What showing row `n` writes to the board's digits, in order: the fares of ticket numbers
// `firstTicket`..24 (doubled late at night, -1 kept), then the information digits, which win
// over a fare on the same digit. A doubled fare beyond 16 bits is written as a 32-bit number.
std::vector<DigitWrite> boardDigitWrites(const FareTable::Row& row, int n, int firstTicket, bool lateNight,
                                         const InfoDigitOptions& info, const QString& routeText);

// The date printed on the ticket: 0 today ("MM-dd-yyyy"), 1 the day the route was set,
// 2 the fixed date of the options.
QString ticketDateText(int dateMode, const QDate& today, const QString& routeSetDate, const QString& fixedDate);
QString routeSetDateText(const QDate& today);

// The message for a panel picture that could not be shown, by error number.
QString backlightErrorText(int errorNumber);

}  // namespace fareboard
