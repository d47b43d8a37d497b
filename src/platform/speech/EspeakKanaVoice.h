#pragma once

#include "Voice.h"

#include <memory>

namespace fareboard {

class EspeakVoice;
class KanaReader;

// espeak-ng's Japanese voice, fed kana that MeCab reads from the text. Both are made on first
// use, on the thread that synthesises: loading the analyser's dictionary takes a while and
// must not hold up the program's start.
class EspeakKanaVoice final : public Voice {
public:
    // `userDictionary`: the compiled bus-word dictionary for the analyser, may be missing.
    explicit EspeakKanaVoice(QString userDictionary);
    ~EspeakKanaVoice() override;

    // Whether the voice's data is installed, by its files only.
    static bool installed();

    int sampleRate() const override;
    std::vector<int16_t> synthesize(const QString& text, const SpeechSettings& settings, bool background,
                                    const std::function<bool()>& cancelled) override;
    QString pronounce(const QString& text) override;

private:
    void load();

    QString userDictionary_;
    bool loaded_ = false;
    std::unique_ptr<EspeakVoice> voice_;
    std::unique_ptr<KanaReader> reader_;
};

}  // namespace fareboard
