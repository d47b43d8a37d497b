#pragma once

#include <QString>

class QWidget;

namespace fareboard {

// What the tape needs from the windows around it: the console's tape group and buttons, the
// options dialog's sound settings and the host's name from the dialog library. Controls are
// named as the windows name them ("grpM_Tape", "cmdTapeNext", "Option2(2)",
// "txtSelectSound(3)"), so the windows can answer by object name.
class TapeHost {
public:
    virtual ~TapeHost() = default;

    // The operating system's name as the dialog library reports it.
    virtual QString GetOsInfo() = 0;

    // Console controls: "grpM_Tape" and its buttons "cmdTapeNext", "cmdTapeBack",
    // "cmdTapeStop", "cmdTapeSet".
    virtual void setControlCaption(const QString& name, const QString& caption) = 0;
    virtual void setControlEnabled(const QString& name, bool enabled) = 0;
    // An empty text removes the tip.
    virtual void setControlToolTip(const QString& name, const QString& text) = 0;

    // Options dialog controls read at the moment they are needed: whether an option button
    // ("Option2(2)", "Option7(0)") is selected, and a text box's text ("txtSelectSound(4)").
    virtual bool optionSelected(const QString& name) = 0;
    virtual QString optionText(const QString& name) = 0;

    // The console window, owner of the speech adjustment dialog.
    virtual QWidget* consoleWindow() = 0;
};

}  // namespace fareboard
