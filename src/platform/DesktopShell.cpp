#include "platform/DesktopShell.h"

#include <QDesktopServices>
#include <QFileInfo>
#include <QUrl>

namespace fareboard {

bool DesktopShell::openFolder(const QString& folder)
{
    // A missing folder would only make the file manager show an error of its own; the caller
    // wants nothing to happen then, so ask the desktop only for folders that exist.
    if (folder.isEmpty())
        return false;
    const QFileInfo info(folder);
    if (!info.isDir())
        return false;
    return QDesktopServices::openUrl(QUrl::fromLocalFile(info.absoluteFilePath()));
}

}  // namespace fareboard
