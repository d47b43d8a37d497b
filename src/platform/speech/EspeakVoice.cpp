#include "EspeakVoice.h"

#include "EspeakLibrary.h"
#include "platform/audio/PcmTools.h"

#include <QRegularExpression>
#include <QStringList>

#include <algorithm>
#include <atomic>

namespace fareboard {
namespace {

// espeak-ng holds its voice in library globals: a second voice would share and disturb it.
std::atomic<bool> voiceExists{false};

// Lead-in below about -54 dB is silence before the first sound; a few milliseconds of it stay
// so the first consonant keeps its attack.
constexpr int kQuietLevel = 64;
constexpr int kLeadInMs = 5;

struct Sink {
    std::vector<int16_t> samples;
    const std::function<bool()>* cancelled;
};

int collect(short* wav, int count, espeak_EVENT* events)
{
    auto* sink = static_cast<Sink*>(events ? events->user_data : nullptr);
    if (!sink)
        return 0;
    if (wav && count > 0)
        sink->samples.insert(sink->samples.end(), wav, wav + count);
    return (*sink->cancelled && (*sink->cancelled)()) ? 1 : 0;
}

bool isPause(QChar c)
{
    static const QString pauses = QStringLiteral("、。，．,.!?！？・「」『』（）()　 \t\n\r");
    return pauses.contains(c);
}

bool needsPhonemes(const QString& word)
{
    static const QRegularExpression ry(QStringLiteral("[りリ][ゃゅょャュョ]"));
    return word.contains(ry);
}

}  // namespace

QString fixRyPhonemes(const QString& phonemes)
{
    static const QRegularExpression stray(QStringLiteral("r`_j([',%=]*)a([',%=]*)(?=[aiueo])"));
    QString out = phonemes;
    out.replace(stray, QStringLiteral("r`_j\\1\\2"));
    return out;
}

const char* EspeakVoice::defaultSoname()
{
    return EspeakLibrary::kSoname;
}

std::unique_ptr<EspeakVoice> EspeakVoice::create(const char* soname)
{
    std::unique_ptr<const EspeakLibrary> lib = EspeakLibrary::open(soname);
    if (!lib || voiceExists.exchange(true))
        return nullptr;
    // Initialised once for the process and never terminated: espeak_Terminate of 1.51 can
    // hang waiting for its own idle playback thread, and a second initialisation gains nothing.
    // Every load of the library is the same one (it is never unloaded), so the first
    // initialisation holds for the later voices too.
    static const int rate =
        lib->espeak_Initialize(AUDIO_OUTPUT_SYNCHRONOUS, 0, nullptr, espeakINITIALIZE_DONT_EXIT);
    if (rate <= 0 || lib->espeak_SetVoiceByName("ja") != EE_OK) {
        voiceExists = false;
        return nullptr;
    }
    lib->espeak_SetSynthCallback(&collect);
    return std::unique_ptr<EspeakVoice>(new EspeakVoice(std::move(lib), rate));
}

EspeakVoice::EspeakVoice(std::unique_ptr<const EspeakLibrary> lib, int sampleRate)
    : lib_(std::move(lib)), sampleRate_(sampleRate)
{
}

EspeakVoice::~EspeakVoice()
{
    voiceExists = false;
}

QString EspeakVoice::rawPhonemes(const QString& text)
{
    const QByteArray utf8 = text.toUtf8();
    const void* cursor = utf8.constData();
    QStringList clauses;
    while (cursor) {
        const char* ph = lib_->espeak_TextToPhonemes(&cursor, espeakCHARS_UTF8, 0);
        if (ph && *ph)
            clauses << QString::fromUtf8(ph).trimmed();
    }
    return clauses.join(QLatin1Char(' '));
}

QString EspeakVoice::phonemes(const QString& kana)
{
    QString text = kana;
    text.remove(QLatin1Char('[')).remove(QLatin1Char(']'));
    return fixRyPhonemes(rawPhonemes(text));
}

QString EspeakVoice::prepare(const QString& kana)
{
    // Square brackets would open the synthesiser's phoneme input; announcement texts never
    // mean that.
    QString text = kana;
    text.remove(QLatin1Char('[')).remove(QLatin1Char(']'));

    QString out;
    qsizetype i = 0;
    while (i < text.size()) {
        if (isPause(text[i])) {
            out += text[i++];
            continue;
        }
        qsizetype end = i;
        while (end < text.size() && !isPause(text[end]))
            ++end;
        const QString word = text.mid(i, end - i);
        if (needsPhonemes(word))
            out += QStringLiteral("[[") + fixRyPhonemes(rawPhonemes(word)) + QStringLiteral("]]");
        else
            out += word;
        i = end;
    }
    return out;
}

std::vector<int16_t> EspeakVoice::synthesize(const QString& kana, const SpeechSettings& settings,
                                             const std::function<bool()>& cancelled)
{
    // The shared settings are relative: 100 % is the voice's own 175 words a minute, a half
    // tone is about five of its pitch steps around its middle of 50.
    lib_->espeak_SetParameter(espeakRATE, 175 * settings.rate / 100, 0);
    lib_->espeak_SetParameter(espeakPITCH, std::clamp(50 + 5 * settings.pitch, 0, 100), 0);
    lib_->espeak_SetParameter(espeakVOLUME, settings.volume, 0);

    Sink sink{{}, &cancelled};
    const QByteArray input = prepare(kana).toUtf8();
    lib_->espeak_Synth(input.constData(), std::size_t(input.size()) + 1, 0, POS_CHARACTER, 0,
                 espeakCHARS_UTF8 | espeakPHONEMES, nullptr, &sink);
    if (cancelled && cancelled())
        return {};

    const std::size_t keep = std::size_t(sampleRate_ * kLeadInMs / 1000);
    const std::size_t start = startWithoutQuietLead(sink.samples.data(), sink.samples.size(), kQuietLevel, keep);
    sink.samples.erase(sink.samples.begin(), sink.samples.begin() + std::ptrdiff_t(start));
    return std::move(sink.samples);
}

}  // namespace fareboard
