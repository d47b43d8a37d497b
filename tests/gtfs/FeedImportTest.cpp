#include "gtfs/FeedImport.h"
#include "gtfs/InputError.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QTemporaryDir>

using namespace fareboard::datatool;
using namespace fareboard::datatool::gtfs;

namespace {

const QString kSample = QStringLiteral(FAREBOARD_GTFS_SAMPLE);

}  // namespace

TEST(FeedImport, ReportsEachStageToItsEndAndWritesOnlyThePatternsChosen)
{
    std::map<ImportControl::Stage, std::pair<qint64, qint64>> last;
    int calls = 0;
    ImportControl control;
    control.progress = [&](ImportControl::Stage stage, qint64 done, qint64 total) {
        ++calls;
        EXPECT_LE(done, total);
        last[stage] = {done, total};
    };
    const FeedImport import(kSample, {}, control);
    EXPECT_GT(calls, 3);
    ASSERT_TRUE(last.count(ImportControl::Stage::Reading));
    EXPECT_GT(last[ImportControl::Stage::Reading].second, 10000);
    EXPECT_EQ(last[ImportControl::Stage::Reading].first, last[ImportControl::Stage::Reading].second);
    EXPECT_EQ(last[ImportControl::Stage::Converting].first, last[ImportControl::Stage::Converting].second);

    // The sample's feed_info leaves its dates empty; its calendar runs through April 2017.
    const FeedInfo info = import.readInfo();
    EXPECT_EQ(info.agencyName, QStringLiteral("臨港バス"));
    EXPECT_EQ(info.validFrom, QDate(2017, 4, 1));
    EXPECT_EQ(info.validTo, QDate(2017, 4, 30));
    EXPECT_TRUE(info.fromCalendar);

    QTemporaryDir out;
    const FeedImport::Written written = import.write(out.path(), {2}, control);
    EXPECT_EQ(written.imported, 1);
    EXPECT_EQ(QDir(out.path()).entryList(QDir::Files),
              (QStringList{"2.hy3", "2times.csv", "2tp.csv", "readings.csv", "routes.csv"}));
    EXPECT_EQ(last[ImportControl::Stage::Writing].first, last[ImportControl::Stage::Writing].second);
    // A number the feed has no importable pattern for writes nothing at all.
    QTemporaryDir none;
    EXPECT_THROW(import.write(none.path(), {99}), InputError);
    EXPECT_TRUE(QDir(none.path()).isEmpty());
}

TEST(FeedImport, ACancelStopsReadingOrWritingAndLeavesTheFolderAsItWas)
{
    bool cancel = false;
    ImportControl control;
    control.cancelled = [&] { return cancel; };
    control.progress = [&](ImportControl::Stage, qint64, qint64) { cancel = true; };
    EXPECT_THROW(FeedImport(kSample, {}, control), ImportCancelled);

    const FeedImport import(kSample, {});
    QTemporaryDir out;
    cancel = false;
    EXPECT_THROW(import.write(out.path(), {}, control), ImportCancelled);
    EXPECT_TRUE(QDir(out.path()).isEmpty());
}

TEST(FeedImport, AListingListsWhatTheImportWritesAndCannotWrite)
{
    const FeedImport full(kSample, {});
    const FeedImport listed(kSample, {}, {}, FeedImport::Purpose::ListOnly);
    ASSERT_EQ(listed.patterns().size(), full.patterns().size());
    for (std::size_t i = 0; i < full.patterns().size(); ++i)
        EXPECT_EQ(listed.listRow(listed.patterns()[i]), full.listRow(full.patterns()[i]));
    EXPECT_EQ(full.listRow(full.patterns().front()).value(6), QStringLiteral("川崎駅西口"));

    QTemporaryDir out;
    EXPECT_THROW(listed.write(out.path()), InputError);
    EXPECT_TRUE(QDir(out.path()).isEmpty());
}
