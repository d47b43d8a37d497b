#pragma once

#include "Voice.h"

#include <QString>

namespace fareboard {

// Where Debian puts Open JTalk, its dictionary and the voice.
struct OpenJTalkFiles {
    QString program;
    QString dictionary;  // folder
    QString voice;       // .htsvoice file

    // The installed ones, or an empty `program` when any part is missing. Only looks at
    // files: nothing is started or loaded.
    static OpenJTalkFiles installed();
    bool complete() const { return !program.isEmpty(); }
};

// Open JTalk, run as a process for every text: it reads the text on its standard input and
// writes a 48 kHz WAV on its standard output. There is no library to link, and a process of
// its own can be cut off the moment a newer text is wanted.
class OpenJTalkVoice final : public Voice {
public:
    explicit OpenJTalkVoice(OpenJTalkFiles files) : files_(std::move(files)) {}

    int sampleRate() const override { return 48000; }
    std::vector<int16_t> synthesize(const QString& text, const SpeechSettings& settings, bool background,
                                    const std::function<bool()>& cancelled) override;
    QString pronounce(const QString& text) override;

private:
    QByteArray run(const QStringList& extraArguments, const QString& text, bool background,
                   const std::function<bool()>& cancelled);
    QByteArray analyse(const QString& text, bool background, const std::function<bool()>& cancelled);

    OpenJTalkFiles files_;
};

// The pronunciation of an Open JTalk text analysis (its -ot output): field 10 of every word,
// the accent marks taken out, punctuation as written.
QString pronunciationFromAnalysis(const QByteArray& analysis);
// The words of the analysis as written (field 1 of every word).
QStringList wordsOfAnalysis(const QByteArray& analysis);

// The samples of a 16-bit mono RIFF/WAVE file; empty when it is not one. `rate` gets its rate.
std::vector<int16_t> monoWaveSamples(const QByteArray& wav, int* rate = nullptr);

}  // namespace fareboard
