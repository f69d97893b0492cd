// The options builders: the default text of every format, the rules of each format and the ways a
// builder reaches its profile (file, dispatcher, profile name).
#include "profile_fixture.h"
#include "profiles/optiondetails.h"
#include "profiles/profiles.h"

#include <functional>

namespace {

struct OptionsCase {
    const char* Name;
    std::function<QString()> Build;
    const char* Expected;
};

// Builds the options of a format's defaults changed by edit.
template <class R> std::function<QString()> Edited(std::function<void(R&)> edit) {
    return [edit] {
        R record = DefaultRecord<R>();
        edit(record);
        return BuildOptions(record);
    };
}

std::function<QString()> Defaults(int formatIndex) {
    return [formatIndex] { return GetDefaultOptions(formatIndex); };
}

const OptionsCase WorkedExamples[] = {
    {"AVI", Defaults(0), "-y -f avi -vcodec msmpeg4 -b 1080k -r 25 -acodec mp3 -ac 2 -ab 96 -ar 22050 "},
    {"AVI time window", Edited<TAVISettings>([](auto& s) {
         s.EnableTimeControl = true;
         s.Duration = QStringLiteral("0:01:00.000");
         s.StartTime = QStringLiteral("0:00:30.000");
     }),
     "-y -f avi  -t 0:01:00.000 -ss 0:00:30.000 -vcodec msmpeg4 -b 1080k -r 25 -acodec mp3 -ac 2 -ab 96 -ar "
     "22050 "},
    // A hand-edited time key that is not a time text turns the window off: nothing of it reaches
    // the command line, least of all a second input.
    {"AVI time window with a second input in Duration", Edited<TAVISettings>([](auto& s) {
         s.EnableTimeControl = true;
         s.Duration = QStringLiteral("0:10:00.000 -i \"/other/file\"");
         s.StartTime = QStringLiteral("0:00:30.000");
     }),
     "-y -f avi -vcodec msmpeg4 -b 1080k -r 25 -acodec mp3 -ac 2 -ab 96 -ar 22050 "},
    {"AVI time window with options in StartTime", Edited<TAVISettings>([](auto& s) {
         s.EnableTimeControl = true;
         s.Duration = QStringLiteral("0:01:00.000");
         s.StartTime = QStringLiteral("5 -f lavfi");
     }),
     "-y -f avi -vcodec msmpeg4 -b 1080k -r 25 -acodec mp3 -ac 2 -ab 96 -ar 22050 "},
    {"MP3 time window in seconds", Edited<TMp3Settings>([](auto& s) {
         s.EnableTimeControl = true;
         s.Duration = QStringLiteral("90");
         s.StartTime = QStringLiteral("1:05.5");
     }),
     "-y -f mp3  -t 90 -ss 1:05.5 -vn -acodec mp3 -ac 2 -ab 128 -ar 44100 "},
    {"AVI AC3 six channels automatic bit rate", Edited<TAVISettings>([](auto& s) {
         s.AudioCodec = 4;
         s.AC3.AudioChannels = 2;
         s.AC3.AudioBitRateUseAutoSet = true;
     }),
     "-y -f avi -vcodec msmpeg4 -b 1080k -r 25 -acodec ac3 -ac 5:1 -ar 48000 "},
    {"MP4", Defaults(1),
     "-y -f mp4 -vcodec h264 -s 320x240 -b 1200k -r 25 -acodec aac -ac 2 -ab 64 -ar 22050 "},
    {"3GP", Defaults(2),
     "-y -f 3gp -vcodec h263 -s 176x144 -b 144k -r 12.5 -aspect 11:9 -acodec amr_nb -ac 1 -ar 8000 -ab 13 "},
    {"MPEG", Defaults(3), "-y -vcodec mpeg2video -b 2496k -r 25 -acodec ac3 -ac 2 -ar 48000 -ab 256 "},
    {"MPEG DVD preset PAL", Edited<TMPEGSettings>([](auto& s) {
         s.UsePresetFormats = true;
         s.PresetType = 2;
         s.TargetFormat = 2;
     }),
     "-target pal-dvd -b 6000k -ab 384 "},
    {"MOV", Defaults(4), "-y -f mov -vcodec h264 -b 1200k -r 25 -ac 2 -ab 64 -ar 22050 "},
    {"WMV", Defaults(5), "-y -vcodec wmv2 -b 768k -r 25 -acodec mp3 -ac 2 -ar 22050 "},
    {"RM", Defaults(6), "-y -f rm -vcodec rv10 -b 768k -r 25 -acodec ac3 -ac 2 -ar 48000 -ab 256 "},
    {"SWF", Defaults(7), "-y -vcodec flv -b 768k -r 25 -acodec mp3 -ac 2 -ar 22050 "},
    {"VOB", Defaults(8),
     "-y -f vob -vcodec mpeg2video -s 720x576 -b 6000k -r 25 -aspect 5:4 -acodec ac3 -ac 2 -ar 48000 -ab "
     "384 "},
    {"ASF", Defaults(9), "-y -f asf -vcodec msmpeg4 -b 768k -r 25 -acodec mp3 -ac 2 -ab 64 -ar 22050 "},
    {"AAC", Defaults(10), "-y -f aac -vn -acodec aac -ac 2 -ab 128 -ar 44100 "},
    {"AC3", Defaults(11), "-y -f ac3 -vn -acodec ac3 -ac 2 -ar 48000 -ab 384 "},
    {"MP2", Defaults(12), "-y -f mp2 -vn -acodec mp2 -ac 2 -ab 160 -ar 44100 "},
    {"MP3", Defaults(13), "-y -f mp3 -vn -acodec mp3 -ac 2 -ab 128 -ar 44100 "},
    {"AMR", Defaults(14), "-y -f amr -vn -acodec amr_nb -ac 1 -ar 8000 -ab 13 "},
    {"WAV", Defaults(15), "-y -f wav -vn -acodec pcm_s16le -ac 2 -ar 44100 "},
};

// Rules of single formats, each on the format's defaults with a few keys changed.
const OptionsCase Rules[] = {
    // AVI: the frame, the codec tables and the shared value tables.
    {"AVI unknown video codec adds no video fragment",
     Edited<TAVISettings>([](auto& s) { s.VideoCodec = 11; }),
     "-y -f avi -acodec mp3 -ac 2 -ab 96 -ar 22050 "},
    {"AVI unknown audio codec adds nothing, not even -an",
     Edited<TAVISettings>([](auto& s) { s.AudioCodec = 5; }), "-y -f avi -vcodec msmpeg4 -b 1080k -r 25 "},
    {"AVI disabled audio", Edited<TAVISettings>([](auto& s) { s.AudioDisableAudio = true; }),
     "-y -f avi -vcodec msmpeg4 -b 1080k -r 25 -an "},
    {"AVI same quality keeps the bit rate", Edited<TAVISettings>([](auto& s) {
         s.VideoSameQuality = true;
         s.VideoCodec = 1;
         s.XviD.VideoBitRateUsePresert = false;
         s.XviD.VideoBitRateSpecify = 777;
     }),
     "-y -f avi -sameq -vcodec xvid -b 777k -r 25 -acodec mp3 -ac 2 -ab 96 -ar 22050 "},
    {"AVI custom size, frame rate and aspect; a zero width is copied for the engine to refuse",
     Edited<TAVISettings>([](auto& s) {
         s.VideoCodec = 3;
         s.MsMPEG4v2 = {true, 500, 900, false, 0, 480, false, 2, 2};
     }),
     "-y -f avi -vcodec msmpeg4v2 -s 0x480 -b 500k -r 14.985 -aspect 16:9 -acodec mp3 -ac 2 -ab 96 -ar "
     "22050 "},
    {"AVI frame rate outside the list", Edited<TAVISettings>([](auto& s) {
         s.DivX.VideoKeepFrameRate = false;
         s.DivX.VideoFrameRate = 13;
         s.DivX.VideoAspect = 1;
     }),
     "-y -f avi -vcodec msmpeg4 -b 1080k -aspect 4:3 -acodec mp3 -ac 2 -ab 96 -ar 22050 "},
    {"AVI H.263 size always, aspect 4:3", Edited<TAVISettings>([](auto& s) {
         s.VideoCodec = 4;
         s.H263.VideoAspect = 2;
         s.AudioCodec = 2;
     }),
     "-y -f avi -vcodec h263 -s 352x288 -b 1080k -r 25 -aspect 4:3 -acodec pcm_s16le -ac 2 -ar 22050 "},
    {"AVI H.263 aspect 1:1 adds nothing", Edited<TAVISettings>([](auto& s) {
         s.VideoCodec = 4;
         s.H263.VideoAspect = 1;
         s.AudioDisableAudio = true;
     }),
     "-y -f avi -vcodec h263 -s 352x288 -b 1080k -r 25 -an "},
    {"AVI H.263 aspect 11:9 adds nothing, 16:9 is written", Edited<TAVISettings>([](auto& s) {
         s.VideoCodec = 4;
         s.H263.VideoAspect = 3;
         s.AudioCodec = 3;
         s.Pcmu8.AudioSampleRate = 7;
         s.Pcmu8.AudioChannels = 0;
     }),
     "-y -f avi -vcodec h263 -s 352x288 -b 1080k -r 25 -acodec pcm_u8 -ac 1 -ar 48000 "},
    {"AVI huffYUV; a negative bit rate is copied for the engine to refuse", Edited<TAVISettings>([](auto& s) {
         s.VideoCodec = 7;
         s.huffYUV.VideoBitRatePreset = -5;
         s.AudioCodec = 0;
         s.Mp2.AudioBitRateUseAutoSet = true;
         s.Mp2.AudioSampleRate = 4;
     }),
     "-y -f avi -vcodec ffvhuff -b -5k -r 25 -acodec mp2 -ac 2 "},
    {"AVI AC3 six channels ignore the rate key", Edited<TAVISettings>([](auto& s) {
         s.AudioCodec = 4;
         s.AC3.AudioChannels = 2;
         s.AC3.AudioSampleRate = 0;
     }),
     "-y -f avi -vcodec msmpeg4 -b 1080k -r 25 -acodec ac3 -ac 5:1 -ar 48000 -ab 96 "},
    {"AVI AC3 channel index 3 writes neither -ac nor -ar", Edited<TAVISettings>([](auto& s) {
         s.AudioCodec = 4;
         s.AC3.AudioChannels = 3;
     }),
     "-y -f avi -vcodec msmpeg4 -b 1080k -r 25 -acodec ac3 -ab 96 "},
    {"AVI zero duration copied", Edited<TAVISettings>([](auto& s) {
         s.EnableTimeControl = true;
         s.StartTime = QStringLiteral("1:02:03.456");
         s.VideoCodec = 10;
         s.AudioDisableAudio = true;
     }),
     "-y -f avi  -t 0:00:00.000 -ss 1:02:03.456 -vcodec flv -b 1080k -r 25 -an "},
    // MP4
    {"MP4 PSP form uses the AACPsp group", Edited<TMP4Settings>([](auto& s) {
         s.Format = 1;
         s.AACPsp.AudioBitRatePreset = 96;
         s.AACMP4.AudioBitRatePreset = 11;
     }),
     "-y -f psp -vcodec h264 -s 320x240 -b 1200k -r 25 -acodec aac -ac 2 -ab 96 -ar 48000 "},
    {"MP4 PSP sample rate 1 adds no -ar", Edited<TMP4Settings>([](auto& s) {
         s.Format = 1;
         s.AACPsp.AudioSampleRate = 1;
         s.AACPsp.AudioChannels = 0;
     }),
     "-y -f psp -vcodec h264 -s 320x240 -b 1200k -r 25 -acodec aac -ac 1 -ab 64 "},
    {"MP4 format 4 writes no container", Edited<TMP4Settings>([](auto& s) {
         s.Format = 4;
         s.VideoCodec = 2; // no codec (1 is H.265)
         s.AACMP4.AudioBitRateUseAutoSet = true;
     }),
     "-y -acodec aac -ac 2 -ar 22050 "},
    {"MP4 iPod form, DivX group unused", Edited<TMP4Settings>([](auto& s) {
         s.Format = 0;
         s.DivX.VideoBitRatePreset = 1;
         s.H264.VideoSizeUseSource = true;
     }),
     "-y -f mp4 -vcodec h264 -b 1200k -r 25 -acodec aac -ac 2 -ab 64 -ar 22050 "},
    // 3GP
    {"3GP 3gp2 form uses the Sony keys", Edited<TTGPSettings>([](auto& s) {
         s.TGPFormat = 2;
         s.VideoCodecNokia = 5;
         s.AudioCodecNokia = 5;
     }),
     "-y -f 3gp -vcodec msmpeg4 -s 176x144 -b 144k -r 25 -aspect 11:9 -acodec aac -ac 2 -ab 56 -ar 22050 "},
    {"3GP Sony XviD aspect 16:9", Edited<TTGPSettings>([](auto& s) {
         s.TGPFormat = 1;
         s.VideoCodecSony = 1;
         s.XviD.VideoAspect = 2;
         s.AudioCodecSony = 1;
     }),
     "-y -f 3gp -vcodec xvid -s 176x144 -b 96k -r 25 -aspect 16:9 "},
    {"3GP H.263 aspect 11:9 writes none, fixed frame rate", Edited<TTGPSettings>([](auto& s) {
         s.H263.VideoAspect = 3;
         s.H263.VideoKeepFrameRate = false;
         s.AudioCodecNokia = 1;
         s.Armwb.AudioChannels = 1;
         s.Armwb.AudioBitRateUseAutoSet = true;
     }),
     "-y -f 3gp -vcodec h263 -s 176x144 -b 144k -r 12 -acodec amr_wb -ar 16000 "},
    {"3GP Nokia MPEG-4 and AAC", Edited<TTGPSettings>([](auto& s) {
         s.VideoCodecNokia = 1;
         s.DivX.VideoAspect = 1;
         s.AudioCodecNokia = 2;
     }),
     "-y -f 3gp -vcodec msmpeg4 -s 176x144 -b 144k -r 25 -aspect 4:3 -acodec aac -ac 2 -ab 56 -ar 22050 "},
    // MPEG
    {"MPEG VCD preset with time window, nothing else", Edited<TMPEGSettings>([](auto& s) {
         s.UsePresetFormats = true;
         s.PresetType = 0;
         s.TargetFormat = 1;
         s.EnableTimeControl = true;
         s.Duration = QStringLiteral("0:00:10.000");
         s.VideoSameQuality = true;
         s.AudioDisableAudio = true;
     }),
     " -t 0:00:10.000 -ss 0:00:00.000 -target ntsc-vcd "},
    {"MPEG SVCD preset", Edited<TMPEGSettings>([](auto& s) {
         s.UsePresetFormats = true;
         s.PresetType = 1;
     }),
     "-target film-svcd "},
    {"MPEG SVCD preset with another target adds nothing, so the engine converts by the output name",
     Edited<TMPEGSettings>([](auto& s) {
         s.UsePresetFormats = true;
         s.PresetType = 1;
         s.TargetFormat = 3;
     }),
     ""},
    {"MPEG DVD custom bit rate, aspect, automatic audio, other target", Edited<TMPEGSettings>([](auto& s) {
         s.UsePresetFormats = true;
         s.PresetType = 2;
         s.TargetFormat = 3;
         s.DVDVideoBitRateUsePresert = false;
         s.DVDVideoBitRateSpecify = 8000;
         s.DVDVideoKeepAspect = false;
         s.DVDVideoAspect = 2;
         s.DVDAudioBitRateUseAutoSet = true;
     }),
     "-b 8000k -aspect 16:9 "},
    {"MPEG DVD NTSC square pixels", Edited<TMPEGSettings>([](auto& s) {
         s.UsePresetFormats = true;
         s.PresetType = 2;
         s.TargetFormat = 1;
         s.DVDVideoKeepAspect = false;
         s.DVDVideoAspect = 0;
     }),
     "-target ntsc-dvd -b 6000k -aspect 1:1 -ab 384 "},
    {"MPEG unknown preset type adds nothing, so the engine converts by the output name",
     Edited<TMPEGSettings>([](auto& s) {
         s.UsePresetFormats = true;
         s.PresetType = 3;
     }),
     ""},
    {"MPEG-1 video uses the MPEG-1 audio key", Edited<TMPEGSettings>([](auto& s) {
         s.VideoCodec = 0;
         s.AudioCodecMPEG2 = 0;
     }),
     "-y -vcodec mpeg1video -b 1152k -r 25 -acodec mp2 -ac 2 -ab 160 -ar 44100 "},
    {"MPEG time window first, then -y", Edited<TMPEGSettings>([](auto& s) {
         s.EnableTimeControl = true;
         s.AudioCodecMPEG2 = 2;
         s.MPEG2.VideoKeepFrameRate = false;
         s.MPEG2.VideoFrameRate = 7;
     }),
     " -t 0:00:00.000 -ss 0:00:00.000 -y -vcodec mpeg2video -b 2496k -r 25 -acodec mp3 -ac 2 -ab 160 -ar "
     "44100 "},
    // MOV
    {"MOV AAC writes no codec option", Edited<TMovSettings>([](auto& s) { s.H264.VideoAspect = 2; }),
     "-y -f mov -vcodec h264 -b 1200k -r 25 -ac 2 -ab 64 -ar 22050 "},
    {"MOV H.263 size always, no aspect, A-law", Edited<TMovSettings>([](auto& s) {
         s.VideoCodec = 3;
         s.H263.VideoAspect = 4;
         s.AudioCodec = 1;
     }),
     "-y -f mov -vcodec h263 -s 352x288 -b 1200k -r 25 -acodec pcm_alaw -ac 2 -ar 22050 "},
    {"MOV Sorenson and AMR", Edited<TMovSettings>([](auto& s) {
         s.VideoCodec = 0;
         s.Svq1.VideoAspect = 1;
         s.AudioCodec = 2;
     }),
     "-y -f mov -vcodec svq1 -b 1200k -r 25 -aspect 4:3 -acodec amr_nb -ac 1 -ar 8000 -ab 8 "},
    {"MOV PCM big-endian", Edited<TMovSettings>([](auto& s) {
         s.VideoCodec = 1;
         s.AudioCodec = 4;
     }),
     "-y -f mov -vcodec msmpeg4 -b 1200k -r 25 -acodec pcm_s16be -ac 2 -ar 22050 "},
    // WMV, ASF
    {"WMV WMV7 with a bit rate", Edited<TWmvSettings>([](auto& s) {
         s.VideoCodec = 2;
         s.Mp3.AudioBitRateUseAutoSet = false;
         s.Mp3.AudioSampleRate = 3;
     }),
     "-y -vcodec wmv1 -b 768k -r 25 -acodec mp3 -ac 2 -ab 64 -ar 48000 "},
    {"ASF MS-mpeg4-v2", Edited<TAsfSettings>([](auto& s) { s.VideoCodec = 1; }),
     "-y -f asf -vcodec msmpeg4v2 -b 768k -r 25 -acodec mp3 -ac 2 -ab 64 -ar 22050 "},
    // RM
    {"RM bit rate before size, no aspect", Edited<TRmSettings>([](auto& s) {
         s.Rm10.VideoSizeUseSource = false;
         s.Rm10.VideoAspect = 2;
     }),
     "-y -f rm -vcodec rv10 -b 768k -s 320x240 -r 25 -acodec ac3 -ac 2 -ar 48000 -ab 256 "},
    // SWF
    {"SWF sample rates", Edited<TSwfSettings>([](auto& s) {
         s.Mp3.AudioSampleRate = 2;
         s.Mp3.AudioChannels = 0;
     }),
     "-y -vcodec flv -b 768k -r 25 -acodec mp3 -ac 1 -ar 44100 "},
    {"SWF sample rate 3 adds nothing", Edited<TSwfSettings>([](auto& s) { s.Mp3.AudioSampleRate = 3; }),
     "-y -vcodec flv -b 768k -r 25 -acodec mp3 -ac 2 "},
    // VOB
    {"VOB frame-rate list", Edited<TVobSettings>([](auto& s) {
         s.MPEG2.VideoKeepFrameRate = false;
         s.MPEG2.VideoFrameRate = 7;
         s.MPEG2.VideoAspect = 1;
         s.AudioCodec = 0;
     }),
     "-y -f vob -vcodec mpeg2video -s 720x576 -b 6000k -r 59.94 -aspect 4:3 -acodec mp2 -ac 2 -ab 320 -ar "
     "48000 "},
    {"VOB frame rate 0 is 19.98", Edited<TVobSettings>([](auto& s) {
         s.MPEG2.VideoKeepFrameRate = false;
         s.MPEG2.VideoFrameRate = 0;
         s.MPEG2.VideoSizeUseSource = true;
         s.AudioDisableAudio = true;
     }),
     "-y -f vob -vcodec mpeg2video -b 6000k -r 19.98 -aspect 5:4 -an "},
    // Audio formats
    {"AAC time window before -vn", Edited<TAacSettings>([](auto& s) {
         s.EnableTimeControl = true;
         s.AACMP4.AudioSampleRate = 0;
     }),
     "-y -f aac  -t 0:00:00.000 -ss 0:00:00.000 -vn -acodec aac -ac 2 -ab 128 -ar 11025 "},
    {"AAC unknown codec", Edited<TAacSettings>([](auto& s) { s.AudioCodec = 1; }), "-y -f aac -vn "},
    {"AC3 six channels", Edited<TAc3Settings>([](auto& s) { s.AC3.AudioChannels = 2; }),
     "-y -f ac3 -vn -acodec ac3 -ac 5:1 -ar 48000 -ab 384 "},
    {"MP3 automatic bit rate", Edited<TMp3Settings>([](auto& s) { s.Mp3.AudioBitRateUseAutoSet = true; }),
     "-y -f mp3 -vn -acodec mp3 -ac 2 -ar 44100 "},
    {"MP2 mono 24000", Edited<TMp2Settings>([](auto& s) {
         s.Mp2.AudioChannels = 0;
         s.Mp2.AudioSampleRate = 1;
     }),
     "-y -f mp2 -vn -acodec mp2 -ac 1 -ab 160 -ar 24000 "},
    {"AMR stereo index writes no -ac", Edited<TAmrSettings>([](auto& s) { s.Armnb.AudioChannels = 1; }),
     "-y -f amr -vn -acodec amr_nb -ar 8000 -ab 13 "},
    {"AMR wide-band", Edited<TAmrSettings>([](auto& s) {
         s.AudioCodec = 1;
         s.Armwb.AudioBitRatePreset = 23;
         s.Armnb.AudioBitRatePreset = 5;
     }),
     "-y -f amr -vn -acodec amr_wb -ac 1 -ar 16000 -ab 23 "},
    {"WAV unsigned 8 bit, rate outside the list", Edited<TWavSettings>([](auto& s) {
         s.AudioCodec = 1;
         s.Pcmu8.AudioSampleRate = 8;
         s.Pcmu8.AudioBitRateUseAutoSet = false;
         s.Pcmu8.AudioBitRatePreset = 999;
     }),
     "-y -f wav -vn -acodec pcm_u8 -ac 2 "},
};

// The modern formats and the H.265 codec of MP4 and MOV: defaults, and each rule a modern codec adds
// (constant quality or bit rate, speed, source frame rate, values kept as the source's).
const OptionsCase ModernRules[] = {
    {"MKV", Defaults(16), "-y -f matroska -vcodec h264 -crf 23 -preset fast -acodec aac -ab 192 "},
    {"WebM", Defaults(17), "-y -f webm -vcodec vp9 -crf 33 -preset faster -acodec opus -ab 128 "},
    {"M4A", Defaults(18), "-y -f ipod -vn -acodec aac -ab 192 "},
    {"FLAC", Defaults(19), "-y -f flac -vn -acodec flac -compression_level 5 "},
    {"Opus", Defaults(20), "-y -f opus -vn -acodec opus -ab 128 "},
    {"OGG", Defaults(21), "-y -f ogg -vn -acodec vorbis -aq 5 "},
    {"MP4 H.265", Edited<TMP4Settings>([](auto& s) { s.VideoCodec = 1; }),
     "-y -f mp4 -vcodec hevc -crf 28 -preset faster -acodec aac -ac 2 -ab 64 -ar 22050 "},
    {"MOV H.265 with a chosen size, frame rate and aspect", Edited<TMovSettings>([](auto& s) {
         s.VideoCodec = 5;
         s.H265.VideoSizeUseSource = false;
         s.H265.VideoWidth = 3840;
         s.H265.VideoHeight = 2160;
         s.H265.VideoKeepFrameRate = false;
         s.H265.VideoFrameRate = 12;
         s.H265.VideoAspect = 2;
     }),
     "-y -f mov -vcodec hevc -s 3840x2160 -crf 28 -preset faster -r 60 -aspect 16:9 -ac 2 -ab 64 -ar 22050 "},
    {"MKV H.265 by preset bit rate, speed outside the list", Edited<TMkvSettings>([](auto& s) {
         s.VideoCodec = 1;
         s.H265.VideoConstantQuality = false;
         s.H265.VideoBitRatePreset = 8000;
         s.H265.VideoSpeed = 9;
     }),
     "-y -f matroska -vcodec hevc -b 8000k -acodec aac -ab 192 "},
    {"MKV AV1 by a specified bit rate, slowest speed", Edited<TMkvSettings>([](auto& s) {
         s.VideoCodec = 2;
         s.AV1.VideoConstantQuality = false;
         s.AV1.VideoBitRateUsePresert = false;
         s.AV1.VideoBitRateSpecify = 2750;
         s.AV1.VideoSpeed = 8;
     }),
     "-y -f matroska -vcodec av1 -b 2750k -preset veryslow -acodec aac -ab 192 "},
    {"MKV VP9 same quality, Opus 5.1", Edited<TMkvSettings>([](auto& s) {
         s.VideoCodec = 3;
         s.VideoSameQuality = true;
         s.AudioCodec = 1;
         s.Opus.AudioChannels = 3;
         s.Opus.AudioSampleRate = 5; // Opus has no sample-rate key: nothing comes of it
     }),
     "-y -f matroska -sameq -vcodec vp9 -crf 33 -preset faster -acodec opus -ac 6 -ab 128 "},
    {"MKV FLAC 24 bit 96000 Hz mono", Edited<TMkvSettings>([](auto& s) {
         s.AudioCodec = 2;
         s.Flac.AudioBits = 2;
         s.Flac.AudioSampleRate = 9;
         s.Flac.AudioChannels = 1;
         s.Flac.AudioCompression = 8;
     }),
     "-y -f matroska -vcodec h264 -crf 23 -preset fast -acodec flac -ac 1 -compression_level 8 -abits 24 -ar "
     "96000 "},
    {"MKV AC3 5.1 at 48000 Hz", Edited<TMkvSettings>([](auto& s) {
         s.AudioCodec = 3;
         s.AC3.AudioSampleRate = 3;
         s.AC3.AudioChannels = 3;
     }),
     "-y -f matroska -vcodec h264 -crf 23 -preset fast -acodec ac3 -ac 6 -ab 384 -ar 48000 "},
    {"MKV MP3 has no 5.1, automatic bit rate", Edited<TMkvSettings>([](auto& s) {
         s.AudioCodec = 4;
         s.Mp3.AudioChannels = 3;
         s.Mp3.AudioBitRateUseAutoSet = true;
         s.Mp3.AudioSampleRate = 6;
     }),
     "-y -f matroska -vcodec h264 -crf 23 -preset fast -acodec mp3 -ar 44100 "},
    {"MKV no audio, unknown video codec", Edited<TMkvSettings>([](auto& s) {
         s.VideoCodec = 4;
         s.AudioDisableAudio = true;
     }),
     "-y -f matroska -an "},
    {"WebM AV1 and Vorbis by bit rate", Edited<TWebmSettings>([](auto& s) {
         s.VideoCodec = 1;
         s.AudioCodec = 1;
         s.Vorbis.AudioUseQuality = false;
         s.Vorbis.AudioBitRatePreset = 160;
     }),
     "-y -f webm -vcodec av1 -crf 35 -preset faster -acodec vorbis -ab 160 "},
    {"M4A ALAC as the source", Edited<TM4aSettings>([](auto& s) { s.AudioCodec = 1; }),
     "-y -f ipod -vn -acodec alac "},
    {"M4A AAC stereo 48000 Hz with a time window", Edited<TM4aSettings>([](auto& s) {
         s.AAC.AudioChannels = 2;
         s.AAC.AudioSampleRate = 7;
         s.EnableTimeControl = true;
         s.Duration = QStringLiteral("0:00:10.000");
     }),
     "-y -f ipod  -t 0:00:10.000 -ss 0:00:00.000 -vn -acodec aac -ac 2 -ab 192 -ar 48000 "},
    {"FLAC 16 bit 192000 Hz", Edited<TFlacSettings>([](auto& s) {
         s.Flac.AudioBits = 1;
         s.Flac.AudioSampleRate = 11;
     }),
     "-y -f flac -vn -acodec flac -compression_level 5 -abits 16 -ar 192000 "},
    {"FLAC sample size outside the list adds nothing",
     Edited<TFlacSettings>([](auto& s) { s.Flac.AudioBits = 3; }),
     "-y -f flac -vn -acodec flac -compression_level 5 "},
    {"Opus voice", Edited<TOpusSettings>([](auto& s) {
         s.Opus.AudioBitRatePreset = 32;
         s.Opus.AudioChannels = 1;
     }),
     "-y -f opus -vn -acodec opus -ac 1 -ab 32 "},
    {"OGG quality -1, automatic bit rate unused", Edited<TOggSettings>([](auto& s) {
         s.Vorbis.AudioQuality = -1;
         s.Vorbis.AudioBitRateUseAutoSet = true;
     }),
     "-y -f ogg -vn -acodec vorbis -aq -1 "},
    {"OGG automatic bit rate", Edited<TOggSettings>([](auto& s) {
         s.Vorbis.AudioUseQuality = false;
         s.Vorbis.AudioBitRateUseAutoSet = true;
     }),
     "-y -f ogg -vn -acodec vorbis "},
};

class OptionsTable : public ::testing::TestWithParam<OptionsCase> {};

std::string CaseName(const ::testing::TestParamInfo<OptionsCase>& info) {
    std::string name;
    for (const char* c = info.param.Name; *c; ++c)
        name += std::isalnum(static_cast<unsigned char>(*c)) ? *c : '_';
    return name;
}

} // namespace

