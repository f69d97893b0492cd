// Runs FFmpeg as a child of the engine: in the engine's process group, killed when the engine dies,
// standard input from /dev/null, its log and progress read through pipes. Stop signals the engine
// receives are passed on, so FFmpeg never outlives the engine.
#pragma once

#include "log_filter.h"
#include "progress.h"

#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace avcore {

// The descriptor number FFmpeg writes its progress reports to (its "-progress pipe:N").
inline constexpr int kProgressFd = 3;

// The FFmpeg to run: $VARID_FFMPEG when set (a path, or a name looked up on the PATH), else
// "ffmpeg" on the PATH. Empty when there is none.
std::string FindFfmpeg();

// The FFprobe to read sources with: $VARID_FFPROBE when set, else the one beside ffmpeg, else
// "ffprobe" on the PATH. Empty when there is none.
std::string FindFfprobe(const std::string& ffmpeg);

// Installs the handlers of SIGTERM, SIGINT and SIGHUP and ignores SIGPIPE. Call once, early.
void InstallStopHandlers();
// Stops FFmpeg as if the engine had received the signal.
void RequestStop(int signal);
// The stop signal received so far, 0 when none.
int StopSignal();
// Waits for the converter's word on standard input, one byte: 'g' to convert, 'r' to convert and
// replace an existing output. 0 when the input ended (the converter no longer wants this file),
// a stop signal came first, or the word was none of these.
char WaitForGo();
// Whether the converter's word has already come (standard input has something to read).
bool GoArrived();

// Runs the program with the arguments and feeds its output to the filters. error is set when the
// program could not be started. started, when given, runs once the program has been started.
RunOutcome RunFfmpeg(const std::string& program, const std::vector<std::string>& args, LogFilter& log,
                     ProgressWriter& progress, std::string& error, const std::function<void()>& started = {});

// Runs a program to the end and returns what it wrote (standard output and error); nothing when
// it could not be started, failed or was stopped.
std::optional<std::string> RunForOutput(const std::string& program, const std::vector<std::string>& args);

// Writes one line to the engine's output (standard error, like FFmpeg). Returns false when the
// reader has gone away.
bool WriteLine(const std::string& line);

} // namespace avcore
