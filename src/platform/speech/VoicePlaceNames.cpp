#include "VoicePlaceNames.h"

#include "Voice.h"
#include "reading/GazetteerFile.h"

namespace fareboard {

VoiceReadings voiceReadingsOf(Voice& voice)
{
    return [&voice](const QStringList& words) {
        const QString pause = QStringLiteral("、");
        QStringList said = voice.pronounce(words.join(pause)).split(pause);
        if (said.size() == words.size())
            return said;
        // A word the voice read with a pause of its own: each alone, then.
        said.clear();
        for (const QString& word : words)
            said << voice.pronounce(word);
        return said;
    };
}

QString withPlaceNames(const QString& text, const GazetteerFile& gazetteer, Voice& voice)
{
    return withPlaceReadings(text, gazetteer.index(), voiceReadingsOf(voice));
}

}  // namespace fareboard
