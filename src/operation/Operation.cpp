#include "Operation.h"

#include "BoardStopLamp.h"
#include "OperationPanel.h"
#include "OperationRun.h"
#include "StopRequest.h"
#include "Timetable.h"
#include "announce/mdlM_Tape.h"
#include "board/Form1.h"
#include "console/ConsoleMenu.h"
#include "console/ConsoleRules.h"
#include "console/DataIo.h"
#include "console/frmCtl.h"
#include "controls/stopname/ChimeiCtl_B.h"
#include "extlib/KobuRes.h"
#include "options/OptionChoices.h"
#include "options/frmOption.h"
#include "platform/WindowPlacement.h"

#include <QCheckBox>
#include <QGroupBox>
#include <QGuiApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScreen>
#include <QShortcut>

namespace fareboard {
namespace {

// Below the existing controls of the panel page and of the sound page, at the left edge and in
// the columns the pages' own rows use.
constexpr QRect kStopLampCheck{8, 292, 614, 20};
constexpr QRect kSoundLabel{10, 296, 150, 22};
constexpr QRect kSoundText{164, 296, 414, 22};
constexpr QRect kSoundChooser{582, 296, 32, 22};
constexpr int kPanelGap = 8;

}  // namespace

Operation::Operation(Parts parts, QString settingsFile, const OperationSettings& defaults)
    : parts_(std::move(parts)), settingsFile_(std::move(settingsFile)),
      loaded_(loadOperationSettings(settingsFile_, defaults)), boardLampOn_(loaded_.boardLamp)
{
    addOptionControls();
    bell_ = std::make_unique<StopRequest>(parts_.sound, parts_.tape, [this] { return txtSound_->text(); });
    run_ = std::make_unique<OperationRun>(
        OperationRun::Parts{parts_.console, parts_.data, parts_.board, parts_.tape, *bell_, parts_.clock});
    lamp_ = new BoardStopLamp(&parts_.board, parts_.glyphs);
    connect(bell_.get(), &StopRequest::pendingChanged, this, &Operation::showBoardLamp);

    parts_.menu.addEntry(QStringLiteral("運行パネル"), [this] { openPanel(); }, QStringLiteral("F2"));
    auto* f2 = new QShortcut(QKeySequence(Qt::Key_F2), &parts_.console);
    connect(f2, &QShortcut::activated, this, &Operation::openPanel);
    // On every window of the program; a text box being typed in keeps its letters.
    auto* b = new QShortcut(QKeySequence(Qt::Key_B), &parts_.console);
    b->setContext(Qt::ApplicationShortcut);
    connect(b, &QShortcut::activated, this, [this] { bell_->press(); });

    // The bus moves on to the next stop: by the driver's step, or by the tape's when its entry
    // steps the fares along. Both handlers of the console have run by now.
    connect(parts_.console.Command2(1), &QPushButton::clicked, this, [this] { bell_->clear(); });
    connect(parts_.console.cmdTapeNext(), &QPushButton::clicked, this, [this] {
        if (parts_.tape.TapeStepAt(parts_.tape.TapePos()) == 1)
            bell_->clear();
    });
}

Operation::~Operation() = default;

void Operation::addOptionControls()
{
    frmOption& o = parts_.options;
    chkStopLamp_ = new QCheckBox(QStringLiteral("降車ボタンが押されたら、運賃表示器にも「とまります」を表示する"), o.Frame1(1));
    chkStopLamp_->setObjectName(QStringLiteral("chkStopLamp"));
    chkStopLamp_->setGeometry(kStopLampCheck);
    chkStopLamp_->setChecked(loaded_.boardLamp);

    QGroupBox* sounds = o.Frame1(4);
    auto* label = new QLabel(QStringLiteral("降車ボタンのサウンド："), sounds);
    label->setObjectName(QStringLiteral("lblStopRequestSound"));
    label->setGeometry(kSoundLabel);
    label->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    txtSound_ = new QLineEdit(loaded_.stopRequestSound, sounds);
    txtSound_->setObjectName(QStringLiteral("txtStopRequestSound"));
    txtSound_->setGeometry(kSoundText);
    cmdSound_ = new QPushButton(QStringLiteral("..."), sounds);
    cmdSound_->setObjectName(QStringLiteral("cmdStopRequestSound"));
    cmdSound_->setGeometry(kSoundChooser);
    cmdSound_->setAutoDefault(false);
    connect(cmdSound_, &QPushButton::clicked, this, [this] {
        const QString path = parts_.library.TmlFileDlg(&parts_.options, 0, soundFilterList(), QString(),
                                                       QStringLiteral("サウンドの選択"));
        if (!path.isEmpty())
            txtSound_->setText(path);
    });
}

void Operation::applyOptions()
{
    boardLampOn_ = chkStopLamp_->isChecked();
    showBoardLamp();
}

void Operation::showBoardLamp()
{
    if (!bell_->pending() || !boardLampOn_) {
        lamp_->putOut();
        return;
    }
    const ChimeiCtl_B* column = parts_.board.ChimeiCtl();
    lamp_->light(column->BackColor(), column->ForeColor());
}

OperationSettings Operation::current() const
{
    OperationSettings s = loaded_;
    s.stopRequestSound = txtSound_->text();
    s.boardLamp = chkStopLamp_->isChecked();
    if (panel_) {
        s.speed = panel_->speed();
        s.passengerRequests = panel_->passengerRequests();
    }
    return s;
}

void Operation::save()
{
    if (!settingsFile_.isEmpty())
        saveOperationSettings(settingsFile_, current());
}

QString Operation::currentRoute() const
{
    const QString typed = parts_.console.Label2(0)->text();
    if (!typed.isEmpty())
        return routeKey(typed);
    if (parts_.data.Route.RowCount > 0)
        return routeKey(parts_.data.Route.RouteText);
    return {};
}

OperationPanel& Operation::panel()
{
    if (!panel_) {
        OperationPanel::Route route{[this] { return currentRoute(); },
                                    [this](const QString& key) {
                                        // Beside the fare data, where an import writes it; else beside the announcements.
                                        Timetable table = readTimetable(parts_.options.Text2(0)->text(), key);
                                        if (table.trips.empty() && table.fault.isEmpty())
                                            table = readTimetable(parts_.options.Text2(1)->text(), key);
                                        return table;
                                    }};
        panel_ = std::make_unique<OperationPanel>(*run_, *bell_, std::move(route));
        panel_->setSpeed(loaded_.speed);
        panel_->setPassengerRequests(loaded_.passengerRequests);
        // First shown beside the console, to its left, the two frames' bottoms level.
        const QRect console = parts_.console.frameGeometry();
        const QScreen* screen = parts_.console.screen();
        const QRect desk = screen ? screen->availableGeometry() : QRect(0, 0, 1024, 768);
        placeOuterFrame(panel_.get(), [console, desk](const QSize& outer) {
            const int x = console.left() - outer.width() - kPanelGap;
            const int y = console.bottom() + 1 - outer.height();
            return QPoint(std::clamp(x, desk.left(), std::max(desk.left(), desk.right() + 1 - outer.width())),
                          std::clamp(y, desk.top(), std::max(desk.top(), desk.bottom() + 1 - outer.height())));
        });
    }
    return *panel_;
}

void Operation::openPanel()
{
    OperationPanel& p = panel();
    p.refresh();
    p.show();
    p.raise();
    p.activateWindow();
}

}  // namespace fareboard
