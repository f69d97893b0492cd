#include "app/errno_text.h"

#include <cerrno>
#include <cstring>

namespace {

struct TErrnoWords {
    int error;
    const char* words;
};

constexpr TErrnoWords kWords[] = {
    {EACCES, "permission denied"},
    {EPERM, "the operation is not permitted"},
    {ENOENT, "no such file or folder"},
    {ENOTDIR, "a part of the path is not a folder"},
    {EEXIST, "a file of that name is in the way"},
    {EISDIR, "it is a folder"},
    {ENOSPC, "the disk is full"},
    {EDQUOT, "the disk quota is used up"},
    {EROFS, "the file system is read-only"},
    {ENAMETOOLONG, "the name is too long"},
    {ELOOP, "too many symbolic links (a link loop)"},
    {ENOEXEC, "the file is not a program this system can run"},
    {ETXTBSY, "the program file is being written"},
    {EMFILE, "too many open files"},
    {ENFILE, "too many open files in the system"},
    {ENOMEM, "not enough memory"},
    {EAGAIN, "the system is out of processes or resources"},
    {EIO, "an input/output error (the disk or medium may be damaged)"},
    {EFBIG, "the file is too large"},
};

} // namespace

QString ErrnoText(int error) {
    for (const TErrnoWords& w : kWords)
        if (w.error == error)
            return QString::fromLatin1(w.words);
    return QString::fromLocal8Bit(std::strerror(error));
}
