#include "InstalledVoices.h"

#include "EspeakKanaVoice.h"
#include "OpenJTalkVoice.h"
#include "platform/InstallPaths.h"

#include <QCoreApplication>

namespace fareboard {

std::vector<VoiceKind> installedVoices()
{
    std::vector<VoiceKind> voices;
    if (OpenJTalkFiles::installed().complete())
        voices.push_back(VoiceKind::OpenJTalk);
    if (EspeakKanaVoice::installed())
        voices.push_back(VoiceKind::Espeak);
    return voices;
}

std::unique_ptr<Voice> makeInstalledVoice(VoiceKind kind)
{
    if (kind == VoiceKind::OpenJTalk) {
        OpenJTalkFiles files = OpenJTalkFiles::installed();
        if (!files.complete())
            return nullptr;
        return std::make_unique<OpenJTalkVoice>(std::move(files));
    }
    return std::make_unique<EspeakKanaVoice>(busWordDictionary());
}

QString busWordDictionary()
{
    return shippedFile(QCoreApplication::applicationDirPath(), QStringLiteral(FAREBOARD_BUS_DICTIONARY_NAME));
}

}  // namespace fareboard
