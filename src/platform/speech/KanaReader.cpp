#include "KanaReader.h"

#include "reading/JapaneseNumbers.h"
#include "reading/KeParticle.h"
#include "reading/ReadingsFile.h"
#include "MecabLibrary.h"

#include <QByteArray>
#include <QFileInfo>
#include <QList>

#include <string>
#include <vector>

namespace fareboard {
namespace {

// The UTF-8 build of the stock dictionary; the shipped user dictionary is compiled for it.
const char* const kSystemDictionary = "/var/lib/mecab/dic/ipadic-utf8";

MeCab::Tagger* makeTagger(MecabLibrary::CreateTagger createTagger, const QString& userDictionary)
{
    std::vector<std::string> args{"fareboard"};
    if (QFileInfo(QString::fromLatin1(kSystemDictionary)).isDir()) {
        args.push_back("-d");
        args.push_back(kSystemDictionary);
    }
    if (!userDictionary.isEmpty()) {
        args.push_back("-u");
        args.push_back(QFileInfo(userDictionary).absoluteFilePath().toStdString());
    }
    std::vector<char*> argv;
    for (std::string& a : args)
        argv.push_back(a.data());
    return createTagger(int(argv.size()), argv.data());
}

// Feature field 8 of the dictionary is the pronunciation; unknown words have none.
QString pronunciation(const char* feature)
{
    const QList<QByteArray> fields = QByteArray(feature).split(',');
    if (fields.size() < 9 || fields[8] == "*" || fields[8].isEmpty())
        return QString();
    return QString::fromUtf8(fields[8]);
}

// Variant kanji of names (髙島屋, 山﨑) that the stock dictionary only knows in the common form.
QString withCommonKanji(QString text)
{
    static const std::pair<char16_t, char16_t> variants[] = {
        {u'髙', u'高'}, {u'﨑', u'崎'}, {u'濵', u'浜'}, {u'瀨', u'瀬'}, {u'德', u'徳'}, {u'邉', u'辺'}, {u'邊', u'辺'},
    };
    for (const auto& [variant, common] : variants)
        text.replace(QChar(variant), QChar(common));
    return text;
}

struct Token {
    bool spaceBefore;
    QString surface;
    QString spoken;
};

// Collected first: reading an unknown word asks the analyser again, which reuses the node
// list of this parse.
std::vector<Token> tokensOf(MeCab::Tagger& tagger, const QString& text)
{
    const QByteArray utf8 = text.toUtf8();
    std::vector<Token> tokens;
    for (const MeCab::Node* node = tagger.parseToNode(utf8.constData()); node; node = node->next) {
        if (node->stat == MECAB_BOS_NODE || node->stat == MECAB_EOS_NODE)
            continue;
        tokens.push_back({node->rlength > node->length, QString::fromUtf8(node->surface, node->length),
                          pronunciation(node->feature)});
    }
    return tokens;
}

bool hasKanji(const QString& text)
{
    for (QChar c : text) {
        if (isKanji(c))
            return true;
    }
    return false;
}

}  // namespace

const char* KanaReader::defaultSoname()
{
    return MecabLibrary::kSoname;
}

std::unique_ptr<KanaReader> KanaReader::create(const QString& userDictionary, const char* soname)
{
    const MecabLibrary::CreateTagger createTagger = MecabLibrary::open(soname);
    if (!createTagger)
        return nullptr;
    const bool withUser = !userDictionary.isEmpty() && QFileInfo(userDictionary).isFile();
    MeCab::Tagger* tagger = makeTagger(createTagger, withUser ? userDictionary : QString());
    if (!tagger && withUser)
        tagger = makeTagger(createTagger, QString());
    if (!tagger)
        return nullptr;
    return std::unique_ptr<KanaReader>(new KanaReader(tagger, withUser));
}

KanaReader::KanaReader(MeCab::Tagger* tagger, bool withUserDictionary)
    : tagger_(tagger), withUserDictionary_(withUserDictionary)
{
}

KanaReader::~KanaReader() = default;

QString KanaReader::read(const QString& text) const
{
    // Full-width digits and letters and half-width kana become their plain forms first.
    const QString prepared = spellOutNumbers(withCommonKanji(text.normalized(QString::NormalizationForm_KC)));
    std::vector<Token> tokens = tokensOf(*tagger_, prepared);
    if (mayHaveKeParticle(prepared)) {
        QStringList words;
        for (const Token& token : tokens)
            words << token.surface;
        if (const QString withGa = withKeReadAsGa(prepared, words); withGa != prepared)
            tokens = tokensOf(*tagger_, withGa);
    }

    QString out;
    for (const Token& token : tokens) {
        // A space in the text is a pause the writer meant; the analyser skips it.
        if (token.spaceBefore && !out.isEmpty())
            out += QLatin1Char(' ');
        if (!token.spoken.isEmpty())
            out += token.spoken;
        else if (hasKanji(token.surface))
            out += readWord(token.surface);
        else
            out += token.surface;
    }
    return out;
}

QString KanaReader::readWord(const QString& surface) const
{
    // A kanji word the dictionary does not know: read its characters one by one. A character
    // that still has no reading is kept, so the voice says something rather than skip it.
    QString out;
    for (QChar c : surface) {
        if (!isKanji(c) || c.isSurrogate()) {
            out += c;
            continue;
        }
        const QByteArray one = QString(c).toUtf8();
        QString reading;
        for (const MeCab::Node* node = tagger_->parseToNode(one.constData()); node; node = node->next) {
            if (node->stat == MECAB_BOS_NODE || node->stat == MECAB_EOS_NODE)
                continue;
            reading += pronunciation(node->feature);
        }
        out += reading.isEmpty() ? QString(c) : reading;
    }
    return out;
}

}  // namespace fareboard
