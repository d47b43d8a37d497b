#pragma once

#include "Gazetteer.h"
#include "TownList.h"

#include <QString>
#include <QStringList>

#include <functional>
#include <vector>

namespace fareboard {

// A piece of a text on its way to the voice, as the place-name rules split it.
struct PlacePiece {
    enum Kind {
        Text,    // left as it is
        Place,   // a place name the gazetteer has
        Suffix,  // the ending of a name read as names say it: 橋 ばし, 口 ぐち, a last 上 かみ
    };
    Kind kind = Text;
    QString written;
    // What the voice is given. For a place, empty while the voice's own reading is kept: it is
    // one of the gazetteer's, and the kanji give the voice its accent and the word around it.
    QString reading;
    QStringList readings;  // a place's readings in the gazetteer
    std::vector<int> places;  // how many places of the gazetteer read it so, for each of several readings
    QString voiceSays;     // how the voice reads the place by itself
    // For a town of the route's region, how the region reads it, the likeliest first (and
    // `readings` the same readings); empty for a place of the gazetteer.
    std::vector<TownReading> here;
};

// How a voice reads each of the words by itself, in katakana and in order (empty where it
// cannot say).
using VoiceReadings = std::function<QStringList(const QStringList& words)>;

// How a place name with a reading of its own in the gazetteer is read.
struct PlaceRule {
    // The voice's own reading stands when the gazetteer has it too. Otherwise the gazetteer's
    // reading replaces it, and of several, the one nearest to what the voice said.
    bool keepVoiceWhenItAgrees = true;
    // Of readings the voice does not say, the one most places read so, rather than the one
    // nearest to what the voice said (the nearest decides between readings as common).
    bool mostPlaces = true;
    // The voice's own reading gives way to one read by at least this many times as many
    // places (古間木: フルマキ in one place, フルマギ in two); 0 keeps it always. Of 0, 1.5, 2 and 3,
    // 1.5 and 2 read the most real names right.
    double outnumbered = 1.5;
    // For a name in 町 the gazetteer reads both ちょう and まち: the ending kept ("チョウ" or
    // "マチ"), or empty to let the rules above choose. A town is まち in one city and ちょう in
    // the next (若山町 わかやまちょう, 南町 みなみまち in one), but on two lists of real stop names
    // from eight places ちょう won more than it lost (Kyoto's are all ちょう).
    QString townEnding = QStringLiteral("チョウ");
};

// A text's place names and name endings. A name is a run of kanji, with the kana that place
// names write between them (ヶ, ケ, ヵ, ノ, の, が); one that starts right after katakana or a
// letter continues a name already read. At the start of a name, and again after a station
// word inside it (駅, 駅前), the longest place name the gazetteer has is a place, or the
// region's town there when it is as long; the endings after a name (橋, 口, 坂下, …) are read
// as names say them. The voice is not asked here.
std::vector<PlacePiece> placePieces(const QString& text, const Gazetteer& gazetteer, const RegionTowns* region = nullptr);

// Gives each place its reading by `rule`, asking the voice once for all of them.
void choosePlaceReadings(std::vector<PlacePiece>& pieces, const VoiceReadings& voice, const PlaceRule& rule = {});

// The text as the voice is given it.
QString placeReadingText(const std::vector<PlacePiece>& pieces);
// The same with each place marked, for a user to see why a name is read as it is:
// 〔七戸→シチノヘ〕中央 when the gazetteer's reading was given, 〔下田〕駅前 when the voice's own
// stood, and the gazetteer's readings of each place after the text, or the region's for a
// town of the route's region.
QString explainPlaceReadings(const std::vector<PlacePiece>& pieces);

// placePieces, choosePlaceReadings and placeReadingText in one.
QString withPlaceReadings(const QString& text, const Gazetteer& gazetteer, const VoiceReadings& voice,
                          const PlaceRule& rule = {}, const RegionTowns* region = nullptr);

}  // namespace fareboard
