#include "console/DataIo.h"
#include "platform/AppError.h"
#include "support/Bytes.h"
#include "support/Fakes.h"
#include "support/SampleFiles.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QTemporaryDir>

using namespace fareboard;
using namespace fareboard::test;

namespace {

class LoadFareData : public ::testing::Test {
protected:
    QTemporaryDir dir;
    FakeMessageBox box;
    DataIo io;

    QString folder() const { return dir.path() + QLatin1Char('/'); }
    void put(const QString& name, const QByteArray& bytes) { writeFile(dir.filePath(name), bytes); }
    bool load(const QString& key, int section)
    {
        io.Route.SectionNo = static_cast<int16_t>(section);
        return io.LoadFareData(folder(), key, box, QStringLiteral("fareboard"));
    }
    QString lastMessage() const { return box.shown.empty() ? QString() : box.shown.back().text; }

    // Loads a known three-row route so that a later failure has something to keep.
    void loadPreviousRoute()
    {
        put(QStringLiteral("9.hy3"), fareFileBytes(3, numberedRows(3)));
        ASSERT_TRUE(load(QStringLiteral("9"), 2));
        box.shown.clear();
    }
    void expectPreviousRouteIntact()
    {
        EXPECT_EQ(io.Route.RowCount, 3);
        EXPECT_EQ(io.Route.StopIndex, 1);
        EXPECT_EQ(io.Table.row(3).StopName, QStringLiteral("S3"));
        EXPECT_EQ(io.Table.row(3).value(24), 54);
        EXPECT_TRUE(io.Table.row(4).StopName.isEmpty());
    }
};

}  // namespace

TEST_F(LoadFareData, SectionIsAcceptedOnlyUpToOneBelowTheCount)
{
    put(QStringLiteral("12.hy3"), fareFileBytes(5, numberedRows(5)));
    for (int section = 1; section <= 4; ++section) {
        EXPECT_TRUE(load(QStringLiteral("12"), section)) << section;
        EXPECT_EQ(io.Route.StopIndex, section - 1);
        EXPECT_EQ(io.Route.RowCount, 5);
    }
    EXPECT_TRUE(box.shown.empty());

    EXPECT_FALSE(load(QStringLiteral("12"), 5));
    ASSERT_EQ(box.shown.size(), 1u);
    EXPECT_EQ(box.shown[0].text,
              QStringLiteral("指定した区間はデータの数よりも多いです...\r\n  解決法：正しい区間を入力して下さい."));
    EXPECT_EQ(box.shown[0].title, QStringLiteral("fareboard"));
    EXPECT_EQ(box.shown[0].buttons, MessageBox::Buttons::Ok);
}

TEST_F(LoadFareData, RowsAreReadFieldByFieldWithShiftJisNames)
{
    // An empty name makes a 304-byte record; the next record must start right after it.
    SampleRow empty{QByteArray(), 3, {120, -1, 0, 32767}};
    SampleRow named{QByteArray("\x8E\x73\x96\xF0\x8F\x8A\x91\x4F", 8), 5, {-32768, 230}};  // 市役所前
    put(QStringLiteral("7.hy3"), fareFileBytes(3, {empty, named, {QByteArray("X"), 9, {}}}));
    ASSERT_TRUE(load(QStringLiteral("7"), 1));

    EXPECT_EQ(io.Table.row(1).StopName, QString());
    EXPECT_EQ(io.Table.row(1).TicketNo, 3);
    EXPECT_EQ(io.Table.row(1).value(1), 120);
    EXPECT_EQ(io.Table.row(1).value(2), -1);
    EXPECT_EQ(io.Table.row(1).value(4), 32767);
    EXPECT_EQ(io.Table.row(2).StopName, QStringLiteral("市役所前"));
    EXPECT_EQ(io.Table.row(2).TicketNo, 5);
    EXPECT_EQ(io.Table.row(2).value(1), -32768);
    EXPECT_EQ(io.Table.row(2).value(2), 230);
    EXPECT_EQ(io.Table.row(3).StopName, QStringLiteral("X"));
    EXPECT_EQ(io.Table.row(3).TicketNo, 9);
}

