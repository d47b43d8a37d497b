#pragma once

#include <QStringList>
#include <QTextStream>

namespace fareboard::datatool {

// Exit codes of fareboard-data.
inline constexpr int kExitOk = 0;
inline constexpr int kExitBadInput = 1;  // a file is wrong, cannot be read or written, or check found errors
inline constexpr int kExitUsage = 2;     // the command line is wrong

// Runs one command line of fareboard-data (`arguments` without the program name): results and
// reports to `out`, errors to `err`. A command that fails writes no file.
int runDataTool(const QStringList& arguments, QTextStream& out, QTextStream& err);

}  // namespace fareboard::datatool
