#pragma once

#include "ReadingsFile.h"

#include <QHash>
#include <QString>

#include <vector>

namespace fareboard {

// Written forms and how to read them, searched longest first. Readings are held in katakana,
// which every voice reads as written.
class ReadingTable {
public:
    // `afterNameOnly` entries (a suffix such as 行き) are read so only right after a kanji,
    // katakana or letter, i.e. after a name: 札幌駅行き is ゆき, but 駅へ行きます stays a verb.
    // A written form given again replaces the earlier reading.
    void add(const QString& written, const QString& reading, bool afterNameOnly = false);
    void addAll(const std::vector<ReadingLine>& lines);
    bool isEmpty() const { return forms_.isEmpty(); }

    // The text with every written form the table knows replaced by its reading, scanning
    // from the left and taking the longest form that matches at each place.
    QString apply(const QString& text) const;
    // The same, trying `over` first at every place: its forms win over this table's.
    QString apply(const QString& text, const ReadingTable& over) const;

private:
    struct Entry {
        QString written;
        QString reading;
        bool afterNameOnly;
    };
    const Entry* match(const QString& text, qsizetype at) const;

    // A readings file may hold a million forms, many starting alike (every 北… of a city): a
    // place in a text is matched with one look-up per length that forms starting with its
    // character have, longest first, never by walking the forms themselves.
    QHash<QString, Entry> forms_;
    QHash<QChar, std::vector<qsizetype>> lengthsByFirst_;  // each longest first, no repeats
};

// The bus words shipped with the program; a broadcast folder's readings file goes over them.
const ReadingTable& builtinReadings();

// Hiragana turned into katakana; everything else kept.
QString toKatakana(const QString& text);

// Numbers in front of a counter read as people say them: 1丁目 イッチョウメ, 8丁目 ハッチョウメ,
// 1分 イップン, 4時 ヨジ, 4条 ヨジョウ, 1番 イチバン. Other numbers are left as digits.
QString readCounters(const QString& text);

// Latin letters read one by one as Japanese says them: JR ジェイアール, NHK エヌエイチケー.
QString readLatinLetters(const QString& text);

// What a voice is given for an announcement text: the compatibility forms folded (full-width
// digits and letters, half-width kana), the folder's readings over the built-in bus words,
// counters and Latin letters read. Kanji left over are for the voice's own dictionary.
QString spokenText(const QString& text, const ReadingTable& folderReadings);

// Two readings compared as a listener hears them: katakana, long vowels spelled out, so
// トーダイ, トウダイ and とうだい are the same; エイ/エー and オウ/オー likewise.
bool sameReading(const QString& a, const QString& b);

}  // namespace fareboard
