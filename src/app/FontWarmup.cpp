#include "FontWarmup.h"

#include <QFontDatabase>
#include <QStringList>

#include <fontconfig/fontconfig.h>

namespace fareboard {

FontWarmup::FontWarmup()
    : thread_([this] {
          FcInit();
          std::unique_lock lock(mutex_);
          go_.wait(lock, [this] { return decided_; });
          if (fillDatabase_) {
              lock.unlock();
              (void)QFontDatabase::families();
          }
      })
{
}

FontWarmup::~FontWarmup() { join(); }

void FontWarmup::applicationReady() { proceed(true); }

void FontWarmup::join()
{
    // Never told the application is there, the thread stops after fontconfig.
    proceed(false);
    if (thread_.joinable())
        thread_.join();
}

void FontWarmup::proceed(bool fillDatabase)
{
    {
        const std::lock_guard lock(mutex_);
        if (decided_)
            return;
        decided_ = true;
        fillDatabase_ = fillDatabase;
    }
    go_.notify_one();
}

}  // namespace fareboard