TEST_P(OptionsTable, BuildsTheText) {
    ResetStringTable();
    EXPECT_EQ(GetParam().Build().toStdString(), GetParam().Expected);
}

INSTANTIATE_TEST_SUITE_P(WorkedExamples, OptionsTable, ::testing::ValuesIn(WorkedExamples), CaseName);
INSTANTIATE_TEST_SUITE_P(FormatRules, OptionsTable, ::testing::ValuesIn(Rules), CaseName);
INSTANTIATE_TEST_SUITE_P(ModernRules, OptionsTable, ::testing::ValuesIn(ModernRules), CaseName);

using OptionDetailsTest = ProfileFolderTest;

// A builder reads the profile file as stored, and a missing file gives the defaults.
TEST_F(OptionDetailsTest, BuildersReadTheProfileFileAndFallBackToDefaults) {
    for (int index = 0; index < FormatCount; ++index) {
        SCOPED_TRACE(index);
        EXPECT_EQ(GetProfileOptions(index, QString()), GetDefaultOptions(index));
        EXPECT_EQ(GetProfileOptions(index, QStringLiteral("missing")), GetDefaultOptions(index));
    }
    WriteProfile(0, QStringLiteral("Xvid"),
                 "[General]\nVideoCodec=1\nAudioDisableAudio=1\nVideoBitRatePresetXviD=2000\n");
    EXPECT_EQ(GetProfileOptions(0, QStringLiteral("Xvid")),
              QStringLiteral("-y -f avi -vcodec xvid -b 2000k -r 25 -an "));
    // The current record now holds the profile.
    EXPECT_EQ(AVISettings.VideoCodec, 1);

    // Edited between two calls: the next call sees the change.
    WriteProfile(0, QStringLiteral("Xvid"),
                 "[General]\nVideoCodec=1\nAudioDisableAudio=1\nVideoBitRatePresetXviD=900\n");
    EXPECT_EQ(GetProfileOptions(0, QStringLiteral("Xvid")),
              QStringLiteral("-y -f avi -vcodec xvid -b 900k -r 25 -an "));
}

