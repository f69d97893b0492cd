#include "engine/redirector.h"

#include "app/errors.h"

#include <QDeadlineTimer>
#include <QMetaObject>
#include <QObject>
#include <QtDebug>

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <condition_variable>
#include <csignal>
#include <mutex>
#include <poll.h>
#include <sys/eventfd.h>
#include <sys/ioctl.h>
#include <sys/syscall.h>
#include <sys/wait.h>
#include <system_error>
#include <thread>
#include <unistd.h>

namespace {

// Blocks are read whole as the pipe reports them; this only bounds a single buffer.
constexpr int MaxBlockSize = 1 << 20;
// The longest wait of an idle reader before it looks at the child again, when the child's exit
// cannot wake it (no process descriptor).
constexpr int IdleWaitMs = 100;
// How long a child asked to stop (SIGTERM) may take to clean up before its group is killed.
constexpr int StopGraceMs = 2000;

// Without blanks and control characters at both ends.
QString TrimControls(const QString& text) {
    qsizetype begin = 0;
    qsizetype end = text.size();
    while (begin < end && text[begin] <= u' ')
        ++begin;
    while (end > begin && text[end - 1] <= u' ')
        --end;
    return text.mid(begin, end - begin);
}

void WaitForChild(pid_t pid, int* status) {
    while (waitpid(pid, status, 0) < 0 && errno == EINTR) {
    }
}

QString MessageOf(std::exception_ptr failure) {
    try {
        std::rethrow_exception(failure);
    } catch (const EVaridError& e) {
        return e.message();
    } catch (const std::exception& e) {
        return QString::fromLocal8Bit(e.what());
    } catch (...) {
        return QStringLiteral("Unknown error in an event handler");
    }
}

} // namespace

// One started child and its reader thread. Shared with the calls queued to the owner's thread,
// which may outlive the TRedirector (they then do nothing).
struct TRedirector::TRun : std::enable_shared_from_this<TRun> {
    enum class ReadResult { Bytes, Empty, Closed };

    TChildProcess child;
    TUniqueFd pidfd; // readable once the child has exited; may be missing
    TUniqueFd wake;  // written when the owner goes away, to end the reader's wait
    std::atomic<bool> processEnded{false};
    bool failed = false; // owner's thread only: output is discarded after a failure
    std::thread reader;

    std::mutex mutex;
    std::condition_variable changed;
    bool abandoned = false; // the owner is being destroyed: no more calls to it
    bool callDone = false;

    bool Abandoned() {
        std::lock_guard lock(mutex);
        return abandoned;
    }

    void Abandon() {
        {
            std::lock_guard lock(mutex);
            abandoned = true;
        }
        changed.notify_all();
        if (wake.valid())
            eventfd_write(wake.get(), 1);
    }

    // Lets the reader go on after a call to the owner.
    void Release() {
        {
            std::lock_guard lock(mutex);
            callDone = true;
        }
        changed.notify_all();
    }

    // Runs work on the owner's thread and waits until it has run (or until work has released the
    // reader early). False when the owner is going away; work may then never run.
    bool CallOwner(QObject* context, std::function<void()> work) {
        {
            std::lock_guard lock(mutex);
            if (abandoned)
                return false;
            callDone = false;
        }
        // A queued call and a wait the destructor can cancel, instead of a blocking queued call:
        // that one would wait for the owner's thread while the owner's thread, in the destructor,
        // waits for this thread to end.
        QMetaObject::invokeMethod(
            context,
            [self = shared_from_this(), work = std::move(work)] {
                if (self->Abandoned())
                    return;
                work();
                self->Release();
            },
            Qt::QueuedConnection);
        std::unique_lock lock(mutex);
        changed.wait(lock, [this] { return callDone || abandoned; });
        return !abandoned;
    }

    bool ChildExited() const {
        siginfo_t info{};
        // WNOWAIT: the child stays a zombie until the end report reaps it, so its process id and
        // group id cannot be reused while Terminate may still signal them.
        if (waitid(P_PID, static_cast<id_t>(child.pid), &info, WEXITED | WNOHANG | WNOWAIT) != 0)
            return errno != EINTR; // ECHILD: reaped elsewhere, so it has ended
        return info.si_pid == child.pid;
    }

