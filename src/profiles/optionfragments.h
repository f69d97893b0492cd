#pragma once
// The pieces every options builder is made of: the shared value tables and the fragments of one
// video or audio key group. Every fragment ends in exactly one blank; an index outside its table
// adds nothing.
#include "profiles/settings.h"
#include "profiles/valuelists.h"

#include <QString>

// option + " " + list[index] + " ", or nothing when the index is outside the list or its entry is
// empty (a choice that adds no option).
QString ListFragment(const char* option, TValueList list, int index);

// How a format turns a video key group into fragments.
struct TVideoStyle {
    TValueList FrameRates;     // by VideoFrameRate when the frame rate is not kept
    const char* AutoFrameRate; // written when VideoKeepFrameRate is true; nullptr keeps the source's
    TValueList Aspects;        // by VideoAspect
    bool SizeAlways = false;   // H.263 groups have no size-from-source key
    bool BitRateFirst = false; // RM writes the bit rate before the size
    bool Modern = false;       // a constant quality may replace the bit rate; an encoder speed follows
};

// Size, bit rate, frame rate and aspect of a video group.
QString VideoGroupOptions(const TVideoGroup& group, const TVideoStyle& style);

enum class TAudioFamily {
    MpegAac, // channels, bit rate unless automatic, sample rate
    Ac3,     // channels with sample rate (six channels force 48000 Hz), bit rate unless automatic
    Pcm,     // channels, sample rate; no bit rate
    Amr,     // mono only, sample rate, bit rate unless automatic
    Vorbis,  // channels, quality or (unless automatic) bit rate, sample rate
    Flac,    // channels, compression level, sample size, sample rate
};

// Channels by AudioChannels index: mono and stereo.
extern const TValueList MonoStereo;

struct TAudioStyle {
    TAudioFamily Family;
    TValueList SampleRates;           // by AudioSampleRate
    TValueList Channels = MonoStereo; // by AudioChannels
};

// The fragments of an audio group that follow the codec fragment.
QString AudioGroupOptions(const TAudioGroup& group, const TAudioStyle& style);

// " -t " + Duration + " -ss " + StartTime + " " when time control is on, else nothing.
QString TimeWindow(const TCommonSettings& settings);

// Number texts are plain decimal, the same in every locale.
inline QString Number(int32_t value) {
    return QString::number(value);
}

// Video styles.
extern const TVideoStyle StandardVideo; // the shared frame-rate and three-choice aspect tables
extern const TVideoStyle H263Video;     // size always, five-choice aspect
extern const TVideoStyle TgpVideo;      // 3GP aspect: Auto is 11:9
extern const TVideoStyle TgpH263Video;  // size always, automatic frame rate 12.5, 3GP H.263 aspect
extern const TVideoStyle NoAspectVideo; // stored aspect adds no option
extern const TVideoStyle NoAspectH263Video;
extern const TVideoStyle RmVideo;     // bit rate before size, no aspect
extern const TVideoStyle VobVideo;    // VOB frame-rate list and aspect (Auto is 5:4)
extern const TVideoStyle ModernVideo; // constant quality or bit rate, encoder speed, source frame rate

// Audio styles.
extern const TAudioStyle MpegAudio4;  // MP2/MP3 with the four-value sample-rate list
extern const TAudioStyle SwfMp3Audio; // MP3 with the SWF three-value list
extern const TAudioStyle AacAudio8;   // AAC with the eight-value list
extern const TAudioStyle AacPspAudio; // AAC of the PSP form: 48000 Hz only
extern const TAudioStyle Ac3Audio;
extern const TAudioStyle PcmAudio;
extern const TAudioStyle AmrNbAudio;
extern const TAudioStyle AmrWbAudio;
// The modern formats' audio: sample rate and channels may stay as the source's.
extern const TAudioStyle ModernAacAudio;
extern const TAudioStyle ModernAc3Audio;
extern const TAudioStyle ModernMp3Audio;
extern const TAudioStyle OpusAudio; // Opus has its own sample rate
extern const TAudioStyle VorbisAudio;
extern const TAudioStyle FlacAudio;
extern const TAudioStyle AlacAudio;
