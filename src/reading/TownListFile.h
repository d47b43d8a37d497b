#pragma once

#include "TownList.h"

#include <QString>

#include <atomic>
#include <mutex>

namespace fareboard {

// The town list the program ships (towns.csv beside it, or in its data folder): read once, at
// the first look-up, on the thread that asks (the speech worker, or the data tool), never at
// the program's start.
class TownListFile {
public:
    static constexpr const char* kFileName = "towns.csv";

    explicit TownListFile(QString path);
    TownListFile(const TownListFile&) = delete;
    TownListFile& operator=(const TownListFile&) = delete;

    // The list; the first call reads the file, and calls from other threads meanwhile wait for
    // it. Empty when the file is missing, unreadable or too large: every town is then read as
    // the gazetteer reads it.
    const TownList& index() const;
    bool loaded() const { return loaded_.load(); }
    const QString& path() const { return path_; }

private:
    QString path_;
    mutable std::once_flag once_;
    mutable TownList index_;
    mutable std::atomic<bool> loaded_{false};
};

}  // namespace fareboard
