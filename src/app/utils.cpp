#include "app/utils.h"

#include <QStandardPaths>

QString AddTrailingBackslash(const QString& path) {
    if (path.endsWith(QLatin1Char('/')))
        return path;
    return path + QLatin1Char('/');
}

QString FileNameWithoutExt(const QString& path) {
    const QString name = path.mid(path.lastIndexOf(QLatin1Char('/')) + 1);
    const qsizetype dot = name.lastIndexOf(QLatin1Char('.'));
    return dot < 0 ? name : name.left(dot);
}

QString GetShellFolder(const QString& name) {
    if (name == QLatin1String("Personal"))
        return QStandardPaths::standardLocations(QStandardPaths::DocumentsLocation).value(0);
    return {};
}
