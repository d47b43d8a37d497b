#include "options/frmOption.h"

#include "controls/digit/M_Degit.h"
#include "options/ColorButton.h"
#include "options/OptionChoices.h"
#include "support/FakeKobuRes.h"
#include "support/FakeShell.h"
#include "support/Fakes.h"

#include <gtest/gtest.h>

#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>

using namespace fareboard;
using namespace fareboard::test;

namespace {

class OptionsDialog : public ::testing::Test {
protected:
    FakeKobuRes library;
    FakeShell shell;
    FakeClock clock;  // 5 March 2010
    FakeMessageBox messageBox;
    frmOption dialog{library, shell, clock, messageBox};
    int applied = 0;

    void SetUp() override
    {
        dialog.setApplyHandler([this] { ++applied; });
    }

    static QStringList items(const QComboBox* combo)
    {
        QStringList list;
        for (int i = 0; i < combo->count(); ++i)
            list << combo->itemText(i);
        return list;
    }
    static QStringList numbers(int last)
    {
        QStringList list;
        for (int n = 1; n <= last; ++n)
            list << QString::number(n);
        return list;
    }
};

TEST_F(OptionsDialog, NewDialogHoldsItsListsOnTheirFirstEntries)
{
    for (int i = 0; i <= 3; ++i) {
        EXPECT_EQ(items(dialog.Combo4(i)), numbers(24)) << i;
        EXPECT_EQ(dialog.Combo4(i)->currentIndex(), 0) << i;
    }
    EXPECT_EQ(items(dialog.Combo4(4)), numbers(150));
    EXPECT_EQ(dialog.Combo4(4)->currentIndex(), 0);
    EXPECT_EQ(items(dialog.Combo1()), numbers(150));
    EXPECT_EQ(dialog.Combo1()->currentText(), QStringLiteral("1"));
    EXPECT_EQ(items(dialog.Combo2()), numberingSchemeTexts());
    EXPECT_EQ(dialog.Combo2()->currentText(), QStringLiteral("1,2,3... 24 （既定の表示）"));
    EXPECT_EQ(items(dialog.Combo3()),
              (QStringList{QStringLiteral("ゴシック体"), QStringLiteral("明朝体"), QStringLiteral("漢字はゴシック、それ以外は明朝"),
                           QStringLiteral("漢字は明朝、それ以外はゴシック"), QStringLiteral("英数字はゴシック、それ以外は明朝")}));

    // A second fill does not double the schemes.
    dialog.Combo2()->setCurrentIndex(5);
    dialog.AddComboItem();
    EXPECT_EQ(dialog.Combo2()->count(), 12);
    EXPECT_EQ(dialog.Combo2()->currentIndex(), 0);
}

TEST_F(OptionsDialog, NewDialogStartsWithTheDefaultsAndOnlyTheFirstPage)
{
    EXPECT_EQ(dialog.windowTitle(), QStringLiteral("オプション"));
    EXPECT_EQ(dialog.size(), QSize(638, 474));
    EXPECT_EQ(dialog.Label10()->text(), QStringLiteral("2010/03/05"));
    EXPECT_TRUE(dialog.isHidden());

    EXPECT_TRUE(dialog.Option1(0)->isChecked());
    for (int i = 0; i < 6; ++i)
        EXPECT_EQ(dialog.Frame1(i)->isHidden(), i != 0) << i;
    EXPECT_FALSE(dialog.Frame2(1)->isHidden());
    EXPECT_TRUE(dialog.Frame2(0)->isHidden());
    EXPECT_TRUE(dialog.Option5(1)->isChecked());

    // The selected option of every group, and only it.
    const std::vector<std::pair<QRadioButton*, bool>> options = {
        {dialog.Option3(0), true},  {dialog.Option3(1), false}, {dialog.Option3(7), true},  {dialog.Option3(6), false},
        {dialog.Option3(3), true},  {dialog.Option3(2), false}, {dialog.Option3(4), true},  {dialog.Option3(5), false},
        {dialog.Option2(0), true},  {dialog.Option2(1), false}, {dialog.Option2(2), true},  {dialog.Option2(3), false},
        {dialog.Option6(1), true},  {dialog.Option6(0), false}, {dialog.Option7(0), true},  {dialog.Option7(1), false},
        {dialog.Option4(0), true},  {dialog.Option4(1), false}, {dialog.Option4(2), false},
    };
    for (const auto& [option, selected] : options)
        EXPECT_EQ(option->isChecked(), selected) << option->objectName().toStdString();

    for (QCheckBox* box : {dialog.Check1(), dialog.Check2(), dialog.Check3(0), dialog.Check3(1), dialog.Check3(2),
                           dialog.Check3(3), dialog.Check3(4), dialog.Check4(), dialog.chkUseSeiriPrev()})
        EXPECT_EQ(box->checkState(), Qt::Unchecked) << box->objectName().toStdString();

    // What starts put away or greyed out.
    EXPECT_FALSE(dialog.Frame3()->isEnabled());
    for (int i = 0; i < 5; ++i)
        EXPECT_FALSE(dialog.Combo4(i)->isEnabled()) << i;
    EXPECT_FALSE(dialog.Check3(4)->isEnabled());
    for (int i = 0; i < 3; ++i) {
        EXPECT_TRUE(dialog.Frame6(i)->isHidden()) << i;
        EXPECT_FALSE(dialog.Frame6(i)->isEnabled()) << i;
    }
    for (QGroupBox* frame : {dialog.Frame10(), dialog.Frame7()}) {
        EXPECT_TRUE(frame->isHidden());
        EXPECT_FALSE(frame->isEnabled());
    }

    EXPECT_EQ(dialog.Command5(0)->BackColor(), 0x008000);
    EXPECT_EQ(dialog.Command5(1)->BackColor(), 0x00C000);
    EXPECT_EQ(dialog.Command5(2)->BackColor(), 0xC0FFC0);
    EXPECT_EQ(dialog.Command8(0)->BackColor(), 0x808080);
    EXPECT_EQ(dialog.Command8(1)->BackColor(), 0x969696);
    EXPECT_EQ(dialog.Command8(2)->BackColor(), 0x72D2F8);
    EXPECT_EQ(dialog.Command9(0)->BackColor(), 0x808080);
    EXPECT_EQ(dialog.Command9(1)->BackColor(), 0x00FFFF);
    EXPECT_EQ(dialog.M_Degit1()->DegitSize(), 0);
    EXPECT_EQ(dialog.M_Degit1()->BackColor(), 0x808080);
    EXPECT_EQ(dialog.M_Degit1()->BaseForeColor(), 0x969696);
    EXPECT_EQ(dialog.M_Degit1()->DegitForeColor(), 0x72D2F8);
}

TEST_F(OptionsDialog, ControlsAreFoundByTheirIndexedNames)
{
    EXPECT_EQ(dialog.findChild<QLineEdit*>(QStringLiteral("Text2(0)")), dialog.Text2(0));
    EXPECT_EQ(dialog.findChild<QRadioButton*>(QStringLiteral("Option3(1)")), dialog.Option3(1));
    EXPECT_EQ(dialog.findChild<QComboBox*>(QStringLiteral("Combo4(4)")), dialog.Combo4(4));
    EXPECT_EQ(dialog.findChild<QLineEdit*>(QStringLiteral("txtSelectSound(7)")), dialog.txtSelectSound(7));
    EXPECT_EQ(dialog.findChild<QLabel*>(QStringLiteral("Label10")), dialog.Label10());
    EXPECT_EQ(dialog.findChild<M_Degit*>(QStringLiteral("M_Degit1")), dialog.M_Degit1());
    EXPECT_EQ(dialog.findChild<QPushButton*>(QStringLiteral("Command4"))->text(), QStringLiteral("OK"));

    // Control arrays have exactly their elements; the sound boxes have no index 2.
    EXPECT_THROW(dialog.txtSelectSound(2), std::out_of_range);
    EXPECT_THROW(dialog.cmdSelectSound(11), std::out_of_range);
    EXPECT_THROW(dialog.Combo4(5), std::out_of_range);
    EXPECT_THROW(dialog.Option3(-1), std::out_of_range);
    EXPECT_EQ(dialog.findChild<QObject*>(QStringLiteral("txtSelectSound(2)")), nullptr);
}

TEST_F(OptionsDialog, CheckBoxesEnableWhatDependsOnThem)
{
    dialog.Check3(3)->click();
    EXPECT_TRUE(dialog.Combo4(3)->isEnabled());
    EXPECT_TRUE(dialog.Combo4(4)->isEnabled());
    EXPECT_FALSE(dialog.Combo4(0)->isEnabled());

    dialog.Check3(0)->click();
    EXPECT_TRUE(dialog.Combo4(0)->isEnabled());
    EXPECT_TRUE(dialog.Check3(4)->isEnabled());
    dialog.Check3(0)->click();
    EXPECT_FALSE(dialog.Combo4(0)->isEnabled());
    EXPECT_FALSE(dialog.Check3(4)->isEnabled());

    dialog.Check3(1)->click();
    dialog.Check3(2)->click();
    EXPECT_TRUE(dialog.Combo4(1)->isEnabled());
    EXPECT_TRUE(dialog.Combo4(2)->isEnabled());

    dialog.Check1()->click();
    EXPECT_TRUE(dialog.Frame3()->isEnabled());
    dialog.Check1()->click();
    EXPECT_FALSE(dialog.Frame3()->isEnabled());

    // Settings put in from the file follow the same rule, whatever state they arrive in.
    dialog.Check3(3)->setChecked(false);
    EXPECT_FALSE(dialog.Combo4(3)->isEnabled());
    EXPECT_FALSE(dialog.Combo4(4)->isEnabled());
    dialog.Check1()->setCheckState(Qt::PartiallyChecked);
    EXPECT_TRUE(dialog.Frame3()->isEnabled());
    dialog.Check1()->setCheckState(Qt::Checked);
    EXPECT_TRUE(dialog.Frame3()->isEnabled());
}

TEST_F(OptionsDialog, PanelChoiceShowsOrHidesThePerStatePictures)
{
    dialog.Option3(1)->click();
    for (int i = 0; i < 3; ++i) {
        EXPECT_FALSE(dialog.Frame6(i)->isHidden()) << i;
        EXPECT_TRUE(dialog.Frame6(i)->isEnabled()) << i;
    }
    // Choosing a picture inside a state frame belongs to another group.
    dialog.Option3(6)->click();
    EXPECT_TRUE(dialog.Option3(1)->isChecked());
    EXPECT_FALSE(dialog.Option3(7)->isChecked());
    EXPECT_TRUE(dialog.Option3(3)->isChecked());
    EXPECT_FALSE(dialog.Frame6(0)->isHidden());

    dialog.Option3(0)->click();
    for (int i = 0; i < 3; ++i) {
        EXPECT_TRUE(dialog.Frame6(i)->isHidden()) << i;
        EXPECT_FALSE(dialog.Frame6(i)->isEnabled()) << i;
    }
    // The settings step selects by value, not by click.
    dialog.Option3(1)->setChecked(true);
    EXPECT_FALSE(dialog.Frame6(2)->isHidden());
}

TEST_F(OptionsDialog, TabButtonsBringTheirPageToTheFront)
{
    dialog.Option1(4)->click();
    for (int i = 0; i < 6; ++i)
        EXPECT_EQ(dialog.Frame1(i)->isHidden(), i != 4) << i;
    EXPECT_FALSE(dialog.Option1(0)->isChecked());

    dialog.Option5(0)->click();
    EXPECT_FALSE(dialog.Frame2(0)->isHidden());
    EXPECT_TRUE(dialog.Frame2(1)->isHidden());
    EXPECT_FALSE(dialog.Option5(1)->isChecked());
    dialog.Option5(1)->click();
    EXPECT_TRUE(dialog.Frame2(0)->isHidden());
    EXPECT_FALSE(dialog.Frame2(1)->isHidden());
}

TEST_F(OptionsDialog, FolderChoosersFillTheirBoxAndACancelLeavesIt)
{
    dialog.Text2(0)->setText(QStringLiteral("/old/fare"));
    dialog.Command3(0)->click();
    EXPECT_EQ(dialog.Text2(0)->text(), QStringLiteral("/old/fare"));
    ASSERT_EQ(library.folderCalls.size(), 1u);
    EXPECT_EQ(library.folderCalls[0], QStringLiteral("フォルダーを選択してください"));
    EXPECT_EQ(library.folderStarts.at(0), QStringLiteral("/old/fare")) << "opens at the folder set now";

    library.chosenFolder = QStringLiteral("/data/tape");
    dialog.Command3(1)->click();
    EXPECT_EQ(dialog.Text2(1)->text(), QStringLiteral("/data/tape"));
    EXPECT_EQ(dialog.Text2(0)->text(), QStringLiteral("/old/fare"));
}

TEST_F(OptionsDialog, SoundChoosersAskWithTheSoundFiltersAndFillTheirOwnBox)
{
    for (int i : {0, 1, 3, 4, 5, 6, 7, 8, 9, 10})
        dialog.txtSelectSound(i)->setText(QStringLiteral("old%1.wav").arg(i));

    dialog.cmdSelectSound(9)->click();  // cancelled
    EXPECT_EQ(dialog.txtSelectSound(9)->text(), QStringLiteral("old9.wav"));
    ASSERT_EQ(library.fileCalls.size(), 1u);
    const FakeKobuRes::FileCall& call = library.fileCalls[0];
    EXPECT_EQ(call.owner, &dialog);
    EXPECT_EQ(call.flags, 0);
    EXPECT_TRUE(call.initial.isEmpty());
    EXPECT_EQ(call.title, QStringLiteral("サウンドの選択"));
    EXPECT_EQ(call.filters, soundFilterList());

    for (int i : {0, 1, 3, 4, 5, 6, 7, 8, 9, 10}) {
        library.chosenFile = QStringLiteral("/sounds/new%1.mid").arg(i);
        dialog.cmdSelectSound(i)->click();
    }
    for (int i : {0, 1, 3, 4, 5, 6, 7, 8, 9, 10})
        EXPECT_EQ(dialog.txtSelectSound(i)->text(), QStringLiteral("/sounds/new%1.mid").arg(i)) << i;
}

TEST_F(OptionsDialog, PanelChoosersAskWithThePictureFiltersAndFillTheirOwnBox)
{
    dialog.Option3(1)->click();
    dialog.txtSelectPanel(2)->setText(QStringLiteral("keep.bmp"));
    dialog.Command6(2)->click();
    EXPECT_EQ(dialog.txtSelectPanel(2)->text(), QStringLiteral("keep.bmp"));
    ASSERT_EQ(library.fileCalls.size(), 1u);
    EXPECT_EQ(library.fileCalls[0].title, QStringLiteral("パネル画像の選択"));
    EXPECT_EQ(library.fileCalls[0].filters, panelPictureFilterList());

    for (int i = 0; i < 3; ++i) {
        library.chosenFile = QStringLiteral("/panels/%1.jpg").arg(i);
        dialog.Command6(i)->click();
    }
    for (int i = 0; i < 3; ++i)
        EXPECT_EQ(dialog.txtSelectPanel(i)->text(), QStringLiteral("/panels/%1.jpg").arg(i)) << i;
}

TEST_F(OptionsDialog, OpenFolderButtonsHandTheirFolderToTheShellAndIgnoreFailures)
{
    dialog.Text2(0)->setText(QStringLiteral("/data/fare"));
    dialog.Text2(1)->setText(QString());
    shell.result = false;
    dialog.Command10(1)->click();
    dialog.Command10(0)->click();
    EXPECT_EQ(shell.openedFolders, (std::vector<QString>{QString(), QStringLiteral("/data/fare")}));
    EXPECT_TRUE(messageBox.shown.empty());
    EXPECT_EQ(dialog.Text2(0)->text(), QStringLiteral("/data/fare"));
}

TEST_F(OptionsDialog, DigitColourRecoloursThePreviewAtOnceAndTheBoardOnlyAtOk)
{
    dialog.CustomColors()[16] = 0x123456;
    library.chosenColor = 0x0000FF;
    dialog.Command8(2)->click();
    EXPECT_EQ(dialog.Command8(2)->BackColor(), 0x0000FF);
    EXPECT_EQ(dialog.M_Degit1()->DegitForeColor(), 0x0000FF);
    EXPECT_EQ(dialog.M_Degit1()->BackColor(), 0x808080);
    EXPECT_EQ(applied, 0);
    ASSERT_EQ(library.colorCalls.size(), 1u);
    EXPECT_EQ(library.colorCalls[0].color, 0x72D2F8);  // starts from the button's colour
    ASSERT_EQ(library.colorCalls[0].customColors.size(), 17u);
    EXPECT_EQ(library.colorCalls[0].customColors[16], 0x123456);

    dialog.show();
    dialog.Command4()->click();
    EXPECT_EQ(applied, 1);
    EXPECT_TRUE(dialog.isHidden());
    EXPECT_EQ(dialog.Command8(2)->BackColor(), 0x0000FF);
}

TEST_F(OptionsDialog, ColourButtonsKeepTheirColourWhenTheChooserIsCancelled)
{
    dialog.Check1()->click();  // the label colours are greyed out until then
    dialog.Command9(1)->click();
    dialog.Command5(2)->click();
    dialog.Command8(0)->click();
    EXPECT_EQ(library.colorCalls.size(), 3u);
    EXPECT_EQ(dialog.Command9(1)->BackColor(), 0x00FFFF);
    EXPECT_EQ(dialog.Command5(2)->BackColor(), 0xC0FFC0);
    EXPECT_EQ(dialog.Command8(0)->BackColor(), 0x808080);
    EXPECT_EQ(dialog.M_Degit1()->BackColor(), 0x808080);

    library.chosenColor = 0x00FF00;
    dialog.Command5(0)->click();
    dialog.Command9(0)->click();
    EXPECT_EQ(dialog.Command5(0)->BackColor(), 0x00FF00);
    EXPECT_EQ(dialog.Command9(0)->BackColor(), 0x00FF00);
    EXPECT_EQ(dialog.Command5(1)->BackColor(), 0x00C000);
    // Only the digit colours have a preview.
    EXPECT_EQ(dialog.M_Degit1()->BackColor(), 0x808080);
    EXPECT_EQ(applied, 0);
}

TEST_F(OptionsDialog, DateChooserFixesTheDateAsYearMonthDay)
{
    dialog.chkUseSeiriPrev()->click();
    dialog.Command7()->click();  // cancelled
    EXPECT_EQ(dialog.Label10()->text(), QStringLiteral("2010/03/05"));
    ASSERT_EQ(library.dlg111Calls.size(), 1u);
    EXPECT_EQ(library.dlg111Calls[0].year, 2010);
    EXPECT_EQ(library.dlg111Calls[0].month, 3);
    EXPECT_EQ(library.dlg111Calls[0].day, 5);

    library.chosenDate = QDate(2011, 12, 1);
    dialog.Command7()->click();
    EXPECT_EQ(dialog.Label10()->text(), QStringLiteral("2011/12/01"));
    library.chosenDate = QDate(2010, 3, 5);
    dialog.Command7()->click();
    EXPECT_EQ(dialog.Label10()->text(), QStringLiteral("2010/03/05"));
}

TEST_F(OptionsDialog, ClosingTheFrameHidesWithoutApplyingAndKeepsEverySetting)
{
    dialog.show();
    dialog.Option1(2)->click();
    dialog.Text2(0)->setText(QStringLiteral("/data/fare"));
    dialog.Check3(1)->click();
    dialog.Combo4(1)->setCurrentIndex(23);
    dialog.close();
    EXPECT_TRUE(dialog.isHidden());
    EXPECT_EQ(applied, 0);

    dialog.show();
    EXPECT_EQ(dialog.Text2(0)->text(), QStringLiteral("/data/fare"));
    EXPECT_TRUE(dialog.Check3(1)->isChecked());
    EXPECT_EQ(dialog.Combo4(1)->currentText(), QStringLiteral("24"));
    EXPECT_TRUE(dialog.Option1(2)->isChecked());
    EXPECT_FALSE(dialog.Frame1(2)->isHidden());
}

TEST_F(OptionsDialog, PreviewSwitchShowsThePluginAndDateFramesAndTheCrossClearsThePlugin)
{
    dialog.chkUseSeiriPrev()->click();
    for (QGroupBox* frame : {dialog.Frame10(), dialog.Frame7()}) {
        EXPECT_FALSE(frame->isHidden());
        EXPECT_TRUE(frame->isEnabled());
    }
    dialog.txtSeiriPlgDir()->setText(QStringLiteral("/plugins/ticket.4SP"));
    dialog.List1()->addItem(QStringLiteral("日付の印字 ---> 可能"));
    dialog.txtPlginComment()->setPlainText(QStringLiteral("notes"));
    dialog.Command11()->click();
    EXPECT_TRUE(dialog.txtSeiriPlgDir()->text().isEmpty());
    EXPECT_EQ(dialog.List1()->count(), 0);
    EXPECT_TRUE(dialog.txtPlginComment()->toPlainText().isEmpty());

    dialog.chkUseSeiriPrev()->setChecked(false);
    EXPECT_TRUE(dialog.Frame10()->isHidden());
    EXPECT_FALSE(dialog.Frame7()->isEnabled());
}

}  // namespace
