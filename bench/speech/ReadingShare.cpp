// How many real stop names the voice reads as their operators publish them, with no readings
// file: the path of 'fareboard-data say' (built-in bus words, then the place names, then Open
// JTalk's pronunciation), judged by sameReading. Measured before the gazetteer (bus words only),
// with it, with its file absent (the name endings alone), with the towns of each group's
// region (told by the group's names, as a route's tape tells it), and with the rules they were
// chosen against; then what loading the gazetteer and the town list and a first look-up cost.
//
// Usage: speech_reading_share [stop-names.csv] [--gazetteer FILE] [--misses]
//   held-out-names.csv beside stop-names.csv holds names of other places, kept apart to check
//   that a rule chosen on the first list reads names it was not chosen on as well.
#include "platform/speech/OpenJTalkVoice.h"
#include "reading/SpokenText.h"
#include "platform/speech/VoicePlaceNames.h"
#include "reading/GazetteerFile.h"
#include "reading/TownListFile.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QHash>

#include <malloc.h>

#include <atomic>
#include <cstdio>
#include <functional>
#include <map>
#include <mutex>
#include <thread>
#include <vector>

using namespace fareboard;

namespace {

struct StopName {
    QString written;
    QString reading;
    QString group;
};

std::vector<StopName> readList(const QString& path)
{
    std::vector<StopName> names;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return names;
    for (const QByteArray& raw : file.readAll().split('\n')) {
        const QString line = QString::fromUtf8(raw).trimmed();
        if (line.isEmpty() || line.startsWith(u'#'))
            continue;
        const QStringList fields = line.split(u',');
        if (fields.size() == 3)
            names.push_back({fields[0], fields[1], fields[2]});
    }
    return names;
}

// Open JTalk's pronunciation, asked once per text: the configurations share most texts.
class Pronouncer final : public Voice {
public:
    explicit Pronouncer(OpenJTalkVoice& voice) : voice_(voice) {}
    int sampleRate() const override { return voice_.sampleRate(); }
    std::vector<int16_t> synthesize(const QString&, const SpeechSettings&, bool, const std::function<bool()>&) override
    {
        return {};
    }
    QString pronounce(const QString& text) override
    {
        {
            std::lock_guard lock(mutex_);
            if (const auto hit = said_.constFind(text); hit != said_.constEnd())
                return *hit;
        }
        const QString said = voice_.pronounce(text);
        std::lock_guard lock(mutex_);
        said_.insert(text, said);
        return said;
    }

private:
    OpenJTalkVoice& voice_;
    std::mutex mutex_;
    QHash<QString, QString> said_;
};

// Two at a time: Open JTalk is a process per text.
using Prepare = std::function<QString(const QString& text, const RegionTowns* towns)>;

std::vector<bool> readRight(const std::vector<StopName>& names, Pronouncer& voice, const Prepare& prepare,
                            const std::map<QString, RegionTowns>* regions, std::vector<QString>* heard)
{
    std::vector<bool> right(names.size());
    heard->assign(names.size(), QString());
    std::atomic<std::size_t> next{0};
    auto work = [&] {
        for (std::size_t i = next++; i < names.size(); i = next++) {
            const RegionTowns* towns = regions ? &regions->at(names[i].group) : nullptr;
            (*heard)[i] = voice.pronounce(prepare(spokenText(names[i].written, ReadingTable()), towns));
            right[i] = sameReading((*heard)[i], names[i].reading);
        }
    };
    std::thread helper(work);
    work();
    helper.join();
    return right;
}

void report(const char* label, const std::vector<StopName>& names, const std::vector<bool>& right)
{
    std::map<QString, std::pair<int, int>> byGroup;
    int total = 0;
    for (std::size_t i = 0; i < names.size(); ++i) {
        auto& [ok, all] = byGroup[names[i].group];
        ok += right[i];
        ++all;
        total += right[i];
    }
    std::printf("%-44s %3d/%zu  %5.1f %%  ", label, total, names.size(), 100.0 * total / double(names.size()));
    for (const auto& [group, counts] : byGroup)
        std::printf(" %s %d/%d", qPrintable(group), counts.first, counts.second);
    std::printf("\n");
}

long residentKb()
{
    QFile statm(QStringLiteral("/proc/self/statm"));
    if (!statm.open(QIODevice::ReadOnly))
        return 0;
    const QList<QByteArray> fields = statm.readAll().split(' ');
    return fields.size() > 1 ? fields[1].toLong() * 4 : 0;
}

}  // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    QString listPath = QStringLiteral(FAREBOARD_STOP_NAMES);
    QString gazetteerPath = GazetteerFile::installedPath();
    QString townsPath = QStringLiteral(FAREBOARD_TOWN_LIST);
    bool misses = false;
    const QStringList args = app.arguments().mid(1);
    for (qsizetype i = 0; i < args.size(); ++i) {
        if (args[i] == QLatin1String("--gazetteer") && i + 1 < args.size())
            gazetteerPath = args[++i];
        else if (args[i] == QLatin1String("--towns") && i + 1 < args.size())
            townsPath = args[++i];
        else if (args[i] == QLatin1String("--misses"))
            misses = true;
        else
            listPath = args[i];
    }
    const std::vector<StopName> names = readList(listPath);
    const OpenJTalkFiles files = OpenJTalkFiles::installed();
    if (names.empty() || !files.complete()) {
        std::fprintf(stderr, "speech_reading_share: needs %s and Open JTalk installed\n", qPrintable(listPath));
        return 1;
    }
    OpenJTalkVoice openJTalk(files);
    Pronouncer voice(openJTalk);

    // What the gazetteer costs, on this thread as on the speech worker: the file read and
    // indexed, then one name looked up, then every other.
    QStringList spoken;
    for (const StopName& n : names)
        spoken << spokenText(n.written, ReadingTable());
    const GazetteerFile gazetteer(gazetteerPath);
    const long before = residentKb();
    QElapsedTimer clock;
    clock.start();
    const Gazetteer& index = gazetteer.index();
    const double loadMs = double(clock.nsecsElapsed()) / 1e6;
    const long after = residentKb();
    clock.restart();
    (void)placePieces(spoken.front(), index);
    const double firstUs = double(clock.nsecsElapsed()) / 1e3;
    clock.restart();
    for (const QString& text : spoken)
        (void)placePieces(text, index);
    const double eachUs = double(clock.nsecsElapsed()) / 1e3 / double(names.size());
    std::printf("gazetteer %s: %zu readings, loaded in %.0f ms, %+ld kB resident; first look-up %.0f µs, then %.1f µs a name\n\n",
                qPrintable(gazetteerPath), index.size(), loadMs, after - before, firstUs, eachUs);

    // The town list the same way, then each group's region from its names.
    const TownListFile towns(townsPath);
    const long beforeTowns = residentKb();
    clock.restart();
    const TownList& list = towns.index();
    const double townsMs = double(clock.nsecsElapsed()) / 1e6;
    const long afterTowns = residentKb();
    // What reading the file left in malloc's free lists, given back, leaves what the list holds.
    malloc_trim(0);
    const long heldTowns = residentKb();
    std::map<QString, QStringList> groupNames;
    for (const StopName& n : names)
        groupNames[n.group] << n.written;
    std::map<QString, RegionTowns> regions;
    double regionMs = 0;
    for (const auto& [group, written] : groupNames) {
        clock.restart();
        const Region region = list.regionOf(written);
        regions[group] = list.townsOf(region);
        regionMs = std::max(regionMs, double(clock.nsecsElapsed()) / 1e6);
        QStringList cities;
        for (int city : region.cities)
            cities << list.cityName(city);
        std::printf("  region of %s (%lld names): %s\n", qPrintable(group), qlonglong(written.size()),
                    region.isEmpty() ? "none" : qPrintable(cities.join(QStringLiteral("、"))));
    }
    clock.restart();
    for (const StopName& n : names)
        (void)placePieces(spokenText(n.written, ReadingTable()), index, &regions.at(n.group));
    const double regionEachUs = double(clock.nsecsElapsed()) / 1e3 / double(names.size());
    std::printf("town list %s: %zu towns, loaded in %.0f ms, %+ld kB resident (%+ld kB held); a region and its towns "
                "at most %.0f ms; then %.1f µs a name with the gazetteer\n\n",
                qPrintable(townsPath), list.size(), townsMs, afterTowns - beforeTowns, heldTowns - beforeTowns, regionMs,
                regionEachUs);

    const GazetteerFile absent(gazetteerPath + QStringLiteral(".absent"));
    const VoiceReadings voiceSays = voiceReadingsOf(voice);
    auto withRule = [&](const Gazetteer& g, PlaceRule rule) {
        return [&g, &voiceSays, rule](const QString& text, const RegionTowns* here) {
            return withPlaceReadings(text, g, voiceSays, rule, here);
        };
    };
    struct Run {
        const char* label;
        Prepare prepare;
        bool region = true;
    };
    PlaceRule gazetteerFirst;
    gazetteerFirst.keepVoiceWhenItAgrees = false;
    PlaceRule townAsChosen;
    townAsChosen.townEnding.clear();
    PlaceRule townAsMachi;
    townAsMachi.townEnding = QStringLiteral("マチ");
    PlaceRule nearest;
    nearest.mostPlaces = false;
    nearest.outnumbered = 0;
    nearest.townEnding.clear();
    PlaceRule outnumbered0, outnumbered2, outnumbered3;
    outnumbered0.outnumbered = 0;
    outnumbered2.outnumbered = 2;
    outnumbered3.outnumbered = 3;
    const std::vector<Run> runs = {
        {"before: bus words only", [](const QString& t, const RegionTowns*) { return t; }, false},
        {"gazetteer absent: name endings only", withRule(absent.index(), PlaceRule()), false},
        {"gazetteer + endings, no town list", withRule(index, PlaceRule()), false},
        {"region's towns + gazetteer (the rule used)", withRule(index, PlaceRule())},
        {"region's towns, gazetteer absent", withRule(absent.index(), PlaceRule())},
        {"  rule: nearest to the voice (the first rule)", withRule(index, nearest)},
        {"  rule: the voice's never outnumbered", withRule(index, outnumbered0)},
        {"  rule: voice outnumbered 2 times", withRule(index, outnumbered2)},
        {"  rule: voice outnumbered 3 times", withRule(index, outnumbered3)},
        {"  rule: the gazetteer over the voice", withRule(index, gazetteerFirst)},
        {"  rule: 町 left to the rules above", withRule(index, townAsChosen)},
        {"  rule: 町 read まち where both", withRule(index, townAsMachi)},
    };
    std::vector<QString> heard;
    for (const Run& run : runs) {
        const std::vector<bool> right = readRight(names, voice, run.prepare, run.region ? &regions : nullptr, &heard);
        report(run.label, names, right);
        if (misses && run.label == runs[3].label) {
            for (std::size_t i = 0; i < names.size(); ++i) {
                if (!right[i])
                    std::printf("    %s %s → %s\n", qPrintable(names[i].written), qPrintable(names[i].reading),
                                qPrintable(heard[i]));
            }
        }
    }
    return 0;
}
