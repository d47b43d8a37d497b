#pragma once

#include "RunSchedule.h"
#include "platform/Clock.h"

#include <QDate>
#include <QElapsedTimer>
#include <QObject>
#include <QString>
#include <QTimer>

#include <cstdint>
#include <functional>
#include <random>
#include <vector>

namespace fareboard {

class DataIo;
class Form1;
class StopRequest;
class frmCtl;
class mdlM_Tape;
struct TimetableTrip;

// A timetable run: the route set as 系統 N 区間 1 リセット sets it, then at each stop's departure
// the board steps as "データ送り" does and the tape announces the stop it moved to, while the
// board's clock shows the trip's time running at the chosen speed. The driver's own presses go
// on working; a stop the driver has already stepped to is not stepped to again.
class OperationRun : public QObject {
    Q_OBJECT
public:
    struct Parts {
        frmCtl& console;
        DataIo& data;
        Form1& board;
        mdlM_Tape& tape;
        StopRequest& bell;
        Clock& wallClock;
    };
    enum class State { Stopped, Running, Paused };

    // Each stop's chance of a passenger's ring, when those are asked for.
    static constexpr double kPassengerChance = 0.35;

    explicit OperationRun(Parts parts, QObject* parent = nullptr);
    ~OperationRun() override;

    // Sets `route` (its key, "2") from its first stop and starts the trip (or, without one, a
    // minute a stop from now). False, with nothing started, when the route could not be set.
    bool start(const QString& route, const TimetableTrip* trip, int speed, bool passengers);
    void pause();
    void resume();
    // Ends the run; the board's clock shows the host's time again.
    void end();
    void setSpeed(int speed);

    State state() const { return state_; }
    const QString& route() const { return route_; }
    const RunPlan& plan() const { return plan_; }
    // Simulated seconds from the service day's midnight.
    double simNow() const;
    const Clock& simulatedClock() const { return simClock_; }
    // The stop the run goes to next (its row), 0 once all are passed.
    int nextRow() const;
    // Passengers' rings are random; tests and benchmarks fix them.
    void setPassengerSeed(uint32_t seed) { random_.seed(seed); }
    const std::vector<double>& passengerRings() const { return rings_; }

    // Milliseconds of the monotonic clock the run keeps its time by.
    qint64 msNow() const { return timeSource_ ? timeSource_() : elapsed_.elapsed(); }
    // Tests move a clock of their own instead, and call tick() where the timer would.
    void setTimeSource(std::function<qint64()> ms) { timeSource_ = std::move(ms); }
    // Takes whatever is due now: steps, the clock's minute, passengers' rings, the arrival.
    void tick();

signals:
    void stateChanged();
    // The board stepped to `row`: when the timetable wanted it and when it happened (msNow()).
    void stepped(int row, qint64 scheduledMs, qint64 actualMs);
    // The simulated minute changed.
    void minuteChanged();

private:
    class SimulatedClock final : public Clock {
    public:
        explicit SimulatedClock(const OperationRun& run) : run_(run) {}
        QDateTime now() const override;

    private:
        const OperationRun& run_;
    };

    bool stepDue(double now);
    void cue(int32_t pos);
    void showMinute(double now);
    void scheduleNext();
    void finish();
    bool displayCleared() const;
    std::vector<int16_t> stepFlags() const;

    Parts parts_;
    State state_ = State::Stopped;
    QString route_;
    RunPlan plan_;
    RunClock clock_;
    SimulatedClock simClock_{*this};
    QDate date_;
    QElapsedTimer elapsed_;
    std::function<qint64()> timeSource_;
    QTimer timer_;
    std::mt19937 random_;
    std::vector<double> rings_;
    std::vector<int16_t> flags_;
    std::size_t nextStep_ = 0;
    std::size_t nextRing_ = 0;
    qint64 minute_ = -1;
    bool inBoardStep_ = false;
    bool announcing_ = false;
    int32_t pendingCue_ = 0;
};

}  // namespace fareboard
