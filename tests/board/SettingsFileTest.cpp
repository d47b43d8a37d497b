#include "board/SettingsFile.h"
#include "board/mdlIniIo.h"
#include "platform/AppError.h"
#include "support/Bytes.h"
#include "support/SampleFiles.h"

#include "support/ErrorOf.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <random>

using namespace fareboard;
using namespace fareboard::test;

namespace {


// Bytes of a file whose strings are all empty and whose integers are all zero, laid out by hand.
QByteArray emptySettingsBytes()
{
    Bytes b;
    b.i2(0).i2(0);                                   // two folders
    b.zeros(2 + 12 + 2 + 2 + 16).i2(0).i2(0).i2(0);  // panel and its three pictures
    b.zeros(32 + 12);                                // digits, stop name
    b.i2(0).i2(0).zeros(8).i2(0).zeros(2).i2(0).i2(0).i2(0).zeros(8).i2(0).i2(0).i2(0).i2(0);  // sounds
    b.zeros(2).i2(0).zeros(6).i2(0);                 // ticket preview
    b.zeros(22 + 8 + 68);                            // console, board, custom colours
    b.i2(24).zeros(144);
    return b.data();
}

}  // namespace

TEST(SettingsFile, EmptyStringsTakeTwoBytesAndTheWholeFileHasTheFixedSize)
{
    const QByteArray bytes = emptySettingsBytes();
    ASSERT_EQ(bytes.size(), 382);
    const SettingsStore s = SettingsFile::decode(bytes);
    EXPECT_TRUE(s.DataDir.FareDataDir.isEmpty());
    EXPECT_TRUE(s.Sound.SoundFile6.isEmpty());
    EXPECT_TRUE(s.SeiriPrev.FixedDate.isEmpty());
    EXPECT_EQ(SettingsFile::encode(s), bytes);
    EXPECT_EQ(SettingsFile::encode(SettingsStore{}), bytes);
}

TEST(SettingsFile, EveryFieldIsReadFromItsOwnPlace)
{
    const QByteArray bytes = distinctSettingsBytes();
    const SettingsStore s = SettingsFile::decode(bytes);

    EXPECT_EQ(s.DataDir.FareDataDir, QStringLiteral("s1"));
    EXPECT_EQ(s.DataDir.TapeDataDir, QStringLiteral("s2"));
    EXPECT_EQ(s.Panel.AutoSeiriNum, 1);
    EXPECT_EQ(s.Panel.PanelColor0, 0x10002);
    EXPECT_EQ(s.Panel.PanelColor2, 0x10004);
    EXPECT_EQ(s.Panel.PanelListIndex, 5);
    EXPECT_EQ(s.Panel.SeiriNumZeroPad, 6);
    // The panel options are stored in the order 0, 1, 7, 6, 3, 2, 4, 5.
    EXPECT_EQ(s.Panel.PanelOpt0, 7);
    EXPECT_EQ(s.Panel.PanelOpt1, 8);
    EXPECT_EQ(s.Panel.PanelOpt7, 9);
    EXPECT_EQ(s.Panel.PanelOpt6, 10);
    EXPECT_EQ(s.Panel.PanelOpt3, 11);
    EXPECT_EQ(s.Panel.PanelOpt2, 12);
    EXPECT_EQ(s.Panel.PanelOpt4, 13);
    EXPECT_EQ(s.Panel.PanelOpt5, 14);
    EXPECT_EQ(s.Panel.UserPanelFile0, QStringLiteral("s3"));
    EXPECT_EQ(s.Panel.UserPanelFile2, QStringLiteral("s5"));
    EXPECT_EQ(s.Degit.DegitBackColor, 0x1000F);
    EXPECT_EQ(s.Degit.DegitForeColor, 0x10011);
    EXPECT_EQ(s.Degit.InfoDigitFlag0, 18);
    EXPECT_EQ(s.Degit.InfoDigitCol0, 19);
    EXPECT_EQ(s.Degit.InfoDigitFlag4, 20);
    EXPECT_EQ(s.Degit.InfoDigitCol4, 26);
    EXPECT_EQ(s.Degit.InfoDigitCol3, 27);
    EXPECT_EQ(s.Chimei.ChimeiBackColor, 0x1001C);
    EXPECT_EQ(s.Chimei.ChimeiForeColor, 0x1001D);
    EXPECT_EQ(s.Chimei.ChimeiListIndex, 30);
    EXPECT_EQ(s.Chimei.ChimeiBold, 31);
    EXPECT_EQ(s.Sound.SoundFile0, QStringLiteral("s6"));
    EXPECT_EQ(s.Sound.SoundFile1, QStringLiteral("s7"));
    EXPECT_EQ(s.Sound.FareSoundMode0, 32);
    EXPECT_EQ(s.Sound.FarePlaySync1, 35);
    EXPECT_EQ(s.Sound.SoundFile7, QStringLiteral("s8"));
    EXPECT_EQ(s.Sound.SoundListIndex, 36);
    EXPECT_EQ(s.Sound.SoundFile8, QStringLiteral("s9"));
    EXPECT_EQ(s.Sound.SoundFile10, QStringLiteral("s11"));
    EXPECT_EQ(s.Sound.TapeSoundMode2, 37);
    EXPECT_EQ(s.Sound.TapePlaySync1, 40);
    EXPECT_EQ(s.Sound.SoundFile3, QStringLiteral("s12"));
    EXPECT_EQ(s.Sound.SoundFile6, QStringLiteral("s15"));
    EXPECT_EQ(s.SeiriPrev.UseSeiriPrev, 41);
    EXPECT_EQ(s.SeiriPrev.SeiriPlgDir, QStringLiteral("s16"));
    EXPECT_EQ(s.SeiriPrev.DateMode0, 42);
    EXPECT_EQ(s.SeiriPrev.DateMode2, 44);
    EXPECT_EQ(s.SeiriPrev.FixedDate, QStringLiteral("s17"));
    EXPECT_EQ(s.Ctl.CtlFrontPanel, 45);
    EXPECT_EQ(s.Ctl.CtlScroll0, 0x1002E);
    EXPECT_EQ(s.Ctl.CtlScroll1, 0x1002F);
    EXPECT_EQ(s.Ctl.LateNightFare, 48);
    EXPECT_EQ(s.Ctl.PreviewOpen, 49);
    EXPECT_EQ(s.Ctl.CtlLeft, 0x10032);
    EXPECT_EQ(s.Ctl.CtlTop, 0x10033);
    EXPECT_EQ(s.Board.BoardLeft, 0x10034);
    EXPECT_EQ(s.Board.BoardTop, 0x10035);
    EXPECT_EQ(s.CustomColors[0], 0x10036);
    EXPECT_EQ(s.CustomColors[16], 0x10046);
    EXPECT_EQ(s.DegitAttrs[0].Shift, 71);
    EXPECT_EQ(s.DegitAttrs[0].ZeroMode, 72);
    EXPECT_EQ(s.DegitAttrs[0].FillZero, 73);
    EXPECT_EQ(s.DegitAttrs[23].FillZero, 71 + 24 * 3 - 1);

    EXPECT_EQ(SettingsFile::encode(s), bytes);
}

