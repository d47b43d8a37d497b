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


// The controls and the fields they hold, in the settings' fixed order; one walk serves both
// directions, so loading and saving can never disagree on where a value goes.
template <typename X, typename Store>
void exchangeSettings(X& x, Store& s, const frmOption& o)
{
    x.text(o.Text2(0), s.DataDir.FareDataDir);
    x.text(o.Text2(1), s.DataDir.TapeDataDir);

    auto& p = s.Panel;
    x.check(o.Check1(), p.AutoSeiriNum);
    x.colour(o.Command5(0), p.PanelColor0);
    x.colour(o.Command5(1), p.PanelColor1);
    x.colour(o.Command5(2), p.PanelColor2);
    x.list(o.Combo2(), p.PanelListIndex);
    x.check(o.Check2(), p.SeiriNumZeroPad);
    x.option(o.Option3(0), p.PanelOpt0);
    x.option(o.Option3(1), p.PanelOpt1);
    x.option(o.Option3(7), p.PanelOpt7);
    x.option(o.Option3(6), p.PanelOpt6);
    x.option(o.Option3(3), p.PanelOpt3);
    x.option(o.Option3(2), p.PanelOpt2);
    x.option(o.Option3(4), p.PanelOpt4);
    x.option(o.Option3(5), p.PanelOpt5);
    x.text(o.txtSelectPanel(0), p.UserPanelFile0);
    x.text(o.txtSelectPanel(1), p.UserPanelFile1);
    x.text(o.txtSelectPanel(2), p.UserPanelFile2);
    x.panelsDone();

    auto& d = s.Degit;
    x.colour(o.Command8(0), d.DegitBackColor);
    x.colour(o.Command8(1), d.DegitBaseForeColor);
    x.colour(o.Command8(2), d.DegitForeColor);
    x.check(o.Check3(0), d.InfoDigitFlag0);
    x.list(o.Combo4(0), d.InfoDigitCol0);
    x.check(o.Check3(4), d.InfoDigitFlag4);
    x.check(o.Check3(1), d.InfoDigitFlag1);
    x.list(o.Combo4(1), d.InfoDigitCol1);
    x.check(o.Check3(2), d.InfoDigitFlag2);
    x.list(o.Combo4(2), d.InfoDigitCol2);
    x.check(o.Check3(3), d.InfoDigitFlag3);
    x.list(o.Combo4(4), d.InfoDigitCol4);
    x.list(o.Combo4(3), d.InfoDigitCol3);
    x.digitColoursDone();

    auto& c = s.Chimei;
    x.colour(o.Command9(0), c.ChimeiBackColor);
    x.colour(o.Command9(1), c.ChimeiForeColor);
    x.list(o.Combo3(), c.ChimeiListIndex);
    x.check(o.Check4(), c.ChimeiBold);

    auto& snd = s.Sound;
    x.text(o.txtSelectSound(0), snd.SoundFile0);
    x.text(o.txtSelectSound(1), snd.SoundFile1);
    x.option(o.Option6(0), snd.FarePlaySync0);
    x.option(o.Option6(1), snd.FarePlaySync1);
    x.option(o.Option2(0), snd.FareSoundMode0);
    x.option(o.Option2(1), snd.FareSoundMode1);
    x.text(o.txtSelectSound(7), snd.SoundFile7);
    x.list(o.Combo1(), snd.SoundListIndex);
    x.text(o.txtSelectSound(8), snd.SoundFile8);
    x.text(o.txtSelectSound(9), snd.SoundFile9);
    x.text(o.txtSelectSound(10), snd.SoundFile10);
    x.option(o.Option7(0), snd.TapePlaySync0);
    x.option(o.Option7(1), snd.TapePlaySync1);
    x.option(o.Option2(2), snd.TapeSoundMode2);
    x.option(o.Option2(3), snd.TapeSoundMode3);
    x.text(o.txtSelectSound(3), snd.SoundFile3);
    x.text(o.txtSelectSound(4), snd.SoundFile4);
    x.text(o.txtSelectSound(5), snd.SoundFile5);
    x.text(o.txtSelectSound(6), snd.SoundFile6);

    auto& sp = s.SeiriPrev;
    x.check(o.chkUseSeiriPrev(), sp.UseSeiriPrev);
    x.text(o.txtSeiriPlgDir(), sp.SeiriPlgDir);
    x.option(o.Option4(0), sp.DateMode0);
    x.option(o.Option4(1), sp.DateMode1);
    x.option(o.Option4(2), sp.DateMode2);
    x.label(o.Label10(), sp.FixedDate);
}

// Store → controls. Assigning a value raises the controls' change handlers, as a click would.
struct ControlsFromStore {
    frmOption& dialog;
    std::function<void()> replayBacklight;

    void text(QLineEdit* box, const QString& value) { box->setText(value); }
    void label(QLabel* label, const QString& value) { label->setText(value); }
    void check(QCheckBox* box, int16_t value) { setCheck(box, value); }
    void option(QRadioButton* button, int16_t value) { setOption(button, value); }
    void list(QComboBox* list, int16_t value) { setListIndex(list, value); }
    void colour(ColorButton* button, int32_t value) { button->setBackColor(value); }
    // The console picks up the new panel settings at once.
    void panelsDone()
    {
        if (replayBacklight)
            replayBacklight();
    }
    void digitColoursDone()
    {
        M_Degit* preview = dialog.M_Degit1();
        preview->setBackColor(dialog.Command8(0)->BackColor());
        preview->setBaseForeColor(dialog.Command8(1)->BackColor());
        preview->setDegitForeColor(dialog.Command8(2)->BackColor());
    }
};

// Controls → store.
struct StoreFromControls {
    void text(const QLineEdit* box, QString& value) { value = box->text(); }
    void label(const QLabel* label, QString& value) { value = label->text(); }
    void check(const QCheckBox* box, int16_t& value) { value = checkValue(box); }
    void option(const QRadioButton* button, int16_t& value) { value = optionValue(button); }
    void list(const QComboBox* list, int16_t& value) { value = listIndex(list); }
    void colour(const ColorButton* button, int32_t& value) { value = button->BackColor(); }
    void panelsDone() {}
    void digitColoursDone() {}
};

}  // namespace

void frmOption::SetOptionInfo(const SettingsStore& store)
{
    ControlsFromStore x{*this, console_.replayBacklight};
    exchangeSettings(x, store, *this);
    // A saved plug-in that no longer loads is kept as typed, silently.
    SetPlgin(txtSeiriPlgDir_->text());
}

void frmOption::GetOptionInfo(SettingsStore& store) const
{
    StoreFromControls x;
    exchangeSettings(x, store, *this);
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
