#pragma once

#include "SpeechEngine.h"
#include "SpeechSettings.h"

#include <QHash>
#include <QObject>

#include <atomic>
#include <condition_variable>
#include <deque>
#include <functional>
#include <map>
#include <memory>
#include <mutex>
#include <optional>
#include <thread>
#include <vector>

namespace fareboard {

class PcmPlayer;
class Voice;

// The announcement voice. Texts are synthesised on one worker thread, ahead of time in the
// order the tape will speak them, and kept by text and voice settings, so "送り" plays at once
// what was made before; a text that is not ready is made first, before the rest. Nothing here
// waits for a synthesiser on the caller's thread.
//
// Creating it only records what is installed: the worker, the voices (an analyser dictionary,
// a process) and the settings file are touched on first use, after the windows are up.
class BackgroundSpeechEngine final : public SpeechEngine {
public:
    using VoiceFactory = std::function<std::unique_ptr<Voice>(VoiceKind)>;
    // The last step of a text before `voice` speaks it, on the worker: the place names read
    // (PlaceNames), which may ask the voice and read the gazetteer at its first use; `tape` is
    // every text of the tape now prepared, which tells where the route runs; `background`
    // while the text is made ahead.
    using PlaceStep = std::function<QString(const QString& text, const QStringList& tape, Voice& voice, bool background)>;

    // `installed` lists the voices present, the preferred first; empty gives no engine.
    // `settingsFile` keeps the user's choice of voice, speed, pitch and loudness.
    static std::unique_ptr<BackgroundSpeechEngine> create(PcmPlayer& player, std::vector<VoiceKind> installed,
                                                          VoiceFactory makeVoice, QString settingsFile,
                                                          PlaceStep readPlaces = {});
    ~BackgroundSpeechEngine() override;

    void speak(const QString& text) override;
    void stop() override;
    bool speaking() const override;
    void showAdjustDialog(QWidget* owner, const QString& title) override;
    void prepare(const QStringList& texts) override;
    void prefetch(const QString& text) override;

    SpeechSettings settings() const;
    // Applies from the next text on, renders the tape again with them and saves them.
    void setSettings(const SpeechSettings& settings);
    // Speaks a sample with `settings` without keeping them (the dialog's "試聴").
    void audition(const SpeechSettings& settings);
    void setLostHandler(std::function<void()> lost) override;
    void setFailureHandler(std::function<void(const QString& message)> failed) override;
    // The voices that can speak: those installed, less any found unable to at first use.
    std::vector<VoiceKind> installedVoices() const;

    // For tests and benchmarks: whether `text` is ready with the current settings, and how
    // many texts the voices have made so far.
    bool ready(const QString& text) const;
    int renders() const;

    static QString sampleText();

private:
    struct Job {
        QString text;
        SpeechSettings settings;
    };
    struct Pcm {
        std::shared_ptr<const std::vector<int16_t>> samples;
        int rate = 0;
    };

    BackgroundSpeechEngine(PcmPlayer& player, std::vector<VoiceKind> installed, VoiceFactory makeVoice,
                           QString settingsFile, PlaceStep readPlaces);
    SpeechSettings resolved(SpeechSettings settings) const;
    void loadSettingsLocked() const;
    void startLocked(const Job& job);
    void requeueLocked();
    void trimCacheLocked();
    bool inTapeLocked(const QString& key) const;
    void run();
    Voice* voice(VoiceKind kind);
    void dropVoiceLocked(VoiceKind kind);
    void failVoiceLocked(VoiceKind kind, const QString& why);
    static QString keyOf(const Job& job);

    PcmPlayer& player_;
    std::vector<VoiceKind> installed_;  // under mutex_: a voice that fails to load leaves it
    VoiceFactory makeVoice_;
    const QString settingsFile_;
    const PlaceStep readPlaces_;  // used by the worker only
    std::map<VoiceKind, std::unique_ptr<Voice>> voices_;  // used by the worker only

    mutable std::mutex mutex_;
    std::condition_variable wake_;
    // Read on first use, not at creation: the program's start does not wait for the file.
    mutable bool settingsLoaded_ = false;
    mutable SpeechSettings settings_;
    QStringList tape_;
    std::deque<Job> backlog_;
    std::optional<Job> wanted_;  // to be played as soon as it is made
    uint64_t wantedId_ = 0;
    uint64_t current_ = 0;  // the newest speak() or stop(); older plays are dropped
    QHash<QString, Pcm> cache_;
    qint64 cachedSamples_ = 0;
    int renders_ = 0;
    bool quit_ = false;
    // The thread that made the engine hears of a lost voice through this object, which lives
    // there; `lost_` is set and called on that thread only.
    QObject home_;
    std::function<void()> lost_;
    std::function<void(const QString&)> failed_;
    std::thread worker_;
};

}  // namespace fareboard
