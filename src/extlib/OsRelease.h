#pragma once

#include <QByteArray>
#include <QString>

namespace fareboard {

// The PRETTY_NAME of an os-release file ("Debian GNU/Linux 12 (bookworm)"), with its shell
// quoting removed; NAME and VERSION when there is no PRETTY_NAME; empty when neither is there.
QString osNameFromOsRelease(const QByteArray& content);

// The running host's name: from its os-release file, else from what Qt learns of the host.
QString hostOsName();

}  // namespace fareboard
