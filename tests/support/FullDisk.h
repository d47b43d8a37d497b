#pragma once

#include <QString>
#include <QTemporaryDir>

#include <csignal>

#include <sys/resource.h>
#include <sys/mount.h>
#include <unistd.h>

namespace fareboard::test {

// While alive, no file of this process may grow beyond `bytes`: a write runs out part-way,
// exactly as on a full disk, without needing a disk to fill (or root to mount one).
class FileSizeLimit {
public:
    explicit FileSizeLimit(rlim_t bytes)
    {
        getrlimit(RLIMIT_FSIZE, &old_);
        // The kernel signals a write past the limit; ignored, the write fails with EFBIG instead.
        oldHandler_ = std::signal(SIGXFSZ, SIG_IGN);
        rlimit limit = old_;
        limit.rlim_cur = bytes;
        setrlimit(RLIMIT_FSIZE, &limit);
    }
    ~FileSizeLimit()
    {
        setrlimit(RLIMIT_FSIZE, &old_);
        std::signal(SIGXFSZ, oldHandler_);
    }
    FileSizeLimit(const FileSizeLimit&) = delete;
    FileSizeLimit& operator=(const FileSizeLimit&) = delete;

private:
    rlimit old_{};
    void (*oldHandler_)(int) = SIG_DFL;
};

// A real tmpfs of `kilobytes`, mounted over a scratch folder when this process may mount
// (root with the capability); path() is empty otherwise.
class SmallDisk {
public:
    explicit SmallDisk(int kilobytes)
    {
        if (geteuid() != 0 || !dir_.isValid())
            return;
        const QByteArray where = dir_.path().toLocal8Bit();
        const QByteArray options = "size=" + QByteArray::number(kilobytes) + "k";
        if (mount("tmpfs", where.constData(), "tmpfs", 0, options.constData()) == 0)
            path_ = dir_.path();
    }
    ~SmallDisk()
    {
        if (!path_.isEmpty())
            umount2(path_.toLocal8Bit().constData(), MNT_DETACH);
    }
    SmallDisk(const SmallDisk&) = delete;
    SmallDisk& operator=(const SmallDisk&) = delete;
    QString path() const { return path_; }

private:
    QTemporaryDir dir_;
    QString path_;
};

}  // namespace fareboard::test
