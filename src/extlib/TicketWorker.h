#pragma once

#include "extlib/TicketHelper.h"
#include "extlib/TicketRequest.h"

#include <QObject>
#include <QString>

#include <condition_variable>
#include <deque>
#include <functional>
#include <memory>
#include <mutex>
#include <optional>

class QThread;

namespace fareboard {

// The helper process run from a thread of its own, so that a plug-in that takes its time over a
// ticket holds neither the board update nor the console. Requests are answered one after the
// other; of the drawings asked for while another is being made, only the newest is made.
class TicketWorker {
public:
    // On the thread that made the worker: the reply, or null with the reason in `fault`.
    using Answer = std::function<void(std::optional<TicketReply> reply, TicketHelper::Fault fault)>;

    TicketWorker(QString helperPath, int timeoutMs);
    // Waits for the request under way, at most the helper's time limit.
    ~TicketWorker();
    TicketWorker(const TicketWorker&) = delete;
    TicketWorker& operator=(const TicketWorker&) = delete;

    // Runs the request and waits for its answer (after those asked for before it).
    std::optional<TicketReply> run(const TicketRequest& request, TicketHelper::Fault& fault);
    // Runs the drawing later; `answer` comes through the event loop, and never for a drawing
    // that a newer one replaced before it started.
    void draw(TicketRequest request, Answer answer);
    // Starts the helper process, when it does not run, without waiting for it.
    void start();

private:
    struct Job;
    void loop();

    const QString helperPath_;
    const int timeoutMs_;
    std::mutex mutex_;
    std::condition_variable wake_;
    std::deque<std::shared_ptr<Job>> jobs_;
    bool quit_ = false;
    QObject home_;          // answers reach the caller's thread through it
    std::unique_ptr<QThread> thread_;
};

}  // namespace fareboard
