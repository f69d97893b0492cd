// Where the source's picture goes in the output frame. A picture is never stretched: it is shown
// upright, scaled to fit inside the frame's shape, and the rest of the frame is black.
#pragma once

#include "codecs.h"
#include "format_limits.h"
#include "request.h"
#include "source.h"

#include <optional>
#include <string>
#include <vector>

namespace avcore {

struct PictureRequest {
    std::optional<FrameSize> size;     // a fixed frame size (-s); none keeps the source's
    std::optional<Ratio> shape;        // the frame's shape as shown (-aspect); none: automatic
    std::optional<TargetFrame> target; // a disc preset's frame
};

struct PictureFit {
    FrameSize frame;   // the encoded frame
    FrameSize picture; // the source's picture inside it, centred
    Ratio pixelShape;  // of the frame, so that it shows in its shape
    std::vector<std::string> notes;

    // The FFmpeg filters that make the frame from the upright source picture.
    std::string Filters() const;
};

// The frame and picture for a source (its first video stream as FFprobe describes it; FFmpeg
// turns it upright before these filters run).
PictureFit FitPicture(const StreamFacts& source, const PictureRequest& request, const VideoCodecInfo& codec,
                      const VideoLimits& limits, const ContainerLimits& container);

} // namespace avcore
