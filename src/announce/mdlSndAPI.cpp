#include "mdlSndAPI.h"

#include "platform/FileAccess.h"
#include "platform/Sleeper.h"

#include <QFileInfo>

namespace fareboard {

mdlSndAPI::mdlSndAPI(AudioDevice& device, Sleeper& sleeper, QString exeBaseName)
    : device_(device), sleeper_(sleeper), exeBaseName_(std::move(exeBaseName))
{
}

std::optional<AudioDeviceType> mdlSndAPI::deviceTypeFor(const QString& file)
{
    const QString ext = file.right(3).toUpper().remove(QLatin1Char(' '));
    if (ext == QLatin1String("WAV"))
        return AudioDeviceType::WaveAudio;
    if (ext == QLatin1String("MP3"))
        return AudioDeviceType::MpegVideo;
    if (ext == QLatin1String("MID"))
        return AudioDeviceType::Sequencer;
    return std::nullopt;
}

void mdlSndAPI::SndPlay(const QString& file, const QString& kind, bool wait, int pause)
{
    if (file.isEmpty())
        return;
    // Sound files chosen on Windows keep whatever case the user typed.
    const QString path = resolveIgnoringCase(file);
    if (!QFileInfo(path).isFile())
        return;

    const QString channel = alias(kind);
    device_.close(channel);
    const auto type = deviceTypeFor(file);
    if (!type)
        return;
    if (!device_.open(channel, path, *type))
        return;
    if (wait) {
        device_.play(channel, true);
        sleeper_.sleep(pause);
    } else {
        device_.stop(channel);
        device_.play(channel, false);
        sleeper_.sleep(0);
    }
}

void mdlSndAPI::SndCloseAll()
{
    for (const char* kind : {"S1", "S2", "S3", "S4"})
        device_.close(alias(QString::fromLatin1(kind)));
}

}  // namespace fareboard
