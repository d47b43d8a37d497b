#pragma once

#include "FeedSource.h"

#include <QDate>
#include <QString>

namespace fareboard::datatool::gtfs {

// Who runs the feed's buses and when the feed holds: what a user sees before importing it.
struct FeedInfo {
    QString agencyName;  // agency.txt's agency_name; several operators' names joined by "・"
    QDate validFrom;     // feed_info.txt's feed_start_date and feed_end_date; null when not given
    QDate validTo;
    // The dates came from the service calendar (calendar.txt, calendar_dates.txt), as feeds
    // that leave feed_info's dates empty are still valid only while their calendar runs.
    bool fromCalendar = false;
};

// Reads agency.txt, feed_info.txt and, when feed_info gives no dates, the calendars. Nothing of
// these is needed to import, so a file missing or a line the import would not take leaves its
// part empty rather than stopping the import.
FeedInfo readFeedInfo(FeedSource& source);

}  // namespace fareboard::datatool::gtfs
