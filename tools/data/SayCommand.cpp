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
#include "reading/ReadingsLimit.h"
#include "reading/SpokenText.h"
#include "platform/speech/Voice.h"
#include "platform/speech/VoicePlaceNames.h"
#include "reading/GazetteerFile.h"
#include "reading/TownListFile.h"
#include "announce/BroadcastData.h"
#include "platform/InstallPaths.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>

#include <algorithm>
#include <atomic>
#include <thread>
#include <vector>

namespace fareboard::datatool {

const char* const kSayUsage = "fareboard-data say TEXT... [--folder DIR] [--wav OUT.wav] [--voice VOICE] [--explain]";
const char* const kSayHelp =
    "Prints, one line per TEXT, the reading the tape's voice will speak, in katakana as\n"
    "the voice pronounces it: after the readings of DIR/readings.csv (--folder, the\n"
    "broadcast data folder) over the built-in bus words, with numbers before counters\n"
    "and Latin letters read out, then place names the voice would misread read as the\n"
    "gazetteer of skkdic-extra has them (/usr/share/skk/SKK-JISYO.geo, where installed),\n"
    "and the towns of the region the names are in as its cities read them (Japan Post's\n"
    "town list, shipped as towns.csv; the region is told by the tapes of DIR and the\n"
    "TEXTs). This is how to check a readings file.\n"
    "\n"
    "  --explain       under each reading, the text as the voice is given it, each place\n"
    "                  name marked: 〔七戸→シチノヘ〕 the gazetteer's reading was taken,\n"
    "                  〔下田〕 the voice's own is one of the gazetteer's and stands; then\n"
    "                  every reading the gazetteer has for it, or the region's; and the\n"
    "                  cities of the region. A name read wrong either way wants a line in\n"
    "                  readings.csv.\n"
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

// What becomes of one text on its way to the voice.
struct Said {
    QString given;      // what the voice is given
    QString explained;  // the same with its place names marked
    QString reading;    // what the voice pronounces
};

// Open JTalk runs a process per text, so a long list of names is read two at a time; the
// espeak-ng voice keeps library globals and reads one after another.
std::vector<Said> sayAll(Voice& voice, VoiceKind kind, const QStringList& texts, const ReadingTable& readings,
                         const GazetteerFile& gazetteer, const RegionTowns& towns)
{
    std::vector<Said> said(std::size_t(texts.size()));
    std::atomic<qsizetype> next{0};
    auto work = [&] {
        for (qsizetype i = next++; i < texts.size(); i = next++) {
            std::vector<PlacePiece> pieces = placePieces(spokenText(texts[i], readings), gazetteer.index(), &towns);
            choosePlaceReadings(pieces, voiceReadingsOf(voice));
            Said& s = said[std::size_t(i)];
            s.given = placeReadingText(pieces);
            s.explained = explainPlaceReadings(pieces);
            s.reading = voice.pronounce(s.given);
        }
    };
    std::vector<std::thread> helpers;
    if (kind == VoiceKind::OpenJTalk && texts.size() > 1)
        helpers.emplace_back(work);
    work();
    for (std::thread& t : helpers)
        t.join();
    return said;
}

// Every text of the folder's tapes, which tell where its routes run.
QStringList tapeTexts(const QString& folder)
{
    QStringList texts;
    if (folder.isEmpty())
        return texts;
    for (const QFileInfo& file : QDir(folder).entryInfoList({QStringLiteral("*tp.csv")}, QDir::Files)) {
        if (file.size() > kMaxBroadcastBytes)
            continue;
        try {
            // An entry is its text, then its step and chime flags.
            BroadcastFieldReader fields(readFileBytes(file.filePath(), kMaxBroadcastBytes));
            while (!fields.atEnd() && !fields.onlyBlankLeft()) {
                texts << fields.nextText();
                fields.nextNumber();
                fields.nextNumber();
            }
        } catch (const AppError&) {
            // An unreadable tape tells nothing; the others still do.
        }
    }
    return texts;
}

}  // namespace

int runSay(const QStringList& arguments, QTextStream& out, QTextStream& err)
{
    QStringList texts;
    QString folder, wav, voiceArgument;
    bool explain = false;
    for (qsizetype i = 0; i < arguments.size(); ++i) {
        const QString& a = arguments[i];
        if (a == QLatin1String("--explain")) {
            explain = true;
            continue;
        }
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
    const GazetteerFile gazetteer;
    // The region is told by the folder's tapes and the texts themselves: a few names tell none.
    const TownListFile townFile(shippedFile(QCoreApplication::applicationDirPath(), QString::fromLatin1(TownListFile::kFileName)));
    const Region region = townFile.index().regionOf(tapeTexts(folder) + texts);
    const RegionTowns towns = townFile.index().townsOf(region);
    const std::vector<Said> said = sayAll(*voice, kind, texts, readings, gazetteer, towns);
    if (explain && !region.isEmpty()) {
        QStringList cities;
        for (int city : region.cities)
            cities << townFile.index().cityName(city);
        err << "note: towns read as " << cities.join(QStringLiteral("、")) << " and the rest of the prefecture read them\n";
    }
    if (explain && gazetteer.index().isEmpty())
        err << "note: no gazetteer at " << gazetteer.path() << " (Debian's skkdic-extra); place names are the voice's own\n";
    QStringList prepared;
    for (const Said& s : said) {
        out << s.reading << '\n';
        if (explain)
            out << "  " << s.explained << '\n';
        prepared << s.given;
    }
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
