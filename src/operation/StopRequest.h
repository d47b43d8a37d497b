#pragma once

#include <QObject>
#include <QString>
#include <QTimer>

#include <functional>

namespace fareboard {

class mdlM_Tape;
class mdlSndAPI;

// The stop-request bell (降車ボタン). A press while no request is pending lights the lamps,
// rings the bell's chime and then says "次、停まります。" in the tape's voice, after any
// announcement that is being read. The request latches as a real bell does: further presses do
// nothing until the bus moves on to the next stop (clear). Nothing of it is saved.
class StopRequest : public QObject {
    Q_OBJECT
public:
    // The chime is read from the options the moment the bell rings; it plays on the channel no
    // other sound uses, so it neither cuts nor is cut by the console's and the tape's. A press
    // returns at once; the words follow from the event loop.
    StopRequest(mdlSndAPI& sound, mdlM_Tape& tape, std::function<QString()> chimeFile, QObject* parent = nullptr);

    static QString announcement() { return QStringLiteral("次、停まります。"); }

    bool pending() const { return pending_; }
    // True when this press rang the bell; false when a request was already pending.
    bool press();
    // The bus has moved on: the lamps go out and an announcement not yet begun is dropped.
    void clear();

signals:
    void pendingChanged(bool pending);

private:
    void sayWhenQuiet();

    mdlSndAPI& sound_;
    mdlM_Tape& tape_;
    std::function<QString()> chimeFile_;
    bool pending_ = false;
    bool toSay_ = false;
    QTimer quiet_;
};

}  // namespace fareboard
