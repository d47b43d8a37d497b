#pragma once

#include "Voice.h"

#include <memory>

namespace fareboard {

class EspeakVoice;
class KanaReader;

// espeak-ng's Japanese voice, fed kana that MeCab reads from the text. Both, libraries and all,
// are loaded on first use, on the thread that synthesises: loading the analyser's dictionary
// takes a while and must not hold up the program's start.
class EspeakKanaVoice final : public Voice {
public:
    // `userDictionary`: the compiled bus-word dictionary for the analyser, may be missing. The
    // sonames name the libraries to load.
    explicit EspeakKanaVoice(QString userDictionary, const char* espeakSoname = nullptr,
                             const char* mecabSoname = nullptr);
    ~EspeakKanaVoice() override;

    // Whether the voice's data is installed, by its files only.
    static bool installed();

    // False when espeak-ng would not load; without the analyser the voice still speaks.
    bool load() override;

    int sampleRate() const override;
    std::vector<int16_t> synthesize(const QString& text, const SpeechSettings& settings, bool background,
                                    const std::function<bool()>& cancelled) override;
    QString pronounce(const QString& text) override;

private:
    QString userDictionary_;
    const char* espeakSoname_;
    const char* mecabSoname_;
    bool loaded_ = false;
    std::unique_ptr<EspeakVoice> voice_;
    std::unique_ptr<KanaReader> reader_;
};

}  // namespace fareboard
