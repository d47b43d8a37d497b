#include "operation/RouteKeying.h"

#include "console/frmCtl.h"

#include <QCheckBox>
#include <QPushButton>
#include <QString>

namespace fareboard {

std::vector<int> keypadKeysFor(int number)
{
    std::vector<int> keys{10};
    for (const QChar c : QString::number(number))
        keys.push_back(c.digitValue());
    keys.push_back(11);
    keys.push_back(1);
    return keys;
}

void keyRouteOnConsole(frmCtl& console, int number)
{
    // With the display cleared the entry panels take no keys; the driver switches it off first.
    if (console.Check1()->isEnabled() && console.Check1()->isChecked())
        console.Check1()->click();
    // The digit lists in front: a double-click on their panel's background shows the keypad.
    if (console.frontPanel() == 1)
        console.Frame1_DblClick(0);
    for (int key : keypadKeysFor(number))
        console.CommandButton1(key)->click();
    console.Command1(1)->click();
}

}  // namespace fareboard
