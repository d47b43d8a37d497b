#pragma once

#include "announce/TapeHost.h"

namespace fareboard {

class KobuRes;
class frmCtl;
class frmOption;

// Lets the tape reach the console's tape group and the options dialog's sound settings by the
// controls' names, as the windows name them.
class AppTapeHost final : public TapeHost {
public:
    AppTapeHost(frmCtl& console, KobuRes& library) : console_(console), library_(library) {}
    // The tape starts with the console; the options dialog is built a moment later.
    void setOptions(const frmOption* options) { options_ = options; }

    QString GetOsInfo() override;
    void setControlCaption(const QString& name, const QString& caption) override;
    void setControlEnabled(const QString& name, bool enabled) override;
    void setControlToolTip(const QString& name, const QString& text) override;
    bool optionSelected(const QString& name) override;
    QString optionText(const QString& name) override;
    QWidget* consoleWindow() override;

private:
    frmCtl& console_;
    const frmOption* options_ = nullptr;
    KobuRes& library_;
};

}  // namespace fareboard
