#pragma once

#include "SpeechEngine.h"
#include "SpeechSettings.h"

#include <atomic>
#include <condition_variable>
#include <cstdint>
#include <memory>
#include <mutex>
#include <optional>
#include <thread>

namespace fareboard {

class EspeakVoice;
class KanaReader;
class PcmPlayer;

// Japanese speech: the text is read into kana, synthesised into memory on a worker thread and
// played on a sound channel of its own. The user interface never waits for the synthesiser;
// a newer text or a stop makes the worker drop what it was making.
class EspeakSpeechEngine final : public SpeechEngine {
public:
    // Empty when the voice cannot be made. `userDictionary` is the compiled bus-word
    // dictionary; without it the stock dictionary alone reads the words.
    static std::unique_ptr<EspeakSpeechEngine> create(PcmPlayer& player, const QString& userDictionary);
    ~EspeakSpeechEngine() override;

    void speak(const QString& text) override;
    void stop() override;
    bool speaking() const override;
    void showAdjustDialog(QWidget* owner, const QString& title) override;

    SpeechSettings settings() const;
    void setSettings(const SpeechSettings& settings);
    bool hasUserDictionary() const;

    // Where the program finds its bus-word dictionary: beside the executable.
    static QString defaultUserDictionary();

private:
    EspeakSpeechEngine(PcmPlayer& player, std::unique_ptr<EspeakVoice> voice, std::unique_ptr<KanaReader> reader);
    void run();

    PcmPlayer& player_;
    std::unique_ptr<EspeakVoice> voice_;
    std::unique_ptr<KanaReader> reader_;

    mutable std::mutex mutex_;
    std::condition_variable wake_;
    std::optional<QString> pending_;
    uint64_t pendingId_ = 0;
    uint64_t workingId_ = 0;  // the text the worker is making, 0 when idle
    std::atomic<uint64_t> current_{0};  // the newest text asked for; older ones are dropped
    SpeechSettings settings_;
    bool quit_ = false;
    std::thread worker_;
};

}  // namespace fareboard
