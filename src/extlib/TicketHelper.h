#pragma once

#include "extlib/TicketRequest.h"

#include <QString>

#include <memory>
#include <optional>

class QProcess;

namespace fareboard {

// The program's end of the plug-in helper process: starts it at the first request, keeps it
// for the next ones, and kills it when a request is not answered in time or the helper dies,
// so the next request starts a fresh one.
class TicketHelper {
public:
    enum class Fault { None, NotStarted, Crashed, TimedOut, BadAnswer };

    // A plug-in stuck in a loop holds the board at most this long.
    static constexpr int kDefaultTimeoutMs = 2000;

    explicit TicketHelper(QString helperPath, int timeoutMs = kDefaultTimeoutMs);
    ~TicketHelper();
    TicketHelper(const TicketHelper&) = delete;
    TicketHelper& operator=(const TicketHelper&) = delete;

    // The helper's answer, or null with the reason in `fault`.
    std::optional<TicketReply> run(const TicketRequest& request, Fault& fault);

    // Whether a helper process is running now (it starts when a request needs it, or start()).
    bool running() const;

    // Starts the helper without waiting for it to be ready; false when it cannot be started.
    bool start();

    // The helper beside the running program, as the build and the installation place it.
    static QString besideProgram();

private:
    void stop();

    QString helperPath_;
    int timeoutMs_;
    std::unique_ptr<QProcess> process_;
};

}  // namespace fareboard
