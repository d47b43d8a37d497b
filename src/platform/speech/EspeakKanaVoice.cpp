#include "EspeakKanaVoice.h"

#include "EspeakVoice.h"
#include "reading/JapaneseNumbers.h"
#include "KanaReader.h"

#include <QFileInfo>

namespace fareboard {

EspeakKanaVoice::EspeakKanaVoice(QString userDictionary, const char* espeakSoname, const char* mecabSoname)
    : userDictionary_(std::move(userDictionary)),
      espeakSoname_(espeakSoname ? espeakSoname : EspeakVoice::defaultSoname()),
      mecabSoname_(mecabSoname ? mecabSoname : KanaReader::defaultSoname())
{
}

EspeakKanaVoice::~EspeakKanaVoice() = default;

bool EspeakKanaVoice::installed()
{
    for (const char* folder : {"/usr/lib/x86_64-linux-gnu/espeak-ng-data", "/usr/lib/aarch64-linux-gnu/espeak-ng-data",
                               "/usr/share/espeak-ng-data", "/usr/lib/espeak-ng-data"}) {
        if (QFileInfo(QString::fromLatin1(folder) + QStringLiteral("/ja_dict")).isFile())
            return true;
    }
    return false;
}

bool EspeakKanaVoice::load()
{
    if (!loaded_) {
        loaded_ = true;
        voice_ = EspeakVoice::create(espeakSoname_);
        reader_ = KanaReader::create(userDictionary_, mecabSoname_);
    }
    return voice_ != nullptr;
}

int EspeakKanaVoice::sampleRate() const
{
    return voice_ ? voice_->sampleRate() : 22050;
}

QString EspeakKanaVoice::pronounce(const QString& text)
{
    load();
    // Without the analyser kana and numbers are still read; kanji stay for the voice.
    return reader_ ? reader_->read(text) : spellOutNumbers(text.normalized(QString::NormalizationForm_KC));
}

std::vector<int16_t> EspeakKanaVoice::synthesize(const QString& text, const SpeechSettings& settings, bool,
                                                 const std::function<bool()>& cancelled)
{
    load();
    if (!voice_)
        return {};
    return voice_->synthesize(pronounce(text), settings, cancelled);
}

}  // namespace fareboard
