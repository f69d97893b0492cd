#include "engine/child_process.h"

#include "app/errno_text.h"
#include "app/errors.h"

#include <QByteArrayList>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>

#include <cerrno>
#include <csignal>
#include <fcntl.h>
#include <sched.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

extern char** environ;

namespace {

[[noreturn]] void Fail(const char* message, int error) {
    throw EVaridError(QString::fromLatin1(message) + QString::number(error));
}

// A program that could not be started: the number, then the cause in plain words.
[[noreturn]] void FailToStart(const QString& program, int error) {
    throw EVaridError(QStringLiteral("Error creating process : %1 (cannot run \"%2\": %3)")
                          .arg(QString::number(error), program, ErrnoText(error)));
}

struct TPipe {
    TUniqueFd read;
    TUniqueFd write;
};

// Moves a descriptor above the standard ones, so that placing the three pipe ends on 0, 1 and 2
// in the child can never overwrite another of them.
bool MoveAboveStandard(TUniqueFd& fd) {
    if (fd.get() > STDERR_FILENO)
        return true;
    const int moved = fcntl(fd.get(), F_DUPFD_CLOEXEC, STDERR_FILENO + 1);
    if (moved < 0)
        return false;
    fd.reset(moved);
    return true;
}

TPipe MakePipe(const char* creationMessage, const char* duplicationMessage) {
    int fds[2];
    if (pipe2(fds, O_CLOEXEC) != 0)
        Fail(creationMessage, errno);
    TPipe p{TUniqueFd(fds[0]), TUniqueFd(fds[1])};
    if (!MoveAboveStandard(p.read) || !MoveAboveStandard(p.write))
        Fail(duplicationMessage, errno);
    return p;
}

bool SetNonBlocking(int fd) {
    const int flags = fcntl(fd, F_GETFL);
    return flags >= 0 && fcntl(fd, F_SETFL, flags | O_NONBLOCK) == 0;
}

QString ResolveProgram(const QString& program) {
    if (program.contains(u'/'))
        return QFileInfo(program).absoluteFilePath(); // relative to our folder, not the child's
    return QStandardPaths::findExecutable(program);
}

[[noreturn]] void ReportChildFailure(int errorPipe, int error) {
    while (write(errorPipe, &error, sizeof error) < 0 && errno == EINTR) {
    }
    _exit(127);
}

// The child's half, between fork and exec: only async-signal-safe calls. Reports the errno of a
// failure through the error pipe and ends.
[[noreturn]] void RunChild(int in, int out, int err, int errorPipe, int priority, const char* directory,
                           const char* path, char* const* argv, char* const* envp) {
    setpgid(0, 0);
    // Signal dispositions set to ignore and the thread's signal mask survive exec: start clean.
    sigset_t none;
    sigemptyset(&none);
    pthread_sigmask(SIG_SETMASK, &none, nullptr);
    struct sigaction dflt {};
    dflt.sa_handler = SIG_DFL;
    for (int sig = 1; sig < NSIG; ++sig)
        if (sig != SIGKILL && sig != SIGSTOP)
            sigaction(sig, &dflt, nullptr);
    if (dup2(in, STDIN_FILENO) < 0 || dup2(out, STDOUT_FILENO) < 0 || dup2(err, STDERR_FILENO) < 0)
        ReportChildFailure(errorPipe, errno);
    // Best effort: without the right to raise priority the child runs at ours.
    switch (priority) {
    case ppIdle: {
        setpriority(PRIO_PROCESS, 0, 19);
        sched_param param{};
        sched_setscheduler(0, SCHED_IDLE, &param);
        break;
    }
    case ppHigh:
        setpriority(PRIO_PROCESS, 0, -5);
        break;
    case ppRealTime:
        setpriority(PRIO_PROCESS, 0, -10);
        break;
    default:
        break;
    }
    // A failure to enter the folder is reported negated, to tell it from a failed exec.
    if (directory && chdir(directory) != 0)
        ReportChildFailure(errorPipe, -errno);
    // Descriptors someone opened without close-on-exec stay ours.
    if (errorPipe > STDERR_FILENO + 1)
        close_range(STDERR_FILENO + 1, static_cast<unsigned>(errorPipe) - 1, 0);
    close_range(static_cast<unsigned>(errorPipe) + 1, ~0U, 0);
    execve(path, argv, envp);
    ReportChildFailure(errorPipe, errno);
}

} // namespace

TChildProcess StartChildProcess(const TChildRequest& request) {
    TPipe in = MakePipe("Error on STDIN pipe creation : ", "Error on STDIN pipe duplication : ");
    TPipe out = MakePipe("Error on STDOUT pipe creation : ", "Error on STDOUT pipe duplication : ");
    TPipe err = MakePipe("Error on STDERR pipe creation : ", "Error on STDERR pipe duplication : ");
    if (!SetNonBlocking(out.read.get()))
        Fail("Error on STDOUT pipe creation : ", errno);
    if (!SetNonBlocking(err.read.get()))
        Fail("Error on STDERR pipe creation : ", errno);

    const QString path = ResolveProgram(request.program);
    if (path.isEmpty())
        FailToStart(request.program, ENOENT);

    // Everything the child needs is prepared here: after fork it may not allocate.
    const QByteArray pathBytes = QFile::encodeName(path);
    QByteArrayList argBytes;
    for (const QString& a : request.arguments)
        argBytes << QFile::encodeName(a);
    std::vector<char*> argv;
    for (QByteArray& a : argBytes)
        argv.push_back(a.data());
    argv.push_back(nullptr);
    QByteArrayList envBytes;
    std::vector<char*> envp;
    if (request.environment) {
        for (const QString& e : *request.environment)
            envBytes << e.toLocal8Bit();
        for (QByteArray& e : envBytes)
            envp.push_back(e.data());
        envp.push_back(nullptr);
    }
    const QByteArray directory = QFile::encodeName(request.workingDirectory.trimmed());

    int errorFds[2];
    if (pipe2(errorFds, O_CLOEXEC) != 0)
        Fail("Error creating process : ", errno);
    TUniqueFd errorRead(errorFds[0]);
    TUniqueFd errorWrite(errorFds[1]);

    const pid_t pid = fork();
    if (pid < 0)
        Fail("Error creating process : ", errno);
    if (pid == 0)
        RunChild(in.read.get(), out.write.get(), err.write.get(), errorWrite.get(), request.priority,
                 directory.isEmpty() ? nullptr : directory.constData(), pathBytes.constData(), argv.data(),
                 request.environment ? envp.data() : environ);

    // Also from here, so that the group exists before anyone can signal it.
    setpgid(pid, pid);
    errorWrite.reset();
    in.read.reset();
    out.write.reset();
    err.write.reset();

    // The error pipe closes on a successful exec, or carries the errno of the failed step.
    int childError = 0;
    ssize_t got;
    while ((got = read(errorRead.get(), &childError, sizeof childError)) < 0 && errno == EINTR) {
    }
    if (got == static_cast<ssize_t>(sizeof childError)) {
        while (waitpid(pid, nullptr, 0) < 0 && errno == EINTR) {
        }
        if (childError < 0)
            throw EVaridError(
                QStringLiteral("Error creating process : %1 (cannot enter the working folder \"%2\": %3)")
                    .arg(QString::number(-childError), request.workingDirectory.trimmed(),
                         ErrnoText(-childError)));
        FailToStart(path, childError);
    }

    TChildProcess child;
    child.pid = pid;
    child.stdinWrite = std::move(in.write);
    child.stdoutRead = std::move(out.read);
    child.stderrRead = std::move(err.read);
    return child;
}
