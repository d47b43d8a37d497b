#pragma once

#include <optional>

namespace fareboard {

// `fareboard --help` and `fareboard --version` answer on standard output and end without
// opening a window; the exit status then, or nothing when the program is to start.
std::optional<int> answerCommandLine(int argc, char** argv);

}  // namespace fareboard
