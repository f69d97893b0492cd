// Reads FFmpeg's log (written with level tags), passes on the lines the converter reads (input,
// output, duration, stream facts), keeps FFmpeg's errors out of the converter's failure shapes, and
// afterwards says in the user's words why a conversion failed.
#pragma once

#include "progress.h"

#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace avcore {

struct RunOutcome {
    bool exited = false; // FFmpeg ended by itself (exitCode valid)
    int exitCode = 0;
    int signal = 0;      // the signal that ended FFmpeg, when it did not exit
    int stopSignal = 0;  // the signal the engine received and passed on, 0 when none
    double reached = -1; // seconds of output FFmpeg reported last, -1 when none
};

struct ConversionFacts {
    std::string input; // the media file
    std::string output;
    bool noVideo = false;
    bool noAudio = false;
    std::optional<double> start;  // -ss, seconds
    std::optional<double> length; // -t, seconds
    // The length of the streams the output takes, as the source states them; when unknown, the
    // duration FFmpeg reads for the whole file is expected.
    std::optional<double> expectedLength = {};
};

class LogFilter {
  public:
    LogFilter(LineSink sink, ConversionFacts facts) : sink_(std::move(sink)), facts_(std::move(facts)) {}

    // Lines naming ffmpegName name shown instead: FFmpeg is given "file:" names and writes a
    // temporary file, the converter reads the names it passed.
    void ShowNameAs(std::string ffmpegName, std::string shown);

    void Feed(std::string_view bytes);
    void Finish(); // handles a last line without a line break

    // An "Error..." sentence when the conversion failed, "" when it succeeded. outputBytes is the
    // size of the output file afterwards (-1 when there is none).
    std::string Diagnose(const RunOutcome& outcome, long long outputBytes) const;

    // The source's duration as FFmpeg read it from the file, when it gave one.
    std::optional<double> InputDuration() const { return inputDuration_; }

  private:
    void Line(std::string_view line);
    std::string LengthError(const RunOutcome& outcome) const;
    std::string WindowText() const;
    void Pass(std::string line);
    bool AnyError(std::string_view fragment) const;
    std::string EncoderReason() const;

    LineSink sink_;
    ConversionFacts facts_;
    std::string partial_;
    std::vector<std::string> errors_; // FFmpeg's error lines, with their source
    bool sawInput_ = false;
    bool sawOutput_ = false;
    bool inputHasVideo_ = false;
    bool inputHasAudio_ = false;
    bool emptyOutput_ = false;
    bool noPackets_ = false; // FFmpeg wrote headers but not one packet
    bool durationEstimated_ = false;
    int decodeErrors_ = 0; // damaged packets or frames FFmpeg met in the source
    std::optional<double> inputDuration_;
    std::vector<std::pair<std::string, std::string>> names_; // FFmpeg's name, the name shown
};

} // namespace avcore
