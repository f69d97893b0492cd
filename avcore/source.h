// What the source file states about itself, read before the conversion: its streams with their
// picture shape, rotation and length, and which of them the output takes. FFmpeg's libraries in
// the engine's process, or FFprobe, describe the source in FFprobe's text, which ParseProbe reads.
#pragma once

#include <optional>
#include <string>
#include <vector>

namespace avcore {

// An exact ratio of two positive whole numbers (a picture shape, a pixel shape).
struct Ratio {
    long long num = 1;
    long long den = 1;
    double Value() const { return static_cast<double>(num) / static_cast<double>(den); }
};
// num/den reduced; 1:1 when either is not positive.
Ratio MakeRatio(long long num, long long den);
// "16:9", "16/9" or "1.7778" as a ratio; nothing when it is none.
std::optional<Ratio> ParseRatio(const std::string& text);

enum class StreamKind { Video, Audio, Other };

struct StreamFacts {
    int index = 0; // FFmpeg's stream number in the file
    StreamKind kind = StreamKind::Other;
    std::string codec;
    bool cover = false; // a picture attached to the file (album art), not a film
    bool isDefault = false;
    int width = 0; // as stored, before rotation
    int height = 0;
    Ratio pixelShape; // the sample aspect ratio
    // Its pictures may be interlaced, two fields taken one after the other woven into each: the
    // file says so (a field order), or it is DV, whose pictures are.
    bool interlaced = false;
    int rotation = 0; // 0, 90, 180 or 270: the turn that shows the picture upright
    double frameRate = 0;
    int sampleRate = 0;
    int channels = 0;
    std::optional<double> duration; // seconds, as the file states it for this stream

    // The picture as it is shown: width and height swapped for a quarter turn.
    int UprightWidth() const { return rotation % 180 == 0 ? width : height; }
    int UprightHeight() const { return rotation % 180 == 0 ? height : width; }
    Ratio UprightPixelShape() const {
        return rotation % 180 == 0 ? pixelShape : Ratio{pixelShape.den, pixelShape.num};
    }
};

struct SourceFacts {
    std::vector<StreamFacts> streams;
    std::optional<double> duration; // the container's

    // The film the output takes: the largest picture that is not a cover, the file's default
    // first (as FFmpeg chooses). nullptr when there is none.
    const StreamFacts* Film() const;
    // The cover picture, when the file has one.
    const StreamFacts* Cover() const;
    // The sound the output takes: the default stream first, then the most channels.
    const StreamFacts* Sound() const;
    // The length a stream states, else the container's.
    std::optional<double> LengthOf(const StreamFacts* stream) const;
};

// The arguments for FFprobe that make the text ParseProbe reads. input is the argument naming the
// file (with its "file:" prefix); inputOptions come before it.
std::vector<std::string> ProbeArgs(const std::vector<std::string>& inputOptions, const std::string& input);
// FFprobe's "default" output of ProbeArgs as facts; nothing when it describes no stream.
std::optional<SourceFacts> ParseProbe(const std::string& text);

} // namespace avcore