    ReadResult ReadBlock(QObject* context, TRedirector* owner, bool stdErr) {
        const int fd = stdErr ? child.stderrRead.get() : child.stdoutRead.get();
        int waiting = 0;
        if (ioctl(fd, FIONREAD, &waiting) != 0 || waiting <= 0)
            waiting = 1; // the read tells end of file from nothing waiting
        QByteArray block(std::min(waiting, MaxBlockSize), Qt::Uninitialized);
        ssize_t got;
        while ((got = read(fd, block.data(), static_cast<size_t>(block.size()))) < 0 && errno == EINTR) {
        }
        if (got > 0) {
            block.truncate(got);
            CallOwner(context, [this, owner, stdErr, block] {
                owner->Deliver(*this, stdErr, block.constData(), static_cast<int>(block.size()));
            });
            return ReadResult::Bytes;
        }
        if (got == 0)
            return ReadResult::Closed;
        if (errno == EAGAIN || errno == EWOULDBLOCK)
            return ReadResult::Empty;
        const QString message =
            QString::fromLatin1(stdErr ? "Error reading STDERR pipe : " : "Error reading STDOUT pipe : ") +
            QString::number(errno);
        CallOwner(context, [this, owner, message] { owner->HandlerFailed(*this, message); });
        return ReadResult::Closed;
    }

    void Loop(QObject* context, TRedirector* owner) {
        bool outOpen = true;
        bool errOpen = true;
        while (!ChildExited()) {
            pollfd fds[4] = {{outOpen ? child.stdoutRead.get() : -1, POLLIN, 0},
                             {errOpen ? child.stderrRead.get() : -1, POLLIN, 0},
                             {pidfd.get(), POLLIN, 0},
                             {wake.get(), POLLIN, 0}};
            poll(fds, 4, IdleWaitMs);
            if (Abandoned())
                return;
            if (fds[0].revents != 0)
                outOpen = ReadBlock(context, owner, false) != ReadResult::Closed;
            if (fds[1].revents != 0)
                errOpen = ReadBlock(context, owner, true) != ReadResult::Closed;
            if (Abandoned())
                return;
        }
        processEnded = true;
        // What the child wrote before it ended. Pipes that others still hold open are read
        // until nothing is waiting, not until they close.
        for (bool gotBytes = true; gotBytes;) {
            gotBytes = false;
            for (bool stdErr : {false, true}) {
                bool& open = stdErr ? errOpen : outOpen;
                if (!open)
                    continue;
                const ReadResult result = ReadBlock(context, owner, stdErr);
                gotBytes = gotBytes || result == ReadResult::Bytes;
                open = result != ReadResult::Closed;
            }
            if (Abandoned())
                return;
        }
        CallOwner(context, [this, owner] { owner->ReportEnd(*this); });
    }
};

TRedirector::TRedirector() : m_context(std::make_unique<QObject>()) {}

TRedirector::~TRedirector() {
    if (!m_run)
        return;
    m_run->Abandon();
    if (Active() && KillOnDestroy)
        StopGroup();
    JoinFinishedReader();
    if (!Active())
        return;
    const pid_t pid = m_pid;
    if (KillOnDestroy) {
        WaitForChild(pid, nullptr);
        return;
    }
    // Left running: reap it whenever it ends, so that it does not stay a zombie.
    try {
        std::thread([pid] { WaitForChild(pid, nullptr); }).detach();
    } catch (const std::system_error&) {
    }
}

QString TRedirector::GetCommandLine() const {
    return ApplicationName.isEmpty() ? m_commandLine : ApplicationName + u' ' + m_commandLine;
}

bool TRedirector::ProcessEnded() const {
    return m_run && m_run->processEnded;
}

void TRedirector::SetCommandLine(const QString& commandLine) {
    if (Active() && commandLine.compare(GetCommandLine(), Qt::CaseInsensitive) != 0)
        throw EVaridError(QStringLiteral("Cannot change Commandline while process is active"));
    m_commandLine = commandLine;
}

void TRedirector::SetDefaultErrorMode(bool value) {
    if (Active() && value != m_defaultErrorMode)
        throw EVaridError(QStringLiteral("Cannot change DefaultErrorMode while process is active"));
    m_defaultErrorMode = value;
}

void TRedirector::SetInitialPriority(TProcessPriority value) {
    if (Active())
        throw EVaridError(QStringLiteral("Cannot change InititalPriority while process is active"));
    m_initialPriority = value;
}

void TRedirector::Execute() {
    if (Active())
        throw EVaridError(QStringLiteral("Process is already active"));
    if (TrimControls(GetCommandLine()).isEmpty())
        throw EVaridError(QStringLiteral("No commandline to run"));
    JoinFinishedReader();
    m_run.reset();
    m_exitCode = -1;
    m_exitSignal = 0;
    m_lastError.clear();

    TChildRequest request;
    request.arguments = SplitCommandLine(m_commandLine);
    request.program = TrimControls(ApplicationName).isEmpty() ? request.arguments.value(0) : ApplicationName;
    if (request.arguments.isEmpty())
        request.arguments << request.program;
    if (!TrimControls(CurrentDirectory).isEmpty())
        request.workingDirectory = CurrentDirectory;
    request.environment = Environment;
    request.priority = m_initialPriority;

    auto run = std::make_shared<TRun>();
    run->child = StartChildProcess(request);
    run->pidfd = TUniqueFd(static_cast<int>(syscall(SYS_pidfd_open, run->child.pid, 0)));
    run->wake = TUniqueFd(eventfd(0, EFD_CLOEXEC | EFD_NONBLOCK));
    m_pid = run->child.pid;
    m_run = run;
    try {
        m_run->reader = std::thread(&TRun::Loop, m_run.get(), m_context.get(), this);
    } catch (const std::system_error& e) {
        KillGroup();
        WaitForChild(m_pid, nullptr);
        m_pid = 0;
        m_run.reset();
        throw EVaridError(QStringLiteral("Error creating process : ") + QString::number(e.code().value()));
    }
}

