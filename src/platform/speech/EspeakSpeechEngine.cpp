#include "EspeakSpeechEngine.h"

#include "EspeakVoice.h"
#include "JapaneseNumbers.h"
#include "KanaReader.h"
#include "SpeechAdjustDialog.h"
#include "platform/InstallPaths.h"
#include "platform/audio/PcmPlayer.h"

#include <QCoreApplication>
#include <QDir>

namespace fareboard {
namespace {

QString readWithoutAnalyser(const QString& text)
{
    QString out = spellOutNumbers(text.normalized(QString::NormalizationForm_KC));
    out.removeIf([](QChar c) { return isKanji(c); });
    return out;
}

}  // namespace

QString EspeakSpeechEngine::defaultUserDictionary()
{
    return shippedFile(QCoreApplication::applicationDirPath(), QStringLiteral(FAREBOARD_BUS_DICTIONARY_NAME));
}

std::unique_ptr<EspeakSpeechEngine> EspeakSpeechEngine::create(PcmPlayer& player, const QString& userDictionary)
{
    std::unique_ptr<EspeakVoice> voice = EspeakVoice::create();
    if (!voice)
        return nullptr;
    // Without the analyser kana and numbers are still read; kanji are left out.
    std::unique_ptr<KanaReader> reader = KanaReader::create(userDictionary);
    return std::unique_ptr<EspeakSpeechEngine>(new EspeakSpeechEngine(player, std::move(voice), std::move(reader)));
}

EspeakSpeechEngine::EspeakSpeechEngine(PcmPlayer& player, std::unique_ptr<EspeakVoice> voice,
                                       std::unique_ptr<KanaReader> reader)
    : player_(player), voice_(std::move(voice)), reader_(std::move(reader))
{
    worker_ = std::thread([this] { run(); });
}

EspeakSpeechEngine::~EspeakSpeechEngine()
{
    {
        std::lock_guard lock(mutex_);
        quit_ = true;
        ++current_;
        player_.halt();
    }
    wake_.notify_all();
    worker_.join();
}

void EspeakSpeechEngine::speak(const QString& text)
{
    {
        std::lock_guard lock(mutex_);
        pendingId_ = ++current_;
        pending_ = text;
        player_.halt();
    }
    wake_.notify_all();
}

void EspeakSpeechEngine::stop()
{
    std::lock_guard lock(mutex_);
    ++current_;
    pending_.reset();
    player_.halt();
}

bool EspeakSpeechEngine::speaking() const
{
    std::lock_guard lock(mutex_);
    if (pending_ || (workingId_ != 0 && workingId_ == current_))
        return true;
    return player_.playing();
}

SpeechSettings EspeakSpeechEngine::settings() const
{
    std::lock_guard lock(mutex_);
    return settings_;
}

void EspeakSpeechEngine::setSettings(const SpeechSettings& settings)
{
    std::lock_guard lock(mutex_);
    settings_ = settings;
}

bool EspeakSpeechEngine::hasUserDictionary() const
{
    return reader_ && reader_->hasUserDictionary();
}

void EspeakSpeechEngine::showAdjustDialog(QWidget* owner, const QString& title)
{
    SpeechAdjustDialog dialog(settings(), title, owner);
    if (dialog.exec() == QDialog::Accepted)
        setSettings(dialog.settings());
}

void EspeakSpeechEngine::run()
{
    // The analyser loads its dictionaries on first use; do that now, not on the first "送り".
    if (reader_)
        reader_->read(QStringLiteral("次は、停留所です。"));

    std::unique_lock lock(mutex_);
    for (;;) {
        wake_.wait(lock, [this] { return quit_ || pending_.has_value(); });
        if (quit_)
            return;
        const QString text = *pending_;
        pending_.reset();
        const uint64_t id = pendingId_;
        workingId_ = id;
        const SpeechSettings settings = settings_;
        lock.unlock();

        const QString kana = reader_ ? reader_->read(text) : readWithoutAnalyser(text);
        std::vector<int16_t> samples =
            voice_->synthesize(kana, settings, [this, id] { return current_.load() != id; });

        lock.lock();
        workingId_ = 0;
        // Under the lock, so a stop() in between cannot be overtaken by this play.
        if (current_ == id && !samples.empty())
            player_.play(std::move(samples), voice_->sampleRate());
    }
}

}  // namespace fareboard
