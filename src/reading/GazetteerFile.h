#pragma once

#include "Gazetteer.h"

#include <QString>

#include <atomic>
#include <mutex>

namespace fareboard {

// The gazetteer as installed: read from its file once, at the first look-up, on the thread
// that asks (the speech worker, or the data tool), never at the program's start. The file
// stays the Debian package's; nothing of it is copied.
class GazetteerFile {
public:
    // Where skkdic-extra installs it.
    static QString installedPath();

    explicit GazetteerFile(QString path = installedPath());
    GazetteerFile(const GazetteerFile&) = delete;
    GazetteerFile& operator=(const GazetteerFile&) = delete;

    // The index; the first call reads the file, and calls from other threads meanwhile wait
    // for it. Empty when the file is missing, unreadable or too large: names are then left
    // to the voice.
    const Gazetteer& index() const;
    // Whether the file has been read yet.
    bool loaded() const { return loaded_.load(); }
    const QString& path() const { return path_; }

private:
    QString path_;
    mutable std::once_flag once_;
    mutable Gazetteer index_;
    mutable std::atomic<bool> loaded_{false};
};

}  // namespace fareboard
