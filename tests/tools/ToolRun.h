#pragma once

#include "DataTool.h"

#include <QString>
#include <QStringList>
#include <QTextStream>

namespace fareboard::test {

// One run of fareboard-data as a user would start it, with what it printed.
struct ToolRun {
    int status = -1;
    QString out;
    QString err;
};

inline ToolRun runTool(const QStringList& arguments)
{
    ToolRun run;
    QTextStream out(&run.out);
    QTextStream err(&run.err);
    run.status = datatool::runDataTool(arguments, out, err);
    out.flush();
    err.flush();
    return run;
}

}  // namespace fareboard::test
