#include "VoicePlaceNames.h"

#include "Voice.h"
#include "reading/GazetteerFile.h"
#include "reading/TownListFile.h"

#include <sys/resource.h>
#include <unistd.h>

#include <thread>

namespace fareboard {
namespace {

QString pronounced(Voice& voice, const QString& text, bool background)
{
    if (!background)
        return voice.pronounce(text);
    // Linux keeps a priority per thread, and a process started from a thread takes its
    // thread's: a thread of its own, lowered for good, asks the voice (and whatever program it
    // runs) without taking the processor from the board, and the worker keeps its priority.
    QString said;
    std::thread([&] {
        setpriority(PRIO_PROCESS, id_t(gettid()), 10);
        said = voice.pronounce(text);
    }).join();
    return said;
}

}  // namespace

VoiceReadings voiceReadingsOf(Voice& voice, bool background)
{
    return [&voice, background](const QStringList& words) {
        const QString pause = QStringLiteral("、");
        QStringList said = pronounced(voice, words.join(pause), background).split(pause);
        if (said.size() == words.size())
            return said;
        // A word the voice read with a pause of its own: each alone, then.
        said.clear();
        for (const QString& word : words)
            said << pronounced(voice, word, background);
        return said;
    };
}

const RegionTowns& PlaceNames::townsOf(const QStringList& tape)
{
    if (!known_ || tape != tape_) {
        known_ = true;
        tape_ = tape;
        const TownList& list = towns_.index();
        regionTowns_ = list.townsOf(list.regionOf(tape));
    }
    return regionTowns_;
}

QString PlaceNames::read(const QString& text, const QStringList& tape, Voice& voice, bool background)
{
    std::vector<PlacePiece> pieces = placePieces(text, gazetteer_.index(), &townsOf(tape));
    choosePlaceReadings(pieces, voiceReadingsOf(voice, background));
    return placeReadingText(pieces);
}

}  // namespace fareboard
