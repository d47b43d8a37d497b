#include "TicketWorker.h"

#include <QThread>

#include <future>

namespace fareboard {

struct TicketWorker::Job {
    enum class Kind { Run, Draw, Start };
    Kind kind = Kind::Run;
    TicketRequest request;
    // Run: the waiting caller's answer. Draw: handed back through the event loop.
    std::promise<std::pair<std::optional<TicketReply>, TicketHelper::Fault>> result;
    Answer answer;
};

TicketWorker::TicketWorker(QString helperPath, int timeoutMs) : helperPath_(std::move(helperPath)), timeoutMs_(timeoutMs)
{
    // A QThread, not a bare thread: the helper's QProcess needs an event dispatcher where it lives.
    thread_.reset(QThread::create([this] { loop(); }));
    thread_->start();
}

TicketWorker::~TicketWorker()
{
    {
        std::lock_guard lock(mutex_);
        quit_ = true;
    }
    wake_.notify_all();
    thread_->wait();
}

void TicketWorker::loop()
{
    // Made, used and ended on this thread only.
    TicketHelper helper(helperPath_, timeoutMs_);
    std::unique_lock lock(mutex_);
    for (;;) {
        wake_.wait(lock, [this] { return quit_ || !jobs_.empty(); });
        if (quit_)
            break;
        const std::shared_ptr<Job> job = jobs_.front();
        jobs_.pop_front();
        lock.unlock();
        std::optional<TicketReply> reply;
        TicketHelper::Fault fault = TicketHelper::Fault::None;
        if (job->kind == Job::Kind::Start) {
            if (!helper.running())
                helper.start();
        } else {
            reply = helper.run(job->request, fault);
        }
        lock.lock();
        if (job->kind == Job::Kind::Run) {
            job->result.set_value({std::move(reply), fault});
        } else if (job->kind == Job::Kind::Draw) {
            QMetaObject::invokeMethod(
                &home_, [answer = job->answer, reply = std::move(reply), fault]() { answer(reply, fault); },
                Qt::QueuedConnection);
        }
    }
    // Jobs left at the end are answered as not run; a caller waiting on one goes on.
    for (const std::shared_ptr<Job>& job : jobs_) {
        if (job->kind == Job::Kind::Run)
            job->result.set_value({std::nullopt, TicketHelper::Fault::NotStarted});
    }
    jobs_.clear();
}

std::optional<TicketReply> TicketWorker::run(const TicketRequest& request, TicketHelper::Fault& fault)
{
    auto job = std::make_shared<Job>();
    job->request = request;
    auto answered = job->result.get_future();
    {
        std::lock_guard lock(mutex_);
        jobs_.push_back(job);
    }
    wake_.notify_all();
    auto [reply, why] = answered.get();
    fault = why;
    return std::move(reply);
}

void TicketWorker::draw(TicketRequest request, Answer answer)
{
    auto job = std::make_shared<Job>();
    job->kind = Job::Kind::Draw;
    job->request = std::move(request);
    job->answer = std::move(answer);
    {
        std::lock_guard lock(mutex_);
        // A drawing that has not started yet is of a board that has moved on.
        for (auto it = jobs_.begin(); it != jobs_.end();) {
            if ((*it)->kind == Job::Kind::Draw)
                it = jobs_.erase(it);
            else
                ++it;
        }
        jobs_.push_back(job);
    }
    wake_.notify_all();
}

void TicketWorker::start()
{
    auto job = std::make_shared<Job>();
    job->kind = Job::Kind::Start;
    {
        std::lock_guard lock(mutex_);
        jobs_.push_back(job);
    }
    wake_.notify_all();
}

}  // namespace fareboard
