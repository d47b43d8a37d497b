#include "OpenJTalkVoice.h"

#include "KeParticle.h"
#include "platform/audio/PcmTools.h"

#include <QElapsedTimer>
#include <QFileInfo>
#include <QProcess>
#include <QStandardPaths>
#include <QtEndian>

#include <sys/resource.h>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <vector>

namespace fareboard {
namespace {

constexpr int kQuietLevel = 64;   // about -54 dB
constexpr int kLeadInMs = 5;      // the first consonant keeps its attack
constexpr int kTimeoutMs = 30000; // a text takes well under a second; a hung process is given up

// The voice reads one line only; a line break in an announcement is a pause.
QString oneLine(const QString& text)
{
    QString out = text;
    out.replace(QLatin1Char('\r'), QString());
    out.replace(QLatin1Char('\n'), QStringLiteral("、"));
    return out;
}

// The word lines of a text analysis, split into their fields.
std::vector<QList<QByteArray>> analysedWords(const QByteArray& analysis)
{
    std::vector<QList<QByteArray>> words;
    bool inAnalysis = false;
    for (const QByteArray& line : analysis.split('\n')) {
        if (line.startsWith("[Text analysis result]")) {
            inAnalysis = true;
            continue;
        }
        if (!inAnalysis)
            continue;
        if (line.trimmed().isEmpty())
            break;
        QList<QByteArray> fields = line.split(',');
        if (fields.size() >= 10)
            words.push_back(std::move(fields));
    }
    return words;
}

}  // namespace

OpenJTalkFiles OpenJTalkFiles::installed()
{
    OpenJTalkFiles files;
    const QString program = QStandardPaths::findExecutable(QStringLiteral("open_jtalk"));
    const QString dictionary = QStringLiteral("/var/lib/mecab/dic/open-jtalk/naist-jdic");
    const QString voice = QStringLiteral("/usr/share/hts-voice/nitech-jp-atr503-m001/nitech_jp_atr503_m001.htsvoice");
    if (program.isEmpty() || !QFileInfo(dictionary + QStringLiteral("/sys.dic")).isFile() || !QFileInfo(voice).isFile())
        return files;
    return {program, dictionary, voice};
}

QByteArray OpenJTalkVoice::run(const QStringList& extraArguments, const QString& text, bool background,
                               const std::function<bool()>& cancelled)
{
    QProcess process;
    if (background) {
        // Pre-synthesis must not take the processor from the board's scroll and clock.
        process.setChildProcessModifier([] { setpriority(PRIO_PROCESS, 0, 10); });
    }
    process.setProcessChannelMode(QProcess::SeparateChannels);
    process.setStandardErrorFile(QProcess::nullDevice());
    process.start(files_.program,
                  QStringList{QStringLiteral("-x"), files_.dictionary, QStringLiteral("-m"), files_.voice} + extraArguments);
    if (!process.waitForStarted(kTimeoutMs))
        return {};
    process.write(oneLine(text).toUtf8() + '\n');
    process.closeWriteChannel();

    QByteArray output;
    QElapsedTimer clock;
    clock.start();
    // Wanted now: looked at often, so the sound is handed on the moment it is made. In the
    // background: seldom, so waiting costs the program next to nothing.
    const int pollMs = background ? 50 : 5;
    while (process.state() != QProcess::NotRunning) {
        process.waitForFinished(pollMs);
        output += process.readAllStandardOutput();
        if ((cancelled && cancelled()) || clock.elapsed() > kTimeoutMs) {
            process.kill();
            process.waitForFinished();
            return {};
        }
    }
    output += process.readAllStandardOutput();
    if (process.exitStatus() != QProcess::NormalExit || process.exitCode() != 0)
        return {};
    return output;
}

QByteArray OpenJTalkVoice::analyse(const QString& text, bool background, const std::function<bool()>& cancelled)
{
    return run({QStringLiteral("-ot"), QStringLiteral("/dev/stdout")}, text, background, cancelled);
}

std::vector<int16_t> OpenJTalkVoice::synthesize(const QString& text, const SpeechSettings& settings, bool background,
                                                const std::function<bool()>& cancelled)
{
    const double volumeDb = 20.0 * std::log10(std::max(settings.volume, 1) / 100.0);
    const QStringList arguments{
        QStringLiteral("-r"),  QString::number(settings.rate / 100.0, 'f', 2),
        QStringLiteral("-fm"), QString::number(settings.pitch),
        QStringLiteral("-g"),  QString::number(volumeDb, 'f', 1),
        QStringLiteral("-ow"), QStringLiteral("/dev/stdout"),
    };
    // Which ヶ the dictionary leaves alone only its analysis tells: a second run, for the few
    // texts that have one.
    const QString spoken = mayHaveKeParticle(text)
                             ? withKeReadAsGa(text, wordsOfAnalysis(analyse(text, background, cancelled)))
                             : text;
    std::vector<int16_t> samples = monoWaveSamples(run(arguments, spoken, background, cancelled));
    const std::size_t keep = std::size_t(sampleRate() * kLeadInMs / 1000);
    const std::size_t start = startWithoutQuietLead(samples.data(), samples.size(), kQuietLevel, keep);
    samples.erase(samples.begin(), samples.begin() + std::ptrdiff_t(start));
    return samples;
}

QString OpenJTalkVoice::pronounce(const QString& text)
{
    QByteArray analysis = analyse(text, false, {});
    if (mayHaveKeParticle(text)) {
        if (const QString spoken = withKeReadAsGa(text, wordsOfAnalysis(analysis)); spoken != text)
            analysis = analyse(spoken, false, {});
    }
    return pronunciationFromAnalysis(analysis);
}

QString pronunciationFromAnalysis(const QByteArray& analysis)
{
    QString out;
    for (const QList<QByteArray>& fields : analysedWords(analysis)) {
        const QString written = QString::fromUtf8(fields[0]);
        // Punctuation comes back as 、 whatever it was; the written mark says more. A letter
        // taken for a mark (a ヶ the dictionary does not know) is the pause the voice makes.
        const bool letters = std::all_of(written.begin(), written.end(), [](QChar c) { return c.isLetter(); });
        const bool mark = fields[1] == "記号" && !letters;
        if (mark || fields[9] == "*")
            out += written;
        else
            out += QString::fromUtf8(fields[9]).remove(QChar(u'’'));
    }
    return out;
}

QStringList wordsOfAnalysis(const QByteArray& analysis)
{
    QStringList words;
    for (const QList<QByteArray>& fields : analysedWords(analysis))
        words << QString::fromUtf8(fields[0]);
    return words;
}

std::vector<int16_t> monoWaveSamples(const QByteArray& wav, int* rate)
{
    if (wav.size() < 12 || !wav.startsWith("RIFF") || wav.mid(8, 4) != "WAVE")
        return {};
    qsizetype at = 12;
    bool mono16 = false;
    while (at + 8 <= wav.size()) {
        const QByteArray id = wav.mid(at, 4);
        const quint32 size = qFromLittleEndian<quint32>(wav.constData() + at + 4);
        const qsizetype body = at + 8;
        if (id == "fmt " && size >= 16 && body + 16 <= wav.size()) {
            const auto channels = qFromLittleEndian<quint16>(wav.constData() + body + 2);
            const auto bits = qFromLittleEndian<quint16>(wav.constData() + body + 14);
            mono16 = channels == 1 && bits == 16;
            if (rate)
                *rate = int(qFromLittleEndian<quint32>(wav.constData() + body + 4));
        } else if (id == "data" && mono16) {
            const qsizetype bytes = std::min<qsizetype>(qsizetype(size), wav.size() - body) & ~qsizetype(1);
            std::vector<int16_t> samples(std::size_t(bytes / 2));
            for (std::size_t i = 0; i < samples.size(); ++i)
                samples[i] = qFromLittleEndian<qint16>(wav.constData() + body + qsizetype(2 * i));
            return samples;
        }
        at = body + qsizetype(size) + (size & 1);
    }
    return {};
}

}  // namespace fareboard
