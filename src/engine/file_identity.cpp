#include "engine/file_identity.h"

#include <QFile>

#include <sys/stat.h>
#include <unistd.h>

TFileIdentity FileIdentityOf(const QString& path) {
    return FileIdentityOf(QFile::encodeName(path));
}

TFileIdentity FileIdentityOf(const QByteArray& path) {
    struct stat st {};
    if (::stat(path.constData(), &st) != 0)
        return {};
    return {true, static_cast<uint64_t>(st.st_dev), static_cast<uint64_t>(st.st_ino),
            static_cast<int64_t>(st.st_size),
            static_cast<int64_t>(st.st_mtim.tv_sec) * 1000000000 + st.st_mtim.tv_nsec};
}

bool RemoveIfSameFile(const QString& path, const TFileIdentity& identity) {
    return RemoveIfSameFile(QFile::encodeName(path), identity);
}

bool RemoveIfSameFile(const QByteArray& path, const TFileIdentity& identity) {
    if (!identity.valid || FileIdentityOf(path) != identity)
        return false;
    return ::unlink(path.constData()) == 0;
}
