#include "app/safe_write.h"

#include "app/unique_fd.h"

#include <QFile>
#include <QFileInfo>

#include <atomic>
#include <cerrno>
#include <cstdio>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

bool WriteAll(int fd, const char* bytes, qint64 count) {
    while (count > 0) {
        const ssize_t n = ::write(fd, bytes, static_cast<size_t>(count));
        if (n < 0 && errno == EINTR)
            continue;
        // A short write is retried: the second try reports the error (a full disk, a size limit).
        if (n <= 0)
            return false;
        bytes += n;
        count -= n;
    }
    return true;
}

// A name beside the target that no other writer picks: the target's name, this process and a
// counter. O_EXCL refuses anything already there, a planted link included.
QByteArray TemporaryNameFor(const QByteArray& target, int attempt) {
    static std::atomic<unsigned> counter{0};
    return target + ".tmp" + QByteArray::number(::getpid()) + '-' + QByteArray::number(counter++) + '-' +
           QByteArray::number(attempt);
}

} // namespace

bool ReplaceFileContents(const QString& fileName, const QByteArray& data) {
    // A link to an existing file is written through, as editors and settings files expect: the file
    // it names is replaced.
    const QFileInfo info(fileName);
    const QString resolved = info.isSymLink() && info.exists() ? info.canonicalFilePath() : fileName;
    const QByteArray target = QFile::encodeName(resolved);
    // A file keeps its permissions; a new one gets the usual ones for settings (0666 less umask).
    mode_t mode = 0666;
    struct stat st {};
    const bool existed = ::stat(target.constData(), &st) == 0 && S_ISREG(st.st_mode);
    for (int attempt = 0; attempt < 100; ++attempt) {
        const QByteArray temp = TemporaryNameFor(target, attempt);
        TUniqueFd fd(::open(temp.constData(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC | O_NOFOLLOW, mode));
        if (!fd.valid()) {
            if (errno == EEXIST)
                continue;
            return false;
        }
        bool ok = (!existed || ::fchmod(fd.get(), st.st_mode & 07777) == 0) &&
                  WriteAll(fd.get(), data.constData(), data.size()) && ::fsync(fd.get()) == 0;
        ok = ::close(fd.release()) == 0 && ok;
        ok = ok && ::rename(temp.constData(), target.constData()) == 0;
        if (!ok)
            ::unlink(temp.constData());
        return ok;
    }
    return false;
}
