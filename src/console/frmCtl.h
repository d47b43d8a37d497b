#pragma once

#include "console/ConsoleRules.h"

#include <QImage>
#include <QWidget>

#include <array>
#include <functional>

class QCheckBox;
class QComboBox;
class QFrame;
class QGroupBox;
class QLabel;
class QListWidget;
class QMenu;
class QPushButton;
class QRadioButton;
class QScrollBar;

namespace fareboard {

class DataIo;
class Form1;
class frmOption;
class mdlM_Tape;
class mdlSndAPI;
struct PlatformServices;
struct SettingsStore;

// What the console needs from the program around it.
struct ConsoleContext {
    PlatformServices& services;
    DataIo& data;
    Form1& board;
    mdlSndAPI& sound;
    QString exeBaseName;
    QString title;  // of the program's message boxes
    // Saves the settings at the confirmed close; ends the program afterwards.
    std::function<void()> saveSettings;
    std::function<void()> quit;
};

// The driver's console 集中操作盤: route and section entry, data stepping, the reset, the board
// update, the backlight and display switches, the tape buttons and the ticket preview.
class frmCtl : public QWidget {
    Q_OBJECT
public:
    static constexpr int kClientWidth = 353;         // 5295 twips
    static constexpr int kClientHeight = 173;        // 2595 twips
    static constexpr int kPreviewClientWidth = 594;  // 9000 twips outer, less the frame

    explicit frmCtl(ConsoleContext context, QWidget* parent = nullptr);
    ~frmCtl() override;

    // The tape is made after the console, because the tape drives the console's tape group.
    void setTape(mdlM_Tape* tape) { tape_ = tape; }
    // The options dialog is built while the console is already on screen; it is joined to the
    // console before the console takes any input.
    void setOptions(frmOption* options) { options_ = options; }

    // The load steps: the board's caption, the keypad keys' shapes and the tape.
    void Form_Load();

    // Writes row n of the route table to the board.
    void DispData(int16_t n);
    // Sets the route from the keypad (1) or the digit lists (0).
    void Reset(int source);
    // Steps back (0) or forward (1).
    void Command2_Click(int index);
    void CommandButton1_Click(int index);
    void List2_Click(int index);
    void List3_Click(int index);
    void Frame1_DblClick(int index);
    void Option4_Click(int index);
    void Check1_Click();
    void Check4_Click();
    void HScroll1_Change(int index);
    // Before any settings: the sliders take the stop-name column's own scrolling, so what they
    // show is what runs and the first move of one changes nothing but its own value.
    void showColumnScrolling();
    void Command4_Click();
    void Command8_Click();
    void MnuHideCopy_Click();
    void cmdTapeNext_Click();
    void cmdTapeBack_Click();
    void cmdTapeStop_Click();
    void cmdTapeSet_Click();

    void GetCtrlDataInfo(SettingsStore& store) const;
    void SetCtrlDataInfo(const SettingsStore& store);

    // The text of the version box.
    QString versionText() const;

    // Controls, by the names the program gives them.
    QPushButton* CommandButton1(int index) const { return keys_.at(static_cast<size_t>(index)); }
    QLabel* Label2(int index) const { return label2_.at(static_cast<size_t>(index)); }
    QListWidget* List2(int index) const { return list2_.at(static_cast<size_t>(index)); }
    QListWidget* List3(int index) const { return list3_.at(static_cast<size_t>(index)); }
    QPushButton* Command1(int index) const { return command1_.at(static_cast<size_t>(index)); }
    QPushButton* Command2(int index) const { return command2_.at(static_cast<size_t>(index)); }
    QFrame* Frame1(int index) const { return frame1_.at(static_cast<size_t>(index)); }
    QPushButton* Option4(int index) const { return option4_.at(static_cast<size_t>(index)); }
    QCheckBox* Check1() const { return check1_; }
    QCheckBox* Check2() const { return check2_; }
    QPushButton* Check4() const { return check4_; }
    QScrollBar* HScroll1(int index) const { return hscroll1_.at(static_cast<size_t>(index)); }
    QLabel* Label1(int index) const { return label1_.at(static_cast<size_t>(index)); }
    QGroupBox* Frame6() const { return frame6_; }
    QGroupBox* grpM_Tape() const { return grpM_Tape_; }
    QPushButton* cmdTapeNext() const { return cmdTapeNext_; }
    QPushButton* cmdTapeBack() const { return cmdTapeBack_; }
    QPushButton* cmdTapeSet() const { return cmdTapeSet_; }
    QPushButton* cmdTapeStop() const { return cmdTapeStop_; }
    QLabel* picSeirikenPrev() const { return picSeirikenPrev_; }
    QComboBox* Combo1() const { return combo1_; }
    QPushButton* Command4() const { return command4_; }
    QPushButton* Command8() const { return command8_; }

    // The ticket plug-in's preview size; the area keeps it until another plug-in is chosen.
    void setPreviewSize(int width, int height);
    // The preview's picture, as the ticket plug-in draws it.
    const QImage& previewImage() const { return preview_; }
    int frontPanel() const { return frontPanel_; }
    bool EntryToRoute() const { return entry_.entryToRoute; }
    int selectedBacklight() const;

protected:
    void closeEvent(QCloseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void buildControls();
    void buildEntryPanels();
    void shapeKeys(bool shaped);
    void playEntrySound(int soundFile);
    QString soundFile(int index) const;
    InfoDigitOptions infoDigitOptions() const;
    int dateMode() const;
    void refreshPreview();
    void showPreviewPicture();
    void keepOnScreen();
    int previewClientWidth() const;

    frmOption& options() const { return *options_; }

    ConsoleContext ctx_;
    frmOption* options_ = nullptr;
    mdlM_Tape* tape_ = nullptr;
    KeypadEntry entry_;
    int frontPanel_ = 0;
    // Board updates begun so far; tells an update whether another one ran inside it.
    unsigned dispDataCount_ = 0;
    QImage preview_;
    // The newest ticket asked of the plug-in: one that answers late for an older update, or
    // for another preview size, is not shown.
    unsigned ticketDraws_ = 0;

    std::array<QFrame*, 2> frame1_{};
    std::array<QPushButton*, 12> keys_{};
    std::array<QLabel*, 3> label2_{};
    std::array<QListWidget*, 5> list2_{};
    std::array<QListWidget*, 3> list3_{};
    std::array<QPushButton*, 2> command1_{};
    std::array<QPushButton*, 2> command2_{};
    std::array<QPushButton*, 3> option4_{};
    QCheckBox* check1_ = nullptr;
    QCheckBox* check2_ = nullptr;
    QPushButton* check4_ = nullptr;
    std::array<QScrollBar*, 2> hscroll1_{};
    std::array<QLabel*, 2> label1_{};
    QGroupBox* frame2_ = nullptr;
    QGroupBox* frame6_ = nullptr;
    QGroupBox* grpM_Tape_ = nullptr;
    QPushButton* cmdTapeNext_ = nullptr;
    QPushButton* cmdTapeBack_ = nullptr;
    QPushButton* cmdTapeSet_ = nullptr;
    QPushButton* cmdTapeStop_ = nullptr;
    QLabel* picSeirikenPrev_ = nullptr;
    QComboBox* combo1_ = nullptr;
    QPushButton* command4_ = nullptr;
    QPushButton* command8_ = nullptr;
    QMenu* mnuHide_ = nullptr;
};

}  // namespace fareboard
