// A child process for tests that does what its arguments say, step by step:
//   out:TEXT / err:TEXT   write TEXT to standard output / error
//   outn:N / errn:N       write N bytes of the pattern 'a'..'z' (counted across steps) there
//   await:FIFO            open FIFO for reading (waits for a writer) and read it to its end
//   notify:FIFO           open FIFO for writing (waits for a reader) and close it again
//   fork                  start a grandchild that blocks like "block"; writes "pid:N\n"
//   nice                  write "nice:N\n" with the own niceness
//   pwd                   write the working folder and "\n"
//   env:NAME              write the variable's value and "\n"
//   block                 wait, without spinning, until killed
//   kill:SIG              raise the signal
//   onterm:N              from now on end with exit code N on SIGTERM
//   ignore:SIG            from now on ignore the signal
//   exit:N                end at once with exit code N
// Without an exit step it ends with exit code 0. Writes are unbuffered, so the last bytes go out
// right before the exit.
#include <cerrno>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <string>
#include <sys/resource.h>
#include <unistd.h>

namespace {

unsigned long patternIndex = 0;
volatile sig_atomic_t termExitCode = 0;

void WriteAll(int fd, const char* data, size_t size) {
    while (size > 0) {
        const ssize_t n = write(fd, data, size);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            _exit(90);
        data += n;
        size -= static_cast<size_t>(n);
    }
}

void WriteText(int fd, const std::string& text) {
    WriteAll(fd, text.data(), text.size());
}

void WritePattern(int fd, unsigned long count) {
    char chunk[65536];
    while (count > 0) {
        const size_t n = count < sizeof chunk ? count : sizeof chunk;
        for (size_t i = 0; i < n; ++i)
            chunk[i] = static_cast<char>('a' + (patternIndex++ % 26));
        WriteAll(fd, chunk, n);
        count -= n;
    }
}

[[noreturn]] void Block() {
    // Our standard input is a pipe nobody writes to; pause() in case it was closed.
    char c;
    while (read(STDIN_FILENO, &c, 1) != 0) {
    }
    for (;;)
        pause();
}

} // namespace

int main(int argc, char** argv) {
    for (int i = 1; i < argc; ++i) {
        const std::string step = argv[i];
        const size_t colon = step.find(':');
        const std::string name = step.substr(0, colon);
        const std::string value = colon == std::string::npos ? std::string() : step.substr(colon + 1);
        if (name == "out") {
            WriteText(STDOUT_FILENO, value);
        } else if (name == "err") {
            WriteText(STDERR_FILENO, value);
        } else if (name == "outn") {
            WritePattern(STDOUT_FILENO, std::strtoul(value.c_str(), nullptr, 10));
        } else if (name == "errn") {
            WritePattern(STDERR_FILENO, std::strtoul(value.c_str(), nullptr, 10));
        } else if (name == "await") {
            const int fd = open(value.c_str(), O_RDONLY);
            if (fd < 0)
                _exit(91);
            char buffer[256];
            while (read(fd, buffer, sizeof buffer) > 0) {
            }
            close(fd);
        } else if (name == "notify") {
            const int fd = open(value.c_str(), O_WRONLY);
            if (fd < 0)
                _exit(92);
            close(fd);
        } else if (name == "fork") {
            const pid_t pid = fork();
            if (pid == 0)
                Block();
            WriteText(STDOUT_FILENO, "pid:" + std::to_string(pid) + "\n");
        } else if (name == "nice") {
            errno = 0;
            const int niceness = getpriority(PRIO_PROCESS, 0);
            WriteText(STDOUT_FILENO, "nice:" + std::to_string(niceness) + "\n");
        } else if (name == "pwd") {
            char buffer[4096];
            WriteText(STDOUT_FILENO, std::string(getcwd(buffer, sizeof buffer) ? buffer : "") + "\n");
        } else if (name == "env") {
            const char* v = std::getenv(value.c_str());
            WriteText(STDOUT_FILENO, std::string(v ? v : "<unset>") + "\n");
        } else if (name == "block") {
            Block();
        } else if (name == "onterm") {
            termExitCode = std::atoi(value.c_str());
            signal(SIGTERM, [](int) { _exit(termExitCode); });
        } else if (name == "ignore") {
            signal(std::atoi(value.c_str()), SIG_IGN);
        } else if (name == "kill") {
            raise(std::atoi(value.c_str()));
        } else if (name == "exit") {
            _exit(std::atoi(value.c_str()));
        } else {
            std::fprintf(stderr, "unknown step %s\n", step.c_str());
            return 99;
        }
    }
    return 0;
}
