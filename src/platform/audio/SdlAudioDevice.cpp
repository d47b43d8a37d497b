#include "SdlAudioDevice.h"

#include "SdlMixer.h"

#include <QCoreApplication>
#include <QEventLoop>
#include <QTimer>

#include <chrono>
#include <functional>
#include <thread>

namespace fareboard {
namespace {

constexpr int kPollMs = 5;

// Waits in a local event loop that leaves user input queued: the windows keep painting and
// their timers keep running, while clicks made meanwhile arrive once the sound is over.
void waitWhile(const std::function<bool()>& condition)
{
    if (!condition())
        return;
    if (!QCoreApplication::instance()) {
        while (condition())
            std::this_thread::sleep_for(std::chrono::milliseconds(kPollMs));
        return;
    }
    QEventLoop loop;
    QTimer poll;
    QObject::connect(&poll, &QTimer::timeout, &loop, [&] {
        if (!condition())
            loop.quit();
    });
    poll.start(kPollMs);
    loop.exec(QEventLoop::ExcludeUserInputEvents);
}

}  // namespace

bool SdlAudioDevice::open(const QString& alias, const QString& path, AudioDeviceType type)
{
    return mixer_.loadFile(alias, path, type == AudioDeviceType::Sequencer);
}

void SdlAudioDevice::play(const QString& alias, bool wait)
{
    if (!mixer_.play(alias) || !wait)
        return;
    waitUntilHeard(alias);
}

void SdlAudioDevice::waitUntilHeard(const QString& alias)
{
    waitWhile([&] { return mixer_.playing(alias); });
    // The mixer lets go of a sound when it has handed the last buffer to the card; the
    // speaker is still playing that buffer.
    const auto heard = std::chrono::steady_clock::now() + mixer_.outputLatency();
    waitWhile([&] { return std::chrono::steady_clock::now() < heard; });
}

void SdlAudioDevice::stop(const QString& alias)
{
    mixer_.halt(alias);
}

bool SdlAudioDevice::playing(const QString& alias) const
{
    return mixer_.playing(alias);
}

void SdlAudioDevice::close(const QString& alias)
{
    mixer_.unload(alias);
}

}  // namespace fareboard
