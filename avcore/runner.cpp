#include "runner.h"

#include <cerrno>
#include <chrono>
#include <csignal>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <functional>
#include <optional>
#include <poll.h>
#include <sys/prctl.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>
#include <utility>

namespace avcore {
namespace {

volatile sig_atomic_t g_stopSignal = 0;
volatile sig_atomic_t g_child = 0;
int g_wakeFd = -1;     // write end of the pipe that wakes the main loop on a signal
int g_wakeReadFd = -1; // its read end

// How long FFmpeg may take to end after it was told to stop before it is killed. Its file is
// discarded anyway, and the converter gives the engine only a short while before it kills the
// whole group.
constexpr auto kStopGrace = std::chrono::milliseconds(500);

void OnStopSignal(int signal) {
    const int saved = errno;
    g_stopSignal = signal;
    // Whatever stopped the engine (SIGTERM, SIGINT, SIGHUP, a reader gone), FFmpeg gets SIGTERM:
    // it ignores SIGPIPE and may not act on SIGHUP.
    if (g_child > 0) {
        kill(static_cast<pid_t>(g_child), SIGTERM);
    }
    if (g_wakeFd >= 0) {
        const char byte = 1;
        [[maybe_unused]] auto n = write(g_wakeFd, &byte, 1);
    }
    errno = saved;
}

// A file descriptor that closes itself.
class Fd {
  public:
    Fd() = default;
    explicit Fd(int fd) : fd_(fd) {}
    Fd(const Fd&) = delete;
    Fd& operator=(const Fd&) = delete;
    Fd(Fd&& other) noexcept : fd_(other.Release()) {}
    Fd& operator=(Fd&& other) noexcept {
        Reset(other.Release());
        return *this;
    }
    ~Fd() { Reset(); }
    int Get() const { return fd_; }
    int Release() { return std::exchange(fd_, -1); }
    void Reset(int fd = -1) {
        if (fd_ >= 0) {
            close(fd_);
        }
        fd_ = fd;
    }

