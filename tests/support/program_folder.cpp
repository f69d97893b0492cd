#include "support/program_folder.h"

#include "app/paths.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>

TProgramFolder::TProgramFolder(int content) {
    if (!m_dir.isValid())
        return;
    const QString source = QStringLiteral(VARID_SOURCE_DIR "/");
    if (content & Langs)
        copyTree(source + QStringLiteral("langs"), file(QStringLiteral("langs")));
    if (content & Skins)
        copyTree(source + QStringLiteral("skins"), file(QStringLiteral("skins")));
    initPaths();
}

QString TProgramFolder::path() const {
    return m_dir.path() + QLatin1Char('/');
}

QString TProgramFolder::file(const QString& relative) const {
    return path() + relative;
}

void TProgramFolder::initPaths() const {
    InitPathsFor(path());
}

bool TProgramFolder::copyExecutable(const QString& name) const {
    const QString from = QStringLiteral(VARID_BIN_DIR "/") + name;
    const QString to = file(name);
    QFile::remove(to);
    return QFile::copy(from, to) &&
           QFile::setPermissions(to, QFile::permissions(from) | QFileDevice::ExeOwner | QFileDevice::ExeUser);
}

bool TProgramFolder::writeFile(const QString& relative, const QByteArray& content) const {
    const QString target = file(relative);
    QDir().mkpath(QFileInfo(target).absolutePath());
    QFile f(target);
    return f.open(QIODevice::WriteOnly | QIODevice::Truncate) && f.write(content) == content.size();
}

QByteArray TProgramFolder::readFile(const QString& relative) const {
    QFile f(file(relative));
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

bool TProgramFolder::copyTree(const QString& from, const QString& to) {
    if (!QDir().mkpath(to))
        return false;
    bool ok = true;
    QDirIterator it(from, QDir::Files | QDir::Dirs | QDir::NoDotAndDotDot | QDir::Hidden,
                    QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString src = it.next();
        const QString dst = to + QLatin1Char('/') + QDir(from).relativeFilePath(src);
        if (it.fileInfo().isDir())
            ok = QDir().mkpath(dst) && ok;
        else
            ok = QFile::copy(src, dst) && ok;
    }
    return ok;
}
