#include "console/frmCtl.h"

#include "announce/mdlM_Tape.h"
#include "announce/mdlSndAPI.h"
#include "board/Form1.h"
#include "board/SettingsStore.h"
#include "console/ConsoleKeyboard.h"
#include "console/DataIo.h"
#include "controls/digit/M_Degit.h"
#include "controls/stopname/ChimeiCtl_B.h"
#include "extlib/KobuRes.h"
#include "options/ColorButton.h"
#include "options/frmOption.h"
#include "platform/AppError.h"
#include "platform/Clock.h"
#include "platform/FileAccess.h"
#include "platform/MessageBox.h"
#include "platform/PlatformServices.h"
#include "platform/Sleeper.h"
#include "platform/WindowPlacement.h"

#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QCloseEvent>
#include <QComboBox>
#include <QFileInfo>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QPainterPath>
#include <QShortcut>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QScrollBar>

namespace fareboard {
namespace {

constexpr int kLampTestMs = 3000;
const QColor kPreviewPaper(Qt::white);

}  // namespace

frmCtl::frmCtl(ConsoleContext context, QWidget* parent)
    : QWidget(parent, Qt::Window | Qt::MSWindowsFixedSizeDialogHint), ctx_(std::move(context))
{
    setObjectName(QStringLiteral("frmCtl"));
    setWindowTitle(QStringLiteral("集中操作盤"));
    setWindowFlag(Qt::WindowMaximizeButtonHint, false);
    setFixedSize(kClientWidth, kClientHeight);
    buildControls();
    new ConsoleKeyboard(*this);
    preview_ = QImage(picSeirikenPrev_->size(), QImage::Format_RGB32);
    preview_.fill(kPreviewPaper);
    showPreviewPicture();
    // Without a window manager there is no title bar to close the console with; the key asks
    // the same question as the close.
    auto* quit = new QShortcut(QKeySequence(Qt::CTRL | Qt::Key_Q), this);
    quit->setObjectName(QStringLiteral("QuitShortcut"));
    connect(quit, &QShortcut::activated, this, &QWidget::close);
}

frmCtl::~frmCtl() = default;

void frmCtl::Form_Load()
{
    ctx_.board.setWindowTitle(QStringLiteral("運賃表示器アプリケーション - 型番:") + ctx_.exeBaseName);
    shapeKeys(true);
    if (tape_)
        tape_->TapeInit();
}

void frmCtl::shapeKeys(bool shaped)
{
    // Small rounded keys: the region (2, 2)-(28, 25) with 2 x 2 corner ellipses.
    QRegion region;
    if (shaped) {
        QPainterPath path;
        path.addRoundedRect(QRectF(2, 2, 26, 23), 1, 1);
        region = QRegion(path.toFillPolygon().toPolygon());
    }
    for (QPushButton* key : keys_) {
        if (shaped)
            key->setMask(region);
        else
            key->clearMask();
    }
}

QString frmCtl::soundFile(int index) const { return options().txtSelectSound(index)->text(); }

void frmCtl::playEntrySound(int soundFileIndex) { ctx_.sound.SndPlay(soundFile(soundFileIndex), QStringLiteral("S1"), false, 0); }

void frmCtl::CommandButton1_Click(int index)
{
    playEntrySound(1);
    entry_.press(index);
    label2_[0]->setText(entry_.route);
    label2_[2]->setText(entry_.section);
}

void frmCtl::List2_Click(int) { playEntrySound(1); }
void frmCtl::List3_Click(int) { playEntrySound(0); }

void frmCtl::Frame1_DblClick(int index)
{
    frontPanel_ = index;
    frame1_.at(static_cast<size_t>(index))->lower();
}

bool frmCtl::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::MouseButtonDblClick) {
        for (int i = 0; i < 2; ++i) {
            QFrame* panel = frame1_[static_cast<size_t>(i)];
            // A double-click a display or heading passes on is not one on the panel itself.
            if (watched == panel && !panel->childAt(static_cast<QMouseEvent*>(event)->position().toPoint())) {
                Frame1_DblClick(i);
                return true;
            }
        }
    }
    if (watched == picSeirikenPrev_ && event->type() == QEvent::MouseButtonPress) {
        auto* mouse = static_cast<QMouseEvent*>(event);
        if (mouse->button() == Qt::RightButton) {
            mnuHide_->popup(mouse->globalPosition().toPoint());
            return true;
        }
    }
    return QWidget::eventFilter(watched, event);
}

