#include "AppTapeHost.h"

#include "console/frmCtl.h"
#include "extlib/KobuRes.h"
#include "options/frmOption.h"

#include <QAbstractButton>
#include <QGroupBox>
#include <QLineEdit>

namespace fareboard {

QString AppTapeHost::GetOsInfo() { return library_.GetOsInfo(); }

void AppTapeHost::setControlCaption(const QString& name, const QString& caption)
{
    QWidget* w = console_.objectName() == name ? &console_ : console_.findChild<QWidget*>(name);
    if (auto* group = qobject_cast<QGroupBox*>(w))
        group->setTitle(caption);
    else if (auto* button = qobject_cast<QAbstractButton*>(w))
        button->setText(caption);
}

void AppTapeHost::setControlEnabled(const QString& name, bool enabled)
{
    if (QWidget* w = console_.findChild<QWidget*>(name))
        w->setEnabled(enabled);
}

void AppTapeHost::setControlToolTip(const QString& name, const QString& text)
{
    if (QWidget* w = console_.findChild<QWidget*>(name))
        w->setToolTip(text);
}

bool AppTapeHost::optionSelected(const QString& name)
{
    const auto* button = options_ ? options_->findChild<QAbstractButton*>(name) : nullptr;
    return button && button->isChecked();
}

QString AppTapeHost::optionText(const QString& name)
{
    const auto* edit = options_ ? options_->findChild<QLineEdit*>(name) : nullptr;
    return edit ? edit->text() : QString();
}

QWidget* AppTapeHost::consoleWindow() { return &console_; }

}  // namespace fareboard
