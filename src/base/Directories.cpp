#include "base/Directories.h"

#include <QStandardPaths>

namespace rur::base {

QString withSlash(const QString &path)
{
    if (path.isEmpty() || path.endsWith(QLatin1Char('/')))
        return path;
    return path + QLatin1Char('/');
}

bool samePath(const QString &a, const QString &b)
{
    return withSlash(a).compare(withSlash(b), Qt::CaseInsensitive) == 0;
}

bool startsWithPath(const QString &path, const QString &prefix)
{
    return !prefix.isEmpty() && path.startsWith(prefix, Qt::CaseInsensitive);
}

QString Directories::dataSetIni() const
{
    return dataSetDir.isEmpty() ? QString() : dataSetPath() + dataSetDir + QStringLiteral(".ini");
}

QString Directories::dataSetPath() const
{
    return dataSetDir.isEmpty() ? QString() : dataRoot + dataSetDir + QLatin1Char('/');
}

namespace {

QString withoutSlash(QString path)
{
    while (path.size() > 1 && path.endsWith(QLatin1Char('/')))
        path.chop(1);
    return path;
}

}  // namespace

QString Directories::systemCommonDataFolder()
{
    return withoutSlash(QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation));
}

QString Directories::systemDocumentsFolder()
{
    return withoutSlash(QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation));
}

}  // namespace rur::base
