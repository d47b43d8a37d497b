#include "SayCommand.h"

#include "DataTool.h"
#include "InputError.h"
#include "ReadingsCheck.h"
#include "announce/mdlM_Tape.h"
#include "platform/AppError.h"
#include "platform/FileAccess.h"
#include "platform/SettingsLocation.h"
#include "platform/audio/PcmTools.h"
#include "platform/speech/InstalledVoices.h"
#include "platform/speech/ReadingsLimit.h"
#include "platform/speech/SpokenText.h"
#include "platform/speech/Voice.h"

#include <QFileInfo>

#include <algorithm>
#include <atomic>
#include <thread>
#include <vector>

namespace fareboard::datatool {

const char* const kSayUsage = "fareboard-data say TEXT... [--folder DIR] [--wav OUT.wav] [--voice VOICE]";
const char* const kSayHelp =
    "Prints, one line per TEXT, the reading the tape's voice will speak, in katakana as\n"
    "the voice pronounces it: after the readings of DIR/readings.csv (--folder, the\n"
    "broadcast data folder) over the built-in bus words, with numbers before counters\n"
    "and Latin letters read out. This is how to check a readings file.\n"
    "\n"
    "  --wav OUT.wav   also write the texts spoken one after another as a WAV file\n"
    "  --voice VOICE   open-jtalk or espeak-ng; when not given, the one chosen with the\n"
    "                  tape's 調整 (~/.config/fareboard/speech.conf), else the best installed\n"
    "\n"
    "Lines of readings.csv the tape would skip are named on standard error.\n";

namespace {

constexpr double kPauseSeconds = 0.4;  // between texts in the WAV, as between two announcements

QString fileError(const AppError& error)
{
    switch (error.number()) {
    case ErrorNumber::PathNotFound: return QStringLiteral("no such folder");
    case ErrorNumber::PermissionDenied: return QStringLiteral("permission denied");
    case ErrorNumber::DiskFull: return QStringLiteral("the disk is full");
    default: return QStringLiteral("cannot be written");
    }
}

// Open JTalk runs a process per text, so a long list of names is read two at a time; the
// espeak-ng voice keeps library globals and reads one after another.
QStringList pronounceAll(Voice& voice, VoiceKind kind, const QStringList& texts)
{
    std::vector<QString> readings(std::size_t(texts.size()));
    std::atomic<qsizetype> next{0};
    auto work = [&] {
        for (qsizetype i = next++; i < texts.size(); i = next++)
            readings[std::size_t(i)] = voice.pronounce(texts[i]);
    };
    std::vector<std::thread> helpers;
    if (kind == VoiceKind::OpenJTalk && texts.size() > 1)
        helpers.emplace_back(work);
    work();
    for (std::thread& t : helpers)
        t.join();
    return QStringList(readings.begin(), readings.end());
}

}  // namespace

int runSay(const QStringList& arguments, QTextStream& out, QTextStream& err)
{
    QStringList texts;
    QString folder, wav, voiceArgument;
    for (qsizetype i = 0; i < arguments.size(); ++i) {
        const QString& a = arguments[i];
        QString* option = a == QLatin1String("--folder") ? &folder
                        : a == QLatin1String("--wav")    ? &wav
                        : a == QLatin1String("--voice")  ? &voiceArgument
                                                         : nullptr;
        if (option) {
            if (i + 1 >= arguments.size()) {
                err << "fareboard-data say: " << a << " needs a value\nUsage: " << kSayUsage << '\n';
                return kExitUsage;
            }
            *option = arguments[++i];
        } else if (a.startsWith(QLatin1String("--"))) {
            err << "fareboard-data say: unknown option " << a << "\nUsage: " << kSayUsage << '\n';
            return kExitUsage;
        } else {
            texts << a;
        }
    }
    if (texts.isEmpty()) {
        err << "Usage: " << kSayUsage << "\n('fareboard-data say --help' says more)\n";
        return kExitUsage;
    }

    const std::vector<VoiceKind> installed = installedVoices();
    // The program's own choice of voice, speed, pitch and volume, as 調整 left them.
    SpeechSettings settings;
    const QString settingsFile = userConfigHome() + QStringLiteral("/fareboard/speech.conf");
    bool chosen = false;
    if (QFileInfo(settingsFile).isFile()) {
        try {
            settings = parseSpeechSettings(readFileBytes(settingsFile, 4096));
            chosen = true;
        } catch (const AppError&) {
        }
    }
    VoiceKind kind;
    if (voiceArgument.isEmpty()) {
        if (installed.empty()) {
            err << "fareboard-data say: no voice is installed (open-jtalk or espeak-ng)\n";
            return kExitBadInput;
        }
        const bool here = std::find(installed.begin(), installed.end(), settings.voice) != installed.end();
        kind = chosen && here ? settings.voice : installed.front();
    } else if (voiceArgument == QLatin1String("open-jtalk") || voiceArgument == QLatin1String("espeak-ng")) {
        kind = voiceArgument == QLatin1String("open-jtalk") ? VoiceKind::OpenJTalk : VoiceKind::Espeak;
        if (std::find(installed.begin(), installed.end(), kind) == installed.end()) {
            err << "fareboard-data say: " << voiceArgument << " is not installed\n";
            return kExitBadInput;
        }
    } else {
        err << "fareboard-data say: --voice is open-jtalk or espeak-ng, not " << voiceArgument << '\n';
        return kExitUsage;
    }

    if (!folder.isEmpty() && !QFileInfo(folder).isDir())
        throw InputError(folder, 0, QStringLiteral("no such folder"));
    ReadingTable readings;
    if (!folder.isEmpty()) {
        const QString file = resolveIgnoringCase(withTrailingSeparator(folder) + QStringLiteral("readings.csv"));
        if (QFileInfo(file).isFile()) {
            // The file as the tape takes it: whole below the tape's limit, not at all past it.
            QByteArray bytes;
            try {
                bytes = mdlM_Tape::readingsFileBytes(file);
            } catch (const AppError& error) {
                err << "warning: " << file << ": "
                    << (error.number() == ErrorNumber::Overflow
                            ? QStringLiteral("larger than %1 MB; the tape does not read it, no readings used")
                                  .arg(kMaxReadingsBytes >> 20)
                            : QStringLiteral("cannot be read; no readings used"))
                    << '\n';
            }
            if (!bytes.isEmpty()) {
                for (const QString& bad : checkReadingsFile(bytes, file).errors)
                    err << "warning: " << bad << '\n';
                readings.addAll(parseReadingsFile(bytes).entries);
            }
        }
    }

    std::unique_ptr<Voice> voice = makeInstalledVoice(kind);
    // Installed by its files, but its library may still fail to load.
    if (!voice || !voice->load()) {
        err << "fareboard-data say: " << voiceName(kind) << " cannot start\n";
        return kExitBadInput;
    }
    std::vector<int16_t> spoken;
    settings.voice = kind;
    QStringList prepared;
    for (const QString& text : texts)
        prepared << spokenText(text, readings);
    for (const QString& reading : pronounceAll(*voice, kind, prepared))
        out << reading << '\n';
    for (qsizetype i = 0; i < texts.size() && !wav.isEmpty(); ++i) {
        const QString& text = texts[i];
        const std::vector<int16_t> samples = voice->synthesize(prepared[i], settings, false, {});
        if (samples.empty()) {
            err << "fareboard-data say: " << voiceName(kind) << " made no sound for: " << text
                << (voice->failure().isEmpty() ? QString() : QStringLiteral(" (%1)").arg(voice->failure())) << '\n';
            return kExitBadInput;
        }
        if (!spoken.empty())
            spoken.insert(spoken.end(), std::size_t(kPauseSeconds * voice->sampleRate()), int16_t(0));
        spoken.insert(spoken.end(), samples.begin(), samples.end());
    }
    if (!wav.isEmpty()) {
        try {
            writeFileWhole(wav, monoWaveFile(spoken, voice->sampleRate()));
        } catch (const AppError& error) {
            throw InputError(wav, 0, fileError(error));
        }
        err << wav << ": " << QString::number(double(spoken.size()) / voice->sampleRate(), 'f', 2) << " s written\n";
    }
    return kExitOk;
}

}  // namespace fareboard::datatool
