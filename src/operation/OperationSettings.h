#pragma once

#include <QByteArray>
#include <QString>

namespace fareboard {

// What the operation panel and the stop-request bell keep between runs. The settings file of
// the boards (.in4) has a fixed layout that stored files rely on, so these live in a small file
// of their own, "operation.conf" beside the voice's settings: "key=value" lines in UTF-8.
struct OperationSettings {
    QString stopRequestSound;     // the bell's chime; empty for none
    bool boardLamp = true;        // light "とまります" on the board itself
    int speed = 1;                // of a timetable run: 1, 10 or 60
    bool passengerRequests = false;

    bool operator==(const OperationSettings&) const = default;
};

// Unknown keys and values out of range fall back to `defaults` one by one, so a hand-edited
// file never loses the rest.
OperationSettings parseOperationSettings(const QByteArray& bytes, const OperationSettings& defaults);
QByteArray formatOperationSettings(const OperationSettings& settings);

// The file, or `defaults` when there is none or it cannot be read.
OperationSettings loadOperationSettings(const QString& path, const OperationSettings& defaults);
// Written whole or not at all; the folder is made when missing. False when it could not be.
bool saveOperationSettings(const QString& path, const OperationSettings& settings);

}  // namespace fareboard
