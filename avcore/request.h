// The engine's own command line: "-p CODE -i INPUT options... OUTPUT", and the option vocabulary
// the converter's profile builders write.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace avcore {

// The fixed access code the converter passes after "-p".
inline constexpr const char* kAccessCode = "4170352";

struct FrameSize {
    int width = 0;
    int height = 0;
};

// Everything the options text asked for, still in the converter's vocabulary.
struct Request {
    std::string input;
    std::string output;
    bool overwrite = false;          // -y
    std::string format;              // -f
    std::string duration;            // -t (time text)
    std::string start;               // -ss (time text)
    bool sameQuality = false;        // -sameq
    std::string videoCodec;          // -vcodec
    std::optional<FrameSize> size;   // -s WxH
    std::optional<double> videoKbps; // -b Nk
    std::string frameRate;           // -r
    std::string aspect;              // -aspect a:b
    bool noAudio = false;            // -an
    bool noVideo = false;            // -vn
    std::string audioCodec;          // -acodec
    std::optional<int> channels;     // -ac (5:1 means six)
    std::optional<double> audioKbps; // -ab N (kbit/s)
    std::optional<int> sampleRate;   // -ar
    std::string target;              // -target
    std::string strict;              // -strict
    // The modern codecs' vocabulary.
    std::optional<int> crf;              // -crf N: constant quality in place of the bit rate
    std::string preset;                  // -preset word: encoder speed (ultrafast ... veryslow)
    std::optional<double> audioQuality;  // -aq N: Vorbis quality, -1..10
    std::optional<int> compressionLevel; // -compression_level N: FLAC, 0..12
    std::optional<int> audioBits;        // -abits 16 or 24: sample size of a lossless codec
};

// The encoder speeds -preset takes, fastest first.
const std::vector<std::string>& EncoderSpeeds();

// Parses the engine's arguments (without the program name). On failure returns nullopt and sets
// error to a sentence for the user.
std::optional<Request> ParseRequest(const std::vector<std::string>& args, std::string& error);

// Parses a whole text as a finite number; nullopt when it is not one.
std::optional<double> ParseNumber(std::string_view text);

// Parses a time text ("0:01:30.500", "90", "1:30") into seconds; nullopt when it is not one.
std::optional<double> ParseTimeText(const std::string& text);

} // namespace avcore
