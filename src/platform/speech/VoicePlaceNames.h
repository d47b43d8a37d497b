#pragma once

#include "reading/PlaceReadings.h"
#include "reading/TownList.h"

#include <QString>
#include <QStringList>

namespace fareboard {

class GazetteerFile;
class TownListFile;
class Voice;

// How `voice` reads words by itself: one pronunciation of them all, split at the pauses put
// between them, so a text's place names cost the voice one analysis. `background` asks it at
// the low priority pre-synthesis runs at.
VoiceReadings voiceReadingsOf(Voice& voice, bool background = false);

// The texts' place names read by the gazetteer where the voice would misread them, the towns
// of the route's region as the region reads them, and their endings as names say them; what
// every voice is given last. The gazetteer and the town list are read at the first text.
// Used from one thread (the speech worker, or the data tool): it remembers the last tape's
// region, which costs a pass over the town list to find.
class PlaceNames {
public:
    PlaceNames(const GazetteerFile& gazetteer, const TownListFile& towns) : gazetteer_(gazetteer), towns_(towns) {}

    // `tape` is the texts of the route spoken now, from which its region is told; empty for none.
    QString read(const QString& text, const QStringList& tape, Voice& voice, bool background = false);

private:
    const RegionTowns& townsOf(const QStringList& tape);

    const GazetteerFile& gazetteer_;
    const TownListFile& towns_;
    bool known_ = false;
    QStringList tape_;
    RegionTowns regionTowns_;
};

}  // namespace fareboard
