// Reads FFmpeg's log (written with level tags), passes on the lines the converter reads (input,
// output, duration, stream facts), keeps FFmpeg's errors out of the converter's failure shapes, and
// afterwards says in the user's words why a conversion failed.
#pragma once

#include "progress.h"

#include <string>
#include <string_view>
#include <vector>

namespace avcore {

struct RunOutcome {
    bool exited = false; // FFmpeg ended by itself (exitCode valid)
    int exitCode = 0;
    int signal = 0;     // the signal that ended FFmpeg, when it did not exit
    int stopSignal = 0; // the signal the engine received and passed on, 0 when none
};

struct ConversionFacts {
    std::string input; // the media file
    std::string output;
    bool noVideo = false;
    bool noAudio = false;
};

class LogFilter {
  public:
    LogFilter(LineSink sink, ConversionFacts facts) : sink_(std::move(sink)), facts_(std::move(facts)) {}

    void Feed(std::string_view bytes);
    void Finish(); // handles a last line without a line break

    // An "Error..." sentence when the conversion failed, "" when it succeeded. outputBytes is the
    // size of the output file afterwards (-1 when there is none).
    std::string Diagnose(const RunOutcome& outcome, long long outputBytes) const;

  private:
    void Line(std::string_view line);
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
};

} // namespace avcore
