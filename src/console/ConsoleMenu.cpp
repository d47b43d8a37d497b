#include "console/ConsoleMenu.h"

#include "console/frmCtl.h"

#include <QAction>
#include <QGroupBox>
#include <QMenu>

namespace fareboard {

ConsoleMenu::ConsoleMenu(frmCtl& console) : QObject(&console), console_(console)
{
    menu_ = new QMenu(&console);
    menu_->setObjectName(QStringLiteral("mnuConsole"));
    // Right-clicks on controls that have no menu of their own travel up to the console.
    console.setContextMenuPolicy(Qt::CustomContextMenu);
    connect(&console, &QWidget::customContextMenuRequested, this, &ConsoleMenu::popUp);
}

ConsoleMenu::~ConsoleMenu() = default;

QAction* ConsoleMenu::addEntry(const QString& text, std::function<void()> triggered, const QString& shortcut)
{
    QAction* action = menu_->addAction(shortcut.isEmpty() ? text : text + QLatin1Char('\t') + shortcut);
    connect(action, &QAction::triggered, this, [triggered = std::move(triggered)] { triggered(); });
    return action;
}

bool ConsoleMenu::onBackground(const QPoint& pos) const
{
    const QWidget* hit = console_.childAt(pos);
    // The console itself, a frame's face or the entry panels behind their keys; anything
    // else (a key, a list, a label, the preview) is a control.
    return !hit || qobject_cast<const QGroupBox*>(hit) || hit->metaObject() == &QFrame::staticMetaObject;
}

void ConsoleMenu::popUp(const QPoint& pos)
{
    if (menu_->isEmpty() || !onBackground(pos))
        return;
    menu_->popup(console_.mapToGlobal(pos));
}

}  // namespace fareboard
