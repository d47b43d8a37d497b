#pragma once

#include <QByteArrayView>
#include <QString>
#include <QStringList>
#include <QStringView>

#include <cstdint>
#include <vector>

namespace fareboard {

// The place names of Japan with their readings, as SKK's gazetteer lists them (Debian's
// skkdic-extra, SKK-JISYO.geo, taken from the postal town list): one line per reading,
// "わかやまちょう /若山町/", several names a line, a note after ';' and comment lines starting
// with ';'. Held as one string and a sorted table of places in it, so the 110,000 names of
// the file cost a few megabytes and a look-up is a binary search.
class Gazetteer {
public:
    // The names of the dictionary's lines (EUC-JP). Names without a kanji are left out (kana
    // reads itself), and so are lines whose reading is not kana. A note that is a reading
    // ("秋葉原;あきはばら" under あきばはら) is the name's real reading, and is taken instead.
    static Gazetteer fromSkkDictionary(QByteArrayView eucJp);

    bool isEmpty() const { return places_.empty(); }
    // Name and reading pairs held.
    std::size_t size() const { return places_.size(); }

    // The length of the longest place name `text` has at `at`, 0 when it has none. Names
    // are two characters or more: one kanji alone is far more often a word than a place.
    qsizetype longestNameAt(QStringView text, qsizetype at) const;
    // Every reading of the name, in katakana, in the file's order; empty when it is not one.
    QStringList readingsOf(QStringView name) const;
    // How many places the reading (katakana) of the name is found in: the name itself and the
    // towns named after it read so (七戸町 シチノヘマチ for 七戸 シチノヘ, 下田東 シモダヒガシ). A
    // reading many towns share is the one a stranger hears most.
    int placesReading(QStringView name, QStringView reading) const;

private:
    struct Place {
        uint32_t nameAt;
        uint32_t readingAt;
        uint16_t nameLength;
        uint16_t readingLength;
    };
    QStringView nameOf(const Place& place) const { return QStringView(text_).mid(place.nameAt, place.nameLength); }
    std::vector<Place>::const_iterator firstOf(QStringView name) const;
    void add(QStringView name, QStringView reading);
    void finish();

    QString text_;                // every name and reading, one after another
    std::vector<Place> places_;   // by name, a name's readings in the file's order
    qsizetype longest_ = 0;
};

}  // namespace fareboard
