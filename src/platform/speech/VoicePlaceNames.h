#pragma once

#include "reading/PlaceReadings.h"

#include <QString>

namespace fareboard {

class GazetteerFile;
class Voice;

// How `voice` reads words by itself: one pronunciation of them all, split at the pauses put
// between them, so a text's place names cost the voice one analysis. `background` asks it at
// the low priority pre-synthesis runs at.
VoiceReadings voiceReadingsOf(Voice& voice, bool background = false);

// The text with its place names read by the gazetteer where the voice would misread them, and
// their endings read as names say them; what every voice is given last. The gazetteer is read
// at the first call.
QString withPlaceNames(const QString& text, const GazetteerFile& gazetteer, Voice& voice, bool background = false);

}  // namespace fareboard
