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
// its own can be cut off the moment a newer text is wanted, or when it hangs or writes on and
// on. It reads one line of about a kilobyte, so a longer text goes in pieces, one process each.
// How long Open JTalk may take over a piece of text: `baseMs` plus `perCharacterMs` for each
// character. It takes about a seventh of the sound's length, on a busy machine twice that.
struct OpenJTalkLimits {
    int baseMs = 10000;
    int perCharacterMs = 60;
};

class OpenJTalkVoice final : public Voice {
public:
    // The longest line, in bytes of UTF-8, that the program reads whole.
    static constexpr qsizetype kMaxPieceBytes = 900;

    explicit OpenJTalkVoice(OpenJTalkFiles files, OpenJTalkLimits limits = {}) : files_(std::move(files)), limits_(limits) {}

    int sampleRate() const override { return 48000; }
    std::vector<int16_t> synthesize(const QString& text, const SpeechSettings& settings, bool background,
                                    const std::function<bool()>& cancelled) override;
    QString pronounce(const QString& text) override;
    QString failure() const override { return failure_; }

    // The most a piece's WAV may hold: the piece spoken at the slowest speed, twice over.
    static qint64 maxWaveBytes(const QString& piece, int rate);

private:
    struct Run {
        QByteArray output;
        QString failure;  // empty when the process answered, or was cancelled
    };
    Run run(const QStringList& extraArguments, const QString& piece, qint64 maxOutput, bool background,
            const std::function<bool()>& cancelled) const;
    QByteArray analyse(const QString& text, bool background, const std::function<bool()>& cancelled) const;

    OpenJTalkFiles files_;
    OpenJTalkLimits limits_;
    QString failure_;  // of the last synthesize(); written and read on the speaking thread
};

// The pronunciation of an Open JTalk text analysis (its -ot output): field 10 of every word,
// the accent marks taken out, punctuation as written.
QString pronunciationFromAnalysis(const QByteArray& analysis);
// The words of the analysis as written (field 1 of every word).
QStringList wordsOfAnalysis(const QByteArray& analysis);

// The samples of a 16-bit mono RIFF/WAVE file; empty when it is not one. `rate` gets its rate,
// `parsed` whether it was one (a WAV of no samples is one).
std::vector<int16_t> monoWaveSamples(const QByteArray& wav, int* rate = nullptr, bool* parsed = nullptr);

}  // namespace fareboard
