#include "OutputFolder.h"

#include "InputError.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <cerrno>
#include <cstdio>
#include <cstring>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace fareboard::datatool::gtfs {
namespace {

QString reason(int error) { return QString::fromLocal8Bit(std::strerror(error)); }

QByteArray native(const QString& path) { return QFile::encodeName(path); }

// The host's rename, whose errno says why; a rename within one folder replaces the target at
// once or not at all.
QString renamed(const QString& from, const QString& to)
{
    return std::rename(native(from).constData(), native(to).constData()) == 0 ? QString() : reason(errno);
}

bool existsAsNonFolder(const QString& path)
{
    struct stat st;
    return ::lstat(native(path).constData(), &st) == 0 && !S_ISDIR(st.st_mode);
}

// What a run has done to the folder, so that a failure can undo it.
class Journal {
public:
    void madeFolders(QStringList folders) { madeFolders_ = std::move(folders); }
    void wroteTemporary(const QString& path) { temporaries_ << path; }
    void usedTemporary(const QString& path) { temporaries_.removeOne(path); }
    // `target` was moved to `backup`.
    void movedAside(const QString& target, const QString& backup) { entries_.push_back({target, backup, false}); }
    // A new file is at `target`, over the one moved aside just before when there was one.
    void placed(const QString& target)
    {
        if (!entries_.empty() && entries_.back().target == target && !entries_.back().placed)
            entries_.back().placed = true;
        else
            entries_.push_back({target, QString(), true});
    }

    // Puts every file back; returns a note on any that could not be, naming where it is.
    QString undo()
    {
        QStringList lost;
        for (auto it = entries_.rbegin(); it != entries_.rend(); ++it) {
            if (!it->backup.isEmpty()) {
                if (!renamed(it->backup, it->target).isEmpty())
                    lost << QStringLiteral("%1 (kept as %2)").arg(it->target, it->backup);
            } else if (it->placed) {
                ::unlink(native(it->target).constData());
            }
        }
        for (const QString& path : std::as_const(temporaries_))
            ::unlink(native(path).constData());
        for (const QString& folder : std::as_const(madeFolders_))
            ::rmdir(native(folder).constData());
        return lost.isEmpty() ? QString() : QStringLiteral("; could not put back ") + lost.join(QStringLiteral(", "));
    }

    void commit()
    {
        for (const Entry& e : entries_) {
            if (!e.backup.isEmpty())
                ::unlink(native(e.backup).constData());
        }
    }

private:
    struct Entry {
        QString target;
        QString backup;  // where the earlier file is; empty when there was none
        bool placed;     // a new file is at target
    };
    QStringList madeFolders_;  // deepest first
    QStringList temporaries_;
    std::vector<Entry> entries_;
};

// The folders that `path` needs and that do not exist yet, deepest first.
QStringList missingFolders(const QString& path)
{
    QStringList missing;
    for (QString p = QDir::cleanPath(QFileInfo(path).absoluteFilePath()); !QFileInfo::exists(p);) {
        missing << p;
        const QString parent = QFileInfo(p).path();
        if (parent == p)
            break;
        p = parent;
    }
    return missing;
}

}  // namespace

namespace {

QString writeAndClose(int fd, const QByteArray& bytes)
{
    if (fd < 0)
        return reason(errno);
    for (qsizetype done = 0; done < bytes.size();) {
        const ssize_t n = ::write(fd, bytes.constData() + done, std::size_t(bytes.size() - done));
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0) {
            const int error = n == 0 ? ENOSPC : errno;
            ::close(fd);
            return reason(error);
        }
        done += n;
    }
    // Some file systems say only at close that the data did not fit.
    if (::close(fd) != 0)
        return reason(errno);
    return {};
}

// A run's own temporary file, made new: a leftover of an earlier run, or a link planted there,
// is removed and not written through. Removing first whether or not one is there would cost a
// call per file, and a big import writes thousands.
QString writeNewFileBytes(const QString& path, const QByteArray& bytes)
{
    const QByteArray name = native(path);
    constexpr int kNew = O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC;
    int fd = ::open(name.constData(), kNew, 0666);
    if (fd < 0 && errno == EEXIST && ::unlink(name.constData()) == 0)
        fd = ::open(name.constData(), kNew, 0666);
    return writeAndClose(fd, bytes);
}

}  // namespace

QString writeFileBytes(const QString& path, const QByteArray& bytes)
{
    return writeAndClose(::open(native(path).constData(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0666), bytes);
}

void replaceFiles(const QString& folder, const std::vector<std::pair<QString, QByteArray>>& files,
                  const QStringList& removed)
{
    const QDir dir(folder);
    Journal journal;
    const QStringList missing = missingFolders(folder);
    if (!missing.isEmpty()) {
        journal.madeFolders(missing);
        if (!QDir().mkpath(folder)) {
            journal.undo();
            throw InputError(folder, 0, QStringLiteral("cannot make the folder"));
        }
    }
    auto fail = [&](const QString& file, const QString& what) {
        const QString lost = journal.undo();
        throw InputError(dir.filePath(file), 0, what + (lost.isEmpty() ? QStringLiteral("; nothing was changed") : lost));
    };

    // Everything is written before anything is replaced: a full disk stops the run here.
    for (const auto& [name, bytes] : files) {
        const QString temporary = dir.filePath(QStringLiteral(".%1.importing").arg(name));
        journal.wroteTemporary(temporary);
        if (const QString why = writeNewFileBytes(temporary, bytes); !why.isEmpty())
            fail(name, QStringLiteral("cannot write: ") + why);
    }
    auto moveAside = [&](const QString& name) {
        const QString target = dir.filePath(name);
        if (!existsAsNonFolder(target))
            return;
        const QString backup = dir.filePath(QStringLiteral(".%1.previous").arg(name));
        if (const QString why = renamed(target, backup); !why.isEmpty())
            fail(name, QStringLiteral("cannot move the earlier file aside: ") + why);
        journal.movedAside(target, backup);
    };
    for (const auto& file : files) {
        const QString& name = file.first;
        const QString temporary = dir.filePath(QStringLiteral(".%1.importing").arg(name));
        const QString target = dir.filePath(name);
        moveAside(name);
        if (const QString why = renamed(temporary, target); !why.isEmpty())
            fail(name, QStringLiteral("cannot put the file in place: ") + why);
        journal.usedTemporary(temporary);
        journal.placed(target);
    }
    for (const QString& name : removed)
        moveAside(name);
    journal.commit();
}

}  // namespace fareboard::datatool::gtfs