TEST(SettingsFile, JapaneseTextIsStoredWithItsShiftJisByteLength)
{
    SettingsStore s;
    s.DataDir.FareDataDir = QStringLiteral("内容");
    const QByteArray bytes = SettingsFile::encode(s);
    EXPECT_EQ(bytes.left(6), Bytes().raw({0x04, 0x00, 0x93, 0xE0, 0x97, 0x65}).data());
    EXPECT_EQ(SettingsFile::decode(bytes).DataDir.FareDataDir, QStringLiteral("内容"));
}

TEST(SettingsFile, StoredDigitCountIsIgnoredAnd24EntriesAreAlwaysRead)
{
    QByteArray bytes = distinctSettingsBytes();
    const qsizetype countAt = bytes.size() - 144 - 2;
    ASSERT_EQ(bytes.at(countAt), 24);
    for (int stored : {0, 7, 30, -1}) {
        QByteArray changed = bytes;
        changed[countAt] = static_cast<char>(stored & 0xFF);
        changed[countAt + 1] = static_cast<char>((stored >> 8) & 0xFF);
        const SettingsStore s = SettingsFile::decode(changed);
        EXPECT_EQ(s.DegitAttrs[23].FillZero, 71 + 24 * 3 - 1) << stored;
        EXPECT_EQ(SettingsFile::encode(s), bytes) << "written back as 24";
    }
}

