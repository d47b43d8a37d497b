#include "options/frmOption.h"

#include "controls/digit/M_Degit.h"
#include "extlib/KobuRes.h"
#include "options/ColorButton.h"
#include "options/OptionChoices.h"
#include "platform/Clock.h"
#include "platform/Shell.h"
#include "platform/Typefaces.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>

#include <stdexcept>

namespace fareboard {

namespace {

template <class T, std::size_t N>
T* element(const std::array<T*, N>& controls, int index, const char* name)
{
    if (index < 0 || index >= int(N) || !controls[std::size_t(index)])
        throw std::out_of_range(std::string("no control ") + name + "(" + std::to_string(index) + ")");
    return controls[std::size_t(index)];
}

}  // namespace

frmOption::frmOption(KobuRes& library, Shell& shell, Clock& clock, MessageBox& messageBox, QWidget* parent)
    : QDialog(parent), library_(library), shell_(shell), clock_(clock), messageBox_(messageBox)
{
    setWindowTitle(QStringLiteral("オプション"));
    // A fixed dialog frame: a title and a close button, nothing to minimise, maximise or resize.
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint |
                   Qt::MSWindowsFixedSizeDialogHint);
    setFixedSize(kClientWidth, kClientHeight);
    // The pages are laid out for a 9-point proportional Japanese face, the console's own: one
    // face loaded once serves both windows.
    setFont(typeface(Typeface::PGothic, 9));

    buildPageButtons();
    buildDataFolderPage(frame1_[0]);
    buildPanelPage(frame1_[1]);
    buildDigitPage(frame1_[2]);
    buildChimeiPage(frame1_[3]);
    buildSoundPage(frame1_[4]);
    buildSeiriPrevPage(frame1_[5]);
    connectHandlers();
    fillLists();
    option1_[0]->setChecked(true);
    Option1_Click(0);
}

frmOption::~frmOption() = default;

void frmOption::fillLists()
{
    mDegit1_->setDegitSize(0);
    // A fare-like number, so the preview shows lit and unlit segments side by side.
    mDegit1_->setValue(int16_t(120));
    for (int n = 1; n <= 24; ++n)
        for (int i = 0; i <= 3; ++i)
            combo4_[std::size_t(i)]->addItem(QString::number(n));
    for (int i = 0; i <= 3; ++i)
        combo4_[std::size_t(i)]->setCurrentIndex(0);
    for (int n = 1; n <= 150; ++n) {
        combo1_->addItem(QString::number(n));
        combo4_[4]->addItem(QString::number(n));
    }
    combo1_->setCurrentIndex(0);
    combo4_[4]->setCurrentIndex(0);
    AddComboItem();
    combo3_->addItems(chimeiFontModeTexts());
    // Without a settings file nothing else chooses a font; the plain gothic face is the board's
    // usual look and keeps the stop-name display on a real mode.
    combo3_->setCurrentIndex(0);
    label10_->setText(fixedDateText(clock_.now().date()));
}

void frmOption::connectHandlers()
{
    for (int i = 0; i < 6; ++i)
        connect(option1_[std::size_t(i)], &QPushButton::toggled, this, [this, i](bool on) {
            if (on)
                Option1_Click(i);
        });
    for (int i = 0; i < 2; ++i) {
        connect(option5_[std::size_t(i)], &QPushButton::toggled, this, [this, i](bool on) {
            if (on)
                Option5_Click(i);
        });
        connect(command3_[std::size_t(i)], &QPushButton::clicked, this, [this, i] { Command3_Click(i); });
        connect(command10_[std::size_t(i)], &QPushButton::clicked, this, [this, i] { Command10_Click(i); });
    }
    connect(cmdGtfsImport_, &QPushButton::clicked, this, [this] {
        if (importHandler_)
            importHandler_();
    });
    for (int i = 0; i < 11; ++i)
        if (cmdSelectSound_[std::size_t(i)])
            connect(cmdSelectSound_[std::size_t(i)], &QPushButton::clicked, this, [this, i] { cmdSelectSound_Click(i); });
    for (int i = 0; i < 3; ++i)
        connect(command6_[std::size_t(i)], &QPushButton::clicked, this, [this, i] { Command6_Click(i); });
    // Option3(0) changes whenever its group does, also when the settings are put in.
    connect(option3_[0], &QRadioButton::toggled, this, [this] { Option3_Click(); });

    // Each dependent control is enabled exactly while its check box is on (checked or greyed).
    // Deriving it from the box, rather than flipping it on every change, keeps the two in step
    // whatever order the settings arrive in.
    auto follow = [this](QCheckBox* box, std::initializer_list<QWidget*> dependents) {
        std::vector<QWidget*> list(dependents);
        connect(box, &QCheckBox::stateChanged, this, [list](int state) {
            for (QWidget* w : list)
                w->setEnabled(state != Qt::Unchecked);
        });
    };
    follow(check1_, {frame3_});
    follow(check3_[0], {combo4_[0], check3_[4]});
    follow(check3_[1], {combo4_[1]});
    follow(check3_[2], {combo4_[2]});
    follow(check3_[3], {combo4_[3], combo4_[4]});

    for (ColorButton* button : command5_)
        connect(button, &QPushButton::clicked, this, [this, button] { GetBtnColor(button); });
    for (ColorButton* button : command9_)
        connect(button, &QPushButton::clicked, this, [this, button] { GetBtnColor(button); });
    for (int i = 0; i < 3; ++i)
        connect(command8_[std::size_t(i)], &QPushButton::clicked, this, [this, i] { Command8_Click(i); });

    connect(chkUseSeiriPrev_, &QCheckBox::stateChanged, this, [this] { chkUseSeiriPrev_Click(); });
    connect(command11_, &QPushButton::clicked, this, [this] { Command11_Click(); });
    connect(command1_, &QPushButton::clicked, this, [this] { Command1_Click(); });
    connect(command7_, &QPushButton::clicked, this, [this] { Command7_Click(); });
    connect(command4_, &QPushButton::clicked, this, [this] { Command4_Click(); });
}

