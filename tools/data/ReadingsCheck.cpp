#include "ReadingsCheck.h"

#include "platform/speech/ReadingsFile.h"
#include "platform/speech/ReadingsLimit.h"

namespace fareboard::datatool {

CheckReport checkReadingsFile(const QByteArray& bytes, const QString& fileName)
{
    CheckReport report;
    if (bytes.size() > kMaxReadingsBytes) {
        report.errors << QStringLiteral("%1: %2 bytes; the tape and 'say' do not read a readings file larger than %3 MB")
                             .arg(fileName)
                             .arg(bytes.size())
                             .arg(kMaxReadingsBytes >> 20);
        return report;
    }
    const ReadingsFileContents contents = parseReadingsFile(bytes);
    report.summary << QStringLiteral("%1: %2 reading(s)").arg(fileName).arg(contents.entries.size());
    for (const BadReadingLine& bad : contents.bad)
        report.errors << QStringLiteral("%1:%2: %3 (the tape skips this line)").arg(fileName).arg(bad.line).arg(bad.reason);
    return report;
}

}  // namespace fareboard::datatool
