#pragma once

#include <condition_variable>
#include <mutex>
#include <thread>

namespace fareboard {

// Reads the font configuration and fills Qt's font database (the installed faces) on a thread
// of its own. The database is shared by every thread and filled at first use, which the first
// window with text would otherwise wait for. Fontconfig's own start (its configuration and
// caches) needs no application object, so it begins at once and overlaps with making the
// application; Qt's database follows on the same thread as soon as the application exists,
// and overlaps with building the windows. Only the database: font engines are made per thread
// and under the database's lock, so making them here would hold up the windows instead.
class FontWarmup {
public:
    FontWarmup();
    ~FontWarmup();
    FontWarmup(const FontWarmup&) = delete;
    FontWarmup& operator=(const FontWarmup&) = delete;

    // The application object exists: Qt's database may be filled now.
    void applicationReady();
    // Waits for the thread; call it while the application object still exists.
    void join();

private:
    void proceed(bool fillDatabase);

    std::mutex mutex_;
    std::condition_variable go_;
    bool decided_ = false;
    bool fillDatabase_ = false;
    std::thread thread_;
};

}  // namespace fareboard
