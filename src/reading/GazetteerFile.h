#pragma once

#include "Gazetteer.h"
#include "LazyIndexFile.h"

namespace fareboard {

// The gazetteer as installed, read at its first look-up; empty when the file is missing, and
// names are then left to the voice. The file stays the Debian package's; nothing of it is
// copied.
class GazetteerFile : public LazyIndexFile<Gazetteer> {
public:
    // Where skkdic-extra installs it.
    static QString installedPath() { return QStringLiteral("/usr/share/skk/SKK-JISYO.geo"); }

    explicit GazetteerFile(QString path = installedPath()) : LazyIndexFile(std::move(path), &Gazetteer::fromSkkDictionary) {}
};

}  // namespace fareboard
