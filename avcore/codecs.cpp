#include "codecs.h"

#include <algorithm>
#include <cmath>

namespace avcore {
namespace {

const std::vector<std::string> kQscale = {"-q:v", "2"};

const std::vector<VideoCodecInfo>& VideoCodecs() {
    static const std::vector<VideoCodecInfo> codecs = {
        {"msmpeg4", "msmpeg4", 2, SizeRule::Any, "", kQscale, false, true},
        {"msmpeg4v2", "msmpeg4v2", 2, SizeRule::Any, "", kQscale, false, true},
        {"wmv1", "wmv1", 2, SizeRule::Any, "", kQscale, false, true},
        {"wmv2", "wmv2", 2, SizeRule::Any, "", kQscale, false, true},
        {"xvid", "libxvid", 2, SizeRule::Any, "yuv420p", kQscale, false, false, "XVID"},
        {"mpeg4", "mpeg4", 2, SizeRule::Any, "yuv420p", kQscale, false, false},
        {"h263", "h263", 2, SizeRule::H263Sizes, "yuv420p", kQscale, false, false},
        {"h263p", "h263p", 4, SizeRule::Any, "yuv420p", kQscale, false, false},
        {"h264", "libx264", 2, SizeRule::Any, "yuv420p", {"-crf", "18"}, false, false, {}, SpeedStyle::X26x},
        // FFmpeg's own HuffYUV variant (FFVH) is read by FFmpeg-based players only; classic
        // HuffYUV (HFYU) is what other players know.
        {"ffvhuff", "huffyuv", 2, SizeRule::Any, "yuv422p", {}, false, false},
        {"huffyuv", "huffyuv", 2, SizeRule::Any, "yuv422p", {}, false, false},
        {"mjpeg", "mjpeg", 2, SizeRule::Any, "yuvj420p", kQscale, false, false},
        {"svq1", "svq1", 4, SizeRule::Any, "yuv410p", kQscale, false, false},
        {"flv", "flv", 2, SizeRule::Any, "yuv420p", kQscale, false, false},
        {"rv10", "rv10", 16, SizeRule::Any, "yuv420p", kQscale, false, false},
        {"mpeg1video", "mpeg1video", 2, SizeRule::Any, "yuv420p", kQscale, true, false},
        {"mpeg2video", "mpeg2video", 2, SizeRule::Any, "yuv420p", kQscale, true, false},
        // The modern codecs: constant quality (CRF) or a bit rate, and a speed.
        // clang-format off
        {"hevc", "libx265", 2, SizeRule::Any, "yuv420p", {"-crf", "20"}, false, false, {}, SpeedStyle::X26x,
         false, "hvc1", {"-x265-params", "log-level=error"}},
        {"av1", "libsvtav1", 2, SizeRule::Any, "yuv420p", {"-crf", "24"}, false, false, {}, SpeedStyle::SvtAv1},
        {"vp9", "libvpx-vp9", 2, SizeRule::Any, "yuv420p", {"-crf", "24", "-b:v", "0"}, false, false, {},
         SpeedStyle::LibvpxVp9, true, {}, {"-row-mt", "1"}},
        // clang-format on
    };
    return codecs;
}

const std::vector<AudioCodecInfo>& AudioCodecs() {
    static const std::vector<AudioCodecInfo> codecs = {
        {"mp2", "mp2", 2, 0, {16000, 22050, 24000, 32000, 44100, 48000}, AudioBitRates::Mp2},
        {"mp3",
         "libmp3lame",
         2,
         0,
         {8000, 11025, 12000, 16000, 22050, 24000, 32000, 44100, 48000},
         AudioBitRates::Mp3},
        {"ac3", "ac3", 6, 0, {32000, 44100, 48000}, AudioBitRates::Ac3},
        {"aac",
         "aac",
         8,
         0,
         {8000, 11025, 12000, 16000, 22050, 24000, 32000, 44100, 48000, 64000, 88200, 96000},
         AudioBitRates::Any},
        {"amr_nb", "libopencore_amrnb", 1, 1, {8000}, AudioBitRates::AmrNb},
        {"amr_wb", "libvo_amrwbenc", 1, 1, {16000}, AudioBitRates::AmrWb},
        {"pcm_s16le", "pcm_s16le", 8, 0, {}, AudioBitRates::None},
        {"pcm_s16be", "pcm_s16be", 8, 0, {}, AudioBitRates::None},
        {"pcm_u8", "pcm_u8", 8, 0, {}, AudioBitRates::None},
        {"pcm_alaw", "pcm_alaw", 8, 0, {}, AudioBitRates::None},
        {"pcm_mulaw", "pcm_mulaw", 8, 0, {}, AudioBitRates::None},
        // Opus runs at 48000 Hz; its files are always played at that rate.
        {"opus",
         "libopus",
         8,
         0,
         {48000},
         AudioBitRates::Any,
         false,
         false,
         {},
         {},
         "mono|stereo|3.0|quad|5.0|5.1|6.1|7.1"},
        {"vorbis", "libvorbis", 8, 0, {}, AudioBitRates::Any, true},
        {"flac", "flac", 8, 0, {}, AudioBitRates::None, false, true, "s16", "s32"},
        {"alac", "alac", 8, 0, {}, AudioBitRates::None, false, false, "s16p", "s32p"},
    };
    return codecs;
}

const std::vector<ContainerInfo>& Containers() {
    static const std::vector<ContainerInfo> containers = {
        {"avi", {"avi"}, {"avi", "divx"}, true, "mp3", {}, "mpeg4"},
        {"asf", {"asf", "wmv", "asf_stream"}, {"asf", "wmv", "wma"}, true, "mp3", {}, "msmpeg4"},
        {"mp4", {"mp4"}, {"mp4", "m4v"}, false, "aac", {}, "h264"},
        // The MPEG-4 file of music players (.m4a), with tags.
        {"ipod", {"ipod"}, {"m4a"}, false, "aac", {}, {}, true},
        {"psp", {"psp"}, {}, false, "aac", {}, "h264"},
        {"3gp", {"3gp"}, {"3gp"}, false, "aac", {}, "h263"},
        {"3g2", {"3g2"}, {"3g2"}, false, "aac", {}, "h263"},
        {"mov", {"mov"}, {"mov", "qt"}, false, "aac", {}, "h264"},
        {"rm", {"rm"}, {"rm", "ra"}, false, "ac3", {}, "rv10"},
        {"swf", {"swf"}, {"swf"}, false, "mp3", {11025, 22050, 44100}, "flv"},
        {"flv", {"flv"}, {"flv"}, false, "mp3", {11025, 22050, 44100}, "flv"},
        {"vob", {"vob"}, {"vob"}, false, "mp2", {}, "mpeg2video"},
        {"mpeg", {"mpeg", "mpg"}, {"mpg", "mpeg", "m1v"}, false, "mp2", {}, "mpeg1video"},
        {"matroska", {"matroska", "mkv"}, {"mkv"}, true, "", {}, "h264"},
        {"webm", {"webm"}, {"webm"}, false, "opus", {}, "vp9"},
        {"adts", {"aac", "adts"}, {"aac"}, false, "aac", {}},
        {"ac3", {"ac3"}, {"ac3"}, false, "ac3", {}},
        {"mp2", {"mp2"}, {"mp2"}, false, "mp2", {}},
        {"mp3", {"mp3"}, {"mp3"}, false, "mp3", {}, {}, true},
        {"flac", {"flac"}, {"flac"}, false, "flac", {}, {}, true},
        {"opus", {"opus"}, {"opus"}, false, "opus", {}, {}, true},
        {"ogg", {"ogg"}, {"ogg", "oga"}, false, "vorbis", {}, {}, true},
        {"amr", {"amr"}, {"amr"}, false, "amr_nb", {}},
        {"wav", {"wav"}, {"wav"}, false, "pcm_s16le", {}},
    };
    return containers;
}

template <typename Info> const Info* FindByName(const std::vector<Info>& table, std::string_view name) {
    auto it = std::find_if(table.begin(), table.end(), [&](const Info& i) { return i.name == name; });
    return it == table.end() ? nullptr : &*it;
}

bool Contains(const std::vector<std::string_view>& list, std::string_view value) {
    return std::find(list.begin(), list.end(), value) != list.end();
}

} // namespace

const VideoCodecInfo* FindVideoCodec(std::string_view name) {
    return FindByName(VideoCodecs(), name);
}

const AudioCodecInfo* FindAudioCodec(std::string_view name) {
    return FindByName(AudioCodecs(), name);
}

const VideoCodecInfo& Mpeg4Part2() {
    return *FindVideoCodec("mpeg4");
}

const ContainerInfo* FindContainerByName(std::string_view name) {
    for (const auto& c : Containers()) {
        if (Contains(c.names, name)) {
            return &c;
        }
    }
    return nullptr;
}

const ContainerInfo* FindContainerByExtension(std::string_view extension) {
    for (const auto& c : Containers()) {
        if (Contains(c.extensions, extension)) {
            return &c;
        }
    }
    return nullptr;
}

std::vector<double> OfferedBitRates(AudioBitRates family, int sampleRate, int channels) {
    switch (family) {
    case AudioBitRates::Mp2:
        if (sampleRate >= 32000) {
            return {32, 48, 56, 64, 80, 96, 112, 128, 160, 192, 224, 256, 320, 384};
        }
        return {8, 16, 24, 32, 40, 48, 56, 64, 80, 96, 112, 128, 144, 160};
    case AudioBitRates::Mp3:
        if (sampleRate >= 32000) {
            return {32, 40, 48, 56, 64, 80, 96, 112, 128, 160, 192, 224, 256, 320};
        }
        if (sampleRate >= 16000) {
            return {8, 16, 24, 32, 40, 48, 56, 64, 80, 96, 112, 128, 144, 160};
        }
        return {8, 16, 24, 32, 40, 48, 56, 64};
    case AudioBitRates::Ac3: {
        // Five or six channels need room for the surround channels; the encoder gives up below this.
        std::vector<double> rates = {32,  40,  48,  56,  64,  80,  96,  112, 128, 160,
                                     192, 224, 256, 320, 384, 448, 512, 576, 640};
        const double floor = channels > 2 ? 96 : 32;
        std::erase_if(rates, [floor](double r) { return r < floor; });
        return rates;
    }
    case AudioBitRates::AmrNb:
        return {4.75, 5.15, 5.9, 6.7, 7.4, 7.95, 10.2, 12.2};
    case AudioBitRates::AmrWb:
        return {6.6, 8.85, 12.65, 14.25, 15.85, 18.25, 19.85, 23.05, 23.85};
    case AudioBitRates::Any:
    case AudioBitRates::None:
        break;
    }
    return {};
}

const std::vector<FrameRateInfo>& MpegFrameRates() {
    static const std::vector<FrameRateInfo> rates = {
        {"24000/1001", 24000.0 / 1001}, {"24", 24}, {"25", 25},
        {"30000/1001", 30000.0 / 1001}, {"30", 30}, {"50", 50},
        {"60000/1001", 60000.0 / 1001}, {"60", 60},
    };
    return rates;
}

} // namespace avcore
