#include "ReadingsCheck.h"

#include "platform/speech/ReadingsFile.h"

namespace fareboard::datatool {

CheckReport checkReadingsFile(const QByteArray& bytes, const QString& fileName)
{
    const ReadingsFileContents contents = parseReadingsFile(bytes);
    CheckReport report;
    report.summary << QStringLiteral("%1: %2 reading(s)").arg(fileName).arg(contents.entries.size());
    for (const BadReadingLine& bad : contents.bad)
        report.errors << QStringLiteral("%1:%2: %3 (the tape skips this line)").arg(fileName).arg(bad.line).arg(bad.reason);
    return report;
}

}  // namespace fareboard::datatool
