#include "format_limits.h"

#include <algorithm>
#include <array>

namespace avcore {
namespace {

// The pixel shapes MPEG-1 signals: the inverses of its table of pixel heights.
std::vector<Ratio> Mpeg1PixelShapes() {
    std::vector<Ratio> shapes;
    for (long long height :
         {10000, 6735, 7031, 7615, 8055, 8437, 8935, 9157, 9815, 10255, 10695, 10950, 11575, 12015}) {
        shapes.push_back(MakeRatio(10000, height));
    }
    return shapes;
}

const std::vector<VideoLimits>& VideoLimitTable() {
    static const std::vector<VideoLimits> table = {
        // H.263's picture clock runs at 29.97 Hz: a faster rate cannot be told apart.
        {"h263", "H.263", 1408, 1152, 0, {30000, 1001}},
        {"h263p", "H.263+", 2048, 1152},
        // More than 4095 macroblocks are refused by FFmpeg's RealVideo 1 encoder.
        {"rv10", "RealVideo 1", 4095, 4095, 4095},
        // FFmpeg's Sorenson Video 1 encoder sizes its bit writer for fewer macroblocks than 4095x4095
        // holds; beyond about 29800 it aborts.
        {"svq1", "Sorenson Video 1", 4095, 4095, 29696},
        {"mpeg1video", "MPEG-1", 4095, 4095, 0, {0, 1}, {}, Mpeg1PixelShapes()},
        // MPEG-2 Main Profile at High Level, what players and discs take; FFmpeg refuses a
        // width of 4096. The shapes are those of its aspect code besides square pixels.
        {"mpeg2video", "MPEG-2", 1920, 1152, 0, {0, 1}, {{4, 3}, {16, 9}, {221, 100}}},
        {"mpeg4", "MPEG-4 Visual", 8191, 8191},
        {"libxvid", "Xvid", 8191, 8191},
        {"libx264", "H.264", 8192, 8192},
        // The modern encoders: x265 refuses pictures smaller than 16x16, SVT-AV1 smaller than 64x64.
        {"libx265", "H.265", 8192, 8192, 0, {0, 1}, {}, {}, 16},
        {"libsvtav1", "AV1", 16384, 8704, 0, {0, 1}, {}, {}, 64},
        {"libvpx-vp9", "VP9", 16384, 16384},
    };
    return table;
}

const std::vector<ContainerLimits>& ContainerLimitTable() {
    static const std::vector<ContainerLimits> table = {
        // RealMedia stores neither a picture shape nor a packet larger than 64 kB.
        {"rm", false, 65535},
        {"swf", false},
        {"flv", false},
        {"mp3", true, 0, {"mjpeg", "png", "gif", "bmp"}},
        // Sound in an MPEG-4 file (M4A) and FLAC hold a cover too; Ogg, Opus and Matroska do not.
        {"mp4", true, 0, {"mjpeg", "png"}},
        {"ipod", true, 0, {"mjpeg", "png"}},
        {"flac", true, 0, {"mjpeg", "png"}},
        // The PSP form of MP4 takes one picture and one sound, no fewer.
        {"psp", true, 0, {}, true},
    };
    return table;
}

template <typename Row> const Row& Find(const std::vector<Row>& table, std::string_view name) {
    static const Row none{};
    auto it = std::find_if(table.begin(), table.end(), [&](const Row& row) {
        if constexpr (requires { row.encoder; }) {
            return row.encoder == name;
        } else {
            return row.muxer == name;
        }
    });
    return it == table.end() ? none : *it;
}

} // namespace

const VideoLimits& VideoLimitsOf(std::string_view encoder) {
    return Find(VideoLimitTable(), encoder);
}

const ContainerLimits& ContainerLimitsOf(std::string_view muxer) {
    return Find(ContainerLimitTable(), muxer);
}

std::optional<TargetFrame> TargetFrameOf(std::string_view target) {
    struct Disc {
        std::string_view name;
        int width;
        int palHeight;
        int ntscHeight;
        std::vector<Ratio> shapes;
        std::string_view encoder;
    };
    static const std::array<Disc, 4> discs = {{
        {"vcd", 352, 288, 240, {{4, 3}}, "mpeg1video"},
        {"svcd", 480, 576, 480, {{4, 3}, {16, 9}}, "mpeg2video"},
        {"dvd", 720, 576, 480, {{4, 3}, {16, 9}}, "mpeg2video"},
        {"dv", 720, 576, 480, {{4, 3}, {16, 9}}, "dvvideo"},
    }};
    struct Norm {
        std::string_view prefix;
        bool pal;
        Ratio rate;
    };
    static const std::array<Norm, 3> norms = {{
        {"pal-", true, {25, 1}},
        {"ntsc-", false, {30000, 1001}},
        {"film-", false, {24000, 1001}},
    }};
    for (const Norm& norm : norms) {
        if (target.substr(0, norm.prefix.size()) != norm.prefix) {
            continue;
        }
        const std::string_view kind = target.substr(norm.prefix.size());
        for (const Disc& disc : discs) {
            if (kind == disc.name) {
                return TargetFrame{disc.width, norm.pal ? disc.palHeight : disc.ntscHeight, norm.rate,
                                   disc.shapes, disc.encoder};
            }
        }
    }
    return std::nullopt;
}

} // namespace avcore