  private:
    int fd_ = -1;
};

struct Pipe {
    Fd read;
    Fd write;
};

bool MakePipe(Pipe& pipe, int extraFlags) {
    int fds[2];
    if (pipe2(fds, O_CLOEXEC | extraFlags) != 0) {
        return false;
    }
    pipe.read.Reset(fds[0]);
    pipe.write.Reset(fds[1]);
    return true;
}

bool IsExecutable(const std::string& path) {
    struct stat st {};
    return stat(path.c_str(), &st) == 0 && S_ISREG(st.st_mode) && access(path.c_str(), X_OK) == 0;
}

std::string SearchPath(const std::string& name) {
    if (name.find('/') != std::string::npos) {
        return IsExecutable(name) ? name : std::string();
    }
    const char* path = std::getenv("PATH");
    std::string_view rest = path ? path : "/usr/local/bin:/usr/bin:/bin";
    while (true) {
        const auto colon = rest.find(':');
        std::string folder(rest.substr(0, colon));
        const std::string candidate = (folder.empty() ? "." : folder) + "/" + name;
        if (IsExecutable(candidate)) {
            return candidate;
        }
        if (colon == std::string_view::npos) {
            return {};
        }
        rest.remove_prefix(colon + 1);
    }
}

// Moves fd to number target in the child, clearing close-on-exec.
void PlaceFd(int fd, int target) {
    if (fd == target) {
        fcntl(fd, F_SETFD, 0);
    } else {
        dup2(fd, target);
    }
}

// In the forked child: only async-signal-safe calls until exec.
[[noreturn]] void ExecChild(const char* program, char* const argv[], pid_t parent, int nullFd, int logFd,
                            int progressFd, int execErrorFd) {
    // Killed when the engine dies; if the engine died before this took effect, end right away.
    prctl(PR_SET_PDEATHSIG, SIGKILL);
    if (getppid() != parent) {
        _exit(127);
    }
    for (int sig : {SIGTERM, SIGINT, SIGHUP, SIGPIPE}) {
        signal(sig, SIG_DFL);
    }
    sigset_t none;
    sigemptyset(&none);
    sigprocmask(SIG_SETMASK, &none, nullptr);
    // Spread the descriptors above the standard numbers first, so that dup2 never overwrites one
    // that is still needed.
    nullFd = fcntl(nullFd, F_DUPFD_CLOEXEC, 10);
    logFd = fcntl(logFd, F_DUPFD_CLOEXEC, 10);
    progressFd = fcntl(progressFd, F_DUPFD_CLOEXEC, 10);
    PlaceFd(nullFd, STDIN_FILENO);
    PlaceFd(logFd, STDOUT_FILENO);
    PlaceFd(logFd, STDERR_FILENO);
    PlaceFd(progressFd, kProgressFd);
    execv(program, argv);
    const int error = errno;
    [[maybe_unused]] auto n = write(execErrorFd, &error, sizeof error);
    _exit(127);
}

} // namespace

std::string FindFfmpeg() {
    const char* chosen = std::getenv("VARID_FFMPEG");
    return SearchPath(chosen && *chosen ? chosen : "ffmpeg");
}

std::string FindFfprobe(const std::string& ffmpeg) {
    if (const char* chosen = std::getenv("VARID_FFPROBE"); chosen && *chosen) {
        return SearchPath(chosen);
    }
    // The FFprobe of the same FFmpeg build when there is one beside it.
    const auto slash = ffmpeg.find_last_of('/');
    if (slash != std::string::npos) {
        const std::string beside = ffmpeg.substr(0, slash + 1) + "ffprobe";
        if (IsExecutable(beside)) {
            return beside;
        }
    }
    return SearchPath("ffprobe");
}

void InstallStopHandlers() {
    static Pipe wake;
    if (g_wakeFd < 0 && MakePipe(wake, O_NONBLOCK)) {
        g_wakeFd = wake.write.Get();
        g_wakeReadFd = wake.read.Get();
    }
    struct sigaction action {};
    action.sa_handler = OnStopSignal;
    sigemptyset(&action.sa_mask);
    for (int sig : {SIGTERM, SIGINT, SIGHUP}) {
        sigaction(sig, &action, nullptr);
    }
    signal(SIGPIPE, SIG_IGN);
}

void RequestStop(int signal) {
    OnStopSignal(signal);
}

int StopSignal() {
    return g_stopSignal;
}

char WaitForGo() {
    pollfd fds[2] = {{STDIN_FILENO, POLLIN, 0}, {g_wakeReadFd, POLLIN, 0}};
    while (StopSignal() == 0) {
        if (poll(fds, g_wakeReadFd >= 0 ? 2 : 1, -1) < 0) {
            if (errno == EINTR) {
                continue;
            }
            return 0;
        }
        if (StopSignal() != 0) {
            break;
        }
        if (fds[0].revents != 0) {
            char word = 0;
            ssize_t got;
            while ((got = read(STDIN_FILENO, &word, 1)) < 0 && errno == EINTR) {
            }
            return got == 1 && StopSignal() == 0 && (word == 'g' || word == 'r') ? word : 0;
        }
    }
    return 0;
}

bool GoArrived() {
    pollfd input{STDIN_FILENO, POLLIN, 0};
    return poll(&input, 1, 0) == 1;
}

bool WriteLine(const std::string& line) {
    static bool readerGone = false;
    if (readerGone) {
        return false;
    }
    std::string text = line + "\n";
    std::string_view rest = text;
    while (!rest.empty()) {
        const ssize_t n = write(STDERR_FILENO, rest.data(), rest.size());
        // A write blocked on a full pipe that a stop signal interrupts is given up, so that a
        // reader that stopped reading cannot keep the engine from its clean-up.
        if (n < 0 && errno == EINTR && g_stopSignal == 0) {
            continue;
        }
        if (n <= 0) {
            readerGone = true;
            return false;
        }
        rest.remove_prefix(static_cast<std::size_t>(n));
    }
    return true;
}

namespace {

struct ChildOutput {
    std::function<void(std::string_view)> onLog;      // standard output and error
    std::function<void(std::string_view)> onProgress; // descriptor kProgressFd
    std::function<void(std::chrono::steady_clock::time_point)> onTick;
    std::function<void()> onStarted; // once the program runs
};

// Runs the program with its output going to the handlers until it has closed both pipes and
// ended. A stop signal the engine receives ends it (SIGTERM, then SIGKILL after a grace).
RunOutcome RunChild(const std::string& program, const std::string& name, const std::vector<std::string>& args,
                    const ChildOutput& output, std::string& error) {
    RunOutcome outcome;
    Pipe logPipe, progressPipe, execError;
    Fd nullFd(open("/dev/null", O_RDONLY | O_CLOEXEC));
    if (nullFd.Get() < 0 || !MakePipe(logPipe, 0) || !MakePipe(progressPipe, 0) || !MakePipe(execError, 0)) {
        error = "Error: " + name + " could not be started: " + std::strerror(errno);
        return outcome;
    }
    std::vector<char*> argv;
    std::string argv0 = program.substr(program.find_last_of('/') + 1);
    argv.push_back(argv0.data());
    std::vector<std::string> copies = args;
    for (auto& a : copies) {
        argv.push_back(a.data());
    }
    argv.push_back(nullptr);

    const pid_t parent = getpid();
    // Signals wait until the child's pid is known, so a stop is always passed on.
    sigset_t stops, previous;
    sigemptyset(&stops);
    for (int sig : {SIGTERM, SIGINT, SIGHUP}) {
        sigaddset(&stops, sig);
    }
    sigprocmask(SIG_BLOCK, &stops, &previous);
    const pid_t child = fork();
    if (child == 0) {
        ExecChild(program.c_str(), argv.data(), parent, nullFd.Get(), logPipe.write.Get(),
                  progressPipe.write.Get(), execError.write.Get());
    }
    if (child < 0) {
        sigprocmask(SIG_SETMASK, &previous, nullptr);
        error = "Error: " + name + " could not be started: " + std::strerror(errno);
        return outcome;
    }
    g_child = child;
    if (g_stopSignal != 0) {
        kill(child, SIGTERM);
    }
    sigprocmask(SIG_SETMASK, &previous, nullptr);
    logPipe.write.Reset();
    progressPipe.write.Reset();
    execError.write.Reset();

    int execErrno = 0;
    if (read(execError.read.Get(), &execErrno, sizeof execErrno) == static_cast<ssize_t>(sizeof execErrno)) {
        error = "Error: " + name + " could not be started (" + program + "): " + std::strerror(execErrno);
    } else if (output.onStarted) {
        output.onStarted();
    }

    bool logOpen = true;
    bool progressOpen = true;
    const int wakeRead = g_wakeReadFd;
    std::optional<std::chrono::steady_clock::time_point> stopSince;
    char buffer[16384];
    while (logOpen || progressOpen) {
        pollfd fds[3] = {{logOpen ? logPipe.read.Get() : -1, POLLIN, 0},
                         {progressOpen ? progressPipe.read.Get() : -1, POLLIN, 0},
                         {wakeRead, POLLIN, 0}};
        const int ready = poll(fds, 3, 100);
        if (ready < 0 && errno != EINTR) {
            break;
        }
        const auto now = std::chrono::steady_clock::now();
        if (ready > 0) {
            for (int i = 0; i < 2; ++i) {
                if (fds[i].revents == 0) {
                    continue;
                }
                const ssize_t n = read(fds[i].fd, buffer, sizeof buffer);
                if (n > 0) {
                    const std::string_view bytes(buffer, static_cast<std::size_t>(n));
                    const auto& handler = i == 0 ? output.onLog : output.onProgress;
                    if (handler) {
                        handler(bytes);
                    }
                } else if (n == 0 || errno != EINTR) {
                    (i == 0 ? logOpen : progressOpen) = false;
                }
            }
            if (fds[2].revents != 0) {
                while (read(wakeRead, buffer, sizeof buffer) > 0) {
                }
            }
        }
        if (output.onTick) {
            output.onTick(now);
        }
        if (g_stopSignal != 0 && !stopSince) {
            stopSince = now;
        }
        if (stopSince && now - *stopSince > kStopGrace) {
            kill(child, SIGKILL);
        }
    }

    int status = 0;
    while (waitpid(child, &status, 0) < 0 && errno == EINTR) {
    }
    g_child = 0;
    if (WIFEXITED(status)) {
        outcome.exited = true;
        outcome.exitCode = WEXITSTATUS(status);
    } else if (WIFSIGNALED(status)) {
        outcome.signal = WTERMSIG(status);
    }
    outcome.stopSignal = g_stopSignal;
    return outcome;
}

} // namespace

RunOutcome RunFfmpeg(const std::string& program, const std::vector<std::string>& args, LogFilter& log,
                     ProgressWriter& progress, std::string& error, const std::function<void()>& started) {
    ChildOutput output{[&log](std::string_view bytes) { log.Feed(bytes); },
                       [&progress](std::string_view bytes) { progress.Feed(bytes); },
                       [&progress](std::chrono::steady_clock::time_point now) { progress.Tick(now); },
                       started};
    RunOutcome outcome = RunChild(program, "FFmpeg", args, output, error);
    log.Finish();
    return outcome;
}

std::optional<std::string> RunForOutput(const std::string& program, const std::vector<std::string>& args) {
    std::string text;
    std::string error;
    ChildOutput output{[&text](std::string_view bytes) { text.append(bytes); }, {}, {}, {}};
    const RunOutcome outcome = RunChild(program, "FFmpeg", args, output, error);
    if (!error.empty() || !outcome.exited || outcome.exitCode != 0 || outcome.stopSignal != 0) {
        return std::nullopt;
    }
    return text;
}

} // namespace avcore
