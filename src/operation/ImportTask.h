#pragma once

#include "operation/FeedImporter.h"

#include <QObject>
#include <QString>

#include <functional>

class QThread;

namespace fareboard {

// One piece of import work on a thread of its own, so the console and the board keep
// answering while a large feed is read. The work gets the progress to write and to look for
// a cancel in; `finished` comes on the thread that started it, once the work is over.
class ImportTask : public QObject {
    Q_OBJECT
public:
    enum class Outcome { Done, Cancelled, Failed };

    explicit ImportTask(QObject* parent = nullptr);
    // A task still running is asked to stop and waited for: its work holds references to what
    // its owner is about to destroy.
    ~ImportTask() override;

    // Starts `work`; not while another runs.
    void start(std::function<void(ImportProgress&)> work);
    bool running() const { return thread_ != nullptr; }
    void cancel() { progress_.cancelRequested = true; }
    const ImportProgress& progress() const { return progress_; }

signals:
    // `fault` says what stopped a failed work.
    void finished(fareboard::ImportTask::Outcome outcome, const fareboard::ImportFault& fault);

private:
    void done();

    ImportProgress progress_;
    QThread* thread_ = nullptr;
    Outcome outcome_ = Outcome::Done;
    ImportFault fault_;
};

}  // namespace fareboard
