#pragma once

#include <QObject>
#include <QString>

#include <functional>

class QAction;
class QMenu;
class QPoint;
class QWidget;

namespace fareboard {

class frmCtl;

// The pop-up menu of the console's background: the way to the windows beyond the console's
// own (the operation panel, the feed import, the route list), so the console itself keeps its
// controls and their places. Each feature adds its entries; a right-click on a control, or on
// the ticket preview with its own menu, shows nothing here. It belongs to the console.
class ConsoleMenu : public QObject {
    Q_OBJECT
public:
    explicit ConsoleMenu(frmCtl& console);
    ~ConsoleMenu() override;

    // Adds an entry at the end; `shortcut` is only shown beside the text (its key is the
    // feature's own).
    QAction* addEntry(const QString& text, std::function<void()> triggered, const QString& shortcut = {});
    QMenu* menu() const { return menu_; }

    // Whether a right-click at `pos` (console coordinates) is one on the background.
    bool onBackground(const QPoint& pos) const;

private:
    void popUp(const QPoint& pos);

    frmCtl& console_;
    QMenu* menu_ = nullptr;
};

}  // namespace fareboard