InfoDigitOptions frmCtl::infoDigitOptions() const
{
    const frmOption& o = options();
    auto on = [&](int i) { return o.Check3(i)->checkState() != Qt::Unchecked; };
    auto index = [&](int i) { return o.Combo4(i)->currentIndex(); };
    InfoDigitOptions info;
    info.rowNumber = on(0);
    info.rowNumberDigit = index(0);
    info.countFromZero = on(4);
    info.ticketNumber = on(1);
    info.ticketNumberDigit = index(1);
    info.routeNumber = on(2);
    info.routeNumberDigit = index(2);
    info.dataColumn = on(3);
    info.dataColumnDigit = index(3);
    info.dataColumnIndex = index(4);
    return info;
}

int frmCtl::dateMode() const
{
    for (int i = 0; i < 3; ++i)
        if (options().Option4(i)->isChecked())
            return i;
    return 0;
}

void frmCtl::DispData(int16_t n)
{
    const RouteState& route = ctx_.data.Route;
    const FareTable::Row& row = ctx_.data.Table.row(n);
    const bool lateNight = check2_->isChecked();
    const int firstTicket = firstTicketShown(ctx_.data.Table, route.SectionNo);
    for (const DigitWrite& w : boardDigitWrites(row, n, firstTicket, lateNight, infoDigitOptions(), route.RouteText))
        ctx_.board.Degit(w.index)->setValue(w.value);

    const QString date = ticketDateText(dateMode(), ctx_.services.clock.now().date(), route.RouteSetDate,
                                        options().Label10()->text());
    preview_.fill(kPreviewPaper);
    const unsigned ticket = ++ticketDraws_;
    if (options().chkUseSeiriPrev()->checkState() != Qt::Unchecked) {
        // The fares and the stop do not wait for the plug-in: the ticket comes when it is drawn.
        ctx_.services.library.KBU_DrawSeirikenLater(
            this, options().txtSeiriPlgDir()->text(), preview_, row.StopName, date, ctx_.services.clock.timeText(),
            static_cast<int32_t>(leadingNumber(route.RouteText)), row.TicketNo, n,
            static_cast<int16_t>(combo1_->currentIndex()), [this, ticket](const QImage& drawn) {
                if (ticket != ticketDraws_)
                    return;
                preview_ = drawn;
                showPreviewPicture();
            });
    }
    showPreviewPicture();

    // Clicks queued meanwhile run now, before this row's name is set. A step clicked here
    // shows its own row to the end; this row's name would then stand beside that row's fares,
    // so it is left out.
    const unsigned update = ++dispDataCount_;
    QCoreApplication::processEvents();
    if (update == dispDataCount_)
        ctx_.board.ChimeiCtl()->SetChimei(row.StopName);
}

void frmCtl::setPreviewSize(int width, int height)
{
    if (width < 1 || height < 1)
        return;
    picSeirikenPrev_->resize(width, height);
    ++ticketDraws_;
    preview_ = QImage(width, height, QImage::Format_RGB32);
    preview_.fill(kPreviewPaper);
    showPreviewPicture();
    if (check4_->isChecked()) {
        setFixedSize(previewClientWidth(), kClientHeight);
        keepOnScreen();
    }
}

void frmCtl::showPreviewPicture() { picSeirikenPrev_->setPixmap(QPixmap::fromImage(preview_)); }

