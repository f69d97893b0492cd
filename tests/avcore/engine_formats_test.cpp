// Converts a short clip with every default options text and every codec choice of every format,
// and has MediaInfo and GStreamer read each result.
#include "engine_fixture.h"

#include <algorithm>
#include <ostream>

namespace avtest {
namespace {

struct FormatCase {
    const char* name;
    const char* extension;
    const char* options;
    const char* container; // MediaInfo's container format
    const char* video;     // text in MediaInfo's video format and codec ID; "" when there must be no video
    const char* audio;     // the same for audio
    const char* gstVideo;  // text in GStreamer's video description; "" for none
    const char* gstAudio;  // the same for audio; a null pointer skips GStreamer (it cannot read the file)
};
// Test listings and failure messages show the case by its name.
void PrintTo(const FormatCase& c, std::ostream* os) {
    *os << c.name;
}

// The options texts are the ones the converter's profile builders write.
const FormatCase kCases[] = {
    // The sixteen default profiles.
    {"AviDefault", "avi", "-y -f avi -vcodec msmpeg4 -b 1080k -r 25 -acodec mp3 -ac 2 -ab 96 -ar 22050 ",
     "AVI", "MP43", "MPEG Audio", "Microsoft MPEG-4 4.3", "MP3"},
    {"Mp4Default", "mp4",
     "-y -f mp4 -vcodec h264 -s 320x240 -b 1200k -r 25 -acodec aac -ac 2 -ab 64 -ar 22050 ", "MPEG-4", "AVC",
     "AAC", "H.264", "AAC"},
    {"TgpDefault", "3gp",
     "-y -f 3gp -vcodec h263 -s 176x144 -b 144k -r 12.5 -aspect 11:9 -acodec amr_nb -ac 1 -ar 8000 -ab 13 ",
     "MPEG-4", "H.263", "AMR", "H.26n", "AMR"},
    {"MpegDefault", "mpg", "-y -vcodec mpeg2video -b 2496k -r 25 -acodec ac3 -ac 2 -ar 48000 -ab 256 ",
     "MPEG-PS", "MPEG Video", "AC-3", "MPEG-2 Video", "AC-3"},
    {"MpegDvdPreset", "mpg", "-target pal-dvd -b 6000k -ab 384 ", "MPEG-PS", "MPEG Video", "AC-3",
     "MPEG-2 Video", "AC-3"},
    // An MPEG profile whose preset settings add no option (a preset type or target outside the
    // editor's lists): the engine converts by the output's name.
    {"MpegNoOptions", "mpg", "", "MPEG-PS", "MPEG Video", "MPEG Audio", "MPEG-1 Video", "Layer 2"},
    {"MovDefault", "mov", "-y -f mov -vcodec h264 -b 1200k -r 25 -ac 2 -ab 64 -ar 22050 ", "MPEG-4", "AVC",
     "AAC", "H.264", "AAC"},
    {"WmvDefault", "wmv", "-y -vcodec wmv2 -b 768k -r 25 -acodec mp3 -ac 2 -ar 22050 ", "Windows Media",
     "WMV2", "MPEG Audio", "Windows Media Video 8", "MP3"},
    {"RmDefault", "rm", "-y -f rm -vcodec rv10 -b 768k -r 25 -acodec ac3 -ac 2 -ar 48000 -ab 256 ",
     "RealMedia", "RealVideo 1", "AC-3", "RealVideo 1.0", "AC-3"},
    // GStreamer has no SWF reader; MediaInfo checks the file alone.
    {"SwfDefault", "swf", "-y -vcodec flv -b 768k -r 25 -acodec mp3 -ac 2 -ar 22050 ", "ShockWave", "H.263",
     "MPEG Audio", "", nullptr},
    {"VobDefault", "vob",
     "-y -f vob -vcodec mpeg2video -s 720x576 -b 6000k -r 25 -aspect 5:4 -acodec ac3 -ac 2 -ar 48000 -ab "
     "384 ",
     "MPEG-PS", "MPEG Video", "AC-3", "MPEG-2 Video", "AC-3"},
    {"AsfDefault", "asf", "-y -f asf -vcodec msmpeg4 -b 768k -r 25 -acodec mp3 -ac 2 -ab 64 -ar 22050 ",
     "Windows Media", "MP43", "MPEG Audio", "Microsoft MPEG-4 4.3", "MP3"},
    {"AacDefault", "aac", "-y -f aac -vn -acodec aac -ac 2 -ab 128 -ar 44100 ", "ADTS", "", "AAC", "", "AAC"},
    {"Ac3Default", "ac3", "-y -f ac3 -vn -acodec ac3 -ac 2 -ar 48000 -ab 384 ", "AC-3", "", "AC-3", "",
     "AC-3"},
    {"Mp2Default", "mp2", "-y -f mp2 -vn -acodec mp2 -ac 2 -ab 160 -ar 44100 ", "MPEG Audio", "",
     "MPEG Audio", "", "Layer 2"},
    {"Mp3Default", "mp3", "-y -f mp3 -vn -acodec mp3 -ac 2 -ab 128 -ar 44100 ", "MPEG Audio", "",
     "MPEG Audio", "", "Layer 3"},
    {"AmrDefault", "amr", "-y -f amr -vn -acodec amr_nb -ac 1 -ar 8000 -ab 13 ", "AMR", "", "AMR", "", "AMR"},
    {"WavDefault", "wav", "-y -f wav -vn -acodec pcm_s16le -ac 2 -ar 44100 ", "Wave", "", "PCM", "", "WAV"},

    // AVI: every video and audio codec choice.
    {"AviXvidMp2", "avi", "-y -f avi -vcodec xvid -b 1080k -r 25 -acodec mp2 -ac 2 -ab 96 -ar 22050 ", "AVI",
     "MPEG-4 Visual:XVID", "MPEG Audio", "MPEG-4 Video", "Layer 2"},
    {"AviMsMpeg4v2Pcm16", "avi",
     "-y -f avi -vcodec msmpeg4v2 -b 1080k -r 25 -acodec pcm_s16le -ac 2 -ar 11025 ", "AVI", "MP42", "PCM",
     "Microsoft MPEG-4 4.2", "16-bit PCM"},
    {"AviH263PcmU8", "avi",
     "-y -f avi -vcodec h263 -s 320x240 -b 1080k -r 25 -acodec pcm_u8 -ac 1 -ar 48000 ", "AVI", "H.263",
     "PCM", "H.26n", "8-bit PCM"},
    {"AviH263pAc3Surround", "avi",
     "-y -f avi -vcodec h263p -b 1080k -r 25 -acodec ac3 -ac 5:1 -ar 48000 -ab 384 ", "AVI", "H.263", "AC-3",
     "H.26n", "AC-3"},
    {"AviH264", "avi", "-y -f avi -vcodec h264 -b 1080k -r 25 -acodec mp3 -ac 2 -ab 96 -ar 22050 ", "AVI",
     "AVC", "MPEG Audio", "H.264", "MP3"},
    {"AviHuffYuv", "avi",
     "-y -f avi -vcodec ffvhuff -strict -2 -b 1080k -r 25 -acodec mp3 -ac 2 -ab 96 -ar 22050 ", "AVI",
     "HuffYUV", "MPEG Audio", "Huffyuv", "MP3"},
    {"AviMjpeg", "avi", "-y -f avi -vcodec mjpeg -b 1080k -r 25 -acodec mp3 -ac 2 -ab 96 -ar 22050 ", "AVI",
     "JPEG", "MPEG Audio", "JPEG", "MP3"},
    // GStreamer's AVI reader does not map Sorenson Video; MediaInfo and FFmpeg-based players read it.
    {"AviSvq1", "avi", "-y -f avi -vcodec svq1 -b 1080k -r 25 -acodec mp3 -ac 2 -ab 96 -ar 22050 ", "AVI",
     "svq1", "MPEG Audio", "", nullptr},
    {"AviFlv", "avi", "-y -f avi -vcodec flv -b 1080k -r 25 -acodec mp3 -ac 2 -ab 96 -ar 22050 ", "AVI",
     "Sorenson Spark", "MPEG Audio", "Sorenson Spark", "MP3"},
    {"AviNoVideoCodecNoAudio", "avi", "-y -f avi -an ", "AVI", "MPEG-4 Visual", "", "MPEG-4 Video", ""},

    // MP4: the four types and no type.
    {"Mp4Psp", "mp4", "-y -f psp -vcodec h264 -s 320x240 -b 1200k -r 25 -acodec aac -ac 2 -ab 64 -ar 48000 ",
     "MPEG-4", "AVC", "AAC", "H.264", "AAC"},
    {"Mp4NoType", "mp4", "-y -vcodec h264 -s 320x240 -b 1200k -r 25 -acodec aac -ac 2 -ab 64 -ar 22050 ",
     "MPEG-4", "AVC", "AAC", "H.264", "AAC"},

    // 3GP: Nokia and Sony codecs, and the 3GPP2 form.
    {"TgpH263AmrWb", "3gp",
     "-y -f 3gp -vcodec h263 -s 176x144 -b 144k -r 12.5 -aspect 11:9 -acodec amr_wb -ac 1 -ar 16000 -ab 13 ",
     "MPEG-4", "H.263", "AMR", "H.26n", "AMR-WB"},
    {"TgpDivxAac", "3gp",
     "-y -f 3gp -vcodec msmpeg4 -b 144k -r 25 -aspect 11:9 -acodec aac -ac 2 -ab 64 -ar 22050 ", "MPEG-4",
     "MPEG-4 Visual", "AAC", "MPEG-4 Video", "AAC"},
    {"TgpH263Aac", "3gp",
     "-y -f 3gp -vcodec h263 -s 176x144 -b 144k -r 12.5 -aspect 11:9 -acodec aac -ac 2 -ab 64 -ar 22050 ",
     "MPEG-4", "H.263", "AAC", "H.26n", "AAC"},
    {"Tg2XvidAac", "3g2",
     "-y -f 3gp -vcodec xvid -b 144k -r 25 -aspect 11:9 -acodec aac -ac 2 -ab 64 -ar 22050 ", "MPEG-4",
     "MPEG-4 Visual", "AAC", "MPEG-4 Video", "AAC"},
    {"Tg2DivxAac", "3g2",
     "-y -f 3gp -vcodec msmpeg4 -b 144k -r 25 -aspect 11:9 -acodec aac -ac 2 -ab 64 -ar 22050 ", "MPEG-4",
     "MPEG-4 Visual", "AAC", "MPEG-4 Video", "AAC"},

    // MPEG: both video codecs with each audio codec, and the disc presets.
    {"MpegMpeg1Mp2", "mpg", "-y -vcodec mpeg1video -b 2496k -r 25 -acodec mp2 -ac 2 -ab 160 -ar 44100 ",
     "MPEG-PS", "MPEG Video", "MPEG Audio", "MPEG-1 Video", "Layer 2"},
    {"MpegMpeg1Mp3", "mpg", "-y -vcodec mpeg1video -b 2496k -r 25 -acodec mp3 -ac 2 -ab 160 -ar 44100 ",
     "MPEG-PS", "MPEG Video", "MPEG Audio", "MPEG-1 Video", "Layer 3"},
    {"MpegMpeg2Mp2", "mpg", "-y -vcodec mpeg2video -b 2496k -r 25 -acodec mp2 -ac 2 -ab 160 -ar 44100 ",
     "MPEG-PS", "MPEG Video", "MPEG Audio", "MPEG-2 Video", "Layer 2"},
    {"MpegMpeg2Mp3", "mpg", "-y -vcodec mpeg2video -b 2496k -r 25 -acodec mp3 -ac 2 -ab 160 -ar 44100 ",
     "MPEG-PS", "MPEG Video", "MPEG Audio", "MPEG-2 Video", "Layer 3"},
    {"MpegFilmVcd", "mpg", "-target film-vcd ", "MPEG-PS", "MPEG Video", "MPEG Audio", "MPEG-1 Video",
     "Layer 2"},
    {"MpegNtscVcd", "mpg", "-target ntsc-vcd ", "MPEG-PS", "MPEG Video", "MPEG Audio", "MPEG-1 Video",
     "Layer 2"},
    {"MpegPalVcd", "mpg", "-target pal-vcd ", "MPEG-PS", "MPEG Video", "MPEG Audio", "MPEG-1 Video",
     "Layer 2"},
    {"MpegFilmSvcd", "mpg", "-target film-svcd ", "MPEG-PS", "MPEG Video", "MPEG Audio", "MPEG-2 Video",
     "Layer 2"},
    {"MpegNtscSvcd", "mpg", "-target ntsc-svcd ", "MPEG-PS", "MPEG Video", "MPEG Audio", "MPEG-2 Video",
     "Layer 2"},
    {"MpegPalSvcd", "mpg", "-target pal-svcd ", "MPEG-PS", "MPEG Video", "MPEG Audio", "MPEG-2 Video",
     "Layer 2"},
    {"MpegFilmDvd", "mpg", "-target film-dvd -b 6000k -aspect 16:9 -ab 384 ", "MPEG-PS", "MPEG Video", "AC-3",
     "MPEG-2 Video", "AC-3"},
    {"MpegNtscDvd", "mpg", "-target ntsc-dvd -b 4600k -aspect 1:1 -ab 320 ", "MPEG-PS", "MPEG Video", "AC-3",
     "MPEG-2 Video", "AC-3"},
    {"MpegDvdNoTarget", "mpg", "-b 6000k -aspect 4:3 ", "MPEG-PS", "MPEG Video", "MPEG Audio", "MPEG-1 Video",
     "Layer 2"},

    // MOV: every video and audio codec choice.
    {"MovSvq1Alaw", "mov", "-y -f mov -vcodec svq1 -b 1200k -r 25 -acodec pcm_alaw -ac 2 -ar 22050 ",
     "MPEG-4", "Sorenson 1", "ADPCM:alaw", "Sorensen Video 1", "A-Law"},
    {"MovDivxAmr", "mov", "-y -f mov -vcodec msmpeg4 -b 1200k -r 25 -acodec amr_nb -ac 1 -ar 8000 -ab 10 ",
     "MPEG-4", "MPEG-4 Visual", "AMR", "MPEG-4 Video", "AMR"},
    {"MovXvidPcm16le", "mov", "-y -f mov -vcodec xvid -b 1200k -r 25 -acodec pcm_s16le -ac 2 -ar 22050 ",
     "MPEG-4", "MPEG-4 Visual", "PCM:sowt", "MPEG-4 Video", "16-bit PCM"},
    {"MovH263Pcm16be", "mov",
     "-y -f mov -vcodec h263 -s 176x144 -b 1200k -r 25 -acodec pcm_s16be -ac 2 -ar 22050 ", "MPEG-4", "H.263",
     "PCM:twos", "H.26n", "16-bit PCM"},

    // WMV and ASF: every video codec choice.
    {"WmvMsMpeg4", "wmv", "-y -vcodec msmpeg4 -b 768k -r 25 -acodec mp3 -ac 2 -ar 22050 ", "Windows Media",
     "MP43", "MPEG Audio", "Microsoft MPEG-4 4.3", "MP3"},
    {"WmvMsMpeg4v2", "wmv", "-y -vcodec msmpeg4v2 -b 768k -r 25 -acodec mp3 -ac 2 -ar 22050 ",
     "Windows Media", "MP42", "MPEG Audio", "Microsoft MPEG-4 4.2", "MP3"},
    {"WmvWmv7", "wmv", "-y -vcodec wmv1 -b 768k -r 25 -acodec mp3 -ac 2 -ab 64 -ar 44100 ", "Windows Media",
     "WMV1", "MPEG Audio", "Windows Media Video 7", "MP3"},
    {"AsfMsMpeg4v2", "asf", "-y -f asf -vcodec msmpeg4v2 -b 768k -r 25 -acodec mp3 -ac 2 -ab 64 -ar 22050 ",
     "Windows Media", "MP42", "MPEG Audio", "Microsoft MPEG-4 4.2", "MP3"},

    // VOB with MPEG audio; RM with six channels.
    {"VobMp2", "vob",
     "-y -f vob -vcodec mpeg2video -s 720x576 -b 6000k -r 25 -aspect 5:4 -acodec mp2 -ac 2 -ab 384 -ar "
     "48000 ",
     "MPEG-PS", "MPEG Video", "MPEG Audio", "MPEG-2 Video", "Layer 2"},
    {"RmAc3Surround", "rm", "-y -f rm -vcodec rv10 -s 320x240 -b 768k -r 25 -acodec ac3 -ac 5:1 -ar 48000 ",
     "RealMedia", "RealVideo 1", "AC-3", "RealVideo 1.0", "AC-3"},

    // Audio formats: the other codec choices.
    {"AmrWideBand", "amr", "-y -f amr -vn -acodec amr_wb -ac 1 -ar 16000 -ab 24 ", "AMR", "", "AMR", "",
     "AMR-WB"},
    {"WavPcmU8", "wav", "-y -f wav -vn -acodec pcm_u8 -ac 1 -ar 12000 ", "Wave", "", "PCM", "", "WAV"},
    {"Ac3Surround", "ac3", "-y -f ac3 -vn -acodec ac3 -ac 5:1 -ar 48000 ", "AC-3", "", "AC-3", "", "AC-3"},

    // H.265 in MP4 and MOV, tagged hvc1 for Apple's players.
    {"Mp4H265", "mp4", "-y -f mp4 -vcodec hevc -crf 28 -preset faster -acodec aac -ac 2 -ab 128 -ar 44100 ",
     "MPEG-4", "HEVC:hvc1", "AAC", "H.265", "AAC"},
    {"MovH265", "mov", "-y -f mov -vcodec hevc -crf 28 -preset faster -ac 2 -ab 128 -ar 44100 ", "MPEG-4",
     "HEVC:hvc1", "AAC", "H.265", "AAC"},

    // The modern formats: every video and audio codec choice, by constant quality and by bit rate.
    {"MkvH264Aac", "mkv", "-y -f matroska -vcodec h264 -crf 23 -preset fast -acodec aac -ab 192 ", "Matroska",
     "AVC", "AAC", "H.264", "AAC"},
    {"MkvH265Flac", "mkv",
     "-y -f matroska -vcodec hevc -crf 22 -preset medium -acodec flac -compression_level 5 ", "Matroska",
     "HEVC", "FLAC", "H.265", "FLAC"},
    {"MkvAv1Opus", "mkv", "-y -f matroska -vcodec av1 -crf 35 -preset faster -acodec opus -ab 128 ",
     "Matroska", "AV1", "Opus", "AV1", "Opus"},
    {"MkvVp9Ac3Surround", "mkv",
     "-y -f matroska -vcodec vp9 -crf 33 -preset faster -acodec ac3 -ac 6 -ab 384 -ar 48000 ", "Matroska",
     "VP9", "AC-3", "VP9", "AC-3"},
    {"MkvH264BitRateMp3", "mkv",
     "-y -f matroska -vcodec h264 -b 1500k -preset ultrafast -acodec mp3 -ac 1 -ab 96 -ar 22050 ", "Matroska",
     "AVC", "MPEG Audio", "H.264", "MPEG-1 Layer 3"},
    {"MkvH265BitRate", "mkv", "-y -f matroska -vcodec hevc -s 320x240 -b 800k -preset ultrafast -an ",
     "Matroska", "HEVC", "", "H.265", ""},
    {"WebmVp9Opus", "webm", "-y -f webm -vcodec vp9 -crf 33 -preset faster -acodec opus -ab 128 ", "WebM",
     "VP9", "Opus", "VP9", "Opus"},
    {"WebmVp9BitRateVorbis", "webm",
     "-y -f webm -vcodec vp9 -s 320x240 -b 500k -preset ultrafast -acodec vorbis -ac 2 -ab 128 -ar 44100 ",
     "WebM", "VP9", "Vorbis", "VP9", "Vorbis"},
    {"WebmAv1Vorbis", "webm", "-y -f webm -vcodec av1 -b 600k -preset veryfast -acodec vorbis -aq 5 ", "WebM",
     "AV1", "Vorbis", "AV1", "Vorbis"},
    {"M4aAac", "m4a", "-y -f ipod -vn -acodec aac -ab 192 ", "MPEG-4", "", "AAC", "", "AAC"},
    {"M4aAlac", "m4a", "-y -f ipod -vn -acodec alac ", "MPEG-4", "", "ALAC", "", "ALAC"},
    {"Flac", "flac", "-y -f flac -vn -acodec flac -compression_level 5 ", "FLAC", "", "FLAC", "", "FLAC"},
    {"FlacCd", "flac", "-y -f flac -vn -acodec flac -ac 2 -compression_level 8 -abits 16 -ar 44100 ", "FLAC",
     "", "FLAC", "", "FLAC"},
    {"Opus", "opus", "-y -f opus -vn -acodec opus -ab 128 ", "Ogg", "", "Opus", "", "Opus"},
    {"OpusVoice", "opus", "-y -f opus -vn -acodec opus -ac 1 -ab 32 ", "Ogg", "", "Opus", "", "Opus"},
    {"OggQuality", "ogg", "-y -f ogg -vn -acodec vorbis -aq 5 ", "Ogg", "", "Vorbis", "", "Vorbis"},
    {"OggBitRate", "ogg", "-y -f ogg -vn -acodec vorbis -ac 2 -ab 128 -ar 44100 ", "Ogg", "", "Vorbis", "",
     "Vorbis"},
};

class EngineFormats : public EngineTest, public ::testing::WithParamInterface<FormatCase> {};

TEST_P(EngineFormats, ConvertsToAFileTheReadersKnow) {
    const FormatCase& c = GetParam();
    const QString output = Out(QString("out.") + c.extension);
    const EngineResult run = RunEngine(EngineArgs(Sources::Get().AudioVideo(), c.options, output));
    ASSERT_EQ(run.exitCode, 0) << run.text.toStdString();
    EXPECT_TRUE(run.ErrorLines().isEmpty()) << run.text.toStdString();

    const MediaInfoFacts info = ReadMediaInfo(output);
    ASSERT_TRUE(info.ok) << "MediaInfo could not read " << output.toStdString();
    EXPECT_EQ(info.general, c.container);
    if (*c.video) {
        // MediaInfo lists a Flash movie's stage as a video track of its own, so any track may match.
        ASSERT_FALSE(info.video.empty());
        EXPECT_TRUE(std::any_of(info.video.begin(), info.video.end(), [&](const Track& t) {
            return t.format.contains(c.video);
        })) << info.video.back().format.toStdString();
    } else {
        EXPECT_TRUE(info.video.empty());
    }
    if (*c.audio) {
        ASSERT_EQ(info.audio.size(), 1u);
        EXPECT_TRUE(info.audio[0].format.contains(c.audio)) << info.audio[0].format.toStdString();
    } else {
        EXPECT_TRUE(info.audio.empty());
    }

    if (c.gstAudio == nullptr) {
        return;
    }
    const GstFacts gst = Discover(output);
    ASSERT_TRUE(gst.ok) << gst.output.toStdString();
    // Exactly one video stream: a muxer that mislabels its stream shows up here as a phantom second one.
    ASSERT_EQ(gst.video.size(), *c.gstVideo ? 1 : 0) << gst.output.toStdString();
    if (*c.gstVideo) {
        EXPECT_TRUE(gst.video[0].contains(c.gstVideo)) << gst.output.toStdString();
    }
    if (*c.gstAudio) {
        ASSERT_FALSE(gst.audio.isEmpty()) << gst.output.toStdString();
        EXPECT_TRUE(gst.audio.join('|').contains(c.gstAudio)) << gst.output.toStdString();
    } else {
        EXPECT_TRUE(gst.audio.isEmpty()) << gst.output.toStdString();
    }
}

INSTANTIATE_TEST_SUITE_P(Table, EngineFormats, ::testing::ValuesIn(kCases),
                         [](const ::testing::TestParamInfo<FormatCase>& info) {
                             return std::string(info.param.name);
                         });

} // namespace
} // namespace avtest
