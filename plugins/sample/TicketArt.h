#pragma once

#include <QString>

class QImage;

namespace sample {

// The ticket is laid out at this size; other picture sizes get the same ticket scaled.
constexpr int kTicketWidth = 300;
constexpr int kTicketHeight = 156;

struct TicketText {
    QString company;   // empty: no company chosen
    QString stopName;
    QString date;      // as the program passes it
    QString time;
    int routeNo = 0;
    int ticketNo = 0;
};

// "MM-DD-YYYY" and "YYYY/MM/DD" both print as "YYYY.MM.DD"; anything else prints as given.
QString printedDate(const QString& date);
// "HH:MM:SS" prints as "HH:MM", the way ticket machines round to the minute.
QString printedTime(const QString& time);

// Paints the whole ticket over `picture` (any size, ARGB32).
void paintTicket(QImage& picture, const TicketText& text);

}  // namespace sample
