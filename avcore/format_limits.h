// What each encoder and container can hold, so that any source that can be decoded is fitted
// into the output instead of failing: picture sizes, frame rates, picture shapes, packet sizes,
// cover pictures. A format joins by adding a row; a name without a row has no limits.
#pragma once

#include "source.h"

#include <optional>
#include <string_view>
#include <vector>

namespace avcore {

struct VideoLimits {
    std::string_view encoder; // FFmpeg's encoder name
    std::string_view label;   // the name users know it by, for notes
    int maxWidth = 0;         // 0: no limit
    int maxHeight = 0;
    int maxMacroblocks = 0;      // 16x16 blocks in one picture, 0: no limit
    Ratio maxFrameRate = {0, 1}; // 0: no limit
    // The shapes a frame can be shown in besides that of square pixels, where the encoder signals
    // only some (MPEG-2's aspect codes); empty when it signals any.
    std::vector<Ratio> frameShapes = {};
    // The pixel shapes the encoder can signal, where it signals only some (MPEG-1's table);
    // empty when it signals any.
    std::vector<Ratio> pixelShapes = {};
    int minSide = 0; // the smallest width and height it takes, 0: no limit
};

struct ContainerLimits {
    std::string_view muxer; // FFmpeg's muxer name
    // Whether a picture shape other than that of square pixels is stored for the players.
    bool carriesPixelShape = true;
    int maxPacketBytes = 0; // 0: no limit
    // Encoders of the cover pictures it holds beside sound (the first is used for other covers);
    // empty when it holds none.
    std::vector<std::string_view> coverCodecs = {};
    // Whether it holds only files with both a picture and a sound.
    bool needsBoth = false;
};

const VideoLimits& VideoLimitsOf(std::string_view encoder);
const ContainerLimits& ContainerLimitsOf(std::string_view muxer);

// A disc preset ("-target pal-dvd"): the frame it fixes and the shapes the discs allow.
struct TargetFrame {
    int width = 0;
    int height = 0;
    Ratio frameRate;
    std::vector<Ratio> shapes; // the first is used when the picture fits none better
    std::string_view encoder;
};
// Nothing for a preset this engine does not know.
std::optional<TargetFrame> TargetFrameOf(std::string_view target);

} // namespace avcore
