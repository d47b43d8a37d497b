#include "BackgroundSpeechEngine.h"

#include "Voice.h"
#include "options/SpeechAdjustDialog.h"
#include "platform/AppError.h"
#include "platform/FileAccess.h"
#include "platform/audio/PcmPlayer.h"
#include "reading/SpokenText.h"

#include <QDir>
#include <QFileInfo>

#include <sys/resource.h>

#include <algorithm>

namespace fareboard {
namespace {

// About two hours of 48 kHz speech: far more than a route's tape, little for the machine.
constexpr qint64 kMaxCachedSamples = 48000LL * 60 * 120;
constexpr qint64 kMaxSettingsBytes = 4096;

}  // namespace

std::unique_ptr<BackgroundSpeechEngine> BackgroundSpeechEngine::create(PcmPlayer& player,
                                                                        std::vector<VoiceKind> installed,
                                                                        VoiceFactory makeVoice, QString settingsFile,
                                                                        PlaceStep readPlaces)
{
    if (installed.empty() || !makeVoice)
        return nullptr;
    return std::unique_ptr<BackgroundSpeechEngine>(new BackgroundSpeechEngine(
        player, std::move(installed), std::move(makeVoice), std::move(settingsFile), std::move(readPlaces)));
}

BackgroundSpeechEngine::BackgroundSpeechEngine(PcmPlayer& player, std::vector<VoiceKind> installed,
                                               VoiceFactory makeVoice, QString settingsFile, PlaceStep readPlaces)
    : player_(player), installed_(std::move(installed)), makeVoice_(std::move(makeVoice)),
      settingsFile_(std::move(settingsFile)), readPlaces_(std::move(readPlaces))
{
}

BackgroundSpeechEngine::~BackgroundSpeechEngine()
{
    {
        std::lock_guard lock(mutex_);
        quit_ = true;
        ++current_;
        wanted_.reset();
        player_.halt();
    }
    wake_.notify_all();
    if (worker_.joinable())
        worker_.join();
}

QString BackgroundSpeechEngine::sampleText()
{
    return QStringLiteral("次は、市役所前です。お降りの方はお知らせください。");
}

QString BackgroundSpeechEngine::keyOf(const Job& job)
{
    const SpeechSettings& s = job.settings;
    return QStringLiteral("%1 %2 %3 %4\n").arg(int(s.voice)).arg(s.rate).arg(s.pitch).arg(s.volume) + job.text;
}

SpeechSettings BackgroundSpeechEngine::resolved(SpeechSettings settings) const
{
    // A voice chosen on another machine, or since uninstalled, gives way to one that is here.
    if (!installed_.empty() && std::find(installed_.begin(), installed_.end(), settings.voice) == installed_.end())
        settings.voice = installed_.front();
    return settings;
}

void BackgroundSpeechEngine::loadSettingsLocked() const
{
    if (settingsLoaded_)
        return;
    settingsLoaded_ = true;
    SpeechSettings loaded;
    if (!settingsFile_.isEmpty() && QFileInfo(settingsFile_).isFile()) {
        try {
            loaded = parseSpeechSettings(readFileBytes(settingsFile_, kMaxSettingsBytes));
        } catch (const AppError&) {
            // An unreadable file leaves the defaults; the next save writes a good one.
        }
    } else if (!installed_.empty()) {
        loaded.voice = installed_.front();
    }
    settings_ = resolved(loaded);
}

SpeechSettings BackgroundSpeechEngine::settings() const
{
    std::lock_guard lock(mutex_);
    loadSettingsLocked();
    return settings_;
}

void BackgroundSpeechEngine::setSettings(const SpeechSettings& settings)
{
    {
        std::lock_guard lock(mutex_);
        loadSettingsLocked();
        settings_ = resolved(settings);
        requeueLocked();
        if (!worker_.joinable() && !backlog_.empty())
            worker_ = std::thread([this] { run(); });
    }
    wake_.notify_all();
    if (settingsFile_.isEmpty())
        return;
    try {
        QDir().mkpath(QFileInfo(settingsFile_).absolutePath());
        writeFileWhole(settingsFile_, formatSpeechSettings(settings));
    } catch (const AppError&) {
        // Not kept for the next run, but the voice follows them now all the same.
    }
}

void BackgroundSpeechEngine::startLocked(const Job& job)
{
    ++current_;
    player_.halt();
    wanted_.reset();
    if (installed_.empty())
        return;
    const auto hit = cache_.constFind(keyOf(job));
    if (hit != cache_.constEnd()) {
        player_.play(*hit->samples, hit->rate);
        return;
    }
    wanted_ = job;
    wantedId_ = current_;
    if (!worker_.joinable())
        worker_ = std::thread([this] { run(); });
}

void BackgroundSpeechEngine::speak(const QString& text)
{
    {
        std::lock_guard lock(mutex_);
        loadSettingsLocked();
        startLocked(Job{text, settings_});
    }
    wake_.notify_all();
}

void BackgroundSpeechEngine::audition(const SpeechSettings& settings)
{
    {
        std::lock_guard lock(mutex_);
        startLocked(Job{spokenText(sampleText(), ReadingTable()), resolved(settings)});
    }
    wake_.notify_all();
}

void BackgroundSpeechEngine::stop()
{
    std::lock_guard lock(mutex_);
    ++current_;
    wanted_.reset();
    player_.halt();
}

bool BackgroundSpeechEngine::speaking() const
{
    std::lock_guard lock(mutex_);
    return wanted_.has_value() || player_.playing();
}

void BackgroundSpeechEngine::showAdjustDialog(QWidget* owner, const QString& title)
{
    SpeechAdjustDialog dialog(settings(), installedVoices(), title, owner);
    QObject::connect(&dialog, &SpeechAdjustDialog::auditionRequested, &dialog,
                     [this](const SpeechSettings& s) { audition(s); });
    const bool accepted = dialog.exec() == QDialog::Accepted;
    stop();
    if (accepted)
        setSettings(dialog.settings());
}

void BackgroundSpeechEngine::requeueLocked()
{
    backlog_.clear();
    if (installed_.empty())
        return;
    QSet<QString> queued;
    for (const QString& text : std::as_const(tape_)) {
        const Job job{text, settings_};
        const QString key = keyOf(job);
        if (cache_.contains(key) || queued.contains(key))
            continue;
        queued.insert(key);
        backlog_.push_back(job);
    }
}

bool BackgroundSpeechEngine::inTapeLocked(const QString& key) const
{
    for (const QString& text : tape_) {
        if (keyOf(Job{text, settings_}) == key)
            return true;
    }
    return false;
}

void BackgroundSpeechEngine::prepare(const QStringList& texts)
{
    {
        std::lock_guard lock(mutex_);
        loadSettingsLocked();
        tape_ = texts;
        requeueLocked();
        if (!worker_.joinable() && !backlog_.empty())
            worker_ = std::thread([this] { run(); });
    }
    wake_.notify_all();
}

void BackgroundSpeechEngine::prefetch(const QString& text)
{
    {
        std::lock_guard lock(mutex_);
        loadSettingsLocked();
        const Job job{text, settings_};
        const QString key = keyOf(job);
        if (installed_.empty() || cache_.contains(key))
            return;
        backlog_.erase(std::remove_if(backlog_.begin(), backlog_.end(), [&](const Job& j) { return keyOf(j) == key; }),
                       backlog_.end());
        backlog_.push_front(job);
        if (!worker_.joinable())
            worker_ = std::thread([this] { run(); });
    }
    wake_.notify_all();
}

bool BackgroundSpeechEngine::ready(const QString& text) const
{
    std::lock_guard lock(mutex_);
    loadSettingsLocked();
    return cache_.contains(keyOf(Job{text, settings_}));
}

int BackgroundSpeechEngine::renders() const
{
    std::lock_guard lock(mutex_);
    return renders_;
}

void BackgroundSpeechEngine::trimCacheLocked()
{
    // Texts made with older settings go first; they come back only if the user goes back.
    for (auto it = cache_.begin(); cachedSamples_ > kMaxCachedSamples && it != cache_.end();) {
        if (!it.key().startsWith(keyOf(Job{QString(), settings_}))) {
            cachedSamples_ -= qint64(it->samples->size());
            it = cache_.erase(it);
        } else {
            ++it;
        }
    }
    while (cachedSamples_ > kMaxCachedSamples && !cache_.isEmpty()) {
        cachedSamples_ -= qint64(cache_.begin()->samples->size());
        cache_.erase(cache_.begin());
    }
}

std::vector<VoiceKind> BackgroundSpeechEngine::installedVoices() const
{
    std::lock_guard lock(mutex_);
    return installed_;
}

void BackgroundSpeechEngine::setLostHandler(std::function<void()> lost)
{
    lost_ = std::move(lost);
    bool gone = false;
    {
        std::lock_guard lock(mutex_);
        gone = installed_.empty();
    }
    if (gone && lost_)
        lost_();
}

void BackgroundSpeechEngine::setFailureHandler(std::function<void(const QString&)> failed)
{
    failed_ = std::move(failed);
}

Voice* BackgroundSpeechEngine::voice(VoiceKind kind)
{
    auto& slot = voices_[kind];
    if (!slot) {
        slot = makeVoice_(kind);
        if (slot && !slot->load())
            slot.reset();
    }
    return slot.get();
}

void BackgroundSpeechEngine::dropVoiceLocked(VoiceKind kind)
{
    installed_.erase(std::remove(installed_.begin(), installed_.end(), kind), installed_.end());
    if (!installed_.empty()) {
        // What was to be said in the lost voice is said in one that is here.
        settings_ = resolved(settings_);
        if (wanted_)
            wanted_->settings = resolved(wanted_->settings);
        requeueLocked();
        return;
    }
    wanted_.reset();
    backlog_.clear();
    QMetaObject::invokeMethod(
        &home_,
        [this] {
            if (lost_)
                lost_();
        },
        Qt::QueuedConnection);
}

void BackgroundSpeechEngine::failVoiceLocked(VoiceKind kind, const QString& why)
{
    // A voice that failed once is not asked again this run: one that hangs would hold every
    // announcement for its whole limit.
    voices_.erase(kind);
    dropVoiceLocked(kind);
    QString message = QStringLiteral("音声合成 %1 を使えません: %2").arg(voiceName(kind), why);
    if (!installed_.empty())
        message += QStringLiteral("。以後 %1 で読み上げます").arg(voiceName(installed_.front()));
    QMetaObject::invokeMethod(
        &home_,
        [this, message] {
            if (failed_)
                failed_(message);
        },
        Qt::QueuedConnection);
}

void BackgroundSpeechEngine::run()
{
    std::unique_lock lock(mutex_);
    for (;;) {
        wake_.wait(lock, [this] { return quit_ || wanted_.has_value() || !backlog_.empty(); });
        if (quit_)
            return;
        Job job;
        bool background = false;
        if (wanted_) {
            job = *wanted_;
        } else {
            job = backlog_.front();
            backlog_.pop_front();
            background = true;
        }
        const QString key = keyOf(job);
        if (cache_.contains(key) && background)
            continue;
        const QStringList tape = tape_;
        lock.unlock();

        // A background text gives way as soon as a different one is wanted now; the wanted one
        // gives way to a newer one or a stop.
        bool cancelled = false;
        auto giveWay = [&, this] {
            std::lock_guard guard(mutex_);
            cancelled = quit_ || (background ? (wanted_ && keyOf(*wanted_) != key) : (!wanted_ || keyOf(*wanted_) != key));
            return cancelled;
        };
        Voice* v = voice(job.settings.voice);
        if (!v) {
            lock.lock();
            dropVoiceLocked(job.settings.voice);
            continue;
        }
        const QString spoken = readPlaces_ ? readPlaces_(job.text, tape, *v, background) : job.text;
        std::vector<int16_t> samples = v->synthesize(spoken, job.settings, background, giveWay);
        const int rate = v->sampleRate();
        const QString failure = samples.empty() && !cancelled ? v->failure() : QString();

        lock.lock();
        ++renders_;
        if (!failure.isEmpty()) {
            // What was to be said now is said by the next voice, if there is one.
            failVoiceLocked(job.settings.voice, failure);
            continue;
        }
        if (!samples.empty()) {
            cachedSamples_ += qint64(samples.size());
            cache_.insert(key, Pcm{std::make_shared<const std::vector<int16_t>>(std::move(samples)), rate});
            trimCacheLocked();
        } else if (cancelled && !quit_ && inTapeLocked(key)) {
            backlog_.push_front(job);
        }
        if (wanted_ && keyOf(*wanted_) == key && current_ == wantedId_) {
            // Under the lock, so a stop() in between cannot be overtaken by this play.
            const auto hit = cache_.constFind(key);
            if (hit != cache_.constEnd())
                player_.play(*hit->samples, hit->rate);
            wanted_.reset();  // played, or the voice failed on it: never retried in a loop
        }
    }
}

}  // namespace fareboard
