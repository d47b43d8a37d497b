#pragma once

#include <QStringList>
#include <QTextStream>

namespace fareboard::datatool::gtfs {

// fareboard-data gtfs FEED OUTDIR [--list] [--route ID ...]: the exit status of the tool.
int runGtfs(const QStringList& arguments, QTextStream& out, QTextStream& err);

extern const char* const kGtfsUsage;
extern const char* const kGtfsHelp;

}  // namespace fareboard::datatool::gtfs
