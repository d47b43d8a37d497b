#include "TownListFile.h"

#include <QFile>

namespace fareboard {
namespace {

// The shipped list is under 4 MB; anything far larger is not that file.
constexpr qint64 kMaxBytes = 64 * 1024 * 1024;

}  // namespace

TownListFile::TownListFile(QString path) : path_(std::move(path)) {}

const TownList& TownListFile::index() const
{
    std::call_once(once_, [this] {
        QFile file(path_);
        if (file.open(QIODevice::ReadOnly) && file.size() <= kMaxBytes)
            index_ = TownList::fromCsv(file.readAll());
        loaded_.store(true);
    });
    return index_;
}

}  // namespace fareboard
