#pragma once

#include <condition_variable>
#include <mutex>
#include <thread>

namespace fareboard {

// Does on a thread of its own the loading that the first windows would otherwise wait for:
// the font configuration, Qt's font database (the installed faces) and the image-format
// plug-ins. Each is shared by every thread and loaded at first use. Fontconfig's own start (its
// configuration and caches) needs no application object, so it begins at once and overlaps
// with making the application; the rest follows on the same thread as soon as the application
// exists, and overlaps with building the windows.
// Only shared things: font engines are made per thread and under the database's lock, so
// making them here would hold up the windows instead. The image plug-ins are what the console's
// first paint waits for otherwise: the style draws its group-box frames from a picture file,
// and reading the first picture file loads every image-format plug-in.
class StartupWarmup {
public:
    StartupWarmup();
    ~StartupWarmup();
    StartupWarmup(const StartupWarmup&) = delete;
    StartupWarmup& operator=(const StartupWarmup&) = delete;

    // The application object exists: Qt's share of the work may be done now.
    void applicationReady();
    // Waits for the thread; call it while the application object still exists.
    void join();

private:
    void proceed(bool withQt);

    std::mutex mutex_;
    std::condition_variable go_;
    bool decided_ = false;
    bool withQt_ = false;
    std::thread thread_;
};

}  // namespace fareboard
