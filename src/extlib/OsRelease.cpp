#include "OsRelease.h"

#include <QFile>
#include <QHash>
#include <QSysInfo>

namespace fareboard {

namespace {

// os-release values are shell words: optionally quoted, with backslash escapes inside.
QString unquote(const QString& raw)
{
    QString value = raw.trimmed();
    if (value.size() >= 2 && (value.front() == u'"' || value.front() == u'\'') && value.back() == value.front())
        value = value.mid(1, value.size() - 2);
    QString out;
    out.reserve(value.size());
    for (qsizetype i = 0; i < value.size(); ++i) {
        if (value.at(i) == u'\\' && i + 1 < value.size())
            ++i;
        out.append(value.at(i));
    }
    return out;
}

}  // namespace

QString osNameFromOsRelease(const QByteArray& content)
{
    QHash<QString, QString> fields;
    for (const QByteArray& line : content.split('\n')) {
        const QString text = QString::fromUtf8(line).trimmed();
        if (text.isEmpty() || text.startsWith(u'#'))
            continue;
        const qsizetype eq = text.indexOf(u'=');
        if (eq <= 0)
            continue;
        fields.insert(text.left(eq), unquote(text.mid(eq + 1)));
    }
    const QString pretty = fields.value(QStringLiteral("PRETTY_NAME"));
    if (!pretty.isEmpty())
        return pretty;
    const QString name = fields.value(QStringLiteral("NAME"));
    const QString version = fields.value(QStringLiteral("VERSION"));
    return version.isEmpty() ? name : (name + u' ' + version).trimmed();
}

QString hostOsName()
{
    for (const char* path : {"/etc/os-release", "/usr/lib/os-release"}) {
        QFile file(QString::fromLatin1(path));
        if (!file.open(QIODevice::ReadOnly))
            continue;
        const QString name = osNameFromOsRelease(file.readAll());
        if (!name.isEmpty())
            return name;
    }
    return QSysInfo::prettyProductName();
}

}  // namespace fareboard
