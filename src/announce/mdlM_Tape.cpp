#include "mdlM_Tape.h"

#include "TapeHost.h"
#include "mdlSndAPI.h"
#include "platform/AppError.h"
#include "platform/FileAccess.h"
#include "platform/speech/ReadingsFile.h"
#include "platform/speech/ReadingsLimit.h"
#include "platform/speech/SpeechEngine.h"

#include <QFileInfo>
#include <QStringList>

#include <cstdio>

#include <utility>

namespace fareboard {
namespace {

const QString kGroup = QStringLiteral("grpM_Tape");

// Why a route's broadcast data did not load, for the disabled group's tool tip: a reset must
// not stop for a dialog (a route without broadcast data is usual), but a file that is there
// and cannot be read should not leave the driver guessing.
QString refusal(const QString& path, const AppError& error)
{
    const QString file = QFileInfo(path).fileName();
    switch (error.number()) {
    case ErrorNumber::InputPastEndOfFile:
        return QStringLiteral("放送データ %1 を読み込めません: 最後の案内の項目がファイルの終わりで足りません").arg(file);
    case ErrorNumber::SubscriptOutOfRange:
        return QStringLiteral("放送データ %1 を読み込めません: 行より案内が多くなります").arg(file);
    case ErrorNumber::Overflow:
        return QStringLiteral("放送データ %1 を読み込めません: %2 KB を超えるファイルは放送データではありません")
            .arg(file)
            .arg(kMaxBroadcastBytes / 1024);
    default:
        return QStringLiteral("放送データ %1 を読み込めません: %2").arg(file, error.description());
    }
}

QString readingsPath(const QString& folder)
{
    return resolveIgnoringCase(withTrailingSeparator(folder) + QStringLiteral("readings.csv"));
}

QString readingsRefusal(const QString& path, const AppError& error)
{
    const QString file = QFileInfo(path).fileName();
    if (error.number() == ErrorNumber::Overflow)
        return QStringLiteral("読み方ファイル %1 を使いません: %2 MB を超えるファイルは読み込みません")
            .arg(file)
            .arg(kMaxReadingsBytes >> 20);
    return QStringLiteral("読み方ファイル %1 を読み込めません: %2").arg(file, error.description());
}

QString chimeBox(int flag)
{
    return QStringLiteral("txtSelectSound(%1)").arg(3 + flag);
}

}  // namespace

mdlM_Tape::mdlM_Tape(TapeHost& host, mdlSndAPI& sound, EngineFactory makeEngine)
    : host_(host), sound_(sound), makeEngine_(std::move(makeEngine)),
      readingsLoader_([](const QString& folder, QString& refusal) { return readingsOf(folder, &refusal); })
{
}

mdlM_Tape::~mdlM_Tape() = default;

QString mdlM_Tape::fileName(const QString& folder, const QString& name)
{
    return withTrailingSeparator(folder) + name + QStringLiteral("tp.csv");
}

bool mdlM_Tape::onVista()
{
    // Speech through the old automation object never worked on that system; the check stays
    // so that a host reporting itself so behaves as users there knew it.
    return host_.GetOsInfo() == QLatin1String("Windows Vista");
}

void mdlM_Tape::setGroup(bool usable)
{
    usable_ = usable;
    host_.setControlCaption(kGroup, usable ? QStringLiteral("音合使用可") : QStringLiteral("音合使用不可"));
    host_.setControlEnabled(kGroup, usable);
}

void mdlM_Tape::TapeInit()
{
    if (onVista()) {
        setGroup(false);
        return;
    }
    engine_ = makeEngine_ ? makeEngine_() : nullptr;
    setGroup(engine_ != nullptr);
    // Which voices are here is known from their files at start; whether one really loads is
    // known only when it first speaks. If none does, the driver sees speech as unavailable.
    if (engine_) {
        engine_->setLostHandler([this] { setGroup(false); });
        // Said once per voice, where the driver looks and where a terminal shows it.
        engine_->setFailureHandler([this](const QString& message) {
            voiceTip_ = message;
            showToolTip();
            std::fputs(qPrintable(message + QLatin1Char('\n')), stderr);
        });
    }
}

void mdlM_Tape::showToolTip()
{
    QStringList tips;
    for (const QString* tip : {&loadTip_, &readingsTip_, &voiceTip_}) {
        if (!tip->isEmpty())
            tips << *tip;
    }
    host_.setControlToolTip(kGroup, tips.join(QLatin1Char('\n')));
}

void mdlM_Tape::releaseEngine()
{
    engine_.reset();
}

void mdlM_Tape::TapeLoad(const QString& folder, const QString& name)
{
    if (onVista())
        return;
    count_ = 0;
    const QString path = resolveIgnoringCase(fileName(folder, name));
    try {
        if (QFileInfo(path).size() > kMaxBroadcastBytes)
            throw AppError(ErrorNumber::Overflow);
        const QByteArray bytes = readFileBytes(path, kMaxBroadcastBytes);

        count_ = broadcastLineCount(bytes);
        tape_.assign(std::size_t(count_), TapeEntry{});

        BroadcastFieldReader reader(bytes);
        std::size_t index = 0;
        // Blank lines left at the very end still count as (empty) entries but are not read as
        // the start of one more, which would run past the end of the file.
        while (!reader.atEnd() && !reader.onlyBlankLeft()) {
            if (index >= tape_.size())
                throw AppError(ErrorNumber::SubscriptOutOfRange);
            TapeEntry& entry = tape_[index++];
            entry.Text = reader.nextText();
            entry.StepFlag = reader.nextNumber();
            entry.ChimeFlag = reader.nextNumber();
        }

        if (usable_) {
            host_.setControlEnabled(kGroup, true);
            for (const char* button : {"cmdTapeNext", "cmdTapeBack", "cmdTapeStop", "cmdTapeSet"})
                host_.setControlEnabled(QString::fromLatin1(button), true);
        }
        pos_ = 0;
        host_.setControlToolTip(kGroup, QString());
    } catch (const AppError& error) {
        host_.setControlEnabled(kGroup, false);
        const bool missing = error.number() == ErrorNumber::FileNotFound || error.number() == ErrorNumber::PathNotFound;
        loadTip_ = missing ? QString() : refusal(path, error);
        readingsTip_.clear();
        showToolTip();
        spoken_.clear();
        readingsLoader_.cancel();
        speakWhenRead_ = 0;
        return;
    }
    loadReadings(folder);
}

QByteArray mdlM_Tape::readingsFileBytes(const QString& path)
{
    if (QFileInfo(path).size() > kMaxReadingsBytes)
        throw AppError(ErrorNumber::Overflow);
    return readFileBytes(path, kMaxReadingsBytes);
}

ReadingTable mdlM_Tape::readingsOf(const QString& folder, QString* refusal)
{
    ReadingTable table;
    const QString path = readingsPath(folder);
    if (!QFileInfo(path).isFile())
        return table;
    try {
        // Bad lines are left out here; 'fareboard-data check' names them.
        table.addAll(parseReadingsFile(readingsFileBytes(path)).entries);
    } catch (const AppError& error) {
        // The voice reads on its own; the driver can see why the folder's readings are not used.
        if (refusal)
            *refusal = readingsRefusal(path, error);
    }
    return table;
}

void mdlM_Tape::loadReadings(const QString& folder)
{
    // Read beside the console: a large file takes seconds, and the reset goes on meanwhile.
    // What the tape is to say is made once the readings are there.
    loadTip_.clear();
    readingsTip_.clear();
    showToolTip();
    speakWhenRead_ = 0;
    // A folder without a readings file (most) has nothing to wait for.
    if (!QFileInfo(readingsPath(folder)).isFile()) {
        readingsLoader_.cancel();
        readingsLoaded(ReadingTable(), QString());
        return;
    }
    spoken_.clear();
    readingsLoader_.load(folder, [this](ReadingTable table, QString refusal) { readingsLoaded(std::move(table), refusal); });
}

void mdlM_Tape::readingsLoaded(ReadingTable table, const QString& refusal)
{
    readingsLoader_.discard(std::exchange(readings_, std::move(table)));
    readingsTip_ = refusal;
    showToolTip();
    spoken_.assign(tape_.size(), QString());
    for (std::size_t i = 0; i < tape_.size(); ++i)
        spoken_[i] = spokenText(tape_[i].Text, readings_);
    if (!engine_)
        return;
    QStringList texts;
    for (int32_t pos = 1; pos <= count_; ++pos)
        texts << spokenAt(pos);
    engine_->prepare(texts);
    if (const int32_t pos = std::exchange(speakWhenRead_, 0); pos > 0)
        TapeSpeak(pos);
}

QString mdlM_Tape::spokenAt(int32_t pos) const
{
    if (pos >= 1 && std::size_t(pos) <= spoken_.size())
        return spoken_[std::size_t(pos) - 1];
    // Entries read before a load failed part way.
    const TapeEntry* entry = entryAt(pos);
    return entry ? spokenText(entry->Text, readings_) : QString();
}

const TapeEntry* mdlM_Tape::entryAt(int32_t pos) const
{
    if (pos < 1 || pos > count_ || std::size_t(pos) > tape_.size())
        return nullptr;
    return &tape_[std::size_t(pos) - 1];
}

int16_t mdlM_Tape::TapeStepAt(int32_t pos) const
{
    const TapeEntry* entry = entryAt(pos);
    return entry ? entry->StepFlag : 0;
}

int16_t mdlM_Tape::TapeFlagAt(int32_t pos) const
{
    const TapeEntry* entry = entryAt(pos);
    return entry ? entry->ChimeFlag : 0;
}

void mdlM_Tape::playChime(const QString& file, const char* kind)
{
    // Played to its end first when the options ask for the chime before the announcement.
    const bool wait = host_.optionSelected(QStringLiteral("Option7(0)"));
    sound_.SndPlay(file, QString::fromLatin1(kind), wait, 0);
}

void mdlM_Tape::TapeCue(int row)
{
    if (count_ > 0)
        pos_ = tapePositionForRow(tape_, row);
}

void mdlM_Tape::TapeNext()
{
    ++pos_;
    if (pos_ > count_) {
        pos_ = count_;
        return;
    }
    // A chime played to its end gives the voice that long to make the text.
    if (engine_ && !readingsPending())
        engine_->prefetch(spokenAt(pos_));
    if (host_.optionSelected(QStringLiteral("Option2(2)"))) {
        playChime(host_.optionText(QStringLiteral("txtSelectSound(3)")), "S3");
    } else {
        const int flag = TapeFlagAt(pos_);
        if (flag >= 1 && flag <= 3)
            playChime(host_.optionText(chimeBox(flag)), "S3");
    }
    TapeSpeak(pos_);
}

void mdlM_Tape::TapeBack()
{
    --pos_;
    if (pos_ <= 0) {
        pos_ = 1;
        return;
    }
    if (engine_ && !readingsPending())
        engine_->prefetch(spokenAt(pos_));
    const int flag = TapeFlagAt(pos_);
    if (flag >= 1 && flag <= 3)
        playChime(host_.optionText(chimeBox(flag)), "S2");
    TapeSpeak(pos_);
}

void mdlM_Tape::TapeSpeak(int32_t pos)
{
    if (!engine_)
        return;
    engine_->stop();
    speakWhenRead_ = 0;
    const TapeEntry* entry = entryAt(pos);
    if (!entry)
        return;
    if (readingsPending()) {
        speakWhenRead_ = pos;
        return;
    }
    // The engine reads on its own after speak() returns, so its state is "speaking" here;
    // stopping on that state would silence every announcement.
    engine_->speak(spokenAt(pos));
}

void mdlM_Tape::TapePlayAt(int32_t pos)
{
    if (pos < 1 || pos > count_)
        return;
    pos_ = pos - 1;
    TapeNext();
}

void mdlM_Tape::TapeStop()
{
    speakWhenRead_ = 0;
    if (engine_)
        engine_->stop();
}

void mdlM_Tape::TapeAdjust()
{
    if (engine_)
        engine_->showAdjustDialog(host_.consoleWindow(), QStringLiteral("音声の調節"));
}

}  // namespace fareboard
