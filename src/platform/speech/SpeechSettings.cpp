#include "SpeechSettings.h"

#include <QByteArray>
#include <QList>

namespace fareboard {

QString voiceName(VoiceKind kind)
{
    return kind == VoiceKind::OpenJTalk ? QStringLiteral("Open JTalk") : QStringLiteral("espeak-ng");
}

SpeechSettings parseSpeechSettings(const QByteArray& bytes)
{
    SpeechSettings s;
    for (const QByteArray& raw : bytes.split('\n')) {
        const QByteArray line = raw.trimmed();
        const qsizetype eq = line.indexOf('=');
        if (eq <= 0)
            continue;
        const QByteArray key = line.left(eq).trimmed();
        const QByteArray value = line.mid(eq + 1).trimmed();
        bool ok = false;
        const int n = value.toInt(&ok);
        if (key == "voice") {
            if (value == "open-jtalk")
                s.voice = VoiceKind::OpenJTalk;
            else if (value == "espeak-ng")
                s.voice = VoiceKind::Espeak;
        } else if (key == "rate" && ok && n >= SpeechSettings::kMinRate && n <= SpeechSettings::kMaxRate) {
            s.rate = n;
        } else if (key == "pitch" && ok && n >= SpeechSettings::kMinPitch && n <= SpeechSettings::kMaxPitch) {
            s.pitch = n;
        } else if (key == "volume" && ok && n >= SpeechSettings::kMinVolume && n <= SpeechSettings::kMaxVolume) {
            s.volume = n;
        }
    }
    return s;
}

QByteArray formatSpeechSettings(const SpeechSettings& s)
{
    return QByteArray("voice=") + (s.voice == VoiceKind::OpenJTalk ? "open-jtalk" : "espeak-ng") + "\nrate="
        + QByteArray::number(s.rate) + "\npitch=" + QByteArray::number(s.pitch) + "\nvolume="
        + QByteArray::number(s.volume) + "\n";
}

}  // namespace fareboard
