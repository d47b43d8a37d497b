#include "TicketHelper.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QDir>
#include <QProcess>
#include <QProcessEnvironment>

namespace fareboard {

TicketHelper::TicketHelper(QString helperPath, int timeoutMs) : helperPath_(std::move(helperPath)), timeoutMs_(timeoutMs)
{
}

TicketHelper::~TicketHelper()
{
    stop();
}

QString TicketHelper::besideProgram()
{
    return QDir(QCoreApplication::applicationDirPath()).filePath(QStringLiteral("fareboard-ticket"));
}

bool TicketHelper::running() const
{
    return process_ && process_->state() == QProcess::Running;
}

bool TicketHelper::start()
{
    process_ = std::make_unique<QProcess>();
    // The helper draws off screen; it must not open windows or a connection to the display.
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    process_->setProcessEnvironment(env);
    // What a plug-in prints is the plug-in developer's to read, not ours to parse.
    process_->setProcessChannelMode(QProcess::ForwardedErrorChannel);
    process_->start(helperPath_, {}, QIODevice::ReadWrite | QIODevice::Unbuffered);
    if (!process_->waitForStarted(timeoutMs_)) {
        process_.reset();
        return false;
    }
    return true;
}

void TicketHelper::stop()
{
    if (!process_)
        return;
    if (process_->state() != QProcess::NotRunning) {
        // Closing its input ends a healthy helper; one that is busy in a plug-in is killed.
        process_->closeWriteChannel();
        if (!process_->waitForFinished(200)) {
            process_->kill();
            process_->waitForFinished(1000);
        }
    }
    process_.reset();
}

std::optional<TicketReply> TicketHelper::run(const TicketRequest& request, Fault& fault)
{
    fault = Fault::None;
    if (!running()) {
        process_.reset();
        if (!start()) {
            fault = Fault::NotStarted;
            return std::nullopt;
        }
    }
    const QDeadlineTimer deadline(timeoutMs_);
    const QByteArray frame = ticketFrame(encodeTicketRequest(request));
    process_->write(frame);
    while (process_->bytesToWrite() > 0 && process_->state() == QProcess::Running) {
        if (!process_->waitForBytesWritten(int(deadline.remainingTime())))
            break;
    }

    QByteArray answer;
    bool ended = false;
    for (;;) {
        answer += process_->readAllStandardOutput();
        bool bad = false;
        if (auto payload = takeTicketFrame(answer, bad)) {
            auto reply = decodeTicketReply(*payload, request.op, request.picture.size());
            if (reply && answer.isEmpty())
                return reply;
            bad = true;
        }
        if (bad) {
            fault = Fault::BadAnswer;
            stop();
            return std::nullopt;
        }
        if (ended || process_->state() != QProcess::Running) {
            // One more look: the answer may have arrived together with the end.
            if (!ended) {
                ended = true;
                continue;
            }
            fault = Fault::Crashed;
            stop();
            return std::nullopt;
        }
        if (deadline.hasExpired()) {
            fault = Fault::TimedOut;
            process_->kill();
            stop();
            return std::nullopt;
        }
        process_->waitForReadyRead(int(std::max<qint64>(1, deadline.remainingTime())));
    }
}

}  // namespace fareboard
