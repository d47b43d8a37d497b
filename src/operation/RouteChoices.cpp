#include "operation/RouteChoices.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

namespace fareboard {

RouteChoices::RouteChoices(QString path) : path_(std::move(path))
{
    QFile file(path_);
    if (path_.isEmpty() || !file.open(QIODevice::ReadOnly))
        return;
    // A file of this program's own is a few lines; anything larger is not one.
    if (file.size() > 1 << 20)
        return;
    for (const QByteArray& line : file.readAll().split('\n')) {
        const qsizetype tab = line.lastIndexOf('\t');
        bool ok = false;
        const int number = tab > 0 ? line.mid(tab + 1).trimmed().toInt(&ok) : 0;
        if (ok && number > 0)
            last_.insert(key(QString::fromUtf8(line.left(tab))), number);
    }
}

QString RouteChoices::key(const QString& folder)
{
    return QDir::cleanPath(QDir(folder).absolutePath());
}

std::optional<int> RouteChoices::lastFor(const QString& folder) const
{
    const auto found = last_.constFind(key(folder));
    if (found == last_.constEnd())
        return std::nullopt;
    return *found;
}

void RouteChoices::remember(const QString& folder, int number)
{
    last_.insert(key(folder), number);
    if (path_.isEmpty())
        return;
    QDir().mkpath(QFileInfo(path_).absolutePath());
    QSaveFile file(path_);
    if (!file.open(QIODevice::WriteOnly))
        return;
    QByteArray bytes;
    for (auto it = last_.constBegin(); it != last_.constEnd(); ++it) {
        // A folder name with a line end cannot be written in this form; it is not remembered.
        if (it.key().contains(QLatin1Char('\n')))
            continue;
        bytes += it.key().toUtf8() + '\t' + QByteArray::number(it.value()) + '\n';
    }
    file.write(bytes);
    file.commit();
}

}  // namespace fareboard
