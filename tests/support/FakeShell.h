#pragma once

#include "platform/Shell.h"

#include <vector>

namespace fareboard::test {

// Records the folders it was asked to open and answers with `result`.
class FakeShell final : public Shell {
public:
    std::vector<QString> openedFolders;
    bool result = true;

    bool openFolder(const QString& folder) override
    {
        openedFolders.push_back(folder);
        return result;
    }
};

}  // namespace fareboard::test
