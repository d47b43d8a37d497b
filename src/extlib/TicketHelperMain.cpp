// fareboard-ticket: runs ticket plug-ins on behalf of the program, so that a plug-in that
// crashes or hangs takes only this process with it. It answers one request after another,
// read from standard input, until the program closes it.
#include "extlib/TicketRequest.h"

#include <QGuiApplication>
#include <QtEndian>

#include <cerrno>
#include <optional>

#include <poll.h>
#include <unistd.h>

namespace {

bool readExactly(int fd, char* data, qsizetype size)
{
    while (size > 0) {
        const ssize_t got = ::read(fd, data, size_t(size));
        if (got < 0 && errno == EINTR)
            continue;
        if (got <= 0)
            return false;
        data += got;
        size -= got;
    }
    return true;
}

bool writeAll(int fd, const QByteArray& bytes)
{
    const char* data = bytes.constData();
    qsizetype left = bytes.size();
    while (left > 0) {
        const ssize_t put = ::write(fd, data, size_t(left));
        if (put < 0 && errno == EINTR)
            continue;
        if (put <= 0)
            return false;
        data += put;
        left -= put;
    }
    return true;
}

}  // namespace

int main(int argc, char** argv)
{
    // Answers go out on a copy of standard output; whatever a plug-in prints lands on standard
    // error instead, where it cannot be mistaken for an answer.
    const int answers = ::dup(STDOUT_FILENO);
    if (answers < 0 || ::dup2(STDERR_FILENO, STDOUT_FILENO) < 0)
        return 1;

    // Plug-ins may draw with Qt (QImage, QPainter, fonts), which needs a GUI application. Making
    // one takes longer than the rest of the helper's start, and the program's first questions
    // (what a plug-in can print, its notes, its companies) come while its windows are still
    // being built and need none: those are answered first, and the application is made once
    // the helper has nothing to answer, or at the first ticket to draw.
    std::optional<QGuiApplication> app;
    const auto makeApp = [&] {
        if (!app)
            app.emplace(argc, argv);
    };

    fareboard::TicketPluginCache plugins;
    // Started early, the helper is asked its first questions within a few tens of milliseconds
    // of each other, if at all soon.
    constexpr int kQuietMs = 40;
    for (;;) {
        pollfd input{STDIN_FILENO, POLLIN, 0};
        if (!app && ::poll(&input, 1, kQuietMs) == 0)
            makeApp();
        char header[4];
        if (!readExactly(STDIN_FILENO, header, 4))
            return 0;
        QByteArray buffer(header, 4);
        bool bad = false;
        if (!fareboard::takeTicketFrame(buffer, bad) && bad)
            return 1;
        const quint32 length = qFromLittleEndian<quint32>(header);
        QByteArray payload(qsizetype(length), '\0');
        if (!readExactly(STDIN_FILENO, payload.data(), payload.size()))
            return 0;
        const auto request = fareboard::decodeTicketRequest(payload);
        if (!request)
            return 1;
        if (request->op == fareboard::TicketOp::Draw)
            makeApp();
        const fareboard::TicketReply reply = fareboard::runTicketRequest(*request, &plugins);
        if (!writeAll(answers, fareboard::ticketFrame(fareboard::encodeTicketReply(reply, request->op))))
            return 0;
    }
}
