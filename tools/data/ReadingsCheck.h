#pragma once

#include "DataCheck.h"

namespace fareboard::datatool {

// A broadcast folder's "readings.csv": every line the tape leaves out, as "FILE:LINE: why",
// and how many readings it gives.
CheckReport checkReadingsFile(const QByteArray& bytes, const QString& fileName);

}  // namespace fareboard::datatool
