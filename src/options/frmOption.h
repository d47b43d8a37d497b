#pragma once

#include <QDialog>

#include <array>
#include <cstdint>
#include <functional>

class QCheckBox;
class QComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QPlainTextEdit;
class QPushButton;
class QRadioButton;

namespace fareboard {

class Clock;
class ColorButton;
class KobuRes;
class M_Degit;
class MessageBox;
class Shell;
struct SettingsStore;

// The options dialog. While the program runs its controls are the settings: the console and
// the tape read paths and options from them the moment they need them, and the settings file
// is only their image at start-up and shutdown. The dialog is made once, hidden, and hiding it
// (OK or the frame's close button) keeps every control as it is; there is no Cancel.
//
// Edits take effect at once for everything that is read from the controls; the board's look
// (labels, digit colours, stop-name display) changes only when OK applies it through SetProp.
class frmOption : public QDialog {
    Q_OBJECT
public:
    static constexpr int kClientWidth = 638;   // 9570 twips
    // 100 pixels taller than the 5610 twips of old, so the ticket-preview page shows all ten
    // property lines and the plug-in's notes without cutting a line.
    static constexpr int kClientHeight = 474;
    static constexpr int kPageHeight = 392;
    // The colour chooser's custom colours; the settings file keeps this many.
    static constexpr int kCustomColorCount = 17;
    using CustomColorTable = std::array<int32_t, kCustomColorCount>;

    // The services must outlive the dialog. `messageBox` is kept for the ticket plug-in chooser,
    // which reports a file it cannot use.
    frmOption(KobuRes& library, Shell& shell, Clock& clock, MessageBox& messageBox, QWidget* parent = nullptr);
    ~frmOption() override;

    // Applies the dialog's state to the board and the console. Both belong to the application,
    // not to the dialog, so the application installs the step that reaches them; until it does,
    // applying changes nothing outside the dialog.
    void SetProp();
    void setApplyHandler(std::function<void()> handler) { applyHandler_ = std::move(handler); }

    // The console's parts the plug-in settings reach: the company list the plug-in fills, the
    // preview area it sizes, and the backlight switch that re-applies the panel settings.
    struct ConsoleHooks {
        QComboBox* companyList = nullptr;
        std::function<void(int width, int height)> resizePreview;
        std::function<void()> replayBacklight;
    };
    void setConsoleHooks(ConsoleHooks hooks) { console_ = std::move(hooks); }
    // "GTFS-JPから取り込む..." on the data folder page opens the feed import, which is not the
    // dialog's own; the button shows once a handler is installed.
    void setImportHandler(std::function<void()> handler);

    // The settings store into the controls, in the fixed order of the settings; a value a
    // control refuses (a list index outside its list) ends it there with AppError 380.
    void SetOptionInfo(const SettingsStore& store);
    // The controls into the settings store.
    void GetOptionInfo(SettingsStore& store) const;

    // Validates a ticket plug-in and shows what it can do: 2 when accepted, 0 when the path is
    // empty or the file is not a plug-in (then nothing changes).
    int32_t SetPlgin(const QString& path);
    // "..." of the plug-in: choose, validate, report a file that is not a plug-in.
    void Command1_Click();

    // Fills Combo2 with the twelve ticket-numbering schemes and selects the first.
    void AddComboItem();
    // Asks the user for a folder; empty when cancelled. The argument is accepted for callers
    // that pass a starting folder and is not used: the chooser always starts where it likes.
    QString GetPathString(const QString& defaultPath);
    // Lets the user change the colour `button` holds; a cancelled chooser keeps it.
    void GetBtnColor(ColorButton* button);
    // The custom colours every colour chooser of the dialog offers and may change; loaded
    // and saved with the settings.
    CustomColorTable& CustomColors() { return customColors_; }

    // The controls, by the names the program gives them. An index outside a control array
    // throws std::out_of_range.

    // Pages: tab buttons and the pages they bring to the front.
    QPushButton* Option1(int index) const;
    QGroupBox* Frame1(int index) const;

    // Data folders.
    QLineEdit* Text2(int index) const;  // 0 fare data, 1 broadcast data
    QPushButton* Command3(int index) const;
    QPushButton* Command10(int index) const;
    QPushButton* cmdGtfsImport() const { return cmdGtfsImport_; }

    // Panel and ticket-number labels.
    QCheckBox* Check1() const;
    QGroupBox* Frame3() const;
    QComboBox* Combo2() const;
    QCheckBox* Check2() const;
    ColorButton* Command5(int index) const;  // 0 OFF, 1 ON1, 2 ON2
    QGroupBox* Frame4() const;
    QRadioButton* Option3(int index) const;  // 0..7
    QGroupBox* Frame6(int index) const;
    QLineEdit* txtSelectPanel(int index) const;
    QPushButton* Command6(int index) const;

    // Digit displays and information digits.
    QCheckBox* Check3(int index) const;  // 0..4
    QComboBox* Combo4(int index) const;  // 0..4
    ColorButton* Command8(int index) const;  // 0 back, 1 unlit, 2 lit
    M_Degit* M_Degit1() const;

