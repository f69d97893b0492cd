#pragma once
// The settings records of the output formats: one field per profile key. Codec-specific
// keys are held in key groups (TVideoGroup, TAudioGroup) named after the codec suffix of their keys,
// so the key "VideoBitRatePresetDivX" is the field DivX.VideoBitRatePreset.
//
// Fields start empty, false and zero; the format's defaults or load procedure fills them.
#include <QString>

#include <cstdint>

// The video keys of one codec. H.263 groups have no VideoSizeUseSource key (the size always
// applies), so that field stays unused there. Only the modern codecs (H.265, AV1, VP9 and the
// H.264 of the modern containers) have the constant-quality and encoder-speed keys.
struct TVideoGroup {
    bool VideoBitRateUsePresert = false;
    int32_t VideoBitRatePreset = 0;
    int32_t VideoBitRateSpecify = 0;
    bool VideoSizeUseSource = false;
    int32_t VideoWidth = 0;
    int32_t VideoHeight = 0;
    bool VideoKeepFrameRate = false;
    uint8_t VideoFrameRate = 0;
    uint8_t VideoAspect = 0;
    bool VideoConstantQuality = false; // a constant quality (CRF) in place of the bit rate
    int32_t VideoQuality = 0;          // the CRF value
    uint8_t VideoSpeed = 0;            // encoder speed, by index in the speed list
    bool operator==(const TVideoGroup&) const = default;
};

// The audio keys of one codec. PCM and A-law groups have only the sample-rate and channel keys;
// their bit-rate fields stay unused. Each codec of the modern formats has its own subset: Vorbis
// the quality keys, FLAC the compression level and sample size.
struct TAudioGroup {
    bool AudioBitRateUseAutoSet = false;
    int32_t AudioBitRatePreset = 0;
    uint8_t AudioSampleRate = 0;
    uint8_t AudioChannels = 0;
    bool AudioUseQuality = false; // Vorbis: a quality in place of the bit rate
    int32_t AudioQuality = 0;     // Vorbis quality, -1..10
    int32_t AudioCompression = 0; // FLAC compression level, 0..8
    uint8_t AudioBits = 0;        // FLAC sample size: 0 as the source, 1 16 bits, 2 24 bits
    bool operator==(const TAudioGroup&) const = default;
};

// Keys every profile has.
struct TCommonSettings {
    QString Description;
    bool EnableTimeControl = false;
    QString Duration;
    QString StartTime;
};

// Header keys of most video formats.
struct TVideoHeader : TCommonSettings {
    uint8_t VideoCodec = 0;
    bool VideoSameQuality = false;
    uint8_t AudioCodec = 0;
    bool AudioDisableAudio = false;
};

struct TAVISettings : TVideoHeader {
    TVideoGroup DivX, XviD, MsMPEG4, MsMPEG4v2, H263, H263P, H264, DV, huffYUV, Mjpeg, MPEG1, MPEG2, Svq1,
        Flv;
    TAudioGroup AC3, Mp2, Mp3, Pcm16le, Pcmu8;
};

struct TMP4Settings : TVideoHeader {
    uint8_t Format = 0;
    TVideoGroup DivX, XviD, H264, H265;
    TAudioGroup AACMP4, AACPsp;
};

struct TTGPSettings : TCommonSettings {
    uint8_t TGPFormat = 0;
    uint8_t VideoCodecNokia = 0;
    uint8_t VideoCodecSony = 0;
    bool VideoSameQuality = false;
    uint8_t AudioCodecNokia = 0;
    uint8_t AudioCodecSony = 0;
    bool AudioDisableAudio = false;
    TVideoGroup DivX, XviD, H263;
    TAudioGroup AACMP4, Armnb, Armwb;
};

