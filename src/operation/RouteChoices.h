#pragma once

#include <QHash>
#include <QString>

#include <optional>

namespace fareboard {

// The 系統 last run from the route list of each import folder, kept in a small UTF-8 file
// ("<folder>\t<number>" a line) so the list opens on it again next time. A missing or damaged
// file remembers nothing; the file is written whole or not at all.
class RouteChoices {
public:
    explicit RouteChoices(QString path);

    std::optional<int> lastFor(const QString& folder) const;
    void remember(const QString& folder, int number);

private:
    static QString key(const QString& folder);

    QString path_;
    QHash<QString, int> last_;
};

}  // namespace fareboard
