// The options dialog's exchange with the settings store, and its ticket plug-in method.
#include "options/frmOption.h"

#include "board/SettingsStore.h"
#include "controls/digit/M_Degit.h"
#include "extlib/KobuRes.h"
#include "options/ColorButton.h"
#include "options/OptionChoices.h"
#include "platform/AppError.h"
#include "platform/MessageBox.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QRadioButton>

namespace fareboard {
namespace {

// Stored check boxes are 0, 1 or 2 (greyed); anything else is refused like the control would.
void setCheck(QCheckBox* box, int16_t value)
{
    switch (value) {
    case 0: box->setCheckState(Qt::Unchecked); break;
    case 1: box->setCheckState(Qt::Checked); break;
    case 2:
        box->setTristate(true);
        box->setCheckState(Qt::PartiallyChecked);
        break;
    default: throw AppError(ErrorNumber::InvalidPropertyValue);
    }
}

int16_t checkValue(const QCheckBox* box)
{
    switch (box->checkState()) {
    case Qt::Checked: return 1;
    case Qt::PartiallyChecked: return 2;
    default: return 0;
    }
}

// Option buttons store -1 when selected. Selecting one deselects the rest of its group, so of
// two stored as selected the later one wins; a 0 never unselects the group's only choice.
void setOption(QRadioButton* button, int16_t value)
{
    if (value != 0)
        button->setChecked(true);
}

int16_t optionValue(const QRadioButton* button) { return button->isChecked() ? -1 : 0; }

// A drop-down list takes only indexes of its own entries, or -1 for none.
void setListIndex(QComboBox* list, int16_t index)
{
    if (index < -1 || index >= list->count())
        throw AppError(ErrorNumber::InvalidPropertyValue);
    list->setCurrentIndex(index);
}

int16_t listIndex(const QComboBox* list) { return static_cast<int16_t>(list->currentIndex()); }

QString flagText(bool set) { return set ? QStringLiteral("---> 可能") : QStringLiteral("---> 不可"); }

}  // namespace

void frmOption::SetOptionInfo(const SettingsStore& s)
{
    text2_[0]->setText(s.DataDir.FareDataDir);
    text2_[1]->setText(s.DataDir.TapeDataDir);

    const PanelSettings& p = s.Panel;
    setCheck(check1_, p.AutoSeiriNum);
    command5_[0]->setBackColor(p.PanelColor0);
    command5_[1]->setBackColor(p.PanelColor1);
    command5_[2]->setBackColor(p.PanelColor2);
    setListIndex(combo2_, p.PanelListIndex);
    setCheck(check2_, p.SeiriNumZeroPad);
    setOption(option3_[0], p.PanelOpt0);
    setOption(option3_[1], p.PanelOpt1);
    setOption(option3_[7], p.PanelOpt7);
    setOption(option3_[6], p.PanelOpt6);
    setOption(option3_[3], p.PanelOpt3);
    setOption(option3_[2], p.PanelOpt2);
    setOption(option3_[4], p.PanelOpt4);
    setOption(option3_[5], p.PanelOpt5);
    txtSelectPanel_[0]->setText(p.UserPanelFile0);
    txtSelectPanel_[1]->setText(p.UserPanelFile1);
    txtSelectPanel_[2]->setText(p.UserPanelFile2);
    // The console picks up the new panel settings.
    if (console_.replayBacklight)
        console_.replayBacklight();

    const DegitSettings& d = s.Degit;
    command8_[0]->setBackColor(d.DegitBackColor);
    command8_[1]->setBackColor(d.DegitBaseForeColor);
    command8_[2]->setBackColor(d.DegitForeColor);
    setCheck(check3_[0], d.InfoDigitFlag0);
    setListIndex(combo4_[0], d.InfoDigitCol0);
    setCheck(check3_[4], d.InfoDigitFlag4);
    setCheck(check3_[1], d.InfoDigitFlag1);
    setListIndex(combo4_[1], d.InfoDigitCol1);
    setCheck(check3_[2], d.InfoDigitFlag2);
    setListIndex(combo4_[2], d.InfoDigitCol2);
    setCheck(check3_[3], d.InfoDigitFlag3);
    setListIndex(combo4_[4], d.InfoDigitCol4);
    setListIndex(combo4_[3], d.InfoDigitCol3);
    mDegit1_->setBackColor(command8_[0]->BackColor());
    mDegit1_->setBaseForeColor(command8_[1]->BackColor());
    mDegit1_->setDegitForeColor(command8_[2]->BackColor());

    const ChimeiSettings& c = s.Chimei;
    command9_[0]->setBackColor(c.ChimeiBackColor);
    command9_[1]->setBackColor(c.ChimeiForeColor);
    setListIndex(combo3_, c.ChimeiListIndex);
    setCheck(check4_, c.ChimeiBold);

    const SoundSettings& snd = s.Sound;
    txtSelectSound_[0]->setText(snd.SoundFile0);
    txtSelectSound_[1]->setText(snd.SoundFile1);
    setOption(option6_[0], snd.FarePlaySync0);
    setOption(option6_[1], snd.FarePlaySync1);
    setOption(option2_[0], snd.FareSoundMode0);
    setOption(option2_[1], snd.FareSoundMode1);
    txtSelectSound_[7]->setText(snd.SoundFile7);
    setListIndex(combo1_, snd.SoundListIndex);
    txtSelectSound_[8]->setText(snd.SoundFile8);
    txtSelectSound_[9]->setText(snd.SoundFile9);
    txtSelectSound_[10]->setText(snd.SoundFile10);
    setOption(option7_[0], snd.TapePlaySync0);
    setOption(option7_[1], snd.TapePlaySync1);
    setOption(option2_[2], snd.TapeSoundMode2);
    setOption(option2_[3], snd.TapeSoundMode3);
    txtSelectSound_[3]->setText(snd.SoundFile3);
    txtSelectSound_[4]->setText(snd.SoundFile4);
    txtSelectSound_[5]->setText(snd.SoundFile5);
    txtSelectSound_[6]->setText(snd.SoundFile6);

    const SeiriPrevSettings& sp = s.SeiriPrev;
    setCheck(chkUseSeiriPrev_, sp.UseSeiriPrev);
    txtSeiriPlgDir_->setText(sp.SeiriPlgDir);
    setOption(option4_[0], sp.DateMode0);
    setOption(option4_[1], sp.DateMode1);
    setOption(option4_[2], sp.DateMode2);
    label10_->setText(sp.FixedDate);
    // A saved plug-in that no longer loads is kept as typed, silently.
    SetPlgin(txtSeiriPlgDir_->text());
}

void frmOption::GetOptionInfo(SettingsStore& s) const
{
    s.DataDir.FareDataDir = text2_[0]->text();
    s.DataDir.TapeDataDir = text2_[1]->text();

    PanelSettings& p = s.Panel;
    p.AutoSeiriNum = checkValue(check1_);
    p.PanelColor0 = command5_[0]->BackColor();
    p.PanelColor1 = command5_[1]->BackColor();
    p.PanelColor2 = command5_[2]->BackColor();
    p.PanelListIndex = listIndex(combo2_);
    p.SeiriNumZeroPad = checkValue(check2_);
    p.PanelOpt0 = optionValue(option3_[0]);
    p.PanelOpt1 = optionValue(option3_[1]);
    p.PanelOpt7 = optionValue(option3_[7]);
    p.PanelOpt6 = optionValue(option3_[6]);
    p.PanelOpt3 = optionValue(option3_[3]);
    p.PanelOpt2 = optionValue(option3_[2]);
    p.PanelOpt4 = optionValue(option3_[4]);
    p.PanelOpt5 = optionValue(option3_[5]);
    p.UserPanelFile0 = txtSelectPanel_[0]->text();
    p.UserPanelFile1 = txtSelectPanel_[1]->text();
    p.UserPanelFile2 = txtSelectPanel_[2]->text();

    DegitSettings& d = s.Degit;
    d.DegitBackColor = command8_[0]->BackColor();
    d.DegitBaseForeColor = command8_[1]->BackColor();
    d.DegitForeColor = command8_[2]->BackColor();
    d.InfoDigitFlag0 = checkValue(check3_[0]);
    d.InfoDigitCol0 = listIndex(combo4_[0]);
    d.InfoDigitFlag4 = checkValue(check3_[4]);
    d.InfoDigitFlag1 = checkValue(check3_[1]);
    d.InfoDigitCol1 = listIndex(combo4_[1]);
    d.InfoDigitFlag2 = checkValue(check3_[2]);
    d.InfoDigitCol2 = listIndex(combo4_[2]);
    d.InfoDigitFlag3 = checkValue(check3_[3]);
    d.InfoDigitCol4 = listIndex(combo4_[4]);
    d.InfoDigitCol3 = listIndex(combo4_[3]);

    ChimeiSettings& c = s.Chimei;
    c.ChimeiBackColor = command9_[0]->BackColor();
    c.ChimeiForeColor = command9_[1]->BackColor();
    c.ChimeiListIndex = listIndex(combo3_);
    c.ChimeiBold = checkValue(check4_);

    SoundSettings& snd = s.Sound;
    snd.SoundFile0 = txtSelectSound_[0]->text();
    snd.SoundFile1 = txtSelectSound_[1]->text();
    snd.FarePlaySync0 = optionValue(option6_[0]);
    snd.FarePlaySync1 = optionValue(option6_[1]);
    snd.FareSoundMode0 = optionValue(option2_[0]);
    snd.FareSoundMode1 = optionValue(option2_[1]);
    snd.SoundFile7 = txtSelectSound_[7]->text();
    snd.SoundListIndex = listIndex(combo1_);
    snd.SoundFile8 = txtSelectSound_[8]->text();
    snd.SoundFile9 = txtSelectSound_[9]->text();
    snd.SoundFile10 = txtSelectSound_[10]->text();
    snd.TapePlaySync0 = optionValue(option7_[0]);
    snd.TapePlaySync1 = optionValue(option7_[1]);
    snd.TapeSoundMode2 = optionValue(option2_[2]);
    snd.TapeSoundMode3 = optionValue(option2_[3]);
    snd.SoundFile3 = txtSelectSound_[3]->text();
    snd.SoundFile4 = txtSelectSound_[4]->text();
    snd.SoundFile5 = txtSelectSound_[5]->text();
    snd.SoundFile6 = txtSelectSound_[6]->text();

    SeiriPrevSettings& sp = s.SeiriPrev;
    sp.UseSeiriPrev = checkValue(chkUseSeiriPrev_);
    sp.SeiriPlgDir = txtSeiriPlgDir_->text();
    sp.DateMode0 = optionValue(option4_[0]);
    sp.DateMode1 = optionValue(option4_[1]);
    sp.DateMode2 = optionValue(option4_[2]);
    sp.FixedDate = label10_->text();
}

int32_t frmOption::SetPlgin(const QString& path)
{
    if (path.isEmpty())
        return 0;
    PlgInfo info{};
    if (library_.KBU_GetPlgInfo(path, info) == 0)
        return 0;
    library_.KBU_SetPlgComment(path, txtPlginComment_);

    list1_->clear();
    list1_->addItem(QStringLiteral("日付の印字 ") + flagText(info.CanPrintDate == 1));
    list1_->addItem(QStringLiteral("時刻の印字 ") + flagText(info.CanPrintTime == 1));
    list1_->addItem(QStringLiteral("系統番号の印字 ") + flagText(info.CanPrintRouteNo == 1));
    list1_->addItem(QStringLiteral("停名の印字 ") + flagText(info.CanPrintStopName == 1));
    list1_->addItem(QStringLiteral("バーコード印字 ") + flagText(info.CanPrintBarcode == 1));
    if (info.CanPrintBarcode == 1) {
        list1_->addItem(QStringLiteral("バーコード本数 ---> ") + QString::number(info.BarcodeCount));
        list1_->addItem(QStringLiteral("バーコード系統方式 ") + (info.BarcodeRouteMode == 1
                                                                    ? QStringLiteral("---> 連番式")
                                                                    : QStringLiteral("---> 系統番号＋往復フラグ")));
        list1_->addItem(QStringLiteral("設定可能な系統範囲 ---> 1 ～ ") + QString::number(info.MaxRouteNo));
        list1_->addItem(QStringLiteral("停留所認識範囲 ---> ") + QString::number(info.StopRangeFrom) +
                        QStringLiteral(" ～ ") + QString::number(info.StopRangeTo));
    }
    list1_->addItem(QStringLiteral("社名切り替え:") + flagText(info.CorpSwitch >= 1));

    if (console_.resizePreview)
        console_.resizePreview(info.PreviewWidth, info.PreviewHeight);
    if (info.CorpSwitch >= 1 && console_.companyList)
        library_.KBU_SetCorpAddList(path, console_.companyList);
    return 2;
}

void frmOption::Command1_Click()
{
    const QString path = library_.TmlFileDlg(
        this, 0, chooserFilterList({{QStringLiteral("整理券プラグイン(*.4SP)"), QStringLiteral("*.4SP")}}), QString(),
        QStringLiteral("プラグインの選択"));
    if (console_.companyList)
        console_.companyList->clear();
    if (SetPlgin(path) != 0) {
        txtSeiriPlgDir_->setText(path);
        return;
    }
    messageBox_.show(QStringLiteral("指定したファイルはプラグインでないか、内容が不正です"),
                     QStringLiteral("プラグインロードエラー"), MessageBox::Icon::Critical, MessageBox::Buttons::Ok);
}

}  // namespace fareboard
