#include "FileDialogFilters.h"

namespace fareboard {

QStringList fileDialogNameFilters(const QString& filterList)
{
    // The list ends at the first empty string: the second NUL after the last pattern.
    const QStringList parts = filterList.split(QChar(u'\0'));
    QStringList filters;
    for (qsizetype i = 0; i + 1 < parts.size(); i += 2) {
        const QString& description = parts.at(i);
        const QString pattern = parts.at(i + 1).trimmed();
        if (description.isEmpty() || pattern.isEmpty())
            break;
        QStringList patterns = pattern.split(QChar(u';'), Qt::SkipEmptyParts);
        for (QString& p : patterns)
            p = p.trimmed();
        const QString qtPatterns = patterns.join(QChar(u' '));
        const QString ownBrackets = QStringLiteral("(") + pattern + QStringLiteral(")");
        if (!pattern.contains(QChar(u';')) && description.endsWith(ownBrackets))
            filters.append(description);
        else
            filters.append(description + QStringLiteral(" (") + qtPatterns + QStringLiteral(")"));
    }
    return filters;
}

}  // namespace fareboard