TEST_F(OptionDetailsTest, DispatcherFollowsTheOutputFormat) {
    const QString file = WriteProfile(13, QStringLiteral("Low"), "[General]\nAudioBitRatePresetMp3=64\n");
    Options.OutputFormat = 13;
    QString text = QStringLiteral("old text");
    GetOptionDetails(file, text);
    EXPECT_EQ(text, QStringLiteral("-y -f mp3 -vn -acodec mp3 -ac 2 -ab 64 -ar 44100 "));

    // The same file read as a WAV profile gives the WAV defaults.
    Options.OutputFormat = 15;
    GetOptionDetails(file, text);
    EXPECT_EQ(text, GetDefaultOptions(15));

    for (int outside : {22, 200, 255}) {
        Options.OutputFormat = static_cast<uint8_t>(outside);
        GetOptionDetails(file, text);
        EXPECT_EQ(text, QString());
    }
    EXPECT_EQ(GetProfileOptions(22, QStringLiteral("Low")), QString());
    EXPECT_EQ(GetProfileOptions(-1, QStringLiteral("Low")), QString());
    EXPECT_EQ(GetDefaultOptions(22), QString());
}

// Appending, as the named builders do, keeps what the text held.
TEST_F(OptionDetailsTest, NamedBuildersAppend) {
    QString text = QStringLiteral("x ");
    GetWavOptionDetails(QString(), text);
    EXPECT_EQ(text, QStringLiteral("x -y -f wav -vn -acodec pcm_s16le -ac 2 -ar 44100 "));
}
