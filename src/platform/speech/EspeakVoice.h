#pragma once

#include "SpeechSettings.h"

#include <QString>

#include <cstdint>
#include <functional>
#include <memory>
#include <vector>

namespace fareboard {

struct EspeakLibrary;

// The Japanese voice of espeak-ng, synthesising into memory. The library keeps global state,
// so there is one voice per process; all calls must come from one thread at a time.
class EspeakVoice {
public:
    // Empty when the library (loaded here, by `soname`) or its Japanese voice is missing, or a
    // voice already exists.
    static std::unique_ptr<EspeakVoice> create(const char* soname = defaultSoname());
    static const char* defaultSoname();
    ~EspeakVoice();
    EspeakVoice(const EspeakVoice&) = delete;
    EspeakVoice& operator=(const EspeakVoice&) = delete;

    int sampleRate() const { return sampleRate_; }

    // Mono samples of the kana text read aloud, without the lead-in silence. `cancelled` is
    // asked between buffers so that a newer text does not wait for an old one.
    std::vector<int16_t> synthesize(const QString& kana, const SpeechSettings& settings,
                                    const std::function<bool()>& cancelled = {});

    // The phonemes the voice will say for the kana text, clause after clause, in espeak's
    // notation: what to look at when a word sounds wrong.
    QString phonemes(const QString& kana);

    // The text handed to the synthesiser: runs of kana the voice mispronounces are given to
    // it as phonemes instead.
    QString prepare(const QString& kana);

private:
    EspeakVoice(std::unique_ptr<const EspeakLibrary> lib, int sampleRate);
    QString rawPhonemes(const QString& text);

    std::unique_ptr<const EspeakLibrary> lib_;
    int sampleRate_;
};

// espeak-ng's Japanese rules put a stray "a" after the ry- consonant (リュ read "ryau",
// 両替 "ryaogae"); this takes it out of a phoneme string: "r`_ja'u:" → "r`_j'u:".
QString fixRyPhonemes(const QString& phonemes);

}  // namespace fareboard
