#pragma once

#include "Timetable.h"

#include <QString>
#include <QWidget>

#include <array>
#include <functional>

class QCheckBox;
class QLabel;
class QListWidget;
class QPushButton;

namespace fareboard {

class OperationRun;
class StopRequest;

// 運行パネル: the stop-request bell and the timetable run, in a small window of its own beside
// the console. The trip list shows the current route's trips by first departure when the route
// has a timetable; without one the route runs a minute a stop.
class OperationPanel : public QWidget {
    Q_OBJECT
public:
    static constexpr int kWidth = 320;
    static constexpr int kHeight = 332;
    static constexpr std::array<int, 3> kSpeeds{1, 10, 60};

    // What the panel asks the program around it: the route the driver has chosen (its key, ""
    // for none) and the timetable of a route.
    struct Route {
        std::function<QString()> current;
        std::function<Timetable(const QString& route)> timetable;
    };

    OperationPanel(OperationRun& run, StopRequest& bell, Route route, QWidget* parent = nullptr);

    // Reads the current route's timetable again when the route changed since the last look.
    void refresh();

    int speed() const;
    void setSpeed(int speed);
    bool passengerRequests() const;
    void setPassengerRequests(bool on);
    // The trip chosen in the list; none for a route without a timetable.
    const TimetableTrip* selectedTrip() const;

    QListWidget* lstTrip() const { return trips_; }
    QPushButton* optSpeed(int index) const { return speedButtons_.at(std::size_t(index)); }
    QCheckBox* chkPassengerRequests() const { return passengers_; }
    QPushButton* cmdStart() const { return start_; }
    QPushButton* cmdPause() const { return pause_; }
    QPushButton* cmdEnd() const { return end_; }
    QPushButton* cmdStopRequest() const { return bellButton_; }
    QLabel* lblStopLamp() const { return lamp_; }
    QLabel* lblRoute() const { return routeLabel_; }
    QLabel* lblStatus() const { return status_; }

    // A trip's line in the list: "06:27発　末吉橋矢向循環　（平日（月～金））".
    static QString tripText(const TimetableTrip& trip);

protected:
    void showEvent(QShowEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    void startRun();
    void showState();
    void showLamp(bool lit);

    OperationRun& run_;
    StopRequest& bell_;
    Route route_;
    QString shownRoute_;
    Timetable timetable_;
    std::vector<std::size_t> order_;  // list rows to timetable trips, by first departure

    QLabel* routeLabel_ = nullptr;
    QListWidget* trips_ = nullptr;
    std::array<QPushButton*, 3> speedButtons_{};
    QCheckBox* passengers_ = nullptr;
    QPushButton* start_ = nullptr;
    QPushButton* pause_ = nullptr;
    QPushButton* end_ = nullptr;
    QLabel* status_ = nullptr;
    QPushButton* bellButton_ = nullptr;
    QLabel* lamp_ = nullptr;
};

}  // namespace fareboard