struct TMPEGSettings : TCommonSettings {
    uint8_t TargetFormat = 0;
    uint8_t PresetType = 0;
    bool UsePresetFormats = false;
    uint8_t VideoCodec = 0;
    bool VideoSameQuality = false;
    uint8_t AudioCodecMPEG1 = 0;
    uint8_t AudioCodecMPEG2 = 0;
    bool AudioDisableAudio = false;
    TVideoGroup MPEG1, MPEG2;
    TAudioGroup AC3, Mp2, Mp3;
    bool DVDVideoBitRateUsePresert = false;
    int32_t DVDVideoBitRatePreset = 0;
    int32_t DVDVideoBitRateSpecify = 0;
    bool DVDVideoKeepAspect = false;
    uint8_t DVDVideoAspect = 0;
    bool DVDAudioBitRateUseAutoSet = false;
    int32_t DVDAudioBitRatePreset = 0;
};

struct TMovSettings : TVideoHeader {
    TVideoGroup DivX, XviD, H263, H264, Svq1, H265;
    TAudioGroup AACMP4, Alaw, Armnb, Pcm16le, Pcm16be;
};

struct TWmvSettings : TVideoHeader {
    TVideoGroup MsMPEG4, MsMPEG4v2, Wmv7, Wmv8;
    TAudioGroup Mp3;
};

struct TRmSettings : TVideoHeader {
    TVideoGroup Rm10;
    TAudioGroup AC3;
};

struct TSwfSettings : TVideoHeader {
    TVideoGroup Flv;
    TAudioGroup Mp3;
};

struct TVobSettings : TVideoHeader {
    TVideoGroup MPEG2;
    TAudioGroup AC3, Mp2;
};

struct TAsfSettings : TVideoHeader {
    TVideoGroup MsMPEG4, MsMPEG4v2;
    TAudioGroup Mp3;
};

// Header of the audio-only formats.
struct TAudioHeader : TCommonSettings {
    uint8_t AudioCodec = 0;
};

struct TAacSettings : TAudioHeader {
    TAudioGroup AACMP4;
};

struct TAc3Settings : TAudioHeader {
    TAudioGroup AC3;
};

struct TMp2Settings : TAudioHeader {
    TAudioGroup Mp2;
};

struct TMp3Settings : TAudioHeader {
    TAudioGroup Mp3;
};

struct TAmrSettings : TAudioHeader {
    TAudioGroup Armnb, Armwb;
};

struct TWavSettings : TAudioHeader {
    TAudioGroup Pcm16le, Pcmu8;
};

// The modern formats.
struct TMkvSettings : TVideoHeader {
    TVideoGroup H264, H265, AV1, VP9;
    TAudioGroup AAC, Opus, Flac, AC3, Mp3;
};

struct TWebmSettings : TVideoHeader {
    TVideoGroup VP9, AV1;
    TAudioGroup Opus, Vorbis;
};

struct TM4aSettings : TAudioHeader {
    TAudioGroup AAC, Alac;
};

struct TFlacSettings : TAudioHeader {
    TAudioGroup Flac;
};

struct TOpusSettings : TAudioHeader {
    TAudioGroup Opus;
};

struct TOggSettings : TAudioHeader {
    TAudioGroup Vorbis;
};

// The current record of each format, shared by the editors, the builders and the output-extension
// rule.
extern TAVISettings AVISettings;
extern TMP4Settings MP4Settings;
extern TTGPSettings TGPSettings;
extern TMPEGSettings MPEGSettings;
extern TMovSettings MovSettings;
extern TWmvSettings WmvSettings;
extern TRmSettings RmSettings;
extern TSwfSettings SwfSettings;
extern TVobSettings VobSettings;
extern TAsfSettings AsfSettings;
extern TAacSettings AacSettings;
extern TAc3Settings Ac3Settings;
extern TMp2Settings Mp2Settings;
extern TMp3Settings Mp3Settings;
extern TAmrSettings AmrSettings;
extern TWavSettings WavSettings;
extern TMkvSettings MkvSettings;
extern TWebmSettings WebmSettings;
extern TM4aSettings M4aSettings;
extern TFlacSettings FlacSettings;
extern TOpusSettings OpusSettings;
extern TOggSettings OggSettings;
