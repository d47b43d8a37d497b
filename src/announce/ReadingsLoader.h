#pragma once

#include "platform/speech/SpokenText.h"

#include <QObject>
#include <QString>

#include <condition_variable>
#include <functional>
#include <mutex>
#include <optional>
#include <thread>
#include <vector>

namespace fareboard {

// Reads a folder's readings file on a thread of its own: a large file takes a second or two,
// which the console must not wait for. Only the newest request is answered.
class ReadingsLoader {
public:
    // The table, empty when there is no readings file or it cannot be used; `refusal` says why
    // a file that is there was not used, empty otherwise.
    using Done = std::function<void(ReadingTable table, QString refusal)>;
    // What turns a file into its table; run on the loader's thread.
    using Read = std::function<ReadingTable(const QString& folder, QString& refusal)>;

    explicit ReadingsLoader(Read read);
    ~ReadingsLoader();
    ReadingsLoader(const ReadingsLoader&) = delete;
    ReadingsLoader& operator=(const ReadingsLoader&) = delete;

    // Starts reading the folder's readings; `done` is called later on the calling thread,
    // unless another load or cancel comes first.
    void load(const QString& folder, Done done);
    void cancel();
    bool pending() const { return pending_; }
    // Lets a table go on the loader's thread: freeing a million readings takes as long as
    // reading them.
    void discard(ReadingTable table);

private:
    void run();

    Read read_;
    std::mutex mutex_;
    std::condition_variable wake_;
    std::optional<QString> wanted_;
    std::vector<ReadingTable> discarded_;
    uint64_t request_ = 0;
    bool quit_ = false;
    bool pending_ = false;  // calling thread only
    Done done_;             // calling thread only
    QObject home_;          // lives on the calling thread: results are handed over through it
    std::thread worker_;
};

}  // namespace fareboard
