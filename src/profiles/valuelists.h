#pragma once
// The value lists of the modern codecs (H.265, AV1, VP9, Opus, Vorbis, FLAC, ALAC and the AAC, AC3
// and MP3 of the modern formats), shared by the options builders and the editors: an index key of
// a profile is a position in one of these lists. An empty entry stands for "as the source" and
// adds no option.
#include <span>

using TValueList = std::span<const char* const>;

namespace ValueLists {

// Encoder speeds, fastest first, by the names the H.264 and H.265 encoders use; the engine gives
// the other encoders the speed of the same rank.
inline constexpr const char* EncoderSpeeds[] = {"ultrafast", "superfast", "veryfast", "faster",  "fast",
                                                "medium",    "slow",      "slower",   "veryslow"};

// Channels: as the source, mono, stereo, 5.1.
inline constexpr const char* SurroundChannels[] = {"", "1", "2", "6"};
// MP3 carries two channels at most.
inline constexpr const char* StereoChannels[] = {"", "1", "2"};

// Sample rates.
inline constexpr const char* LossyRates[] = {"",      "8000",  "11025", "16000", "22050",
                                             "32000", "44100", "48000", "88200", "96000"};
inline constexpr const char* Mp3Rates[] = {"", "8000", "11025", "16000", "22050", "32000", "44100", "48000"};
inline constexpr const char* Ac3Rates[] = {"", "32000", "44100", "48000"};
inline constexpr const char* LosslessRates[] = {"",      "8000",  "11025", "16000", "22050",  "32000",
                                                "44100", "48000", "88200", "96000", "176400", "192000"};

// FLAC sample sizes: as the source, 16 bits, 24 bits.
inline constexpr const char* FlacBits[] = {"", "16", "24"};

} // namespace ValueLists