void frmCtl::Reset(int source)
{
    const QString fareFolder = withTrailingSeparator(options().Text2(0)->text());
    const QString tapeFolder = withTrailingSeparator(options().Text2(1)->text());
    ctx_.sound.SndPlay(soundFile(0), QStringLiteral("S1"), false, 0);

    RouteState& route = ctx_.data.Route;
    const RouteState before = route;
    QString sectionText;
    if (source == 1) {
        route.RouteText = label2_[0]->text();
        sectionText = label2_[2]->text();
    } else {
        auto selected = [](QListWidget* list) {
            QListWidgetItem* item = list->currentItem();
            return item && item->isSelected() ? item->text() : QString();
        };
        route.RouteText.clear();
        for (QListWidget* l : list2_)
            route.RouteText += selected(l);
        for (QListWidget* l : list3_)
            sectionText += selected(l);
    }
    route.SectionNo = clampSection(leadingNumber(sectionText));
    const QString key = routeKey(route.RouteText);

    try {
        // The announcements follow the new route even when its fares turn out to be missing.
        if (tape_)
            tape_->TapeLoad(tapeFolder, key);
        if (!ctx_.data.LoadFareData(fareFolder, key, ctx_.services.messageBox, ctx_.title)) {
            // The board goes on showing the previous route, so its number and section stay
            // with it; otherwise the next step would mix the old fares with the new section.
            route.RouteText = before.RouteText;
            route.SectionNo = before.SectionNo;
            return;
        }

        Form1& board = ctx_.board;
        board.ChimeiCtl()->SetChimei(QStringLiteral("系統選別中"));
        for (int i = 1; i <= 24; ++i)
            board.Degit(i)->ResetDegit(-1);
        QCoreApplication::processEvents();
        ctx_.services.sleeper.sleep(kLampTestMs);
        for (int i = 1; i <= 24; ++i)
            board.Degit(i)->setValue(int16_t(0));

        command2_[0]->setEnabled(true);
        command2_[1]->setEnabled(true);
        check1_->setEnabled(true);

        const QDate today = ctx_.services.clock.now().date();
        route.RouteSetDate = dateMode() == 2 ? options().Label10()->text() : routeSetDateText(today);
        if (tape_)
            tape_->TapeCue(route.SectionNo);
        DispData(static_cast<int16_t>(route.StopIndex + 1));
    } catch (const AppError& e) {
        ctx_.services.messageBox.show(e.description(), ctx_.title, MessageBox::Icon::None, MessageBox::Buttons::Ok);
    }
}

void frmCtl::Command2_Click(int index)
{
    RouteState& route = ctx_.data.Route;
    // Nothing to step through before a route is loaded.
    if (route.RowCount < 1)
        return;
    if (index == 0) {
        if (route.StopIndex <= 0)
            return;
        --route.StopIndex;
    } else {
        const int last = std::min<int>(route.RowCount, FareTable::RowLimit);
        if (route.StopIndex + 1 >= last)
            return;
        ++route.StopIndex;
    }
    const int16_t n = static_cast<int16_t>(route.StopIndex + 1);
    const frmOption& o = options();
    const auto file = steppingSoundFile(o.Option2(0)->isChecked(), o.Option2(1)->isChecked(),
                                        o.Combo1()->currentIndex(), ctx_.data.Table.row(n));
    if (file)
        ctx_.sound.SndPlay(soundFile(*file), QStringLiteral("S2"), o.Option6(0)->isChecked(), 0);
    DispData(n);
}

int frmCtl::selectedBacklight() const
{
    for (int i = 0; i < 3; ++i)
        if (option4_[static_cast<size_t>(i)]->isChecked())
            return i;
    return 0;
}

void frmCtl::Option4_Click(int index)
{
    option4_.at(static_cast<size_t>(index))->setChecked(true);
    const frmOption& o = options();
    // The user-panel option of each backlight state: OFF, ON1, ON2.
    const int userChoice[3] = {6, 2, 5};
    Form1& board = ctx_.board;
    try {
        if (o.Option3(1)->isChecked() && o.Option3(userChoice[index])->isChecked()) {
            const QString path = o.txtSelectPanel(index)->text();
            // A picture that is not there is skipped without a word; one that is there must load.
            if (!path.isEmpty() && QFileInfo(path).isFile()) {
                QImage picture(path);
                if (picture.isNull())
                    throw AppError(ErrorNumber::InvalidPicture);
                board.setPicture(picture);
            }
        } else {
            board.setPicture(board.imgRes(index));
        }
    } catch (const AppError& e) {
        ctx_.services.messageBox.show(backlightErrorText(e.number()), QStringLiteral("エラー"),
                                      MessageBox::Icon::Critical, MessageBox::Buttons::Ok);
    }
    board.setSeiriNumColour(o.Command5(index)->BackColor());
}

