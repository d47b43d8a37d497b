#include "GazetteerFile.h"

#include <QFile>

namespace fareboard {
namespace {

// The installed file is under 3 MB; anything far larger is not that file.
constexpr qint64 kMaxBytes = 64 * 1024 * 1024;

}  // namespace

QString GazetteerFile::installedPath()
{
    return QStringLiteral("/usr/share/skk/SKK-JISYO.geo");
}

GazetteerFile::GazetteerFile(QString path) : path_(std::move(path)) {}

const Gazetteer& GazetteerFile::index() const
{
    std::call_once(once_, [this] {
        QFile file(path_);
        if (file.open(QIODevice::ReadOnly) && file.size() <= kMaxBytes)
            index_ = Gazetteer::fromSkkDictionary(file.readAll());
        loaded_.store(true);
    });
    return index_;
}

}  // namespace fareboard
