// avcore.dll: the converter's encoder engine. It takes the converter's command line
// ("-p CODE -i INPUT options... OUTPUT"), converts with FFmpeg and reports in the line shapes the
// converter reads: the input, output and duration lines, progress lines, and "Error..." lines.
#include "input_formats.h"
#include "log_filter.h"
#include "output_file.h"
#include "preflight.h"
#include "probe.h"
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

// What the source states about itself, read the way FFmpeg will read it: with FFmpeg's own
// libraries in this process, or with FFprobe where another FFmpeg or FFprobe was chosen
// (VARID_FFMPEG, VARID_FFPROBE). Nothing when it could not be described (FFmpeg then says why). A
// pipe or device is not read twice: what was taken from it would be missing from the conversion.
std::optional<avcore::SourceFacts> DescribeSource(const std::string& ffmpeg, const std::string& mediaFile) {
    struct stat st {};
    if (stat(mediaFile.c_str(), &st) != 0 || !S_ISREG(st.st_mode)) {
        return std::nullopt;
    }
    const auto chosen = [](const char* name) {
        const char* value = std::getenv(name);
        return value && *value;
    };
    const std::string input = "file:" + mediaFile;
    std::optional<std::string> text;
    if (!chosen("VARID_FFMPEG") && !chosen("VARID_FFPROBE")) {
        text = avcore::ProbeInProcess(avcore::SafeInputOptions(), input);
    } else if (const std::string ffprobe = avcore::FindFfprobe(ffmpeg); !ffprobe.empty()) {
        text = avcore::RunForOutput(ffprobe, avcore::ProbeArgs(avcore::SafeInputOptions(), input));
    }
    return text ? avcore::ParseProbe(*text) : std::nullopt;
}

// A file read ahead of its turn, while the converter's previous file still converted: the media
// file, its identity when it was read, and what was found in it. Only regular files are read
// ahead; a pipe or device is left for its turn.
struct Preparation {
    std::string mediaFile;
    struct stat identity {};
    std::optional<avcore::SourceFacts> facts;

    // Whether what was read describes mediaFile as it is now: the very file, unchanged.
    bool Describes(const std::string& file) const {
        struct stat now {};
        return file == mediaFile && stat(file.c_str(), &now) == 0 && SameFile(now, identity);
    }
    static bool SameFile(const struct stat& a, const struct stat& b) {
        return a.st_dev == b.st_dev && a.st_ino == b.st_ino && a.st_size == b.st_size &&
               a.st_mtim.tv_sec == b.st_mtim.tv_sec && a.st_mtim.tv_nsec == b.st_mtim.tv_nsec;
    }
};

std::optional<Preparation> Prepare(const std::vector<std::string>& args) {
    std::string error;
    const auto request = avcore::ParseRequest(args, error);
    struct stat st {};
    if (!request || stat(request->input.c_str(), &st) != 0 || !S_ISREG(st.st_mode)) {
        return std::nullopt;
    }
    const avcore::InputCheck input = avcore::CheckInput(request->input);
    Preparation prepared;
    prepared.mediaFile = input.mediaFile;
    if (!input.error.empty() || stat(prepared.mediaFile.c_str(), &prepared.identity) != 0) {
        return std::nullopt;
    }
    prepared.facts = DescribeSource(avcore::FindFfmpeg(), prepared.mediaFile);
    // Changed while it was read: what was read may be neither the old file nor the new one.
    if (!prepared.Describes(prepared.mediaFile)) {
        return std::nullopt;
    }
    return prepared;
}

bool EnvironmentSays(const char* name) {
    const char* value = std::getenv(name);
    return value && *value == '1';
}

// The converter asks the user before a batch whether existing outputs may be replaced. Options
// texts without "-y" (the disc presets are complete without it) then name the output the user
// agreed to replace in VARID_REPLACE_OUTPUT (an engine started ahead of its turn learns it from
// the converter's word); any other existing file stays refused.
bool ReplaceConfirmed(const std::string& output) {
    const char* confirmed = std::getenv("VARID_REPLACE_OUTPUT");
    return confirmed && *confirmed && output == confirmed;
}

} // namespace

int main(int argc, char** argv) {
    using namespace avcore;
    InstallStopHandlers();
    const std::vector<std::string> args(argv + 1, argv + argc);

    // Started ahead of its turn: read the source while the previous file converts, then wait for
    // the converter's word. Nothing is written and nothing is said before it; without it (the
    // converter chose another file, stopped, or went away) the engine leaves without a trace. The
    // word also says whether the user agreed to replace an existing output.
    std::optional<Preparation> prepared;
    bool replaceAgreed = false;
    if (EnvironmentSays("VARID_AVCORE_STANDBY")) {
        prepared = Prepare(args);
        // FFmpeg's libraries are not needed again unless the source changes before the word. When
        // the word is already there, they go once FFmpeg runs (below), not before it starts.
        if (!GoArrived()) {
            CloseProbeLibraries();
        }
        const char word = WaitForGo();
        if (word == 0) {
            return StopSignal() != 0 ? 128 + StopSignal() : kExitFailed;
        }
        replaceAgreed = word == 'r';
    }

    std::string error;
    auto request = ParseRequest(args, error);
    if (!request) {
        return Fail(error, kExitUsage);
    }
    request->overwrite = request->overwrite || replaceAgreed || ReplaceConfirmed(request->output);
    const InputCheck input = CheckInput(request->input);
    if (!input.error.empty()) {
        return Fail(input.error);
    }
    error = CheckOutput(request->output, input.mediaFile, request->overwrite);
    if (!error.empty()) {
        return Fail(error);
    }

    const bool dryRun = EnvironmentSays("VARID_AVCORE_DRY_RUN");
    const std::string ffmpeg = FindFfmpeg();
    if (ffmpeg.empty() && !dryRun) {
        return Fail(
            "Error: FFmpeg was not found; install the ffmpeg package or name the program in VARID_FFMPEG");
    }
    const std::optional<SourceFacts> source = prepared && prepared->Describes(input.mediaFile)
                                                  ? prepared->facts
                                                  : DescribeSource(ffmpeg, input.mediaFile);
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
    // FFmpeg's libraries, when this process read the source with them, go once FFmpeg runs:
    // closing them before would delay its start.
    RunOutcome outcome = RunFfmpeg(ffmpeg, plan.args, log, progress, error, CloseProbeLibraries);
    if (!error.empty()) {
        return Fail(error);
    }
    outcome.reached = progress.ReachedSeconds();
    const long long written = output.TempSize();
    // With its folder taken away while FFmpeg wrote (deleted, or a drive unplugged), the file is
    // gone for that reason, not for anything FFmpeg did.
    if (written < 0 && outcome.stopSignal == 0) {
        error = MissingOutputFolder(request->output);
    }
    if (error.empty()) {
        error = log.Diagnose(outcome, written);
    }
    if (error.empty()) {
        error = output.Commit(request->overwrite);
    }
    if (error.empty()) {
        return 0;
    }
    // The temporary file goes with output; what was under the output name stays as it was.
    return Fail(error, outcome.stopSignal != 0 ? 128 + outcome.stopSignal : kExitFailed);
}
