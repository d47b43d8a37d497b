#include "OperationRun.h"

#include "StopRequest.h"
#include "Timetable.h"
#include "announce/mdlM_Tape.h"
#include "board/Form1.h"
#include "console/ConsoleRules.h"
#include "console/DataIo.h"
#include "console/FareTable.h"
#include "console/frmCtl.h"

#include <QCheckBox>

#include <algorithm>
#include <cmath>

namespace fareboard {
namespace {

// While a settings dialog or the version box is open no step runs under it; the run looks
// again this often.
constexpr int kDeferMs = 100;
constexpr int kSystemKey = 10;   // "系統"
constexpr int kSectionKey = 11;  // "区間"

}  // namespace

QDateTime OperationRun::SimulatedClock::now() const
{
    const qint64 seconds = qint64(std::floor(run_.simNow()));
    return QDateTime(run_.date_, QTime(0, 0)).addSecs(seconds);
}

OperationRun::OperationRun(Parts parts, QObject* parent)
    : QObject(parent), parts_(parts), random_(std::random_device{}())
{
    elapsed_.start();
    timer_.setSingleShot(true);
    timer_.setTimerType(Qt::PreciseTimer);
    connect(&timer_, &QTimer::timeout, this, &OperationRun::tick);
}

OperationRun::~OperationRun()
{
    if (state_ != State::Stopped)
        parts_.board.setClockSource(nullptr);
}

double OperationRun::simNow() const { return clock_.simAt(msNow()); }

std::vector<int16_t> OperationRun::stepFlags() const
{
    std::vector<int16_t> flags;
    for (int32_t pos = 1; pos <= parts_.tape.TapeCount(); ++pos)
        flags.push_back(parts_.tape.TapeStepAt(pos));
    return flags;
}

bool OperationRun::start(const QString& route, const TimetableTrip* trip, int speed, bool passengers)
{
    if (state_ != State::Stopped)
        end();
    // The keys the driver would press: 系統 N 区間 1 リセット.
    frmCtl& console = parts_.console;
    console.CommandButton1_Click(kSystemKey);
    for (QChar digit : route)
        if (digit.isDigit())
            console.CommandButton1_Click(digit.digitValue());
    console.CommandButton1_Click(kSectionKey);
    console.CommandButton1_Click(1);
    console.Reset(1);
    const RouteState& set = parts_.data.Route;
    if (routeKey(set.RouteText) != route || set.StopIndex != 0 || set.RowCount < 2)
        return false;

    route_ = route;
    const int rows = std::min<int>(set.RowCount, FareTable::RowLimit);
    const QDateTime wall = parts_.wallClock.now();
    date_ = wall.date();
    plan_ = trip ? planTrip(trip->departures, rows) : planUntimed(rows, wall.time().msecsSinceStartOfDay() / 1000);
    flags_ = stepFlags();
    rings_.clear();
    if (passengers)
        rings_ = passengerRequests(plan_, kPassengerChance, random_);
    nextStep_ = 0;
    nextRing_ = 0;
    minute_ = -1;
    pendingCue_ = 0;
    clock_.start(plan_.begin, msNow(), speed);
    state_ = State::Running;
    parts_.board.setClockSource(&simClock_);
    showMinute(simNow());
    emit stateChanged();
    scheduleNext();
    cue(greetingOf(flags_));
    return true;
}

void OperationRun::pause()
{
    if (state_ != State::Running)
        return;
    clock_.pause(msNow());
    timer_.stop();
    state_ = State::Paused;
    emit stateChanged();
}

void OperationRun::resume()
{
    if (state_ != State::Paused)
        return;
    clock_.resume(msNow());
    state_ = State::Running;
    emit stateChanged();
    scheduleNext();
}

void OperationRun::end()
{
    if (state_ == State::Stopped)
        return;
    timer_.stop();
    state_ = State::Stopped;
    pendingCue_ = 0;
    parts_.board.setClockSource(nullptr);
    if (parts_.board.Timer1().isActive())
        parts_.board.Timer1_Timer();
    emit stateChanged();
}

void OperationRun::setSpeed(int speed)
{
    if (speed < 1)
        return;
    clock_.setSpeed(speed, msNow());
    if (state_ == State::Running)
        scheduleNext();
}

int OperationRun::nextRow() const
{
    return nextStep_ < plan_.steps.size() ? plan_.steps[nextStep_].row : 0;
}

bool OperationRun::displayCleared() const { return parts_.console.Check1()->isChecked(); }

void OperationRun::showMinute(double now)
{
    const qint64 minute = qint64(std::floor(now / 60));
    if (minute == minute_)
        return;
    minute_ = minute;
    // The display-clear switch keeps the clock dark; the run does not light it.
    if (parts_.board.Timer1().isActive())
        parts_.board.Timer1_Timer();
    emit minuteChanged();
}

void OperationRun::scheduleNext()
{
    if (state_ != State::Running)
        return;
    const double now = simNow();
    double next = double(minute_ + 1) * 60;
    if (nextStep_ < plan_.steps.size())
        next = std::min(next, plan_.steps[nextStep_].at);
    else
        next = std::min(next, plan_.arrival);
    if (nextRing_ < rings_.size())
        next = std::min(next, rings_[nextRing_]);
    timer_.start(int(std::clamp<qint64>(clock_.realAt(std::max(next, now)) - msNow(), 0, 24 * 3600 * 1000)));
}

// Runs from the timer; also from inside a wait of its own (a chime played to its end keeps
// timers running), so every step is taken on time and nothing here waits for more than the
// console's own step.
void OperationRun::tick()
{
    if (state_ != State::Running)
        return;
    // Another route set meanwhile ends the trip: its stops are not this route's.
    if (routeKey(parts_.data.Route.RouteText) != route_) {
        end();
        return;
    }
    if (!parts_.console.isEnabled() || !parts_.board.isEnabled()) {
        timer_.start(kDeferMs);
        return;
    }
    const double now = simNow();
    showMinute(now);
    const bool moved = stepDue(now);
    bool ring = false;
    while (nextRing_ < rings_.size() && rings_[nextRing_] <= now) {
        ++nextRing_;
        ring = true;
    }
    const bool arrived = nextStep_ >= plan_.steps.size() && now >= plan_.arrival;
    scheduleNext();
    if (moved)
        cue(announcementFor(parts_.data.Route.StopIndex + 1, flags_));
    if (ring && state_ == State::Running)
        parts_.bell.press();
    if (arrived && state_ == State::Running)
        finish();
}

bool OperationRun::stepDue(double now)
{
    // Inside the console's own step (a stepping sound played to its end): the step after it
    // is taken once that one is done.
    if (inBoardStep_)
        return false;
    bool moved = false;
    while (nextStep_ < plan_.steps.size() && plan_.steps[nextStep_].at <= now) {
        const RunStep step = plan_.steps[nextStep_++];
        const qint64 scheduled = clock_.realAt(step.at);
        if (displayCleared() || parts_.data.Route.StopIndex + 1 >= step.row)
            continue;
        parts_.bell.clear();
        inBoardStep_ = true;
        parts_.console.Command2_Click(1);
        inBoardStep_ = false;
        moved = true;
        emit stepped(parts_.data.Route.StopIndex + 1, scheduled, msNow());
        now = simNow();
    }
    return moved;
}

void OperationRun::cue(int32_t pos)
{
    if (pos <= 0)
        return;
    pendingCue_ = pos;
    // An announcement's chime may be heard to its end; a step taken meanwhile leaves its own
    // announcement here, which follows at once and cuts the older one short, as "■" would.
    if (announcing_)
        return;
    announcing_ = true;
    while (pendingCue_ > 0 && state_ != State::Stopped) {
        const int32_t next = pendingCue_;
        pendingCue_ = 0;
        parts_.tape.TapePlayAt(next);
    }
    announcing_ = false;
}

void OperationRun::finish()
{
    // The clock goes back first: the farewell's chime may be heard to its end.
    const int32_t farewell = farewellOf(flags_);
    end();
    if (farewell > 0)
        parts_.tape.TapePlayAt(farewell);
}

}  // namespace fareboard
