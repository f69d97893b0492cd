#include "app/byte_names.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QUrl>

#include <dirent.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

constexpr QChar Replacement(0xFFFD);

bool IsUtf8(const QByteArray& bytes) {
    return QString::fromUtf8(bytes).toUtf8() == bytes;
}

bool Exists(const QByteArray& name) {
    struct stat st {};
    return ::lstat(name.constData(), &st) == 0;
}

// The absolute name with "." and ".." resolved as text (as QDir::cleanPath does), so that one
// file given in two spellings gets one alias.
QByteArray Absolute(const QByteArray& name) {
    QByteArray path = name;
    if (!name.startsWith('/')) {
        char buffer[4096];
        const char* cwd = ::getcwd(buffer, sizeof buffer);
        if (!cwd)
            return name;
        path = QByteArray(cwd) + '/' + name;
    }
    QList<QByteArray> parts;
    for (const QByteArray& part : path.split('/')) {
        if (part == "..") {
            if (!parts.isEmpty())
                parts.removeLast();
        } else if (!part.isEmpty() && part != ".") {
            parts << part;
        }
    }
    return '/' + parts.join('/');
}

// The entries of a folder whose names decode to the text; "." and ".." are never among them.
QList<QByteArray> EntriesReading(const QByteArray& folder, const QString& text) {
    QList<QByteArray> found;
    DIR* dir = ::opendir(folder.isEmpty() ? "/" : folder.constData());
    if (!dir)
        return found;
    while (const dirent* entry = ::readdir(dir)) {
        const QByteArray name(entry->d_name);
        if (name != "." && name != ".." && QFile::decodeName(name) == text)
            found << name;
    }
    ::closedir(dir);
    return found;
}

} // namespace

TByteNameAliases::TByteNameAliases() = default;
TByteNameAliases::~TByteNameAliases() = default;

QStringList TByteNameAliases::Arguments(int argc, char** argv) {
    QStringList arguments;
    for (int i = 1; i < argc; ++i)
        arguments << PathOf(QByteArray(argv[i]));
    return arguments;
}

QString TByteNameAliases::PathOf(const QByteArray& name) {
    if (IsUtf8(name) || !Exists(name))
        return QFile::decodeName(name);
    const QString alias = aliasFor(Absolute(name));
    return alias.isEmpty() ? QFile::decodeName(name) : alias;
}

TResolvedName TByteNameAliases::Resolve(const QString& path) {
    if (!path.contains(Replacement) || QFileInfo::exists(path) || QFileInfo(path).isSymLink())
        return {path, TNameMatch::AsGiven};
    // Folder by folder from the root: a part with U+FFFD is the one entry of its folder that
    // reads the same (its own UTF-8 bytes first, for a name that holds U+FFFD itself).
    const QString absolute = QDir::cleanPath(QDir::current().absoluteFilePath(path));
    QByteArray real;
    for (const QString& part : absolute.split(QLatin1Char('/'), Qt::SkipEmptyParts)) {
        const QByteArray direct = real + '/' + QFile::encodeName(part);
        if (!part.contains(Replacement) || Exists(direct)) {
            real = direct;
            continue;
        }
        const QList<QByteArray> entries = EntriesReading(real, part);
        if (entries.size() != 1)
            return {path, entries.isEmpty() ? TNameMatch::NotFound : TNameMatch::Ambiguous};
        real += '/' + entries.first();
    }
    if (!Exists(real))
        return {path, TNameMatch::NotFound};
    const QString alias = aliasFor(real);
    if (alias.isEmpty())
        return {path, TNameMatch::NotFound};
    return {alias, TNameMatch::Aliased};
}

QString TByteNameAliases::DisplayText(QString text) const {
    for (auto it = m_display.constBegin(); it != m_display.constEnd(); ++it)
        text.replace(it.key(), it.value());
    return text;
}

QString TByteNameAliases::Portable(const QString& path) const {
    const QByteArray real = RealName(path);
    if (real.isEmpty())
        return path;
    return QStringLiteral("file://") + QString::fromLatin1(real.toPercentEncoding("/"));
}

QString TByteNameAliases::aliasFor(const QByteArray& real) {
    if (const auto it = m_aliasOf.constFind(real); it != m_aliasOf.constEnd())
        return *it;
    if (!m_dir)
        m_dir = std::make_unique<QTemporaryDir>(QDir::tempPath() + QStringLiteral("/varid-names-XXXXXX"));
    if (!m_dir->isValid())
        return {};
    // One folder per alias, so that two names with the same readable form stay apart.
    const QByteArray baseName = real.mid(real.lastIndexOf('/') + 1);
    const QString folder = m_dir->filePath(QString::number(++m_count));
    const QString alias = folder + QLatin1Char('/') + QFile::decodeName(baseName);
    if (!QDir().mkpath(folder) || ::symlink(real.constData(), QFile::encodeName(alias).constData()) != 0)
        return {};
    m_aliasOf.insert(real, alias);
    m_real.insert(alias, real);
    m_display.insert(alias, QDir::cleanPath(QFile::decodeName(real)));
    return alias;
}

TByteNameAliases& ByteNames() {
    static TByteNameAliases aliases;
    return aliases;
}

QString LocalPathOfUrl(const QUrl& url) {
    if (!url.isLocalFile())
        return {};
    // A URL with a host names a file on another machine: Qt's own form (//host/path) is kept.
    const QString host = url.host();
    if (!host.isEmpty() && host.compare(QStringLiteral("localhost"), Qt::CaseInsensitive) != 0)
        return url.toLocalFile();
    return ByteNames().PathOf(QByteArray::fromPercentEncoding(url.path(QUrl::FullyEncoded).toLatin1()));
}