void frmCtl::Check1_Click()
{
    Form1& board = ctx_.board;
    if (check1_->isChecked()) {
        board.ChimeiCtl()->SetChimei(QString());
        for (int i = 1; i <= 24; ++i)
            board.Degit(i)->ResetDegit(0);
        board.Timer1().stop();
        board.TimeDegit(0)->setValue(QString());
        board.TimeDegit(1)->setValue(QString());
        for (QWidget* w : {static_cast<QWidget*>(frame1_[0]), static_cast<QWidget*>(frame1_[1]),
                           static_cast<QWidget*>(command2_[0]), static_cast<QWidget*>(command2_[1]),
                           static_cast<QWidget*>(grpM_Tape_), static_cast<QWidget*>(frame6_)})
            w->setEnabled(false);
        return;
    }
    for (QWidget* w : {static_cast<QWidget*>(frame1_[0]), static_cast<QWidget*>(frame1_[1]),
                       static_cast<QWidget*>(command2_[0]), static_cast<QWidget*>(command2_[1]),
                       static_cast<QWidget*>(frame6_)})
        w->setEnabled(true);
    if (!board.TimeDegit(0)->isHidden()) {
        board.Timer1_Timer();
        board.Timer1().start();
    }
    grpM_Tape_->setEnabled(tape_ && tape_->TapeUsable());
    DispData(static_cast<int16_t>(ctx_.data.Route.StopIndex + 1));
}

void frmCtl::Check4_Click()
{
    const bool open = check4_->isChecked();
    setFixedSize(open ? previewClientWidth() : kClientWidth, kClientHeight);
    check4_->setText(open ? QStringLiteral("<<") : QStringLiteral(">>"));
    check4_->setToolTip(open ? QStringLiteral("整理券プレビューを隠します") : QStringLiteral("整理券プレビューを開きます"));
}

int frmCtl::previewClientWidth() const
{
    // A plug-in's ticket wider than the usual area widens the opened console, so the ticket
    // keeps the same margin to the window's edge.
    constexpr int usualRight = 361 + 220;
    return std::max(kPreviewClientWidth, kPreviewClientWidth - usualRight + picSeirikenPrev_->geometry().right() + 1);
}

void frmCtl::keepOnScreen()
{
    const QScreen* s = screen();
    if (!s || !isVisible())
        return;
    const int overhang = frameGeometry().right() - s->availableGeometry().right();
    if (overhang > 0)
        move(x() - overhang, y());
}

void frmCtl::HScroll1_Change(int index)
{
    label1_.at(static_cast<size_t>(index))->setText(QString::number(hscroll1_.at(static_cast<size_t>(index))->value()));
    ChimeiCtl_B* column = ctx_.board.ChimeiCtl();
    column->setSpeed(static_cast<int16_t>(hscroll1_[0]->value()));
    column->setScrollStartWait(hscroll1_[1]->value());
}

void frmCtl::showColumnScrolling()
{
    const ChimeiCtl_B* column = ctx_.board.ChimeiCtl();
    const int speed = column->Speed();
    const int wait = column->ScrollStartWait();
    hscroll1_[0]->setValue(speed);
    hscroll1_[1]->setValue(wait);
    // An equal value raises no change; the labels and the column follow the sliders either way.
    HScroll1_Change(0);
    HScroll1_Change(1);
}

void frmCtl::MnuHideCopy_Click()
{
    QClipboard* clipboard = QGuiApplication::clipboard();
    clipboard->clear();
    clipboard->setImage(preview_);
}

