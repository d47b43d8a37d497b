#pragma once

#include <QDateTime>
#include <QString>

namespace fareboard {

// The host's date and time. The texts are the forms the ticket plug-ins and the board use.
class Clock {
public:
    virtual ~Clock() = default;
    virtual QDateTime now() const = 0;

    // Ten characters: "MM-dd-yyyy".
    QString dateText() const { return now().date().toString(QStringLiteral("MM-dd-yyyy")); }
    // Eight characters on the 24-hour clock: "HH:mm:ss".
    QString timeText() const { return now().time().toString(QStringLiteral("HH:mm:ss")); }
};

class SystemClock final : public Clock {
public:
    QDateTime now() const override { return QDateTime::currentDateTime(); }
};

}  // namespace fareboard
