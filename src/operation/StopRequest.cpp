#include "StopRequest.h"

#include "announce/mdlM_Tape.h"
#include "announce/mdlSndAPI.h"
#include "platform/speech/SpeechEngine.h"
#include "platform/speech/SpokenText.h"

namespace fareboard {
namespace {

// How often a waiting "次、停まります。" looks whether the announcement before it has ended.
constexpr int kQuietPollMs = 50;
const QString kChannel = QStringLiteral("S4");

}  // namespace

StopRequest::StopRequest(mdlSndAPI& sound, mdlM_Tape& tape, std::function<QString()> chimeFile, QObject* parent)
    : QObject(parent), sound_(sound), tape_(tape), chimeFile_(std::move(chimeFile))
{
    quiet_.setInterval(kQuietPollMs);
    connect(&quiet_, &QTimer::timeout, this, &StopRequest::sayWhenQuiet);
}

bool StopRequest::press()
{
    if (pending_)
        return false;
    pending_ = true;
    emit pendingChanged(true);
    const QString spoken = spokenText(announcement(), ReadingTable());
    // Made while the chime plays, so it follows the chime without a gap.
    if (SpeechEngine* voice = tape_.voice())
        voice->prefetch(spoken);
    // The chime is heard to its end first, as the tape's chimes are before their texts.
    sound_.SndPlay(chimeFile_ ? chimeFile_() : QString(), kChannel, true, 0);
    // The bus may have moved on while the chime played.
    if (!pending_)
        return true;
    toSay_ = true;
    sayWhenQuiet();
    return true;
}

void StopRequest::sayWhenQuiet()
{
    SpeechEngine* voice = tape_.voice();
    if (!toSay_ || !voice) {
        quiet_.stop();
        toSay_ = false;
        return;
    }
    // Not over a running announcement: after it.
    if (voice->speaking()) {
        quiet_.start();
        return;
    }
    quiet_.stop();
    toSay_ = false;
    voice->speak(spokenText(announcement(), ReadingTable()));
}

void StopRequest::clear()
{
    toSay_ = false;
    quiet_.stop();
    if (!pending_)
        return;
    pending_ = false;
    emit pendingChanged(false);
}

}  // namespace fareboard
