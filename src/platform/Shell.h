#pragma once

#include <QString>

namespace fareboard {

// The desktop's shell: opens a folder in the user's file manager. Behind an interface so that
// tests can see what was asked without a file manager popping up.
class Shell {
public:
    virtual ~Shell() = default;
    // Opens `folder` in the file manager. Returns whether the desktop took the request; callers
    // that only offer a convenience may ignore it. Never throws.
    virtual bool openFolder(const QString& folder) = 0;
};

}  // namespace fareboard
