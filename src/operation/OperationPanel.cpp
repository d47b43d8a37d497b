#include "OperationPanel.h"

#include "OperationRun.h"
#include "StopRequest.h"
#include "options/PlacedWidget.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QEvent>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>

#include <algorithm>
#include <cmath>

namespace fareboard {
namespace {

const QColor kLampLit(214, 38, 24);
const QColor kLampLitText(255, 236, 200);
const QColor kLampDark(48, 22, 20);
const QColor kLampDarkText(104, 60, 56);

using widgets::make;

QString clockText(double seconds, bool withSeconds)
{
    const qint64 s = qint64(std::floor(seconds));
    const QString hhmm = QStringLiteral("%1:%2").arg(s / 3600 % 24, 2, 10, QLatin1Char('0')).arg(s / 60 % 60, 2, 10, QLatin1Char('0'));
    return withSeconds ? hhmm + QStringLiteral(":%1").arg(s % 60, 2, 10, QLatin1Char('0')) : hhmm;
}

}  // namespace

QString OperationPanel::tripText(const TimetableTrip& trip)
{
    const auto first = trip.firstDeparture();
    const QString departs = first ? gtfsTimeText(*first).left(5) : QStringLiteral("--:--");
    QString text = departs + QStringLiteral("発");
    if (!trip.headsign.isEmpty())
        text += QStringLiteral("　") + trip.headsign;
    if (!trip.service.isEmpty())
        text += QStringLiteral("　（") + trip.service + QStringLiteral("）");
    return text;
}

OperationPanel::OperationPanel(OperationRun& run, StopRequest& bell, Route route, QWidget* parent)
    : QWidget(parent, Qt::Window | Qt::MSWindowsFixedSizeDialogHint), run_(run), bell_(bell), route_(std::move(route))
{
    setObjectName(QStringLiteral("OperationPanel"));
    setWindowTitle(QStringLiteral("運行パネル"));
    setWindowFlag(Qt::WindowMaximizeButtonHint, false);
    setWindowFlag(Qt::WindowMinimizeButtonHint, false);
    setFixedSize(kWidth, kHeight);

    routeLabel_ = make<QLabel>(this, QStringLiteral("lblRoute"), QRect(10, 6, 300, 20));
    trips_ = make<QListWidget>(this, QStringLiteral("lstTrip"), QRect(10, 28, 300, 108));
    make<QLabel>(this, QStringLiteral("lblSpeed"), QRect(10, 144, 44, 24), QStringLiteral("速度："));
    auto* speeds = new QButtonGroup(this);
    for (std::size_t i = 0; i < kSpeeds.size(); ++i) {
        auto* b = make<QPushButton>(this, QStringLiteral("optSpeed(%1)").arg(i), QRect(56 + int(i) * 62, 144, 58, 24),
                                    QStringLiteral("×%1").arg(kSpeeds[i]));
        b->setCheckable(true);
        b->setAutoDefault(false);
        speeds->addButton(b, int(i));
        speedButtons_[i] = b;
    }
    speeds->setExclusive(true);
    speedButtons_[0]->setChecked(true);
    passengers_ = make<QCheckBox>(this, QStringLiteral("chkPassengerRequests"), QRect(10, 174, 300, 20),
                                  QStringLiteral("乗客の降車合図"));
    passengers_->setToolTip(QStringLiteral("運行中、ところどころの停留所の前で乗客が降車ボタンを押します"));
    start_ = make<QPushButton>(this, QStringLiteral("cmdStart"), QRect(10, 200, 96, 28), QStringLiteral("運行開始"));
    pause_ = make<QPushButton>(this, QStringLiteral("cmdPause"), QRect(112, 200, 96, 28), QStringLiteral("一時停止"));
    end_ = make<QPushButton>(this, QStringLiteral("cmdEnd"), QRect(214, 200, 96, 28), QStringLiteral("運行終了"));
    status_ = make<QLabel>(this, QStringLiteral("lblStatus"), QRect(10, 232, 300, 18));

    bellButton_ = make<QPushButton>(this, QStringLiteral("cmdStopRequest"), QRect(10, 256, 190, 66), QStringLiteral("降車ボタン"));
    QFont big = bellButton_->font();
    big.setPointSize(16);
    big.setBold(true);
    bellButton_->setFont(big);
    bellButton_->setAutoDefault(false);
    lamp_ = make<QLabel>(this, QStringLiteral("lblStopLamp"), QRect(208, 256, 102, 66), QStringLiteral("とまります"));
    lamp_->setAlignment(Qt::AlignCenter);
    lamp_->setAutoFillBackground(true);
    lamp_->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    QFont lampFont = lamp_->font();
    lampFont.setPointSize(13);
    lampFont.setBold(true);
    lamp_->setFont(lampFont);
    showLamp(bell_.pending());

    for (QPushButton* b : {start_, pause_, end_})
        b->setAutoDefault(false);
    connect(start_, &QPushButton::clicked, this, [this] {
        if (run_.state() == OperationRun::State::Paused)
            run_.resume();
        else
            startRun();
    });
    connect(pause_, &QPushButton::clicked, this, [this] { run_.pause(); });
    connect(end_, &QPushButton::clicked, this, [this] { run_.end(); });
    connect(speeds, &QButtonGroup::idClicked, this, [this](int) { run_.setSpeed(speed()); });
    connect(bellButton_, &QPushButton::clicked, this, [this] { bell_.press(); });
    connect(&bell_, &StopRequest::pendingChanged, this, &OperationPanel::showLamp);
    connect(&run_, &OperationRun::stateChanged, this, &OperationPanel::showState);
    connect(&run_, &OperationRun::minuteChanged, this, &OperationPanel::showState);
    showState();
}

int OperationPanel::speed() const
{
    for (std::size_t i = 0; i < kSpeeds.size(); ++i)
        if (speedButtons_[i]->isChecked())
            return kSpeeds[i];
    return 1;
}

void OperationPanel::setSpeed(int speed)
{
    for (std::size_t i = 0; i < kSpeeds.size(); ++i)
        if (kSpeeds[i] == speed)
            speedButtons_[i]->setChecked(true);
}

bool OperationPanel::passengerRequests() const { return passengers_->isChecked(); }
void OperationPanel::setPassengerRequests(bool on) { passengers_->setChecked(on); }

const TimetableTrip* OperationPanel::selectedTrip() const
{
    if (order_.empty())
        return nullptr;
    const int row = std::max(0, trips_->currentRow());
    return &timetable_.trips[order_[std::size_t(std::min<int>(row, int(order_.size()) - 1))]];
}

void OperationPanel::refresh()
{
    const QString route = route_.current ? route_.current() : QString();
    // A running trip keeps its list as it started.
    if (run_.state() != OperationRun::State::Stopped)
        return;
    const QString chosen = selectedTrip() && route == shownRoute_ ? selectedTrip()->id : QString();
    shownRoute_ = route;
    timetable_ = route.isEmpty() || !route_.timetable ? Timetable{} : route_.timetable(route);
    order_.clear();
    for (std::size_t i = 0; i < timetable_.trips.size(); ++i)
        order_.push_back(i);
    std::stable_sort(order_.begin(), order_.end(), [this](std::size_t a, std::size_t b) {
        const auto x = timetable_.trips[a].firstDeparture();
        const auto y = timetable_.trips[b].firstDeparture();
        return x && (!y || *x < *y);
    });

    trips_->clear();
    int select = 0;
    for (std::size_t row = 0; row < order_.size(); ++row) {
        const TimetableTrip& trip = timetable_.trips[order_[row]];
        auto* item = new QListWidgetItem(tripText(trip), trips_);
        item->setToolTip(trip.id);
        if (trip.id == chosen)
            select = int(row);
    }
    if (!order_.empty())
        trips_->setCurrentRow(select);
    trips_->setEnabled(!order_.empty());

    if (route.isEmpty()) {
        routeLabel_->setText(QStringLiteral("系統を設定してください"));
    } else if (!timetable_.fault.isEmpty()) {
        routeLabel_->setText(QStringLiteral("系統 %1　時刻表を読み込めません（停留所ごとに1分で運行）").arg(route));
    } else if (order_.empty()) {
        routeLabel_->setText(QStringLiteral("系統 %1　時刻表なし（停留所ごとに1分で運行）").arg(route));
    } else {
        routeLabel_->setText(QStringLiteral("系統 %1　時刻表 %2 便").arg(route).arg(order_.size()));
    }
    routeLabel_->setToolTip(timetable_.fault);
    showState();
}

void OperationPanel::startRun()
{
    refresh();
    if (shownRoute_.isEmpty()) {
        status_->setText(QStringLiteral("系統を設定してください"));
        return;
    }
    if (!run_.start(shownRoute_, selectedTrip(), speed(), passengerRequests()))
        status_->setText(QStringLiteral("系統 %1 を設定できませんでした").arg(shownRoute_));
}

void OperationPanel::showState()
{
    const auto state = run_.state();
    start_->setEnabled(state != OperationRun::State::Running);
    pause_->setEnabled(state == OperationRun::State::Running);
    end_->setEnabled(state != OperationRun::State::Stopped);
    trips_->setEnabled(state == OperationRun::State::Stopped && !order_.empty());
    switch (state) {
    case OperationRun::State::Stopped:
        status_->setText(QStringLiteral("停車中"));
        break;
    case OperationRun::State::Running:
        status_->setText(QStringLiteral("運行中 ×%1　%2").arg(speed()).arg(clockText(run_.simNow(), false)));
        break;
    case OperationRun::State::Paused:
        status_->setText(QStringLiteral("一時停止中　%1").arg(clockText(run_.simNow(), false)));
        break;
    }
}

void OperationPanel::showLamp(bool lit)
{
    QPalette pal = lamp_->palette();
    pal.setColor(QPalette::Window, lit ? kLampLit : kLampDark);
    pal.setColor(QPalette::WindowText, lit ? kLampLitText : kLampDarkText);
    lamp_->setPalette(pal);
}

void OperationPanel::showEvent(QShowEvent* event)
{
    refresh();
    QWidget::showEvent(event);
}

void OperationPanel::changeEvent(QEvent* event)
{
    // Back from the console, where the driver may have set another route.
    if (event->type() == QEvent::ActivationChange && isActiveWindow())
        refresh();
    QWidget::changeEvent(event);
}

}  // namespace fareboard
