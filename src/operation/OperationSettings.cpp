#include "OperationSettings.h"

#include "platform/AppError.h"
#include "platform/FileAccess.h"

#include <QDir>
#include <QFileInfo>
#include <QList>

namespace fareboard {
namespace {

constexpr qint64 kMaxSettingsBytes = 64 * 1024;

}  // namespace

OperationSettings parseOperationSettings(const QByteArray& bytes, const OperationSettings& defaults)
{
    OperationSettings s = defaults;
    for (const QByteArray& raw : bytes.split('\n')) {
        const QByteArray line = raw.trimmed();
        const qsizetype eq = line.indexOf('=');
        if (line.startsWith('#') || eq <= 0)
            continue;
        const QByteArray key = line.left(eq).trimmed();
        const QByteArray value = line.mid(eq + 1).trimmed();
        if (key == "stop_request_sound") {
            s.stopRequestSound = QString::fromUtf8(value);
        } else if (key == "board_lamp" && (value == "0" || value == "1")) {
            s.boardLamp = value == "1";
        } else if (key == "speed" && (value == "1" || value == "10" || value == "60")) {
            s.speed = value.toInt();
        } else if (key == "passenger_requests" && (value == "0" || value == "1")) {
            s.passengerRequests = value == "1";
        }
    }
    return s;
}

QByteArray formatOperationSettings(const OperationSettings& s)
{
    // A line end inside the path would make the rest of it a setting of its own.
    const bool oneLine = !s.stopRequestSound.contains(QLatin1Char('\n')) && !s.stopRequestSound.contains(QLatin1Char('\r'));
    return "stop_request_sound=" + (oneLine ? s.stopRequestSound.toUtf8() : QByteArray()) + "\nboard_lamp=" + (s.boardLamp ? "1" : "0") +
           "\nspeed=" + QByteArray::number(s.speed) + "\npassenger_requests=" + (s.passengerRequests ? "1" : "0") +
           "\n";
}

OperationSettings loadOperationSettings(const QString& path, const OperationSettings& defaults)
{
    if (path.isEmpty() || !QFileInfo(path).isFile())
        return defaults;
    try {
        return parseOperationSettings(readFileBytes(path, kMaxSettingsBytes), defaults);
    } catch (const AppError&) {
        return defaults;
    }
}

bool saveOperationSettings(const QString& path, const OperationSettings& settings)
{
    if (path.isEmpty())
        return false;
    QDir().mkpath(QFileInfo(path).absolutePath());
    try {
        writeFileWhole(path, formatOperationSettings(settings));
        return true;
    } catch (const AppError&) {
        return false;
    }
}

}  // namespace fareboard