void frmOption::SetProp()
{
    if (applyHandler_)
        applyHandler_();
}

void frmOption::AddComboItem()
{
    // Made once at creation; clearing first keeps a second call from doubling the list.
    combo2_->clear();
    combo2_->addItems(numberingSchemeTexts());
    combo2_->setCurrentIndex(0);
}

QString frmOption::GetPathString(const QString& defaultPath)
{
    return library_.TmlFolderDlgAt(this, QStringLiteral("フォルダーを選択してください"), defaultPath);
}

void frmOption::GetBtnColor(ColorButton* button)
{
    int32_t color = button->BackColor();
    if (library_.TmlChooseColor(this, color, customColors_) != 0)
        button->setBackColor(color);
}

void frmOption::Option1_Click(int index)
{
    // Only the front page is shown, so keyboard focus never wanders onto a page behind it.
    for (int i = 0; i < 6; ++i)
        frame1_[std::size_t(i)]->setVisible(i == index);
    frame1_[std::size_t(index)]->raise();
}

void frmOption::Option5_Click(int index)
{
    for (int i = 0; i < 2; ++i)
        frame2_[std::size_t(i)]->setVisible(i == index);
    frame2_[std::size_t(index)]->raise();
}

void frmOption::Command3_Click(int index)
{
    // The chooser opens where the folder points now, which is where a user looks next.
    const QString folder = GetPathString(text2_[std::size_t(index)]->text());
    if (!folder.isEmpty())
        text2_[std::size_t(index)]->setText(folder);
}

void frmOption::setImportHandler(std::function<void()> handler)
{
    importHandler_ = std::move(handler);
    cmdGtfsImport_->setVisible(bool(importHandler_));
}

void frmOption::Command10_Click(int index)
{
    // Only a convenience: a folder the file manager cannot open is simply not opened.
    shell_.openFolder(text2_[std::size_t(index)]->text());
}

void frmOption::cmdSelectSound_Click(int index)
{
    const QString path = library_.TmlFileDlg(this, 0, soundFilterList(), QString(), QStringLiteral("サウンドの選択"));
    if (!path.isEmpty())
        txtSelectSound_[std::size_t(index)]->setText(path);
}

void frmOption::Command6_Click(int index)
{
    const QString path =
        library_.TmlFileDlg(this, 0, panelPictureFilterList(), QString(), QStringLiteral("パネル画像の選択"));
    if (!path.isEmpty())
        txtSelectPanel_[std::size_t(index)]->setText(path);
}

void frmOption::Option3_Click()
{
    const bool perState = !option3_[0]->isChecked();
    for (QGroupBox* frame : frame6_) {
        frame->setEnabled(perState);
        frame->setVisible(perState);
    }
}

void frmOption::Command8_Click(int index)
{
    GetBtnColor(command8_[std::size_t(index)]);
    ShowPreviewColors();
}

void frmOption::ShowPreviewColors()
{
    mDegit1_->setBackColor(command8_[0]->BackColor());
    mDegit1_->setBaseForeColor(command8_[1]->BackColor());
    mDegit1_->setDegitForeColor(command8_[2]->BackColor());
}

