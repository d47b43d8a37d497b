#pragma once

#include "OperationSettings.h"

#include <QObject>
#include <QString>

#include <memory>

class QCheckBox;
class QLineEdit;
class QPushButton;

namespace fareboard {

class BoardStopLamp;
class Clock;
class ConsoleMenu;
class DataIo;
class Form1;
class GlyphSource;
class KobuRes;
class OperationPanel;
class OperationRun;
class StopRequest;
class frmCtl;
class frmOption;
class mdlM_Tape;
class mdlSndAPI;

// The operation panel and the stop-request bell, joined to the program's windows from outside:
// an entry in the console's background menu and F2 on the console open the panel, B on any of
// the program's windows presses the bell, the board gets its lamp and the options dialog its
// two settings, each where it hides or moves nothing of theirs.
class Operation : public QObject {
    Q_OBJECT
public:
    struct Parts {
        frmCtl& console;
        Form1& board;
        DataIo& data;
        frmOption& options;
        mdlM_Tape& tape;
        mdlSndAPI& sound;
        Clock& clock;
        KobuRes& library;
        ConsoleMenu& menu;
        std::shared_ptr<GlyphSource> glyphs;
    };

    // `settingsFile` keeps the settings between runs; empty keeps nothing. `defaults` are a
    // first start's.
    Operation(Parts parts, QString settingsFile, const OperationSettings& defaults);
    ~Operation() override;

    // The options dialog's OK: the board lamp follows its check box from now on.
    void applyOptions();
    // At the confirmed close, with the other settings.
    void save();
    OperationSettings current() const;

    void openPanel();
    OperationPanel& panel();
    StopRequest& bell() { return *bell_; }
    OperationRun& run() { return *run_; }
    BoardStopLamp& boardLamp() { return *lamp_; }

    QCheckBox* chkStopLamp() const { return chkStopLamp_; }
    QLineEdit* txtStopRequestSound() const { return txtSound_; }
    QPushButton* cmdStopRequestSound() const { return cmdSound_; }

    // The route the driver has chosen: the keypad's route when one is typed, else the route
    // last set; "" before either.
    QString currentRoute() const;

private:
    void addOptionControls();
    void showBoardLamp();

    Parts parts_;
    QString settingsFile_;
    OperationSettings loaded_;
    bool boardLampOn_ = true;
    std::unique_ptr<StopRequest> bell_;
    std::unique_ptr<OperationRun> run_;
    std::unique_ptr<OperationPanel> panel_;
    BoardStopLamp* lamp_ = nullptr;
    QCheckBox* chkStopLamp_ = nullptr;
    QLineEdit* txtSound_ = nullptr;
    QPushButton* cmdSound_ = nullptr;
};

}  // namespace fareboard