void TRedirector::Terminate(int exitCode) {
    Q_UNUSED(exitCode) // a process killed by a signal has no exit code of our choosing
    if (!Active())
        throw EVaridError(QStringLiteral("Cannot Terminate an inactive process"));
    StopGroup();
}

bool TRedirector::WriteInput(const char* bytes, int count) {
    if (!Active() || !m_run || m_run->child.stdinWrite.get() < 0 || count < 0)
        return false;
    // Writing to a child that has gone raises SIGPIPE, which must not end this program: the
    // signal is held back for the write and a raised one taken off again.
    sigset_t pipeSignal;
    sigset_t previous;
    sigemptyset(&pipeSignal);
    sigaddset(&pipeSignal, SIGPIPE);
    pthread_sigmask(SIG_BLOCK, &pipeSignal, &previous);
    ssize_t written;
    while ((written = write(m_run->child.stdinWrite.get(), bytes, size_t(count))) < 0 && errno == EINTR) {
    }
    if (written < 0 && errno == EPIPE) {
        const timespec none{};
        sigtimedwait(&pipeSignal, nullptr, &none);
    }
    pthread_sigmask(SIG_SETMASK, &previous, nullptr);
    return written == count;
}

void TRedirector::StopGroup() const {
    if (m_pid <= 0 || !m_run)
        return;
    // The child's clean-up runs on SIGTERM (the engine stops FFmpeg and removes its temporary
    // file); whatever is left of its group after the grace is killed. Until the end report reaps
    // the child its ids cannot be reused, so the group is still ours to signal.
    kill(m_pid, SIGTERM);
    const QDeadlineTimer deadline(StopGraceMs);
    while (!m_run->ChildExited() && !deadline.hasExpired()) {
        pollfd fd{m_run->pidfd.get(), POLLIN, 0};
        // Without a process descriptor the poll only waits.
        poll(&fd, 1, static_cast<int>(std::min<qint64>(deadline.remainingTime(), IdleWaitMs / 10)));
    }
    KillGroup();
}

void TRedirector::KillGroup() const {
    if (m_pid <= 0)
        return;
    kill(-m_pid, SIGKILL);
    kill(m_pid, SIGKILL); // in case it left its group
}

void TRedirector::JoinFinishedReader() {
    if (m_run && m_run->reader.joinable())
        m_run->reader.join();
}

void TRedirector::Deliver(TRun& run, bool stdErr, const char* bytes, int count) {
    if (run.failed)
        return;
    // A copy: the handler may replace itself.
    const TDataEvent handler = stdErr ? OnStdErr : OnStdOut;
    if (!handler)
        return;
    try {
        handler(this, bytes, count);
    } catch (...) {
        if (!run.Abandoned()) // else the handler destroyed this object
            HandlerFailed(run, MessageOf(std::current_exception()));
    }
}

void TRedirector::HandlerFailed(TRun& run, const QString& message) {
    qWarning().noquote() << "Child process output abandoned:" << message;
    if (m_lastError.isEmpty())
        m_lastError = message;
    run.failed = true;
    KillGroup();
}

void TRedirector::ReportEnd(TRun& run) {
    run.child.stdinWrite.reset();
    run.child.stdoutRead.reset();
    run.child.stderrRead.reset();
    int status = 0;
    pid_t reaped;
    while ((reaped = waitpid(m_pid, &status, 0)) < 0 && errno == EINTR) {
    }
    if (reaped == m_pid && WIFEXITED(status)) {
        m_exitCode = WEXITSTATUS(status);
    } else if (reaped == m_pid && WIFSIGNALED(status)) {
        m_exitSignal = WTERMSIG(status);
        m_exitCode = 128 + m_exitSignal;
    }
    m_pid = 0;
    // The reader ends now, so that OnTerminated may start the next child at once.
    run.Release();
    const TNotifyEvent handler = OnTerminated;
    if (!handler)
        return;
    try {
        handler(this);
    } catch (...) {
        const QString message = MessageOf(std::current_exception());
        qWarning().noquote() << "Child process end handler failed:" << message;
        if (!run.Abandoned() && m_lastError.isEmpty())
            m_lastError = message;
    }
}
