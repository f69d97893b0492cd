// Checks made before FFmpeg starts, so that the common mistakes get a clear sentence rather than
// FFmpeg's own wording: a missing or unreadable input, an AviSynth script, the output's folder.
#pragma once

#include <string>

namespace avcore {

struct InputCheck {
    std::string mediaFile; // the file to convert: the input, or the source an AviSynth script names
    std::string error;     // an "Error..." sentence, empty when all is well
};

// Finds the media file behind the input (following an ".avs" script) and checks it can be read.
InputCheck CheckInput(const std::string& input);

// Checks that the output can be written: its folder exists and is writable, it is not the input,
// and it does not exist unless it may be replaced. Returns an "Error..." sentence or "".
std::string CheckOutput(const std::string& output, const std::string& mediaFile, bool overwrite);

// "Error: the output folder ... does not exist" when the output's folder is not there (any more),
// else "".
std::string MissingOutputFolder(const std::string& output);

// The source file named in a script's DirectShowSource("...") call, or "" when there is none.
std::string DirectShowSourceOf(const std::string& script);

} // namespace avcore
