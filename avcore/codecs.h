// What the engine knows about the containers and encoders the converter can ask for: FFmpeg's
// names for them and the limits FFmpeg or the players impose, so that every choice converts.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace avcore {

enum class SizeRule {
    Any,       // any size that is a multiple of the alignment
    H263Sizes, // only the five H.263 picture formats (sub-QCIF to 16CIF)
};

// How an encoder is told the speed the converter names (ultrafast ... veryslow).
enum class SpeedStyle {
    None,     // the encoder has no speed choice: the speed is left out
    X26x,     // -preset with the same word (x264, x265)
    SvtAv1,   // -preset with a number, 12 for ultrafast down to 0 for veryslow
    LibvpxVp9 // -deadline and -cpu-used
};

struct VideoCodecInfo {
    std::string_view name;    // the converter's name ("xvid")
    std::string_view encoder; // FFmpeg's encoder ("libxvid")
    int alignment;            // width and height must be multiples of this
    SizeRule sizeRule;
    std::string_view pixelFormat;         // forced pixel format, empty for FFmpeg's choice
    std::vector<std::string> sameQuality; // options for constant high quality
    bool mpegFrameRates;                  // only the MPEG-1/2 frame rates are allowed
    bool microsoftFamily;                 // only AVI and ASF can carry it
    std::string_view aviTag = {};         // the FourCC to write in AVI when FFmpeg's own is not the usual one
    SpeedStyle speed = SpeedStyle::None;
    bool crfNeedsZeroBitRate = false;    // constant quality needs "-b:v 0" (VP9)
    std::string_view mp4Tag = {};        // the tag to write in MP4 and QuickTime ("hvc1" for Apple's players)
    std::vector<std::string> extra = {}; // options the encoder always gets
};

enum class AudioBitRates {
    Any,   // the encoder takes any rate (or clamps it itself)
    None,  // PCM: no bit rate option at all
    Mp2,   // the MPEG audio layer II tables
    Mp3,   // the MPEG audio layer III tables
    Ac3,   // the AC-3 table
    AmrNb, // the eight AMR narrow-band modes
    AmrWb, // the nine AMR wide-band modes
};

struct AudioCodecInfo {
    std::string_view name;    // the converter's name ("mp3")
    std::string_view encoder; // FFmpeg's encoder ("libmp3lame")
    int maxChannels;
    int fixedChannels;            // 0 when the channel count may be chosen
    std::vector<int> sampleRates; // allowed rates, empty for any
    AudioBitRates bitRates;
    bool takesQuality = false;      // a quality level (-q:a) may replace the bit rate (Vorbis)
    bool takesCompression = false;  // a compression level (FLAC)
    std::string_view format16 = {}; // the sample format of 16-bit samples, empty when not chosen
    std::string_view format24 = {}; // the same for 24-bit samples
    // The channel layouts the encoder takes, when it refuses others ("5.1(side)" for Opus): the
    // source's sound is laid out anew in the nearest of them.
    std::string_view channelLayouts = {};
};

struct ContainerInfo {
    std::string_view muxer;                   // FFmpeg's muxer name
    std::vector<std::string_view> names;      // names after -f that mean this container
    std::vector<std::string_view> extensions; // output extensions that mean this container
    bool carriesMicrosoftVideo;               // can hold MS-MPEG4 and WMV video
    std::string_view defaultAudio;            // the converter's audio codec used when none is named
    std::vector<int> audioRates;              // allowed sample rates, empty for any
    std::string_view defaultVideo = {};       // the converter's video codec FFmpeg uses when none is named
    bool keepsTags = false;                   // a sound file that holds the source's tags
};

// nullptr when the name is unknown.
const VideoCodecInfo* FindVideoCodec(std::string_view name);
const AudioCodecInfo* FindAudioCodec(std::string_view name);
const ContainerInfo* FindContainerByName(std::string_view name);
const ContainerInfo* FindContainerByExtension(std::string_view extension);
const VideoCodecInfo& Mpeg4Part2();

// The allowed value nearest to the wanted one (the first of two equally near).
template <typename T> T Nearest(const std::vector<T>& allowed, T wanted) {
    T best = allowed.front();
    for (T v : allowed) {
        if ((v > wanted ? v - wanted : wanted - v) < (best > wanted ? best - wanted : wanted - best)) {
            best = v;
        }
    }
    return best;
}

// The bit rates (kbit/s) an encoder family offers at a sample rate and channel count.
std::vector<double> OfferedBitRates(AudioBitRates family, int sampleRate, int channels);

// The frame rates MPEG-1 and MPEG-2 video can signal, as FFmpeg rationals and their values.
struct FrameRateInfo {
    std::string_view text;
    double value;
};
const std::vector<FrameRateInfo>& MpegFrameRates();

} // namespace avcore