    // Stop-name display.
    ColorButton* Command9(int index) const;  // 0 back, 1 text
    QComboBox* Combo3() const;
    QCheckBox* Check4() const;

    // Sounds. txtSelectSound and cmdSelectSound have no index 2.
    QLineEdit* txtSelectSound(int index) const;  // 0, 1, 3..10
    QPushButton* cmdSelectSound(int index) const;
    QPushButton* Option5(int index) const;
    QGroupBox* Frame2(int index) const;
    QRadioButton* Option2(int index) const;  // 0..3
    QComboBox* Combo1() const;
    QRadioButton* Option6(int index) const;  // 0 sync, 1 async (stepping)
    QRadioButton* Option7(int index) const;  // 0 sync, 1 async (announcement)

    // Ticket preview.
    QCheckBox* chkUseSeiriPrev() const;
    QGroupBox* Frame10() const;
    QLineEdit* txtSeiriPlgDir() const;
    QPushButton* Command1() const;
    QPushButton* Command11() const;
    QListWidget* List1() const;
    QPlainTextEdit* txtPlginComment() const;
    QGroupBox* Frame7() const;
    QRadioButton* Option4(int index) const;  // 0..2
    QLabel* Label10() const;
    QPushButton* Command7() const;

    QPushButton* Command4() const;  // "OK"

private:
    void buildPageButtons();
    void buildDataFolderPage(QGroupBox* page);
    void buildPanelPage(QGroupBox* page);
    void buildDigitPage(QGroupBox* page);
    void buildChimeiPage(QGroupBox* page);
    void buildSoundPage(QGroupBox* page);
    void buildSoundSubPage(QGroupBox* frame, int modeOption, int firstFlagSound);
    void buildSeiriPrevPage(QGroupBox* page);
    void connectHandlers();
    void fillLists();

    void Option1_Click(int index);
    void Option5_Click(int index);
    void Command3_Click(int index);
    void Command10_Click(int index);
    void cmdSelectSound_Click(int index);
    void Command6_Click(int index);
    void Option3_Click();
    void Command8_Click(int index);
    void chkUseSeiriPrev_Click();
    void Command11_Click();
    void Command7_Click();
    void Command4_Click();
    void ShowPreviewColors();

    KobuRes& library_;
    Shell& shell_;
    Clock& clock_;
    MessageBox& messageBox_;
    std::function<void()> applyHandler_;
    ConsoleHooks console_;
    CustomColorTable customColors_{};

    std::array<QPushButton*, 6> option1_{};
    std::array<QGroupBox*, 6> frame1_{};

    std::array<QLineEdit*, 2> text2_{};
    std::array<QPushButton*, 2> command3_{};
    std::array<QPushButton*, 2> command10_{};
    QPushButton* cmdGtfsImport_ = nullptr;
    std::function<void()> importHandler_;

    QCheckBox* check1_ = nullptr;
    QGroupBox* frame3_ = nullptr;
    QComboBox* combo2_ = nullptr;
    QCheckBox* check2_ = nullptr;
    std::array<ColorButton*, 3> command5_{};
    QGroupBox* frame4_ = nullptr;
    std::array<QRadioButton*, 8> option3_{};
    std::array<QGroupBox*, 3> frame6_{};
    std::array<QLineEdit*, 3> txtSelectPanel_{};
    std::array<QPushButton*, 3> command6_{};

    std::array<QCheckBox*, 5> check3_{};
    std::array<QComboBox*, 5> combo4_{};
    std::array<ColorButton*, 3> command8_{};
    M_Degit* mDegit1_ = nullptr;

    std::array<ColorButton*, 2> command9_{};
    QComboBox* combo3_ = nullptr;
    QCheckBox* check4_ = nullptr;

    std::array<QLineEdit*, 11> txtSelectSound_{};
    std::array<QPushButton*, 11> cmdSelectSound_{};
    std::array<QPushButton*, 2> option5_{};
    std::array<QGroupBox*, 2> frame2_{};
    std::array<QRadioButton*, 4> option2_{};
    QComboBox* combo1_ = nullptr;
    std::array<QRadioButton*, 2> option6_{};
    std::array<QRadioButton*, 2> option7_{};

    QCheckBox* chkUseSeiriPrev_ = nullptr;
    QGroupBox* frame10_ = nullptr;
    QLineEdit* txtSeiriPlgDir_ = nullptr;
    QPushButton* command1_ = nullptr;
    QPushButton* command11_ = nullptr;
    QListWidget* list1_ = nullptr;
    QPlainTextEdit* txtPlginComment_ = nullptr;
    QGroupBox* frame7_ = nullptr;
    std::array<QRadioButton*, 3> option4_{};
    QLabel* label10_ = nullptr;
    QPushButton* command7_ = nullptr;

    QPushButton* command4_ = nullptr;
};

}  // namespace fareboard
