#include "ReadingsLoader.h"

namespace fareboard {

ReadingsLoader::ReadingsLoader(Read read) : read_(std::move(read)) {}

ReadingsLoader::~ReadingsLoader()
{
    {
        std::lock_guard lock(mutex_);
        quit_ = true;
    }
    wake_.notify_all();
    if (worker_.joinable())
        worker_.join();
}

void ReadingsLoader::load(const QString& folder, Done done)
{
    done_ = std::move(done);
    pending_ = true;
    {
        std::lock_guard lock(mutex_);
        wanted_ = folder;
        ++request_;
        if (!worker_.joinable())
            worker_ = std::thread([this] { run(); });
    }
    wake_.notify_all();
}

void ReadingsLoader::cancel()
{
    std::lock_guard lock(mutex_);
    ++request_;
    wanted_.reset();
    pending_ = false;
    done_ = nullptr;
}

void ReadingsLoader::discard(ReadingTable table)
{
    if (table.isEmpty())
        return;
    {
        std::lock_guard lock(mutex_);
        discarded_.push_back(std::move(table));
        if (!worker_.joinable())
            worker_ = std::thread([this] { run(); });
    }
    wake_.notify_all();
}

void ReadingsLoader::run()
{
    std::unique_lock lock(mutex_);
    for (;;) {
        wake_.wait(lock, [this] { return quit_ || wanted_.has_value() || !discarded_.empty(); });
        if (quit_)
            return;
        if (!discarded_.empty()) {
            std::vector<ReadingTable> gone = std::move(discarded_);
            discarded_.clear();
            lock.unlock();
            gone.clear();
            lock.lock();
            continue;
        }
        const QString folder = *wanted_;
        wanted_.reset();
        const uint64_t request = request_;
        lock.unlock();
        QString refusal;
        ReadingTable table = read_(folder, refusal);
        lock.lock();
        if (request != request_ || quit_)
            continue;
        // Queued to the calling thread; a newer request made meanwhile turns this one away there.
        QMetaObject::invokeMethod(
            &home_,
            [this, request, table = std::move(table), refusal]() mutable {
                {
                    std::lock_guard guard(mutex_);
                    if (request != request_)
                        return;
                }
                pending_ = false;
                Done done = std::move(done_);
                done_ = nullptr;
                if (done)
                    done(std::move(table), refusal);
            },
            Qt::QueuedConnection);
    }
}

}  // namespace fareboard
