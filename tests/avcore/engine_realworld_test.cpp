// The kinds of file people really have, converted to the formats where they used to go wrong:
// phone videos stored turned round, pictures of another shape than the frame, large and fast
// pictures, sound that ends before the picture, music with a cover picture. FFprobe reads each
// result: the frame's shape, the picture's shape inside its black borders, the length, the cover;
// and FFmpeg decodes it to the end.
#include "engine_fixture.h"
#include "support/byte_files.h"

#include <QFileInfo>

#include <algorithm>
#include <cmath>
#include <functional>
#include <ostream>
#include <utility>

namespace avtest {
namespace {

const char* const kMp4 =
    "-y -f mp4 -vcodec h264 -s 320x240 -b 1200k -r 25 -acodec aac -ac 2 -ab 64 -ar 22050 ";
const char* const kTgp =
    "-y -f 3gp -vcodec h263 -s 176x144 -b 144k -r 12.5 -aspect 11:9 -acodec amr_nb -ac 1 -ar 8000 -ab 13 ";
const char* const kVob =
    "-y -f vob -vcodec mpeg2video -s 720x576 -b 6000k -r 25 -aspect 5:4 -acodec ac3 -ac 2 "
    "-ar 48000 -ab 384 ";
const char* const kMov = "-y -f mov -vcodec h264 -b 1200k -r 25 -ac 2 -ab 64 -ar 22050 ";
const char* const kRm = "-y -f rm -vcodec rv10 -b 768k -r 25 -acodec ac3 -ac 2 -ar 48000 -ab 256 ";
const char* const kMpeg = "-y -vcodec mpeg2video -b 2496k -r 25 -acodec ac3 -ac 2 -ar 48000 -ab 256 ";
const char* const kAvi = "-y -f avi -vcodec msmpeg4 -b 1080k -r 25 -acodec mp3 -ac 2 -ab 96 -ar 22050 ";
const char* const kPsp =
    "-y -f psp -vcodec h264 -s 320x240 -b 1200k -r 25 -acodec aac -ac 2 -ab 64 -ar 48000 ";
const char* const kMp3 = "-y -f mp3 -vn -acodec mp3 -ac 2 -ab 128 -ar 44100 ";
// The modern formats' defaults, at the fastest speed.
const char* const kMkvH265 = "-y -f matroska -vcodec hevc -crf 28 -preset ultrafast -acodec aac -ab 192 ";
const char* const kMp4H265 =
    "-y -f mp4 -vcodec hevc -crf 28 -preset ultrafast -acodec aac -ac 2 -ab 128 -ar 44100 ";
const char* const kWebm720 =
    "-y -f webm -vcodec vp9 -s 1280x720 -crf 32 -preset ultrafast -acodec opus -ac 2 -ab 96 ";
const char* const kMkvAv1 = "-y -f matroska -vcodec av1 -crf 35 -preset ultrafast -acodec opus -ab 128 ";
const char* const kM4a = "-y -f ipod -vn -acodec aac -ab 192 ";
const char* const kFlac = "-y -f flac -vn -acodec flac -compression_level 5 ";
const char* const kOpus = "-y -f opus -vn -acodec opus -ab 128 ";

constexpr double kWide = 16.0 / 9;
constexpr double kNarrow = 4.0 / 3;
constexpr double kTall = 9.0 / 16;

struct RealWorldCase {
    const char* name;
    std::function<QString(const QString& dir)> source;
    const char* extension;
    QString options;
    double frameShape;   // the output frame's shape as shown; 0 when it must have no picture
    double pictureShape; // the picture's shape inside the frame's black borders; 0: all black
    double length;       // seconds
    bool cover = false;  // keeps the source's cover picture as its own
    double maxFrameRate = 0;
    const char* failure = nullptr; // words of the error line when the conversion must fail
};
// Test listings and failure messages show the case by its name.
void PrintTo(const RealWorldCase& c, std::ostream* os) {
    *os << c.name;
}

template <QString (Sources::*Source)() const> QString From(const QString&) {
    return (Sources::Get().*Source)();
}

// A download cut short: a real video of 7.8 s, 45% of its bytes.
QString CutVideo(const QString& dir) {
    const QString sample = QStringLiteral(VARID_MEDIA_DIR "/rabbit320.mp4");
    const QString cut = dir + "/cut.mp4";
    EXPECT_TRUE(WriteCutCopy(sample, cut, QFileInfo(sample).size() * 45 / 100));
    return cut;
}

// A WAV file that holds no sound: its header says 0 bytes of samples.
QString EmptySound(const QString& dir) {
    const QString path = dir + "/empty.wav";
    const QByteArray header(
        "RIFF\x24\0\0\0WAVEfmt \x10\0\0\0\x01\0\x02\0\x44\xac\0\0\x10\xb1\x02\0\x04\0\x10\0data\0\0\0\0", 44);
    EXPECT_TRUE(WriteByteNamedFile(QFile::encodeName(path), header));
    return path;
}

const RealWorldCase kCases[] = {
    // Phone videos are shown upright and whole: in a fixed frame between black borders, in a
    // frame of their own size standing up.
    {"PortraitIntoH263Frame", From<&Sources::Portrait>, "3gp", kTgp, 11.0 / 9, kTall, 1},
    {"PortraitIntoFixedMp4Frame", From<&Sources::Portrait>, "mp4", kMp4, kNarrow, kTall, 1},
    {"PortraitIntoVobFrame", From<&Sources::Portrait>, "vob", kVob, 720.0 / 576, kTall, 1},
    {"PortraitOntoDvd", From<&Sources::Portrait>, "mpg", "-target pal-dvd -b 6000k -ab 384 ", kNarrow, kTall,
     1},
    {"PortraitKeepsItsOwnSize", From<&Sources::Portrait>, "mov", kMov, kTall, kTall, 1},
    // Other shapes than the frame's, and the shape the profile asks for.
    {"WideIntoNarrowFrame", From<&Sources::Wide>, "mp4", kMp4, kNarrow, kWide, 1},
    {"NarrowIntoWideFrame", From<&Sources::Narrow>, "vob",
     QString(kVob).replace("-aspect 5:4", "-aspect 16:9"), kWide, kNarrow, 1},
    {"WidePixelsWhereNoPixelShapeIsStored", From<&Sources::Anamorphic>, "rm", kRm, kWide, kWide, 1},
    // A film in Matroska: the engine reads it with FFmpeg's libraries, closes them, and ends well.
    {"MkvFilmIntoMp4", From<&Sources::MkvFilm>, "mp4", kMp4, kNarrow, kNarrow, 1},
    // Limits of the formats: packet size, picture size, frame rate.
    {"DetailedHdIntoRealMediaPackets", From<&Sources::FastHd>, "rm", kRm, kWide, kWide, 0.25},
    {"FastHdIntoH263FrameRate", From<&Sources::FastHd>, "3gp", QString(kTgp).replace("-r 12.5", "-r 60"),
     11.0 / 9, kWide, 0.25, false, 30},
    {"UhdIntoMpeg2", From<&Sources::Uhd>, "mpg", kMpeg, 4096.0 / 2160, 4096.0 / 2160, 0.08},
    {"UhdIntoH263Plus", From<&Sources::Uhd>, "avi", "-y -f avi -vcodec h263p -b 1080k -r 25 -an ",
     4096.0 / 2160, 4096.0 / 2160, 0.08},
    {"UhdIntoSorensonVideo", From<&Sources::Uhd>, "mov",
     "-y -f mov -vcodec svq1 -b 1200k -r 25 -acodec pcm_alaw -ac 2 -ar 22050 ", 4096.0 / 2160, 4096.0 / 2160,
     0.08},
    // The length held to is that of the streams taken: the sound alone for a sound format, the
    // longest stream for a video format; a file cut short still fails.
    {"ShortSoundIntoSoundFormat", From<&Sources::ShortSound>, "mp3", kMp3, 0, 0, 0.5},
    {"ShortSoundIntoVideoFormat", From<&Sources::ShortSound>, "avi", kAvi, kNarrow, kNarrow, 2},
    {"CutVideoIntoSoundFormat", CutVideo, "mp3", kMp3, 0, 0, 0, false, 0, "ended early"},
    // A cover is shown as a still picture for the length of the sound, or kept as a cover.
    {"CoverIntoVideoFormat", From<&Sources::CoverArt>, "mp4", kMp4, kNarrow, 1, 1},
    {"CoverIntoVideoTimeWindow", From<&Sources::CoverArt>, "vob",
     QString(kVob).replace("-f vob ", "-f vob  -t 0:00:00.500 -ss 0:00:00.300 "), 720.0 / 576, 1, 0.5},
    {"CoverStaysACoverInMp3", From<&Sources::CoverArt>, "mp3", kMp3, 0, 0, 1, true},
    // A container that holds only pictures with sound gets silence or a black picture.
    {"PictureOnlyIntoPsp", From<&Sources::VideoOnly>, "mp4", kPsp, kNarrow, 11.0 / 9, 1},
    {"SoundOnlyIntoPsp", From<&Sources::AudioOnly>, "mp4", kPsp, kNarrow, 0, 1},
    // The modern formats: the same shapes, limits, lengths and covers.
    {"PortraitKeepsItsOwnSizeInMkvH265", From<&Sources::Portrait>, "mkv", kMkvH265, kTall, kTall, 1},
    {"PortraitKeepsItsOwnSizeInMp4H265", From<&Sources::Portrait>, "mp4", kMp4H265, kTall, kTall, 1},
    {"NarrowIntoWebmWideFrame", From<&Sources::Narrow>, "webm", kWebm720, kWide, kNarrow, 1},
    {"WidePixelsKeptInMkv", From<&Sources::Anamorphic>, "mkv", kMkvAv1, kWide, kWide, 1},
    {"UhdIntoWebm", From<&Sources::Uhd>, "webm",
     "-y -f webm -vcodec vp9 -crf 40 -preset ultrafast -acodec opus -ab 96 ", 4096.0 / 2160, 4096.0 / 2160,
     0.08},
    {"CoverIntoMkv", From<&Sources::CoverArt>, "mkv", kMkvH265, 1, 1, 1, false, 25},
    {"CoverIntoMkvAv1", From<&Sources::CoverArt>, "mkv", kMkvAv1, 1, 1, 1, false, 25},
    {"CoverStaysACoverInM4a", From<&Sources::CoverArt>, "m4a", kM4a, 0, 0, 1, true},
    {"CoverStaysACoverInFlac", From<&Sources::CoverArt>, "flac", kFlac, 0, 0, 1, true},
    {"CoverLeftOutOfOpus", From<&Sources::CoverArt>, "opus", kOpus, 0, 0, 1},
    {"ShortSoundIntoFlac", From<&Sources::ShortSound>, "flac", kFlac, 0, 0, 0.5},
    {"CutVideoIntoOpus", CutVideo, "opus", kOpus, 0, 0, 0, false, 0, "ended early"},
    // A source with nothing in it fails in every format, also where the encoder writes a header
    // of its own (AAC, Opus, Vorbis, FLAC) and FFmpeg leaves a file with nothing to play.
    {"EmptySoundIntoMp3", EmptySound, "mp3", kMp3, 0, 0, 0, false, 0, "gave no audio or video data"},
    {"EmptySoundIntoM4a", EmptySound, "m4a", kM4a, 0, 0, 0, false, 0, "gave no audio or video data"},
    {"EmptySoundIntoMkv", EmptySound, "mkv", kMkvAv1, 0, 0, 0, false, 0, "gave no audio or video data"},
    {"EmptySoundIntoOpus", EmptySound, "opus", kOpus, 0, 0, 0, false, 0, "gave no audio or video data"},
    {"EmptySoundIntoFlac", EmptySound, "flac", kFlac, 0, 0, 0, false, 0, "gave no audio or video data"},
};

class EngineRealWorld : public EngineTest, public ::testing::WithParamInterface<RealWorldCase> {};

TEST_P(EngineRealWorld, ConvertsInItsTrueShapeAndLength) {
    const RealWorldCase& c = GetParam();
    const QString output = Out(QString("out.") + c.extension);
    const EngineResult run = RunEngine(EngineArgs(c.source(dir_.path()), c.options, output));
    if (c.failure) {
        EXPECT_NE(run.exitCode, 0) << run.text.toStdString();
        EXPECT_TRUE(run.LastLine().contains(c.failure)) << run.text.toStdString();
        EXPECT_FALSE(QFileInfo::exists(output));
        return;
    }
    ASSERT_EQ(run.exitCode, 0) << run.text.toStdString();
    EXPECT_TRUE(run.ErrorLines().isEmpty()) << run.text.toStdString();

    const ProbedFile out = Probe(output);
    ASSERT_TRUE(out.ok);
    const ProbedStream* film = out.Film();
    if (c.frameShape > 0) {
        ASSERT_NE(film, nullptr) << run.text.toStdString();
        EXPECT_NEAR(film->Shape(), c.frameShape, c.frameShape * 0.02)
            << film->width << "x" << film->height << " pixel shape " << film->pixelShape;
        // A few pixels of rounding in a small frame, no more.
        EXPECT_NEAR(PictureShape(output), c.pictureShape, c.pictureShape * 0.05 + 0.01)
            << run.text.toStdString();
        if (c.maxFrameRate > 0) {
            EXPECT_LE(film->frameRate, c.maxFrameRate);
        }
    } else {
        EXPECT_EQ(film, nullptr);
    }
    EXPECT_EQ(out.Cover() != nullptr, c.cover);
    // The container's length where it states one, else the longest stream's.
    double length = out.duration;
    for (const auto& s : out.streams) {
        length = std::max(length, s.cover ? 0 : s.duration);
    }
    EXPECT_NEAR(length, c.length, 0.1 + c.length * 0.05);
    if (film) {
        EXPECT_NEAR(film->duration, c.length, 0.1 + c.length * 0.05)
            << "the picture lasts as long as the file";
    }
    // The converter measures progress against the engine's duration line: without a time window
    // it states the length the output will have, so the bar ends when the conversion does.
    if (!c.options.contains(QLatin1String(" -t "))) {
        const QString mark = QStringLiteral("  Duration: ");
        const auto line = std::find_if(run.lines.begin(), run.lines.end(),
                                       [&](const QString& l) { return l.startsWith(mark); });
        ASSERT_NE(line, run.lines.end()) << run.text.toStdString();
        const QStringList clock =
            line->mid(mark.size()).section(QLatin1Char(','), 0, 0).split(QLatin1Char(':'));
        ASSERT_EQ(clock.size(), 3) << line->toStdString();
        const double stated = clock[0].toDouble() * 3600 + clock[1].toDouble() * 60 + clock[2].toDouble();
        EXPECT_NEAR(stated, c.length, 0.1 + c.length * 0.05) << line->toStdString();
    }
    QString log;
    EXPECT_TRUE(DecodesCleanly(output, &log)) << log.toStdString();
}

INSTANTIATE_TEST_SUITE_P(Sources, EngineRealWorld, ::testing::ValuesIn(kCases),
                         [](const ::testing::TestParamInfo<RealWorldCase>& info) {
                             return std::string(info.param.name);
                         });

// Camcorder footage: every picture woven of two fields. Each output holds whole pictures, at the
// source's size and scaled down; a source of whole pictures gets no deinterlacing filter.
TEST_F(EngineTest, InterlacedFootageBecomesWholePictures) {
    const QString source = Sources::Get().Interlaced();
    const CombCount before = CountCombs(source);
    ASSERT_GT(before.interlaced, 15) << "the test source is not interlaced";
    for (const auto& [options, extension] :
         {std::pair{kVob, "vob"}, std::pair{kMov, "mov"}, std::pair{kMp4, "mp4"}}) {
        SCOPED_TRACE(options);
        const QString output = Out(QString("out.") + extension);
        const EngineResult run = RunEngine(EngineArgs(source, options, output));
        ASSERT_EQ(run.exitCode, 0) << run.text.toStdString();
        const CombCount after = CountCombs(output);
        EXPECT_EQ(after.interlaced, 0) << after.progressive << " whole pictures";
        EXPECT_GT(after.progressive, 15);
    }
    const EngineResult wide =
        RunEngine(EngineArgs(Sources::Get().Wide(), kVob, Out("wide.vob")), {"VARID_AVCORE_DRY_RUN=1"});
    ASSERT_EQ(wide.exitCode, 0) << wide.text.toStdString();
    EXPECT_FALSE(wide.text.contains(QStringLiteral("bwdif"))) << wide.text.toStdString();
}

// The engine reads a source with FFmpeg's libraries in its own process. FFprobe, chosen with
// VARID_FFPROBE, reads the same facts: for every kind of source both plan the same conversion.
TEST_F(EngineTest, ReadsEverySourceAsFfprobeDoes) {
    const Sources& s = Sources::Get();
    const QStringList sources = {s.AudioVideo(),
                                 s.VideoOnly(),
                                 s.AudioOnly(),
                                 s.Portrait(),
                                 s.Wide(),
                                 s.Narrow(),
                                 s.Anamorphic(),
                                 s.FastHd(),
                                 s.Uhd(),
                                 s.ShortSound(),
                                 s.CoverArt(),
                                 s.Interlaced(),
                                 QStringLiteral(VARID_MEDIA_DIR "/again.mkv"),
                                 QStringLiteral(VARID_MEDIA_DIR "/frog.mp4"),
                                 QStringLiteral(VARID_MEDIA_DIR "/viper.ogg")};
    for (const QString& source : sources) {
        for (const char* options : {kMp4, kTgp, kMp3}) {
            SCOPED_TRACE(
                (QFileInfo(source).fileName() + QLatin1Char(' ') + QLatin1String(options)).toStdString());
            const QStringList args = EngineArgs(source, QLatin1String(options), Out(QStringLiteral("out")));
            const EngineResult inProcess = RunEngine(args, {"VARID_AVCORE_DRY_RUN=1"});
            const EngineResult withFfprobe =
                RunEngine(args, {"VARID_AVCORE_DRY_RUN=1", "VARID_FFPROBE=ffprobe"});
            ASSERT_EQ(inProcess.exitCode, 0) << inProcess.text.toStdString();
            EXPECT_EQ(inProcess.lines, withFfprobe.lines);
        }
    }
}

} // namespace
} // namespace avtest
