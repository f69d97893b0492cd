// avcore.dll: the converter's encoder engine. It takes the converter's command line
// ("-p CODE -i INPUT options... OUTPUT"), converts with FFmpeg and reports in the line shapes the
// converter reads: the input, output and duration lines, progress lines, and "Error..." lines.
#include "log_filter.h"
#include "preflight.h"
#include "progress.h"
#include "request.h"
#include "runner.h"
#include "translate.h"

#include <csignal>
#include <cstdlib>
#include <string>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

namespace {

constexpr int kExitFailed = 1;
constexpr int kExitUsage = 2;

int Fail(const std::string& error, int code = kExitFailed) {
    avcore::WriteLine(error);
    return code;
}

long long FileSize(const std::string& path) {
    struct stat st {};
    if (stat(path.c_str(), &st) != 0) {
        return -1;
    }
    // Devices and pipes have no size to judge by; count them as written.
    return S_ISREG(st.st_mode) ? static_cast<long long>(st.st_size) : 1;
}

std::string JoinForDisplay(const std::vector<std::string>& args) {
    std::string text = "ffmpeg";
    for (const auto& a : args) {
        text += a.find_first_of(" '\"\\") == std::string::npos && !a.empty() ? " " + a : " '" + a + "'";
    }
    return text;
}

} // namespace

int main(int argc, char** argv) {
    using namespace avcore;
    InstallStopHandlers();

    std::string error;
    const auto request = ParseRequest(std::vector<std::string>(argv + 1, argv + argc), error);
    if (!request) {
        return Fail(error, kExitUsage);
    }
    const InputCheck input = CheckInput(request->input);
    if (!input.error.empty()) {
        return Fail(input.error);
    }
    error = CheckOutput(request->output, input.mediaFile, request->overwrite);
    if (!error.empty()) {
        return Fail(error);
    }
    const bool outputExisted = FileSize(request->output) >= 0;

    const FfmpegPlan plan = Translate(*request, input.mediaFile, kProgressFd);
    for (const auto& note : plan.notes) {
        WriteLine(note);
    }
    if (const char* dry = std::getenv("VARID_AVCORE_DRY_RUN"); dry && *dry == '1') {
        // For tests and the benchmark: the FFmpeg arguments, one a line, and nothing run.
        for (const auto& arg : plan.args) {
            WriteLine(arg);
        }
        return 0;
    }
    const std::string ffmpeg = FindFfmpeg();
    if (ffmpeg.empty()) {
        return Fail(
            "Error: FFmpeg was not found; install the ffmpeg package or name the program in VARID_FFMPEG");
    }
    if (StopSignal() != 0) {
        return Fail("Error: the conversion was stopped before it started", 128 + StopSignal());
    }
    WriteLine("Command: " + JoinForDisplay(plan.args));

    auto sink = [](const std::string& line) {
        if (!WriteLine(line)) {
            RequestStop(SIGPIPE); // nobody reads the engine any more: stop FFmpeg too
        }
    };
    LogFilter log(sink,
                  ConversionFacts{input.mediaFile, request->output, request->noVideo, request->noAudio});
    ProgressWriter progress(sink);
    const RunOutcome outcome = RunFfmpeg(ffmpeg, plan.args, log, progress, error);
    if (!error.empty()) {
        return Fail(error);
    }
    error = log.Diagnose(outcome, FileSize(request->output));
    if (error.empty()) {
        return 0;
    }
    // A broken file the engine made must not pass for a result; a file that was there before is
    // left alone.
    if (!outputExisted && FileSize(request->output) >= 0) {
        unlink(request->output.c_str());
    }
    return Fail(error, outcome.stopSignal != 0 ? 128 + outcome.stopSignal : kExitFailed);
}
