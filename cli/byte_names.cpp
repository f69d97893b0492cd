#include "byte_names.h"

#include <QDir>
#include <QFile>

#include <sys/stat.h>
#include <unistd.h>

namespace {

bool IsUtf8(const QByteArray& bytes) {
    return QString::fromUtf8(bytes).toUtf8() == bytes;
}

QByteArray Absolute(const QByteArray& name) {
    if (name.startsWith('/'))
        return name;
    char buffer[4096];
    const char* cwd = ::getcwd(buffer, sizeof buffer);
    return cwd ? QByteArray(cwd) + '/' + name : name;
}

} // namespace

QStringList TByteNameAliases::Arguments(int argc, char** argv) {
    QStringList arguments;
    for (int i = 1; i < argc; ++i) {
        const QByteArray argument(argv[i]);
        struct stat st {};
        if (IsUtf8(argument) || ::stat(argument.constData(), &st) != 0) {
            arguments << QString::fromLocal8Bit(argument);
            continue;
        }
        const QString alias = aliasFor(argument);
        arguments << (alias.isEmpty() ? QString::fromLocal8Bit(argument) : alias);
    }
    return arguments;
}

QString TByteNameAliases::aliasFor(const QByteArray& argument) {
    const QByteArray real = Absolute(argument);
    if (const auto it = m_aliasOf.constFind(real); it != m_aliasOf.constEnd())
        return *it;
    if (!m_dir.isValid())
        return {};
    // One folder per alias, so that two names with the same readable form stay apart.
    QByteArray baseName = real.mid(real.lastIndexOf('/') + 1);
    const QString folder = m_dir.filePath(QString::number(++m_count));
    const QString alias = folder + QLatin1Char('/') + QFile::decodeName(baseName);
    if (!QDir().mkpath(folder) || ::symlink(real.constData(), QFile::encodeName(alias).constData()) != 0)
        return {};
    m_aliasOf.insert(real, alias);
    m_real.insert(alias, real);
    m_display.insert(alias, QString::fromLocal8Bit(argument));
    return alias;
}
