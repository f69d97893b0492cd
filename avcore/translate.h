// Turns a request in the converter's vocabulary into FFmpeg's argument list, adjusting every value
// that FFmpeg or the players would refuse to the nearest one that works.
#pragma once

#include "request.h"
#include "source.h"

#include <optional>
#include <string>
#include <vector>

namespace avcore {

struct FfmpegPlan {
    std::vector<std::string> args;  // the arguments after the program name
    std::vector<std::string> notes; // adjustments made, for the user to read
    // The length of the streams the output takes, as the source states them (before any time
    // window); nothing when the source was not described.
    std::optional<double> expectedLength;
};

// facts describe the source (nothing when FFprobe could not). input is the media file to read (for
// an AviSynth script, the file it names), output the file FFmpeg writes (the output's temporary
// file). progressFd is the descriptor FFmpeg writes its progress reports to.
FfmpegPlan Translate(const Request& request, const std::optional<SourceFacts>& facts,
                     const std::string& input, const std::string& output, int progressFd);

} // namespace avcore