void frmOption::chkUseSeiriPrev_Click()
{
    const bool on = chkUseSeiriPrev_->checkState() != Qt::Unchecked;
    for (QGroupBox* frame : {frame10_, frame7_}) {
        frame->setEnabled(on);
        frame->setVisible(on);
    }
}

void frmOption::Command11_Click()
{
    txtSeiriPlgDir_->clear();
    list1_->clear();
    txtPlginComment_->clear();
}

void frmOption::Command7_Click()
{
    // Start the chooser on the date already fixed; the library starts on today otherwise.
    DateRecord date;
    if (const std::optional<QDate> shown = parseFixedDate(label10_->text())) {
        date.year = int16_t(shown->year());
        date.month = int16_t(shown->month());
        date.dayOfWeek = int16_t(shown->dayOfWeek() % 7);
        date.day = int16_t(shown->day());
    }
    if (library_.Call_dlg111(this, date) != 0)
        label10_->setText(fixedDateText(date.year, date.month, date.day));
}

void frmOption::Command4_Click()
{
    SetProp();
    hide();
}

QPushButton* frmOption::Option1(int index) const { return element(option1_, index, "Option1"); }
QGroupBox* frmOption::Frame1(int index) const { return element(frame1_, index, "Frame1"); }
QLineEdit* frmOption::Text2(int index) const { return element(text2_, index, "Text2"); }
QPushButton* frmOption::Command3(int index) const { return element(command3_, index, "Command3"); }
QPushButton* frmOption::Command10(int index) const { return element(command10_, index, "Command10"); }
QCheckBox* frmOption::Check1() const { return check1_; }
QGroupBox* frmOption::Frame3() const { return frame3_; }
QComboBox* frmOption::Combo2() const { return combo2_; }
QCheckBox* frmOption::Check2() const { return check2_; }
ColorButton* frmOption::Command5(int index) const { return element(command5_, index, "Command5"); }
QGroupBox* frmOption::Frame4() const { return frame4_; }
QRadioButton* frmOption::Option3(int index) const { return element(option3_, index, "Option3"); }
QGroupBox* frmOption::Frame6(int index) const { return element(frame6_, index, "Frame6"); }
QLineEdit* frmOption::txtSelectPanel(int index) const { return element(txtSelectPanel_, index, "txtSelectPanel"); }
QPushButton* frmOption::Command6(int index) const { return element(command6_, index, "Command6"); }
QCheckBox* frmOption::Check3(int index) const { return element(check3_, index, "Check3"); }
QComboBox* frmOption::Combo4(int index) const { return element(combo4_, index, "Combo4"); }
ColorButton* frmOption::Command8(int index) const { return element(command8_, index, "Command8"); }
M_Degit* frmOption::M_Degit1() const { return mDegit1_; }
ColorButton* frmOption::Command9(int index) const { return element(command9_, index, "Command9"); }
QComboBox* frmOption::Combo3() const { return combo3_; }
QCheckBox* frmOption::Check4() const { return check4_; }
QLineEdit* frmOption::txtSelectSound(int index) const { return element(txtSelectSound_, index, "txtSelectSound"); }
QPushButton* frmOption::cmdSelectSound(int index) const { return element(cmdSelectSound_, index, "cmdSelectSound"); }
QPushButton* frmOption::Option5(int index) const { return element(option5_, index, "Option5"); }
QGroupBox* frmOption::Frame2(int index) const { return element(frame2_, index, "Frame2"); }
QRadioButton* frmOption::Option2(int index) const { return element(option2_, index, "Option2"); }
QComboBox* frmOption::Combo1() const { return combo1_; }
QRadioButton* frmOption::Option6(int index) const { return element(option6_, index, "Option6"); }
QRadioButton* frmOption::Option7(int index) const { return element(option7_, index, "Option7"); }
QCheckBox* frmOption::chkUseSeiriPrev() const { return chkUseSeiriPrev_; }
QGroupBox* frmOption::Frame10() const { return frame10_; }
QLineEdit* frmOption::txtSeiriPlgDir() const { return txtSeiriPlgDir_; }
QPushButton* frmOption::Command1() const { return command1_; }
QPushButton* frmOption::Command11() const { return command11_; }
QListWidget* frmOption::List1() const { return list1_; }
QPlainTextEdit* frmOption::txtPlginComment() const { return txtPlginComment_; }
QGroupBox* frmOption::Frame7() const { return frame7_; }
QRadioButton* frmOption::Option4(int index) const { return element(option4_, index, "Option4"); }
QLabel* frmOption::Label10() const { return label10_; }
QPushButton* frmOption::Command7() const { return command7_; }
QPushButton* frmOption::Command4() const { return command4_; }

}  // namespace fareboard