TEST(SettingsFile, WriteThenReadReproducesEveryField)
{
    std::mt19937 rng(12345);
    auto i2 = [&] { return static_cast<int16_t>(rng()); };
    auto i4 = [&] { return static_cast<int32_t>(rng()); };
    SettingsStore s = SettingsFile::decode(distinctSettingsBytes());
    s.DataDir.FareDataDir = QStringLiteral("/home/運転士/運賃データ/");
    s.Sound.SoundFile9 = QStringLiteral("チャイム～①.wav");
    s.SeiriPrev.FixedDate = QStringLiteral("2010/03/05");
    s.Panel.PanelColor1 = i4();
    s.Ctl.CtlLeft = -1500;
    s.Board.BoardTop = i4();
    for (auto& c : s.CustomColors)
        c = i4();
    for (auto& a : s.DegitAttrs)
        a = {i2(), i2(), i2()};

    QTemporaryDir dir;
    const QString path = mdlIniIo::settingsFilePath(dir.path(), QStringLiteral("fareboard"));
    EXPECT_EQ(path, dir.path() + QStringLiteral("/fareboard.in4"));
    mdlIniIo::WriteSettingsFile(path, s);
    SettingsStore back;
    mdlIniIo::ReadSettingsFile(path, back);
    EXPECT_EQ(SettingsFile::encode(back), SettingsFile::encode(s));
    EXPECT_EQ(back.DataDir.FareDataDir, s.DataDir.FareDataDir);
    EXPECT_EQ(back.Sound.SoundFile9, s.Sound.SoundFile9);
    EXPECT_EQ(back.Ctl.CtlLeft, -1500);
    EXPECT_EQ(back.DegitAttrs[11].ZeroMode, s.DegitAttrs[11].ZeroMode);
    // Nothing but the file itself is left in the folder.
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files), QStringList{QStringLiteral("fareboard.in4")});
}

TEST(SettingsFile, TruncatedFileIsAnErrorAndChangesNothing)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("fareboard.in4"));
    const QByteArray full = distinctSettingsBytes();
    SettingsStore store;
    store.DataDir.FareDataDir = QStringLiteral("keep");
    store.DegitAttrs[5].ZeroMode = 2;
    const QByteArray before = SettingsFile::encode(store);
    for (qsizetype cut = 0; cut < full.size(); cut += (cut < 40 ? 1 : 17)) {
        writeFile(path, full.left(cut));
        EXPECT_EQ(errorOf([&] { mdlIniIo::ReadSettingsFile(path, store); }), ErrorNumber::InputPastEndOfFile)
            << cut;
        ASSERT_EQ(SettingsFile::encode(store), before) << cut;
    }
    // A string length read as signed would be negative here; unsigned it runs past the end.
    writeFile(path, Bytes().raw({0xFF, 0xFF, 'a'}).data());
    EXPECT_EQ(errorOf([&] { mdlIniIo::ReadSettingsFile(path, store); }), ErrorNumber::InputPastEndOfFile);
}

TEST(SettingsFile, FileErrorsCarryTheHostsNumbers)
{
    QTemporaryDir dir;
    SettingsStore store;
    EXPECT_EQ(errorOf([&] { mdlIniIo::ReadSettingsFile(dir.filePath(QStringLiteral("none.in4")), store); }),
              ErrorNumber::FileNotFound);
    EXPECT_EQ(errorOf([&] { mdlIniIo::ReadSettingsFile(dir.path() + QStringLiteral("/"), store); }),
              ErrorNumber::BadFileName);
    EXPECT_EQ(errorOf([&] { mdlIniIo::ReadSettingsFile(QString(), store); }), ErrorNumber::BadFileName);
    EXPECT_EQ(errorOf([&] { mdlIniIo::WriteSettingsFile(dir.filePath(QStringLiteral("no/such/x.in4")), store); }),
              ErrorNumber::PathNotFound);
    QDir(dir.path()).mkdir(QStringLiteral("folder.in4"));
    EXPECT_NE(errorOf([&] { mdlIniIo::WriteSettingsFile(dir.filePath(QStringLiteral("folder.in4")), store); }), 0);
}

TEST(SettingsFile, FailedWriteLeavesThePreviousFileUntouched)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("fareboard.in4"));
    const QByteArray old = distinctSettingsBytes();
    writeFile(path, old);
    SettingsStore s;
    // A text longer than the 16-bit length field can hold is cut at a character, not wrapped.
    s.DataDir.TapeDataDir = QString(40000, QChar(0x3042));  // あ, two bytes each
    mdlIniIo::WriteSettingsFile(path, s);
    SettingsStore back;
    mdlIniIo::ReadSettingsFile(path, back);
    EXPECT_EQ(back.DataDir.TapeDataDir.size(), 32767);

    // Writing into a folder that has gone away fails and keeps what was there.
    writeFile(path, old);
    const QString gone = dir.filePath(QStringLiteral("gone/fareboard.in4"));
    EXPECT_EQ(errorOf([&] { mdlIniIo::WriteSettingsFile(gone, s); }), ErrorNumber::PathNotFound);
    EXPECT_EQ(readFile(path), old);
}
