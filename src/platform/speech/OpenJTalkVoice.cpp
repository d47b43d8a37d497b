#include "OpenJTalkVoice.h"

#include "reading/KeParticle.h"
#include "reading/SpeechPieces.h"
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
// Open JTalk says about eight characters a second at its own speed; a piece may hold up to
// 2.5 times that much sound at the slowest speed before it counts as writing without end.
constexpr double kMaxSecondsPerCharacter = 0.3;
constexpr qint64 kWaveBytesPerSecond = 48000 * 2;
constexpr qint64 kWaveHeaderMargin = 64 * 1024;
// The text analysis, with the trace of every phoneme that comes with it, runs to about 7 KB a
// character.
constexpr qint64 kAnalysisBytesPerCharacter = 64 * 1024;

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

qint64 OpenJTalkVoice::maxWaveBytes(const QString& piece, int rate)
{
    const double slowest = 100.0 / std::max(rate, SpeechSettings::kMinRate);
    return kWaveHeaderMargin + qint64(double(piece.size()) * kMaxSecondsPerCharacter * slowest * kWaveBytesPerSecond);
}

OpenJTalkVoice::Run OpenJTalkVoice::run(const QStringList& extraArguments, const QString& piece, qint64 maxOutput,
                                        bool background, const std::function<bool()>& cancelled) const
{
    const QString program = QFileInfo(files_.program).fileName();
    const qint64 limitMs = limits_.baseMs + qint64(limits_.perCharacterMs) * piece.size();
    QProcess process;
    if (background) {
        // Pre-synthesis must not take the processor from the board's scroll and clock.
        process.setChildProcessModifier([] { setpriority(PRIO_PROCESS, 0, 10); });
    }
    process.setProcessChannelMode(QProcess::SeparateChannels);
    process.setStandardErrorFile(QProcess::nullDevice());
    process.start(files_.program,
                  QStringList{QStringLiteral("-x"), files_.dictionary, QStringLiteral("-m"), files_.voice} + extraArguments);
    if (!process.waitForStarted(int(limitMs)))
        return {{}, QStringLiteral("%1 を起動できません").arg(program)};
    process.write(oneLine(piece).toUtf8() + '\n');
    process.closeWriteChannel();

    auto end = [&process] {
        process.kill();
        process.waitForFinished();
    };
    QByteArray output;
    QElapsedTimer clock;
    clock.start();
    // Wanted now: looked at often, so the sound is handed on the moment it is made. In the
    // background: seldom, so waiting costs the program next to nothing.
    const int pollMs = background ? 50 : 5;
    while (process.state() != QProcess::NotRunning) {
        // A pipe's worth at a time: waiting for the end instead reads all a runaway program
        // writes meanwhile, hundreds of megabytes in a few milliseconds.
        process.waitForReadyRead(pollMs);
        output += process.readAllStandardOutput();
        if (cancelled && cancelled()) {
            end();
            return {};
        }
        // Read no further than the longest answer the piece can have: a program that writes
        // on and on would otherwise take the machine's memory.
        if (output.size() > maxOutput) {
            end();
            return {{}, QStringLiteral("%1 が %2 MB を超えて出力し続けたため止めました").arg(program).arg(maxOutput >> 20)};
        }
        if (clock.elapsed() > limitMs) {
            end();
            return {{}, QStringLiteral("%1 が %2 秒たっても応答しないため止めました").arg(program).arg(limitMs / 1000)};
        }
    }
    output += process.readAllStandardOutput();
    if (output.size() > maxOutput)
        return {{}, QStringLiteral("%1 が %2 MB を超えて出力したため止めました").arg(program).arg(maxOutput >> 20)};
    if (process.exitStatus() != QProcess::NormalExit)
        return {{}, QStringLiteral("%1 が異常終了しました").arg(program)};
    if (process.exitCode() != 0)
        return {{}, QStringLiteral("%1 が終了コード %2 で終わりました").arg(program).arg(process.exitCode())};
    return {output, {}};
}

QByteArray OpenJTalkVoice::analyse(const QString& text, bool background, const std::function<bool()>& cancelled) const
{
    // Open JTalk writes several kilobytes of analysis for each character it reads.
    const qint64 maxOutput = kWaveHeaderMargin + kAnalysisBytesPerCharacter * text.size();
    return run({QStringLiteral("-ot"), QStringLiteral("/dev/stdout")}, text, maxOutput, background, cancelled).output;
}

std::vector<int16_t> OpenJTalkVoice::synthesize(const QString& text, const SpeechSettings& settings, bool background,
                                                const std::function<bool()>& cancelled)
{
    failure_.clear();
    const double volumeDb = 20.0 * std::log10(std::max(settings.volume, 1) / 100.0);
    const QStringList arguments{
        QStringLiteral("-r"),  QString::number(settings.rate / 100.0, 'f', 2),
        QStringLiteral("-fm"), QString::number(settings.pitch),
        QStringLiteral("-g"),  QString::number(volumeDb, 'f', 1),
        QStringLiteral("-ow"), QStringLiteral("/dev/stdout"),
    };
    // A long text is the concatenation of its pieces, spoken in order.
    std::vector<int16_t> samples;
    for (const QString& written : speechPieces(text, kMaxPieceBytes)) {
        // Which ヶ the dictionary leaves alone only its analysis tells: a second run, for the
        // few pieces that have one.
        const QString piece = mayHaveKeParticle(written)
                                  ? withKeReadAsGa(written, wordsOfAnalysis(analyse(written, background, cancelled)))
                                  : written;
        const Run made = run(arguments, piece, maxWaveBytes(piece, settings.rate), background, cancelled);
        if (!made.failure.isEmpty()) {
            failure_ = made.failure;
            return {};
        }
        if (made.output.isEmpty()) {
            if (!(cancelled && cancelled()))
                failure_ = QStringLiteral("%1 が音声を返しませんでした").arg(QFileInfo(files_.program).fileName());
            return {};
        }
        int rate = 0;
        bool wave = false;
        std::vector<int16_t> part = monoWaveSamples(made.output, &rate, &wave);
        if (!wave || rate != sampleRate()) {
            failure_ = QStringLiteral("%1 が返した音声を読めません").arg(QFileInfo(files_.program).fileName());
            return {};
        }
        if (samples.empty()) {
            const std::size_t keep = std::size_t(sampleRate() * kLeadInMs / 1000);
            const std::size_t start = startWithoutQuietLead(part.data(), part.size(), kQuietLevel, keep);
            part.erase(part.begin(), part.begin() + std::ptrdiff_t(start));
        }
        samples.insert(samples.end(), part.begin(), part.end());
    }
    return samples;
}

QString OpenJTalkVoice::pronounce(const QString& text)
{
    QString out;
    for (const QString& piece : speechPieces(text, kMaxPieceBytes)) {
        QByteArray analysis = analyse(piece, false, {});
        if (mayHaveKeParticle(piece)) {
            if (const QString spoken = withKeReadAsGa(piece, wordsOfAnalysis(analysis)); spoken != piece)
                analysis = analyse(spoken, false, {});
        }
        out += pronunciationFromAnalysis(analysis);
    }
    return out;
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

std::vector<int16_t> monoWaveSamples(const QByteArray& wav, int* rate, bool* parsed)
{
    if (parsed)
        *parsed = false;
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
            if (parsed)
                *parsed = true;
            return samples;
        }
        at = body + qsizetype(size) + (size & 1);
    }
    return {};
}

}  // namespace fareboard
