#include "StartupWarmup.h"

#include <QFontDatabase>
#include <QImageReader>
#include <QStringList>

#include <fontconfig/fontconfig.h>

namespace fareboard {

StartupWarmup::StartupWarmup()
    : thread_([this] {
          FcInit();
          std::unique_lock lock(mutex_);
          go_.wait(lock, [this] { return decided_; });
          if (withQt_) {
              lock.unlock();
              (void)QFontDatabase::families();
              (void)QImageReader::supportedImageFormats();
          }
      })
{
}

StartupWarmup::~StartupWarmup() { join(); }

void StartupWarmup::applicationReady() { proceed(true); }

void StartupWarmup::join()
{
    // Never told the application is there, the thread stops after fontconfig.
    proceed(false);
    if (thread_.joinable())
        thread_.join();
}

void StartupWarmup::proceed(bool withQt)
{
    {
        const std::lock_guard lock(mutex_);
        if (decided_)
            return;
        decided_ = true;
        withQt_ = withQt;
    }
    go_.notify_one();
}

}  // namespace fareboard
