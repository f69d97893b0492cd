#include "output_file.h"

#include <cerrno>
#include <climits>
#include <csignal>
#include <cstdio>
#include <cstring>
#include <ctime>
#include <dirent.h>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/random.h>
#include <sys/stat.h>
#include <unistd.h>

namespace avcore {
namespace {

constexpr const char* kMarker = ".varid-part-";
constexpr std::size_t kRandomLetters = 6;
// Longer "extensions" are not kept: such a name needs "-f" anyway.
constexpr std::size_t kMaxExtension = 16;
// The length a temporary name is cut to where the file system refuses a longer one.
constexpr std::size_t kShortName = 96;

std::string FolderOf(const std::string& path) {
    const auto slash = path.find_last_of('/');
    if (slash == std::string::npos) {
        return ".";
    }
    return slash == 0 ? "/" : path.substr(0, slash);
}

std::string NameOf(const std::string& path) {
    const auto slash = path.find_last_of('/');
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

std::string RandomLetters() {
    static const char letters[] = "abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789";
    unsigned char bytes[kRandomLetters];
    if (getrandom(bytes, sizeof bytes, 0) != static_cast<ssize_t>(sizeof bytes)) {
        // Without the random source the name is still unique enough with time and pid; O_EXCL
        // catches a clash.
        const auto seed = static_cast<unsigned long>(time(nullptr)) ^ static_cast<unsigned long>(clock());
        for (std::size_t i = 0; i < sizeof bytes; ++i) {
            bytes[i] = static_cast<unsigned char>(seed >> (i * 5));
        }
    }
    std::string text;
    for (unsigned char b : bytes) {
        text += letters[b % (sizeof letters - 1)];
    }
    return text;
}

// Cuts text to at most size bytes without splitting a UTF-8 sequence.
std::string CutUtf8(const std::string& text, std::size_t size) {
    if (text.size() <= size) {
        return text;
    }
    while (size > 0 && (static_cast<unsigned char>(text[size]) & 0xC0) == 0x80) {
        --size;
    }
    return text.substr(0, size);
}

// The name of a temporary file for outputName, at most maxName bytes long where the stem allows.
std::string TemporaryName(const std::string& outputName, std::size_t maxName) {
    std::string stem = outputName;
    std::string extension;
    const auto dot = outputName.find_last_of('.');
    if (dot != std::string::npos && dot > 0 && outputName.size() - dot <= kMaxExtension) {
        stem = outputName.substr(0, dot);
        extension = outputName.substr(dot);
    }
    const std::string tail = kMarker + std::to_string(getpid()) + "-" + RandomLetters() + extension;
    // The temporary name must fit where the output's name fits.
    return "." + CutUtf8(stem, maxName > tail.size() + 1 ? maxName - 1 - tail.size() : 0) + tail;
}

// The engine pid in a name of ours, or 0 when the name is not one of our temporary names.
pid_t WriterOf(const char* name) {
    const std::string text = name;
    if (text.empty() || text.front() != '.') {
        return 0;
    }
    const auto marker = text.rfind(kMarker);
    if (marker == std::string::npos) {
        return 0;
    }
    std::size_t pos = marker + std::strlen(kMarker);
    long long pid = 0;
    const std::size_t digits = pos;
    while (pos < text.size() && std::isdigit(static_cast<unsigned char>(text[pos])) && pid < INT_MAX) {
        pid = pid * 10 + (text[pos++] - '0');
    }
    if (pos == digits || pos >= text.size() || text[pos] != '-') {
        return 0;
    }
    ++pos;
    for (std::size_t i = 0; i < kRandomLetters; ++i, ++pos) {
        if (pos >= text.size() || !std::isalnum(static_cast<unsigned char>(text[pos]))) {
            return 0;
        }
    }
    if (pos < text.size() && text[pos] != '.') {
        return 0;
    }
    return static_cast<pid_t>(pid);
}

void SyncFolder(const std::string& folder) {
    const int fd = open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd >= 0) {
        fsync(fd);
        close(fd);
    }
}

bool Unsupported(int error) {
    return error == EINVAL || error == ENOSYS || error == ENOTSUP || error == EPERM;
}

// Renames from to to unless to exists. Where the file system cannot do that in one step, a hard
// link (which also refuses an existing name) is made and the old name removed; where it has no
// links either, the name is looked at just before a plain rename.
int RenameNoReplace(const char* from, const char* to) {
    if (renameat2(AT_FDCWD, from, AT_FDCWD, to, RENAME_NOREPLACE) == 0) {
        return 0;
    }
    if (!Unsupported(errno)) {
        return -1;
    }
    if (link(from, to) == 0) {
        unlink(from);
        return 0;
    }
    if (!Unsupported(errno)) {
        return -1;
    }
    struct stat st {};
    if (lstat(to, &st) == 0) {
        errno = EEXIST;
        return -1;
    }
    return rename(from, to);
}

} // namespace

OutputFile::~OutputFile() {
    if (!committed_ && StillOurs()) {
        unlink(temp_.c_str());
    }
    if (fd_ >= 0) {
        close(fd_);
    }
}

std::string OutputFile::Create() {
    const std::string folder = FolderOf(output_);
    // Some file systems take shorter names than NAME_MAX: the stem is then cut further.
    std::size_t maxName = NAME_MAX;
    for (int attempt = 0; attempt < 16; ++attempt) {
        temp_ = (folder == "/" ? "" : folder) + "/" + TemporaryName(NameOf(output_), maxName);
        fd_ = open(temp_.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0666);
        if (fd_ >= 0 || (errno != EEXIST && (errno != ENAMETOOLONG || maxName <= kShortName))) {
            break;
        }
        if (errno == ENAMETOOLONG) {
            maxName = kShortName;
        }
    }
    if (fd_ < 0) {
        const std::string reason = std::strerror(errno);
        temp_.clear();
        return "Error: the output file '" + output_ + "' cannot be written: no file can be made in '" +
               folder + "': " + reason;
    }
    flock(fd_, LOCK_EX | LOCK_NB);
    struct stat st {};
    fstat(fd_, &st);
    dev_ = st.st_dev;
    ino_ = st.st_ino;
    return {};
}

bool OutputFile::StillOurs() const {
    if (fd_ < 0 || temp_.empty()) {
        return false;
    }
    struct stat st {};
    return lstat(temp_.c_str(), &st) == 0 && S_ISREG(st.st_mode) && st.st_dev == dev_ && st.st_ino == ino_;
}

long long OutputFile::TempSize() const {
    struct stat st {};
    if (!StillOurs() || fstat(fd_, &st) != 0) {
        return -1;
    }
    return static_cast<long long>(st.st_size);
}

std::string OutputFile::Commit(bool replace) {
    if (!StillOurs()) {
        return "Error: the temporary file '" + temp_ + "' was removed or replaced while converting; '" +
               output_ + "' was not written";
    }
    if (fsync(fd_) != 0) {
        return "Error: the output file '" + output_ +
               "' could not be written completely: " + std::strerror(errno);
    }
    // A file that is replaced keeps its permissions (a private file stays private).
    if (struct stat old{}; replace && lstat(output_.c_str(), &old) == 0 && S_ISREG(old.st_mode)) {
        fchmod(fd_, old.st_mode & 07777);
    }
    const int result =
        replace ? rename(temp_.c_str(), output_.c_str()) : RenameNoReplace(temp_.c_str(), output_.c_str());
    if (result != 0) {
        if (errno == EEXIST) {
            return "Error: the output file '" + output_ +
                   "' was created by someone else while converting and may not be replaced";
        }
        if (errno == EISDIR) {
            return "Error: the output '" + output_ + "' is a folder";
        }
        return "Error: the output file '" + output_ + "' cannot be written: " + std::strerror(errno);
    }
    committed_ = true;
    SyncFolder(FolderOf(output_));
    return {};
}

void RemoveStaleTemporaries(const std::string& folder) {
    DIR* dir = opendir(folder.c_str());
    if (!dir) {
        return;
    }
    const int dirFd = dirfd(dir);
    while (const dirent* entry = readdir(dir)) {
        const pid_t writer = WriterOf(entry->d_name);
        if (writer <= 0 || writer == getpid()) {
            continue;
        }
        struct stat st {};
        if (fstatat(dirFd, entry->d_name, &st, AT_SYMLINK_NOFOLLOW) != 0 || !S_ISREG(st.st_mode) ||
            st.st_uid != geteuid()) {
            continue;
        }
        // A running engine holds the lock on its file; the pid covers the moment between its
        // creating the file and locking it (and a reused pid only keeps the file a while longer).
        if (kill(writer, 0) == 0 || errno != ESRCH) {
            continue;
        }
        const int fd = openat(dirFd, entry->d_name, O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC);
        if (fd < 0) {
            continue;
        }
        if (flock(fd, LOCK_EX | LOCK_NB) == 0) {
            unlinkat(dirFd, entry->d_name, 0);
        }
        close(fd);
    }
    closedir(dir);
}

} // namespace avcore
