#pragma once

#include <QString>

namespace fareboard::datatool::gtfs {

// A pole's name without the boarding place that feeds often add to it ("尻手駅前１番のりば" →
// "尻手駅前"): a bus announces the stop, never the pole it pulls up at, and the board shows
// what the bus announces. A name that is nothing but a boarding place stays as it is.
QString withoutBoardingPlace(const QString& name);

// The same for the reading of such a name: the kana of its "N番のりば" at the end go
// (尻手駅前１番のりば しってえきまえいちばんのりば → しってえきまえ); a reading that lacks them
// (one of the stop alone) stays whole.
QString readingWithoutBoardingPlace(const QString& name, const QString& reading);

}  // namespace fareboard::datatool::gtfs
