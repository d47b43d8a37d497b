#include "StopRequest.h"

#include "announce/mdlM_Tape.h"
#include "announce/mdlSndAPI.h"
#include "platform/speech/SpeechEngine.h"
#include "reading/SpokenText.h"

namespace fareboard {
namespace {

// How often a waiting "次、停まります。" looks whether the chime and any announcement before it
// have ended; short enough that the words follow the chime without a gap one would hear.
constexpr int kQuietPollMs = 20;
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
    // The words follow once the chime has been heard to its end. Nothing here waits for it:
    // the console and a run go on meanwhile.
    sound_.SndPlay(chimeFile_ ? chimeFile_() : QString(), kChannel, false, 0);
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
    // After the chime, and not over a running announcement: after it.
    if (sound_.SndPlaying(kChannel) || voice->speaking()) {
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
