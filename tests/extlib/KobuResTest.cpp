#include "extlib/FileDialogFilters.h"
#include "extlib/KobuResDialogs.h"
#include "extlib/OsRelease.h"
#include "extlib/QtKobuRes.h"
#include "platform/OleColor.h"

#include <gtest/gtest.h>

#include <QCalendarWidget>
#include <QComboBox>
#include <QFile>
#include <QLabel>
#include <QSpinBox>
#include <QSysInfo>

using namespace fareboard;

namespace {

QString nulList(std::initializer_list<const char16_t*> parts)
{
    QString list;
    for (const char16_t* p : parts)
        list += QString::fromUtf16(p) + QChar(u'\0');
    return list + QChar(u'\0');
}

}  // namespace

TEST(FileDialogFilters, offersThePairsInOrder)
{
    const QString sounds = nulList({u"Waveサウンド(*.wav)", u"*.wav", u"MP3サウンド(*.mp3)", u"*.mp3",
                                    u"MIDIシーケンス(*.mid)", u"*.mid"});
    EXPECT_EQ(fileDialogNameFilters(sounds),
              QStringList({QStringLiteral("Waveサウンド(*.wav)"), QStringLiteral("MP3サウンド(*.mp3)"),
                           QStringLiteral("MIDIシーケンス(*.mid)")}));

    // Patterns not named in the description, and Windows ";" lists, are given in Qt's form.
    const QString pictures = nulList({u"画像ファイル", u"*.bmp;*.gif;*.jpg", u"プラグイン(*.4SP)", u"*.4SP"});
    EXPECT_EQ(fileDialogNameFilters(pictures),
              QStringList({QStringLiteral("画像ファイル (*.bmp *.gif *.jpg)"), QStringLiteral("プラグイン(*.4SP)")}));
}

TEST(FileDialogFilters, listEndsAtTheDoubleNul)
{
    QString list = nulList({u"A(*.a)", u"*.a"}) + QStringLiteral("B(*.b)") + QChar(u'\0') + QStringLiteral("*.b");
    EXPECT_EQ(fileDialogNameFilters(list), QStringList({QStringLiteral("A(*.a)")}));
    EXPECT_TRUE(fileDialogNameFilters(QString()).isEmpty());
    // A description without its pattern is no filter.
    EXPECT_TRUE(fileDialogNameFilters(QStringLiteral("Text")).isEmpty());
}

TEST(OsRelease, readsThePrettyNameWithItsQuoting)
{
    EXPECT_EQ(osNameFromOsRelease("NAME=\"Debian GNU/Linux\"\nPRETTY_NAME=\"Debian GNU/Linux 12 (bookworm)\"\n"),
              QStringLiteral("Debian GNU/Linux 12 (bookworm)"));
    EXPECT_EQ(osNameFromOsRelease("# comment\nPRETTY_NAME='Fedora \\\"Linux\\\" 39'\n"),
              QStringLiteral("Fedora \"Linux\" 39"));
    EXPECT_EQ(osNameFromOsRelease("PRETTY_NAME=Alpine\n"), QStringLiteral("Alpine"));
    EXPECT_EQ(osNameFromOsRelease("NAME=Gentoo\nVERSION=2.14\n"), QStringLiteral("Gentoo 2.14"));
    EXPECT_EQ(osNameFromOsRelease("ID=x\n"), QString());
}

TEST(OsRelease, libraryReportsTheRunningHost)
{
    QtKobuRes library;
    const QString name = library.GetOsInfo();
    EXPECT_FALSE(name.isEmpty());
    // Qt reads the host on its own; both must name the same system.
    if (QFile::exists(QStringLiteral("/etc/os-release"))) {
        EXPECT_EQ(name, QSysInfo::prettyProductName());
    }
}

TEST(DigitSettingsDialog, startsFromTheControlsValuesAndReturnsTheChoice)
{
    DigitSettingsDialog dialog(nullptr, 3, 2, 1, 3);
    auto* zeroMode = dialog.findChild<QComboBox*>(QStringLiteral("cboZeroMode"));
    auto* shift = dialog.findChild<QSpinBox*>(QStringLiteral("spnShift"));
    auto* fillZero = dialog.findChild<QSpinBox*>(QStringLiteral("spnFillZero"));
    ASSERT_TRUE(zeroMode && shift && fillZero);
    EXPECT_EQ(dialog.zeroMode(), 2);
    EXPECT_EQ(dialog.shift(), 1);
    EXPECT_EQ(dialog.fillZero(), 3);
    // The choices offered fit a three-cell control.
    EXPECT_EQ(shift->maximum(), 2);
    EXPECT_EQ(fillZero->maximum(), 3);
    EXPECT_EQ(zeroMode->count(), 4);

    zeroMode->setCurrentIndex(3);
    shift->setValue(0);
    fillZero->setValue(0);
    EXPECT_EQ(dialog.zeroMode(), 3);
    EXPECT_EQ(dialog.shift(), 0);
    EXPECT_EQ(dialog.fillZero(), 0);
}

TEST(DigitSettingsDialog, keepsAStoredZeroModeOutsideTheFour)
{
    DigitSettingsDialog dialog(nullptr, 4, -1, 0, 0);
    EXPECT_EQ(dialog.zeroMode(), -1);
    EXPECT_EQ(dialog.findChild<QComboBox*>(QStringLiteral("cboZeroMode"))->count(), 5);
}

TEST(DateChooser, startsAtTheRecordsDateAndFillsTheRecord)
{
    DateRecord record;
    EXPECT_FALSE(dateOfRecord(record).isValid());
    record.year = 2010;
    record.month = 3;
    record.day = 5;
    record.hour = 9;
    DateChooserDialog dialog(nullptr, dateOfRecord(record));
    EXPECT_EQ(dialog.selectedDate(), QDate(2010, 3, 5));

    dialog.setSelectedDate(QDate(2010, 3, 7));  // a Sunday
    setRecordDate(record, dialog.selectedDate());
    EXPECT_EQ(record.year, 2010);
    EXPECT_EQ(record.month, 3);
    EXPECT_EQ(record.day, 7);
    EXPECT_EQ(record.dayOfWeek, 0);
    EXPECT_EQ(record.hour, 9);

    DateChooserDialog today(nullptr, QDate());
    EXPECT_EQ(today.selectedDate(), QDate::currentDate());
}

TEST(VersionBox, showsTheLinesItIsGiven)
{
    VersionBox box(nullptr, QStringLiteral("運賃表示器\r\nVersion 1.0"));
    auto* label = box.findChild<QLabel*>(QStringLiteral("lblVersion"));
    ASSERT_TRUE(label);
    EXPECT_EQ(label->text(), QStringLiteral("運賃表示器\nVersion 1.0"));
}

TEST(OleColor, redIsTheLowestByte)
{
    EXPECT_EQ(oleColorToQColor(0x72D2F8), QColor(248, 210, 114));
    EXPECT_EQ(oleColorToQColor(0x808080), QColor(128, 128, 128));
    EXPECT_EQ(qColorToOleColor(QColor(248, 210, 114)), 0x72D2F8);
    // A system colour is taken from the desktop, not read as blue 0x80.
    EXPECT_EQ(oleColorToQColor(int32_t(0x8000000F)), QGuiApplication::palette().color(QPalette::Button));
}
