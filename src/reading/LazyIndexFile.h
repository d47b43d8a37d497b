#pragma once

#include <QByteArrayView>
#include <QFile>
#include <QString>

#include <atomic>
#include <mutex>

namespace fareboard {

// A data file read into its index once, at the first look-up, on the thread that asks (the
// speech worker, or the data tool), never at the program's start.
template <typename Index>
class LazyIndexFile {
public:
    using Parse = Index (*)(QByteArrayView bytes);

    LazyIndexFile(QString path, Parse parse) : path_(std::move(path)), parse_(parse) {}
    LazyIndexFile(const LazyIndexFile&) = delete;
    LazyIndexFile& operator=(const LazyIndexFile&) = delete;

    // The index; the first call reads the file, and calls from other threads meanwhile wait
    // for it. Empty when the file is missing, unreadable or too large.
    const Index& index() const
    {
        std::call_once(once_, [this] {
            QFile file(path_);
            if (file.open(QIODevice::ReadOnly) && file.size() <= kMaxBytes)
                index_ = parse_(file.readAll());
            loaded_.store(true);
        });
        return index_;
    }
    // Whether the file has been read yet.
    bool loaded() const { return loaded_.load(); }
    const QString& path() const { return path_; }

private:
    // The files read so are a few megabytes; anything far larger is not one of them.
    static constexpr qint64 kMaxBytes = 64 * 1024 * 1024;

    QString path_;
    Parse parse_;
    mutable std::once_flag once_;
    mutable Index index_;
    mutable std::atomic<bool> loaded_{false};
};

}  // namespace fareboard
