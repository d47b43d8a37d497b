#pragma once

#include "platform/Shell.h"

namespace fareboard {

// Hands folders to the desktop's default file manager (xdg-open and its kin).
class DesktopShell final : public Shell {
public:
    bool openFolder(const QString& folder) override;
};

}  // namespace fareboard
