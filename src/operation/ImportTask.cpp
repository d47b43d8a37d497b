#include "operation/ImportTask.h"

#include <QThread>

#include <exception>
#include <new>

namespace fareboard {

ImportTask::ImportTask(QObject* parent) : QObject(parent) {}

ImportTask::~ImportTask()
{
    if (thread_) {
        cancel();
        thread_->wait();
        delete thread_;
    }
}

void ImportTask::start(std::function<void(ImportProgress&)> work)
{
    if (thread_)
        return;
    progress_.stage = ImportProgress::Reading;
    progress_.done = 0;
    progress_.total = 0;
    progress_.cancelRequested = false;
    outcome_ = Outcome::Done;
    fault_ = {};
    thread_ = QThread::create([this, work = std::move(work)] {
        try {
            work(progress_);
        } catch (const ImportCancelled&) {
            outcome_ = Outcome::Cancelled;
        } catch (const ImportFault& f) {
            outcome_ = Outcome::Failed;
            fault_ = f;
        } catch (const std::bad_alloc&) {
            outcome_ = Outcome::Failed;
            fault_ = {QString(), 0, QStringLiteral("メモリーが足りません")};
        } catch (const std::exception& e) {
            outcome_ = Outcome::Failed;
            fault_ = {QString(), 0, QString::fromLocal8Bit(e.what())};
        }
    });
    // The work's thread gives way to the one painting the windows.
    connect(thread_, &QThread::finished, this, &ImportTask::done, Qt::QueuedConnection);
    thread_->start(QThread::LowPriority);
}

void ImportTask::done()
{
    if (!thread_)
        return;
    thread_->wait();
    delete thread_;
    thread_ = nullptr;
    emit finished(outcome_, fault_);
}

}  // namespace fareboard
