#include "log_filter.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <csignal>
#include <cstdio>
#include <cstring>

namespace avcore {
namespace {

bool StartsWith(std::string_view text, std::string_view prefix) {
    return text.substr(0, prefix.size()) == prefix;
}

bool Contains(std::string_view text, std::string_view fragment) {
    return text.find(fragment) != std::string_view::npos;
}

// FFmpeg's closing sizes, "video:0kB audio:0kB subtitle:0kB other streams:0kB global headers:4kB
// muxing overhead: unknown", for an output that got no packet: each stream's data rounds to 0 kB,
// and the container's overhead is unknown, as it is when there is no data to weigh it against.
// The file then holds headers and nothing to play: an empty source, in a format whose encoder
// brings a header of its own (AAC, Opus, Vorbis, FLAC), which FFmpeg itself does not call empty.
bool NoPacketsWritten(std::string_view text) {
    if (!StartsWith(text, "video:") || !Contains(text, "muxing overhead: unknown")) {
        return false;
    }
    for (const std::string_view label : {"video:", " audio:", " subtitle:", " other streams:"}) {
        const auto at = text.find(label);
        const std::string_view size = at == std::string_view::npos ? "" : text.substr(at + label.size(), 2);
        if (size != "0k" && size != "0K") { // kB, or KiB in later FFmpeg
            return false;
        }
    }
    return true;
}

enum class Level { Info, Warning, Error };

struct TaggedLine {
    std::string context; // "[libx264 @ 0x55...] " or ""
    Level level = Level::Info;
    std::string text;
};

// Splits "[ctx @ 0x..] [level] text" (both tags optional) into its parts.
TaggedLine Untag(std::string_view line) {
    TaggedLine tagged;
    if (StartsWith(line, "[") && Contains(line.substr(0, line.find(']')), " @ ")) {
        const auto close = line.find("] ");
        if (close != std::string_view::npos) {
            tagged.context = std::string(line.substr(0, close + 2));
            line.remove_prefix(close + 2);
        }
    }
    static const std::array<std::pair<std::string_view, Level>, 7> levels = {{
        {"[info] ", Level::Info},
        {"[verbose] ", Level::Info},
        {"[warning] ", Level::Warning},
        {"[error] ", Level::Error},
        {"[fatal] ", Level::Error},
        {"[panic] ", Level::Error},
        {"[quiet] ", Level::Error},
    }};
    for (const auto& [tag, level] : levels) {
        if (StartsWith(line, tag)) {
            tagged.level = level;
            line.remove_prefix(tag.size());
            break;
        }
    }
    tagged.text = std::string(line);
    return tagged;
}

// FFmpeg's own wording must not look like a failure to the converter: only the engine's final
// "Error..." line decides. The phrases the converter looks for are written in lower case.
std::string Defuse(std::string line) {
    static const std::array<std::pair<std::string_view, std::string_view>, 3> phrases = {{
        {"Could not open", "could not open"},
        {"No audio or video streams available", "no audio or video streams available"},
        {"I/O error occured", "i/o error occured"},
    }};
    for (const auto& [phrase, harmless] : phrases) {
        for (auto pos = line.find(phrase); pos != std::string::npos; pos = line.find(phrase, pos)) {
            line.replace(pos, phrase.size(), harmless);
        }
    }
    return line;
}

std::string Quoted(const std::string& path) {
    return "'" + path + "'";
}

std::string Seconds(double seconds) {
    char buffer[32];
    std::snprintf(buffer, sizeof buffer, "%.1f s", seconds);
    return buffer;
}

// "  Duration: 00:01:02.50, start: ..." -> 62.5; nothing for "N/A" or a malformed clock.
std::optional<double> ParseDuration(std::string_view text) {
    text.remove_prefix(std::strlen("  Duration: "));
    text = text.substr(0, text.find(','));
    int hours = 0, minutes = 0;
    double seconds = 0;
    const std::string clock(text);
    char tail = 0;
    if (std::sscanf(clock.c_str(), "%d:%d:%lf%c", &hours, &minutes, &seconds, &tail) != 3 || hours < 0 ||
        minutes < 0 || seconds < 0) {
        return std::nullopt;
    }
    return hours * 3600.0 + minutes * 60.0 + seconds;
}

// The clock of a "  Duration: " line, as FFmpeg writes it: 62.5 -> "00:01:02.50".
std::string DurationClock(double seconds) {
    const long long centis = std::llround(std::max(seconds, 0.0) * 100);
    char buffer[48];
    std::snprintf(buffer, sizeof buffer, "%02lld:%02lld:%02lld.%02lld", centis / 360000, centis / 6000 % 60,
                  centis / 100 % 60, centis % 100);
    return buffer;
}

// Shares of a length that a conversion may fall short by and still be whole: containers often
// give a duration a few frames longer than their streams.
constexpr double kShortfallShare = 0.05;
constexpr double kShortfallSeconds = 1.0;

} // namespace

void LogFilter::ShowNameAs(std::string ffmpegName, std::string shown) {
    names_.emplace_back(std::move(ffmpegName), std::move(shown));
}

void LogFilter::Feed(std::string_view bytes) {
    partial_.append(bytes);
    std::size_t start = 0;
    for (auto end = partial_.find_first_of("\r\n"); end != std::string::npos;
         end = partial_.find_first_of("\r\n", start)) {
        Line(std::string_view(partial_).substr(start, end - start));
        start = end + 1;
    }
    partial_.erase(0, start);
}

void LogFilter::Finish() {
    if (!partial_.empty()) {
        std::string last;
        last.swap(partial_);
        Line(last);
    }
}

void LogFilter::Pass(std::string line) {
    for (const auto& [ffmpegName, shown] : names_) {
        for (auto pos = line.find(ffmpegName); pos != std::string::npos;
             pos = line.find(ffmpegName, pos + shown.size())) {
            line.replace(pos, ffmpegName.size(), shown);
        }
    }
    sink_(line);
}

void LogFilter::Line(std::string_view raw) {
    if (raw.find_first_not_of(" \t") == std::string_view::npos) {
        return;
    }
    TaggedLine line = Untag(raw);
    const std::string& text = line.text;
    switch (line.level) {
    case Level::Info:
        // FFmpeg's own statistics are replaced by the engine's progress lines.
        if (StartsWith(text, "frame=") || StartsWith(text, "size=") || StartsWith(text, "Press [q]")) {
            return;
        }
        if (NoPacketsWritten(text)) {
            noPackets_ = true;
        }
        if (StartsWith(text, "Input #0, ")) {
            sawInput_ = true;
        } else if (StartsWith(text, "Output #0, ")) {
            sawOutput_ = true;
        } else if (sawInput_ && !sawOutput_ && StartsWith(text, "  Duration: ")) {
            inputDuration_ = ParseDuration(text);
            // The converter measures progress against this line. When the streams the output
            // takes are shorter than the file (sound that stops before its picture), it states
            // their length, so that the bar reaches its end when the conversion does.
            if (inputDuration_ && facts_.expectedLength && line.context.empty()) {
                const auto clockEnd = text.find(',');
                Pass(Defuse("  Duration: " + DurationClock(*facts_.expectedLength) +
                            (clockEnd == std::string::npos ? std::string() : text.substr(clockEnd))));
                return;
            }
        } else if (sawInput_ && !sawOutput_ && StartsWith(text, "  Stream #0:")) {
            inputHasVideo_ = inputHasVideo_ || Contains(text, ": Video: ");
            inputHasAudio_ = inputHasAudio_ || Contains(text, ": Audio: ");
        }
        if (line.context.empty()) {
            Pass(
                Defuse(text)); // "Input #0, ...", "  Duration: ..." and the other facts, as FFmpeg wrote them
        } else {
            Pass(Defuse(line.context + text));
        }
        return;
    case Level::Warning:
        if (StartsWith(text, "Output file is empty, nothing was encoded")) {
            emptyOutput_ = true;
        } else if (StartsWith(text, "Estimating duration from bitrate")) {
            durationEstimated_ = true; // a guess from the file's size: no promise to hold it to
        } else if (Contains(text, "corrupt input packet") || StartsWith(text, "Packet corrupt")) {
            ++decodeErrors_;
        }
        Pass("Warning: " + Defuse(line.context + text));
        return;
    case Level::Error:
        // A damaged frame that FFmpeg skips is only a warning; the converter reads it as one.
        if (StartsWith(text, "Error while decoding stream")) {
            ++decodeErrors_;
            Pass(text);
            return;
        }
        if (Contains(text, "partial file") || Contains(text, "Invalid data found when processing input")) {
            ++decodeErrors_;
        }
        // The refusal names every readable format; the format list helps nobody.
        const std::string shown =
            StartsWith(text, "Format not on whitelist") ? "Format not on whitelist" : text;
        errors_.push_back(line.context + shown);
        Pass("  FFmpeg: " + Defuse(line.context + shown));
        return;
    }
}

bool LogFilter::AnyError(std::string_view fragment) const {
    return std::any_of(errors_.begin(), errors_.end(),
                       [&](const std::string& e) { return Contains(e, fragment); });
}

// The most telling of FFmpeg's error lines: the encoder's or muxer's own complaint, not the
// generic lines FFmpeg adds after it.
std::string LogFilter::EncoderReason() const {
    static const std::array<std::string_view, 6> generic = {
        "Error initializing output stream",
        "Error while opening encoder",
        "Could not write header",
        "Conversion failed",
        "Error while filtering",
        "Error submitting",
    };
    for (const auto& e : errors_) {
        std::string_view text = e;
        if (StartsWith(text, "[")) {
            text.remove_prefix(std::min(text.size(), text.find("] ") + 2));
        }
        if (std::none_of(generic.begin(), generic.end(),
                         [&](std::string_view g) { return StartsWith(text, g); })) {
            return Defuse(std::string(text));
        }
    }
    return errors_.empty() ? std::string() : Defuse(errors_.front());
}

std::string LogFilter::WindowText() const {
    return facts_.start || facts_.length ? " (the time window asked for)" : "";
}

// An "Error..." sentence when the source ended before the length it states for the streams taken
// (or the time window's length) was reached: a truncated or damaged file must not pass for
// converted.
std::string LogFilter::LengthError(const RunOutcome& outcome) const {
    const std::optional<double> stated = facts_.expectedLength ? facts_.expectedLength : inputDuration_;
    if (!stated || durationEstimated_) {
        return {};
    }
    const double available = *stated - facts_.start.value_or(0);
    if (available <= 0) {
        return {}; // the window starts after the end: nothing to expect
    }
    const double expected = facts_.length ? std::min(*facts_.length, available) : available;
    const double reached = std::max(0.0, outcome.reached);
    if (reached + std::max(kShortfallSeconds, expected * kShortfallShare) >= expected) {
        return {};
    }
    return "Error: the input file " + Quoted(facts_.input) + " ended early: the conversion reached " +
           Seconds(reached) + " of " + Seconds(expected) + WindowText() +
           "; the file is truncated or damaged";
}

std::string LogFilter::Diagnose(const RunOutcome& outcome, long long outputBytes) const {
    if (outcome.stopSignal != 0) {
        return std::string("Error: the conversion was stopped (") + strsignal(outcome.stopSignal) + ")";
    }
    if (AnyError("No space left on device") || AnyError("Disk quota exceeded")) {
        return "Error: the disk is full; " + Quoted(facts_.output) + " could not be written completely";
    }
    if (AnyError("does not contain any stream")) {
        if (facts_.noVideo) {
            return "Error: the input file " + Quoted(facts_.input) + " has no audio stream to convert";
        }
        if (facts_.noAudio && !inputHasVideo_) {
            return "Error: the input file " + Quoted(facts_.input) +
                   " has no video stream, and audio is disabled";
        }
        return "Error: the input file " + Quoted(facts_.input) + " has no audio or video stream";
    }
    if (AnyError("Format not on whitelist")) {
        return "Error: the input file " + Quoted(facts_.input) +
               " is a playlist or another kind of file that names further files to read; only media "
               "files are converted";
    }
    if (!sawInput_ && (outcome.exited ? outcome.exitCode != 0 : true)) {
        if (AnyError("Invalid data found when processing input") ||
            AnyError("could not find codec parameters")) {
            return "Error: the input file " + Quoted(facts_.input) + " is not a media file that can be read";
        }
        if (AnyError("Permission denied")) {
            return "Error: the input file " + Quoted(facts_.input) + " cannot be read: permission denied";
        }
        return "Error: the input file " + Quoted(facts_.input) + " cannot be read: " + EncoderReason();
    }
    if (AnyError("Permission denied") || AnyError("Read-only file system")) {
        return "Error: the output file " + Quoted(facts_.output) + " cannot be written: " + EncoderReason();
    }
    if (!outcome.exited) {
        return std::string("Error: FFmpeg ended abnormally (") + strsignal(outcome.signal) + ")";
    }
    if (outcome.exitCode != 0) {
        if (AnyError("Error while opening encoder") || AnyError("Error initializing output stream") ||
            AnyError("Could not find tag for codec") || AnyError("Unknown encoder") ||
            AnyError("Could not write header")) {
            return "Error: the encoder refuses these settings: " + EncoderReason();
        }
        if (decodeErrors_ > 0) {
            return "Error: the input file " + Quoted(facts_.input) +
                   " holds damaged data that could not be decoded (" + EncoderReason() + ")";
        }
        return "Error: the conversion failed: " +
               (errors_.empty() ? "FFmpeg ended with code " + std::to_string(outcome.exitCode)
                                : EncoderReason());
    }
    const std::string shortfall = LengthError(outcome);
    if (emptyOutput_ || noPackets_ || outputBytes == 0) {
        if (shortfall.empty() && (facts_.start || facts_.length)) {
            return "Error: nothing was converted and the output file is empty; check the start time and "
                   "duration";
        }
        return shortfall.empty() ? "Error: nothing was converted: the input file " + Quoted(facts_.input) +
                                       " gave no audio or video data"
                                 : shortfall;
    }
    if (outputBytes < 0) {
        return "Error: FFmpeg wrote no output file " + Quoted(facts_.output);
    }
    return shortfall;
}

} // namespace avcore
