#include "operation/GtfsImportDialog.h"
#include "operation/RouteTableModel.h"
#include "support/Bytes.h"
#include "support/Fakes.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QThread>

using namespace fareboard;
using namespace fareboard::test;

namespace {

// A feed of three patterns; the import writes one file per chosen pattern and can fail or wait
// for a cancel part-way, as a real one does on a bad line or a large feed.
struct FakeImporter final : FeedImporter {
    enum class Then { Finish, Fail, WaitForCancel };
    Then then = Then::Finish;
    std::atomic<bool> waiting{false};

    struct Listing final : FeedListing {
        FakeImporter& owner;
        explicit Listing(FakeImporter& o) : owner(o) {}
        ImportReport import(const std::vector<int>& numbers, const QString& folder, ImportProgress& progress) override
        {
            progress.stage = ImportProgress::Writing;
            progress.total = qint64(numbers.size());
            for (int n : numbers) {
                writeFile(QDir(folder).filePath(QString::number(n) + QStringLiteral(".hy3")), "fares");
                ++progress.done;
            }
            if (owner.then == Then::Fail)
                throw ImportFault{QStringLiteral("feed.zip/stop_times.txt"), 12, QStringLiteral("stop_id X is not in stops.txt")};
            if (owner.then == Then::WaitForCancel) {
                owner.waiting = true;
                while (!progress.cancelRequested)
                    QThread::msleep(5);
                throw ImportCancelled{};
            }
            return {int(numbers.size()), {QStringLiteral("2.hy3: 26 ticket numbers; the board shows 24")}};
        }
    };

    std::unique_ptr<FeedListing> list(const QString&, ImportProgress&) override
    {
        auto l = std::make_unique<Listing>(*this);
        l->agencyName = QStringLiteral("臨港バス");
        l->validFrom = QDate(2024, 4, 1);
        l->validTo = QDate(2025, 3, 31);
        for (int n : {3, 1, 2}) {
            RouteRow r;
            r.number = n;
            r.shortName = QStringLiteral("川5%1").arg(n);
            r.firstStop = QStringLiteral("川崎駅西口");
            r.lastStop = n == 2 ? QStringLiteral("矢向駅") : QStringLiteral("鶴見駅");
            l->patterns.push_back(r);
        }
        return l;
    }
};

struct DialogRun {
    QTemporaryDir home;
    FakeImporter importer;
    FakeKobuRes library;
    FakeMessageBox messageBox;
    GtfsImportDialog dialog{{importer, library, messageBox, QStringLiteral("fareboard"), home.filePath(QStringLiteral("routes")),
                             [] { return QDate(2026, 12, 9); }}};
    QString target() const { return home.filePath(QStringLiteral("routes/臨港バス")); }

    bool settle() { return QTest::qWaitFor([&] { return !dialog.busy(); }, 5000); }
    void openFeed()
    {
        dialog.openFeed(QStringLiteral("/feeds/rinko.zip"));
        ASSERT_TRUE(settle());
    }
    QStringList leftInRoutes() const
    {
        return QDir(home.filePath(QStringLiteral("routes"))).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot);
    }
};

}  // namespace

TEST(GtfsImportDialog, ShowsTheFeedAndImportsTheChosenPatternsIntoTheOperatorsFolder)
{
    DialogRun run;
    run.openFeed();
    EXPECT_EQ(run.dialog.operatorLabel()->text(), QStringLiteral("事業者：臨港バス"));
    // An ended feed is said so, and still imports.
    EXPECT_TRUE(run.dialog.validityLabel()->text().contains(QStringLiteral("2025年03月31日")));
    EXPECT_TRUE(run.dialog.validityLabel()->text().contains(QStringLiteral("終わっています")));
    EXPECT_TRUE(run.dialog.importButton()->isEnabled());
    EXPECT_EQ(run.dialog.model()->index(0, RouteTableModel::Number).data().toString(), QStringLiteral("1"));

    // A filter, then "すべて解除" clears only the patterns shown.
    run.dialog.filter()->setText(QStringLiteral("矢向"));
    run.dialog.findChild<QPushButton*>(QStringLiteral("cmdCheckNone"))->click();
    EXPECT_EQ(run.dialog.model()->checkedNumbers(), (std::vector<int>{1, 3}));

    // An earlier import of the operator has a route this one leaves out.
    QDir().mkpath(run.target());
    writeFile(run.target() + QStringLiteral("/2.hy3"), "old");
    QSignalSpy imported(&run.dialog, &GtfsImportDialog::imported);
    run.dialog.importButton()->click();
    ASSERT_TRUE(run.settle());
    ASSERT_EQ(imported.size(), 1);
    EXPECT_EQ(imported[0][0].toString(), run.target() + QLatin1Char('/'));
    EXPECT_EQ(QDir(run.target()).entryList(QDir::Files), (QStringList{QStringLiteral("1.hy3"), QStringLiteral("3.hy3")}));
    EXPECT_EQ(run.leftInRoutes(), QStringList{QStringLiteral("臨港バス")});
    // The warnings stay on the window after the import.
    ASSERT_TRUE(run.dialog.warnings()->isVisibleTo(&run.dialog));
    EXPECT_EQ(run.dialog.warnings()->item(1)->text(), QStringLiteral("2.hy3: 26 ticket numbers; the board shows 24"));
    EXPECT_TRUE(run.messageBox.shown.empty());

    EXPECT_TRUE(GtfsImportDialog::validityText(QDate(2027, 1, 1), QDate(), QDate(2026, 12, 9)).contains(QStringLiteral("前です")));
    EXPECT_EQ(GtfsImportDialog::validityText(QDate(), QDate(), QDate(2026, 12, 9)), QStringLiteral("有効期間：フィードに記載がありません"));
}

TEST(GtfsImportDialog, AFaultOrACancelLeavesTheEarlierImportAsItWas)
{
    DialogRun run;
    QDir().mkpath(run.target());
    writeFile(run.target() + QStringLiteral("/9.hy3"), "kept");
    run.openFeed();

    run.importer.then = FakeImporter::Then::Fail;
    run.dialog.importButton()->click();
    ASSERT_TRUE(run.settle());
    ASSERT_EQ(run.messageBox.shown.size(), 1u);
    EXPECT_TRUE(run.messageBox.shown[0].text.contains(QStringLiteral("feed.zip/stop_times.txt:12: stop_id X is not in stops.txt")));
    EXPECT_EQ(run.messageBox.shown[0].icon, MessageBox::Icon::Critical);
    EXPECT_EQ(QDir(run.target()).entryList(QDir::Files), QStringList{QStringLiteral("9.hy3")});
    EXPECT_EQ(run.leftInRoutes(), QStringList{QStringLiteral("臨港バス")});

    run.importer.then = FakeImporter::Then::WaitForCancel;
    run.dialog.importButton()->click();
    ASSERT_TRUE(QTest::qWaitFor([&] { return run.importer.waiting.load(); }, 5000));
    EXPECT_TRUE(run.dialog.cancelButton()->isEnabled());
    EXPECT_FALSE(run.dialog.importButton()->isEnabled());
    run.dialog.cancelButton()->click();
    ASSERT_TRUE(run.settle());
    EXPECT_EQ(QDir(run.target()).entryList(QDir::Files), QStringList{QStringLiteral("9.hy3")});
    EXPECT_EQ(run.leftInRoutes(), QStringList{QStringLiteral("臨港バス")});
    EXPECT_EQ(run.messageBox.shown.size(), 1u);
}