void frmCtl::Command4_Click()
{
    ctx_.board.setEnabled(false);
    setEnabled(false);
    options().exec();
    ctx_.board.setEnabled(true);
    setEnabled(true);
    // Drawn again so that new colours and faces show at once.
    ChimeiCtl_B* column = ctx_.board.ChimeiCtl();
    column->SetChimei(QString());
    column->SetChimei(ctx_.data.Table.row(ctx_.data.Route.StopIndex + 1).StopName);
}

QString frmCtl::versionText() const
{
    return QStringLiteral("型番：") + ctx_.exeBaseName + QStringLiteral("\r\n") + QStringLiteral("バージョン：") +
           QStringLiteral(FAREBOARD_VERSION) + QStringLiteral("\r\n") +
           QStringLiteral("路線バス運賃表示器シミュレーター fareboard\r\n"
                          "Copyright (C) 2026 fareboard developers\r\n"
                          "数字表示: DSEG フォント / 停留所名: 東雲 16 ドットフォント");
}

void frmCtl::Command8_Click()
{
    ctx_.board.setEnabled(false);
    ctx_.services.library.Call_dlg110(this, 1, versionText());
    ctx_.board.setEnabled(true);
}

void frmCtl::cmdTapeNext_Click()
{
    if (!tape_)
        return;
    tape_->TapeNext();
    if (tape_->TapeStepAt(tape_->TapePos()) == 1)
        Command2_Click(1);
}

void frmCtl::cmdTapeBack_Click()
{
    if (!tape_)
        return;
    tape_->TapeBack();
    if (tape_->TapeStepAt(tape_->TapePos()) == 1)
        Command2_Click(0);
}

void frmCtl::cmdTapeStop_Click()
{
    if (tape_)
        tape_->TapeStop();
}

void frmCtl::cmdTapeSet_Click()
{
    if (tape_)
        tape_->TapeAdjust();
}

void frmCtl::GetCtrlDataInfo(SettingsStore& store) const
{
    CtlSettings& c = store.Ctl;
    c.CtlLeft = pixelsToTwips(frameGeometry().x());
    c.CtlTop = pixelsToTwips(frameGeometry().y());
    c.CtlScroll0 = hscroll1_[0]->value();
    c.CtlScroll1 = hscroll1_[1]->value();
    c.CtlFrontPanel = static_cast<int16_t>(frontPanel_);
    c.PreviewOpen = check4_->isChecked() ? 1 : 0;
    c.LateNightFare = check2_->isChecked() ? 1 : 0;
}

void frmCtl::SetCtrlDataInfo(const SettingsStore& store)
{
    const CtlSettings& c = store.Ctl;
    // The stored place is the outer frame's, as GetCtrlDataInfo took it.
    placeOuterFrameWithinReach(this, QPoint(twipsToPixels(c.CtlLeft), twipsToPixels(c.CtlTop)));
    hscroll1_[0]->setValue(c.CtlScroll0);
    hscroll1_[1]->setValue(c.CtlScroll1);
    frontPanel_ = c.CtlFrontPanel;
    check4_->setChecked(c.PreviewOpen != 0);
    check2_->setChecked(c.LateNightFare != 0);
    // Only 0 and 1 name a panel; anything else in an old file leaves the keypad in front.
    if (frontPanel_ == 0 || frontPanel_ == 1)
        Frame1_DblClick(frontPanel_);
}

void frmCtl::closeEvent(QCloseEvent* event)
{
    const auto answer = ctx_.services.messageBox.show(QStringLiteral("運賃表示器アプリを終了しますか？"),
                                                      QStringLiteral("運賃表示器アプリの終了確認"),
                                                      MessageBox::Icon::Question, MessageBox::Buttons::YesNo);
    if (answer != MessageBox::Answer::Yes) {
        event->ignore();
        return;
    }
    ctx_.board.ChimeiCtl()->SetChimei(QString());
    ctx_.board.DeleteRgn();
    shapeKeys(false);
    ctx_.sound.SndCloseAll();
    if (tape_)
        tape_->releaseEngine();
    if (ctx_.saveSettings)
        ctx_.saveSettings();
    event->accept();
    if (ctx_.quit)
        ctx_.quit();
}

}  // namespace fareboard
