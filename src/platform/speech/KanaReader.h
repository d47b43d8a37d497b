#pragma once

#include <QString>

#include <memory>

namespace MeCab {
class Tagger;
}

namespace fareboard {

// Turns Japanese text into what a voice can read: the pronunciation of every word in katakana
// (は read ワ, long vowels as ー), numbers as number words, punctuation kept for the pauses.
// The synthesiser alone reads kanji as "Chinese letter", so no kanji may reach it.
class KanaReader {
public:
    // `userDictionary` holds the bus words the stock dictionary misreads; a missing one is
    // skipped. Empty when the morphological analyser (loaded here, by `soname`) cannot start.
    static std::unique_ptr<KanaReader> create(const QString& userDictionary, const char* soname = defaultSoname());
    static const char* defaultSoname();
    ~KanaReader();

    QString read(const QString& text) const;
    bool hasUserDictionary() const { return withUserDictionary_; }

private:
    KanaReader(MeCab::Tagger* tagger, bool withUserDictionary);
    QString readWord(const QString& surface) const;

    std::unique_ptr<MeCab::Tagger> tagger_;
    bool withUserDictionary_;
};

}  // namespace fareboard
