// avcore.dll: the converter's encoder engine. It takes the converter's command line
// ("-p CODE -i INPUT options... OUTPUT"), converts with FFmpeg and reports in the line shapes the
// converter reads: the input, output and duration lines, progress lines, and "Error..." lines.
#include "input_formats.h"
#include "log_filter.h"
#include "output_file.h"
#include "preflight.h"
#include "progress.h"
#include "request.h"
#include "runner.h"
#include "source.h"
#include "translate.h"

#include <csignal>
#include <cstdlib>
#include <string>
#include <sys/stat.h>
#include <vector>

namespace {

constexpr int kExitFailed = 1;
constexpr int kExitUsage = 2;

int Fail(const std::string& error, int code = kExitFailed) {
    avcore::WriteLine(error);
    return code;
}

std::string FolderOf(const std::string& path) {
    const auto slash = path.find_last_of('/');
    if (slash == std::string::npos) {
        return ".";
    }
    return slash == 0 ? "/" : path.substr(0, slash);
}

// The FFmpeg arguments for the log; the list of readable formats is long and always the same.

std::string JoinForDisplay(const std::vector<std::string>& args) {
    std::string text = "ffmpeg";
    for (const auto& arg : args) {
        const std::string a =
            arg == avcore::ReadableInputFormats() ? "(formats that read no other file)" : arg;
        text += a.find_first_of(" '\"\\") == std::string::npos && !a.empty() ? " " + a : " '" + a + "'";
    }
    return text;
}

// What FFprobe reads from the source, read the way FFmpeg will read it; nothing when there is no
// FFprobe or it could not describe the file (FFmpeg then says why). A pipe or device is not read
// twice: what FFprobe took from it would be missing from the conversion.
std::optional<avcore::SourceFacts> DescribeSource(const std::string& ffmpeg, const std::string& mediaFile) {
    struct stat st {};
    const std::string ffprobe = avcore::FindFfprobe(ffmpeg);
    if (ffprobe.empty() || stat(mediaFile.c_str(), &st) != 0 || !S_ISREG(st.st_mode)) {
        return std::nullopt;
    }
    const auto text =
        avcore::RunForOutput(ffprobe, avcore::ProbeArgs(avcore::SafeInputOptions(), "file:" + mediaFile));
    return text ? avcore::ParseProbe(*text) : std::nullopt;
}

// The converter asks the user before a batch whether existing outputs may be replaced. Options
// texts without "-y" (the disc presets are complete without it) then name the output the user
// agreed to replace in VARID_REPLACE_OUTPUT; any other existing file stays refused.
bool ReplaceConfirmed(const std::string& output) {
    const char* confirmed = std::getenv("VARID_REPLACE_OUTPUT");
    return confirmed && *confirmed && output == confirmed;
}

} // namespace

int main(int argc, char** argv) {
    using namespace avcore;
    InstallStopHandlers();

    std::string error;
    auto request = ParseRequest(std::vector<std::string>(argv + 1, argv + argc), error);
    if (!request) {
        return Fail(error, kExitUsage);
    }
    request->overwrite = request->overwrite || ReplaceConfirmed(request->output);
    const InputCheck input = CheckInput(request->input);
    if (!input.error.empty()) {
        return Fail(input.error);
    }
    error = CheckOutput(request->output, input.mediaFile, request->overwrite);
    if (!error.empty()) {
        return Fail(error);
    }

    const bool dryRun = [] {
        const char* dry = std::getenv("VARID_AVCORE_DRY_RUN");
        return dry && *dry == '1';
    }();
    const std::string ffmpeg = FindFfmpeg();
    if (ffmpeg.empty() && !dryRun) {
        return Fail(
            "Error: FFmpeg was not found; install the ffmpeg package or name the program in VARID_FFMPEG");
    }
    const std::optional<SourceFacts> source = DescribeSource(ffmpeg, input.mediaFile);
    if (dryRun) {
        // For tests and the benchmark: the FFmpeg arguments, one a line, and nothing run.
        const FfmpegPlan plan = Translate(*request, source, input.mediaFile, request->output, kProgressFd);
        for (const auto& line : plan.notes) {
            WriteLine(line);
        }
        for (const auto& arg : plan.args) {
            WriteLine(arg);
        }
        return 0;
    }
    // FFmpeg writes a temporary file; the output name gets it only when all went well.
    RemoveStaleTemporaries(FolderOf(request->output));
    OutputFile output(request->output);
    error = output.Create();
    if (!error.empty()) {
        return Fail(error);
    }
    const FfmpegPlan plan = Translate(*request, source, input.mediaFile, output.TempPath(), kProgressFd);
    for (const auto& note : plan.notes) {
        WriteLine(note);
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
    ConversionFacts facts{input.mediaFile,    request->output, request->noVideo, request->noAudio, {}, {},
                          plan.expectedLength};
    if (!request->start.empty()) {
        facts.start = ParseTimeText(request->start);
    }
    if (!request->duration.empty()) {
        facts.length = ParseTimeText(request->duration);
    }
    LogFilter log(sink, facts);
    log.ShowNameAs("file:" + output.TempPath(), request->output);
    log.ShowNameAs("file:" + input.mediaFile, input.mediaFile);
    ProgressWriter progress(sink);
    RunOutcome outcome = RunFfmpeg(ffmpeg, plan.args, log, progress, error);
    if (!error.empty()) {
        return Fail(error);
    }
    outcome.reached = progress.ReachedSeconds();
    error = log.Diagnose(outcome, output.TempSize());
    if (error.empty()) {
        error = output.Commit(request->overwrite);
    }
    if (error.empty()) {
        return 0;
    }
    // The temporary file goes with output; what was under the output name stays as it was.
    return Fail(error, outcome.stopSignal != 0 ? 128 + outcome.stopSignal : kExitFailed);
}