TEST_F(LoadFareData, FullTableOf301RowsLoadsAnd302IsRefusedKeepingThePreviousRoute)
{
    put(QStringLiteral("301.hy3"), fareFileBytes(301, numberedRows(301)));
    ASSERT_TRUE(load(QStringLiteral("301"), 300));
    EXPECT_EQ(io.Route.RowCount, 301);
    EXPECT_EQ(io.Table.row(301).StopName, QStringLiteral("S301"));
    EXPECT_EQ(io.Table.row(301).value(150), 3160);
    EXPECT_EQ(io.Table.row(1).value(1), 11);

    loadPreviousRoute();
    put(QStringLiteral("302.hy3"), fareFileBytes(302, numberedRows(302)));
    EXPECT_FALSE(load(QStringLiteral("302"), 1));
    EXPECT_EQ(lastMessage(), describeError(ErrorNumber::SubscriptOutOfRange));
    io.Route.SectionNo = 2;
    expectPreviousRouteIntact();
}

TEST_F(LoadFareData, EveryFailureShowsItsMessageAndLeavesThePreviousRouteWhole)
{
    loadPreviousRoute();
    struct Case {
        const char* key;
        QByteArray bytes;  // empty: no file at all
        int section;
        QString message;
    };
    const std::vector<Case> cases = {
        {"40", {}, 1, QStringLiteral("指定した系統のデータがありません...")},
        {"41", fareFileBytes(0, {}), 1, QStringLiteral("指定した系統はデータの数が0(未登録)の可能性があります...")},
        {"42", fareFileBytes(-3, {}), 1, FareMessages::SectionTooLarge},
        {"43", fareFileBytes(4, numberedRows(4)), 4, FareMessages::SectionTooLarge},
        // The file ends inside its third record.
        {"44", fareFileBytes(4, numberedRows(4)).left(2 + 2 * 306 + 100), 1,
         describeError(ErrorNumber::InputPastEndOfFile)},
        {"45", QByteArray("\x01", 1), 1, describeError(ErrorNumber::InputPastEndOfFile)},
    };
    for (const Case& c : cases) {
        if (!c.bytes.isEmpty())
            put(QString::fromLatin1(c.key) + QStringLiteral(".hy3"), c.bytes);
        box.shown.clear();
        EXPECT_FALSE(load(QString::fromLatin1(c.key), c.section)) << c.key;
        ASSERT_EQ(box.shown.size(), 1u) << c.key;
        EXPECT_EQ(box.shown[0].text, c.message) << c.key;
        expectPreviousRouteIntact();
    }
}

TEST_F(LoadFareData, MissingFolderReportsTheHostsDescription)
{
    io.Route.SectionNo = 1;
    EXPECT_FALSE(io.LoadFareData(dir.filePath(QStringLiteral("nowhere/")), QStringLiteral("1"), box,
                                 QStringLiteral("t")));
    EXPECT_EQ(lastMessage(), describeError(ErrorNumber::PathNotFound));
}

TEST_F(LoadFareData, FileNamedInAnotherLetterCaseIsFound)
{
    put(QStringLiteral("12.HY3"), fareFileBytes(2, numberedRows(2)));
    EXPECT_TRUE(load(QStringLiteral("12"), 1));
    EXPECT_EQ(io.Table.row(2).StopName, QStringLiteral("S2"));
}

TEST_F(LoadFareData, BytesAfterTheLastRecordAreIgnored)
{
    put(QStringLiteral("3.hy3"), fareFileBytes(2, numberedRows(3)) + QByteArray(1000, '\xFF'));
    ASSERT_TRUE(load(QStringLiteral("3"), 1));
    EXPECT_EQ(io.Route.RowCount, 2);
    EXPECT_TRUE(io.Table.row(3).StopName.isEmpty());
}
