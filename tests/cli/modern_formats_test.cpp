// The modern formats end to end: every shipped profile of MKV, WebM, M4A, FLAC, Opus and OGG and the
// H.265 profiles of MP4 and MOV convert a short clip or a tagged song through varid-convert into
// their container and codecs, as long as the source, as FFmpeg's reader and MediaInfo both see it;
// the song's tags and cover survive; FLAC keeps the samples of a PCM source.
#include "cli_fixture.h"

#include "profiles/catalogue.h"

#include <QDir>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QRegularExpression>

#include <cmath>

namespace {

using S = QString;

QString RunTool(const QString& program, const QStringList& args, int* exitCode = nullptr) {
    QProcess p;
    p.start(program, args);
    EXPECT_TRUE(p.waitForFinished(120000)) << program.toStdString();
    if (exitCode)
        *exitCode = p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1;
    return QString::fromUtf8(p.readAllStandardOutput());
}

// What FFmpeg's reader says of a file: the container, and per stream kind the codec, its tag and
// whether it is a cover picture.
struct Probe {
    QString container;
    double seconds = 0;
    QStringList video, videoTags, audio, covers;
    QJsonObject tags;
};

Probe FfProbe(const QString& path) {
    const QJsonObject root =
        QJsonDocument::fromJson(RunTool(S("ffprobe"), {S("-v"), S("error"), S("-print_format"), S("json"),
                                                       S("-show_format"), S("-show_streams"), path})
                                    .toUtf8())
            .object();
    Probe probe;
    const QJsonObject format = root.value(S("format")).toObject();
    probe.container = format.value(S("format_name")).toString();
    probe.seconds = format.value(S("duration")).toString().toDouble();
    probe.tags = format.value(S("tags")).toObject();
    for (const QJsonValue& value : root.value(S("streams")).toArray()) {
        const QJsonObject stream = value.toObject();
        const QString codec = stream.value(S("codec_name")).toString();
        if (stream.value(S("codec_type")).toString() == S("audio")) {
            probe.audio << codec;
        } else if (stream.value(S("disposition")).toObject().value(S("attached_pic")).toInt() == 1) {
            probe.covers << codec;
        } else if (stream.value(S("codec_type")).toString() == S("video")) {
            probe.video << codec;
            probe.videoTags << stream.value(S("codec_tag_string")).toString();
        }
    }
    return probe;
}

// What MediaInfo says: the container's format, the formats of the video and audio tracks, and the
// general track's tags.
struct Info {
    QString container;
    QStringList video, audio;
    QJsonObject general;
};

Info MediaInfo(const QString& path) {
    const QJsonArray tracks =
        QJsonDocument::fromJson(RunTool(S("mediainfo"), {S("--Output=JSON"), path}).toUtf8())
            .object()
            .value(S("media"))
            .toObject()
            .value(S("track"))
            .toArray();
    Info info;
    for (const QJsonValue& value : tracks) {
        const QJsonObject track = value.toObject();
        const QString type = track.value(S("@type")).toString();
        const QString format = track.value(S("Format")).toString();
        if (type == S("General")) {
            info.container = format;
            info.general = track;
        } else if (type == S("Video")) {
            info.video << format;
        } else if (type == S("Audio")) {
            info.audio << format;
        }
    }
    return info;
}

enum class Source { Clip, Song };

struct ProfileCase {
    const char* format; // as varid-convert takes it
    const char* profile;
    const char* container;     // FFmpeg's format name (its reader's list of names)
    const char* videoCodec;    // FFmpeg's codec name; "" for none
    const char* videoTag;      // the codec tag FFmpeg reads; "" for any
    const char* audioCodec;    // FFmpeg's codec name
    const char* infoContainer; // MediaInfo's names of the same
    const char* infoVideo;
    const char* infoAudio;
};
void PrintTo(const ProfileCase& c, std::ostream* os) {
    *os << c.format << " " << c.profile;
}

const ProfileCase kProfiles[] = {
    {"MP4", "H.265 (HEVC) Constant Quality", "mov,mp4", "hevc", "hvc1", "aac", "MPEG-4", "HEVC", "AAC"},
    {"MOV", "H.265 (HEVC) for Apple", "mov,mp4", "hevc", "hvc1", "aac", "MPEG-4", "HEVC", "AAC"},
    {"MKV", "Default", "matroska", "h264", "", "aac", "Matroska", "AVC", "AAC"},
    {"MKV", "H.265 Archive with FLAC", "matroska", "hevc", "", "flac", "Matroska", "HEVC", "FLAC"},
    {"MKV", "AV1 with Opus", "matroska", "av1", "", "opus", "Matroska", "AV1", "Opus"},
    {"WEBM", "Default", "matroska,webm", "vp9", "", "opus", "WebM", "VP9", "Opus"},
    {"WEBM", "Web 720p", "matroska,webm", "vp9", "", "opus", "WebM", "VP9", "Opus"},
    {"WEBM", "AV1 with Opus", "matroska,webm", "av1", "", "opus", "WebM", "AV1", "Opus"},
    {"M4A", "Default", "mov,mp4", "", "", "aac", "MPEG-4", "", "AAC"},
    {"M4A", "AAC 256 kbps", "mov,mp4", "", "", "aac", "MPEG-4", "", "AAC"},
    {"M4A", "Apple Lossless (ALAC)", "mov,mp4", "", "", "alac", "MPEG-4", "", "ALAC"},
    {"FLAC", "Default", "flac", "", "", "flac", "FLAC", "", "FLAC"},
    {"FLAC", "Stereo CD Quality 16 bit 44100 Hz", "flac", "", "", "flac", "FLAC", "", "FLAC"},
    {"OPUS", "Default", "ogg", "", "", "opus", "Ogg", "", "Opus"},
    {"OPUS", "Music 192 kbps", "ogg", "", "", "opus", "Ogg", "", "Opus"},
    {"OPUS", "Voice 32 kbps Mono", "ogg", "", "", "opus", "Ogg", "", "Opus"},
    {"OGG", "Default", "ogg", "", "", "vorbis", "Ogg", "", "Vorbis"},
    {"OGG", "High Quality 8", "ogg", "", "", "vorbis", "Ogg", "", "Vorbis"},
    {"OGG", "Bitrate 128 kbps", "ogg", "", "", "vorbis", "Ogg", "", "Vorbis"},
};

// The song's tags as FFmpeg writes them, and as MediaInfo names them.
const std::pair<const char*, const char*> kSongTags[] = {
    {"title", "Horned Serpent"}, {"artist", "The Testers"}, {"album", "Short Sounds"}, {"date", "2021"},
    {"genre", "Rock"},           {"track", "3/12"},
};
const std::pair<const char*, const char*> kInfoTags[] = {
    {"Title", "Horned Serpent"}, {"Performer", "The Testers"},
    {"Album", "Short Sounds"},   {"Recorded_Date", "2021"},
    {"Genre", "Rock"},           {"Track_Position", "3"},
};

// Sources made once for the whole program: a clip (video and stereo sound) and a song (MP3 with
// tags and a cover), each two seconds long.
class Sources {
  public:
    static const Sources& Get() {
        static const Sources sources;
        return sources;
    }
    QString clip() const { return m_dir.filePath(S("clip.mp4")); }
    QString song() const { return m_dir.filePath(S("song.mp3")); }

  private:
    Sources() {
        int code = -1;
        RunTool(S("ffmpeg"),
                {S("-v"),
                 S("error"),
                 S("-y"),
                 S("-f"),
                 S("lavfi"),
                 S("-i"),
                 S("testsrc=size=320x240:rate=25:duration=2"),
                 S("-f"),
                 S("lavfi"),
                 S("-i"),
                 S("sine=frequency=440:duration=2"),
                 S("-ac"),
                 S("2"),
                 S("-c:v"),
                 S("libx264"),
                 S("-preset"),
                 S("ultrafast"),
                 S("-pix_fmt"),
                 S("yuv420p"),
                 clip()},
                &code);
        EXPECT_EQ(code, 0) << "FFmpeg could not make the clip";
        QStringList song = {S("-v"),
                            S("error"),
                            S("-y"),
                            S("-f"),
                            S("lavfi"),
                            S("-i"),
                            S("sine=frequency=440:duration=2"),
                            S("-f"),
                            S("lavfi"),
                            S("-i"),
                            S("testsrc=size=96x96:rate=1:duration=1"),
                            S("-frames:v"),
                            S("1"),
                            S("-map"),
                            S("0:a"),
                            S("-map"),
                            S("1:v"),
                            S("-c:a"),
                            S("libmp3lame"),
                            S("-c:v"),
                            S("mjpeg"),
                            S("-disposition:v"),
                            S("attached_pic")};
        for (const auto& [key, value] : kSongTags)
            song << S("-metadata") << S("%1=%2").arg(QLatin1String(key), QString::fromUtf8(value));
        RunTool(S("ffmpeg"), song << this->song(), &code);
        EXPECT_EQ(code, 0) << "FFmpeg could not make the song";
    }
    QTemporaryDir m_dir;
};

class ModernFormatsTest : public TCliFixture {
  protected:
    // Converts a source with a profile; the output file, or "" when the conversion failed.
    QString convertWith(const char* format, const char* profile, const QString& source) {
        const TCliResult r = convert({S("--format"), S::fromLatin1(format), S("--profile"),
                                      S::fromUtf8(profile), S("--output"), S("out"), source});
        EXPECT_EQ(r.exitCode, 0) << r.out.toStdString() << r.err.toStdString();
        const QStringList made = QDir(work.filePath(S("out"))).entryList(QDir::Files);
        EXPECT_EQ(made.size(), 1) << made.join(S(", ")).toStdString();
        return made.size() == 1 ? work.filePath(S("out/") + made.first()) : QString();
    }
    // Empties the output folder, so that the next conversion's file is the only one.
    void clearOutput() { QDir(work.filePath(S("out"))).removeRecursively(); }
};

class ShippedModernProfiles : public ModernFormatsTest, public ::testing::WithParamInterface<ProfileCase> {};

TEST_P(ShippedModernProfiles, ConvertIntoTheirContainerAndCodecsAsLongAsTheSource) {
    const ProfileCase& c = GetParam();
    const bool video = *c.videoCodec != 0;
    const QString source = video ? Sources::Get().clip() : Sources::Get().song();
    const QString output = convertWith(c.format, c.profile, source);
    ASSERT_FALSE(output.isEmpty());

    const Probe probe = FfProbe(output);
    EXPECT_TRUE(probe.container.startsWith(S::fromLatin1(c.container))) << probe.container.toStdString();
    EXPECT_EQ(probe.video, video ? QStringList{S::fromLatin1(c.videoCodec)} : QStringList());
    if (*c.videoTag) {
        EXPECT_EQ(probe.videoTags, QStringList{S::fromLatin1(c.videoTag)});
    }
    EXPECT_EQ(probe.audio, QStringList{S::fromLatin1(c.audioCodec)});
    EXPECT_NEAR(probe.seconds, FfProbe(source).seconds, 0.1);

    const Info info = MediaInfo(output);
    EXPECT_EQ(info.container, S::fromLatin1(c.infoContainer));
    EXPECT_EQ(info.video, video ? QStringList{S::fromLatin1(c.infoVideo)} : QStringList());
    EXPECT_EQ(info.audio, QStringList{S::fromLatin1(c.infoAudio)});
    // Every song profile keeps the tags, and those of M4A and FLAC the cover, whatever its codec,
    // sample size or channels.
    if (!video) {
        EXPECT_EQ(info.general.value(S("Title")).toString(), S("Horned Serpent"));
        EXPECT_EQ(info.general.value(S("Album")).toString(), S("Short Sounds"));
        const bool cover = qstrcmp(c.format, "M4A") == 0 || qstrcmp(c.format, "FLAC") == 0;
        EXPECT_EQ(probe.covers, cover ? QStringList{S("mjpeg")} : QStringList());
    }
}

INSTANTIATE_TEST_SUITE_P(Profiles, ShippedModernProfiles, ::testing::ValuesIn(kProfiles),
                         [](const ::testing::TestParamInfo<ProfileCase>& info) {
                             QString name =
                                 S::fromLatin1(info.param.format) + S("_") + S::fromUtf8(info.param.profile);
                             name.replace(QRegularExpression(S("[^A-Za-z0-9]+")), S("_"));
                             return name.toStdString();
                         });

// The table above names every shipped profile of the modern formats: a profile added later is
// converted here too.
TEST_F(ModernFormatsTest, TheTableListsEveryShippedModernProfile) {
    for (int format = 16; format < FormatCount; ++format) {
        QStringList listed;
        for (const ProfileCase& c : kProfiles) {
            if (FormatInfo(format)->Format.compare(S::fromLatin1(c.format), Qt::CaseInsensitive) == 0)
                listed << S::fromUtf8(c.profile);
        }
        QStringList shipped = ProfileNames(format);
        shipped.sort();
        listed.sort();
        EXPECT_EQ(listed, shipped) << FormatInfo(format)->Format.toStdString();
    }
}

// Every format that holds tags keeps the song's; MP3, M4A and FLAC keep its cover as well.
TEST_F(ModernFormatsTest, TagsAndCoverSurvive) {
    const struct {
        const char* format;
        bool cover;
    } formats[] = {{"MP3", true}, {"M4A", true}, {"FLAC", true}, {"OPUS", false}, {"OGG", false}};
    for (const auto& f : formats) {
        SCOPED_TRACE(f.format);
        const QString output = convertWith(f.format, "Default", Sources::Get().song());
        ASSERT_FALSE(output.isEmpty());
        const Info info = MediaInfo(output);
        // A track number may keep its total ("3/12"), as Vorbis comments do.
        for (const auto& [key, value] : kInfoTags)
            EXPECT_EQ(info.general.value(S::fromLatin1(key)).toString().section(QLatin1Char('/'), 0, 0),
                      S::fromUtf8(value))
                << key;
        EXPECT_EQ(info.general.value(S("Cover")).toString(), f.cover ? S("Yes") : S()) << f.format;
        const Probe probe = FfProbe(output);
        EXPECT_EQ(probe.covers, f.cover ? QStringList{S("mjpeg")} : QStringList());
        EXPECT_TRUE(probe.video.isEmpty());
        clearOutput();
    }
}

// An Ogg song keeps its tags with its sound rather than in the file; they reach the other formats
// all the same.
TEST_F(ModernFormatsTest, TagsOfAnOggSongReachTheOtherFormats) {
    for (const char* format : {"MP3", "M4A", "FLAC", "OPUS"}) {
        SCOPED_TRACE(format);
        const QString output = convertWith(format, "Default", media + S("viper.ogg"));
        ASSERT_FALSE(output.isEmpty());
        const Info info = MediaInfo(output);
        EXPECT_EQ(info.general.value(S("Title")).toString(), S("Horned Viper"));
        EXPECT_EQ(info.general.value(S("Performer")).toString(), S("Conquest Of Steel"));
        EXPECT_EQ(info.general.value(S("Album")).toString(), S("Of Fire And Steel"));
        clearOutput();
    }
}

// FLAC's Default profile keeps every sample of a PCM source, at 16 and at 24 bits: both decode to
// the same 32-bit PCM.
TEST_F(ModernFormatsTest, FlacDefaultIsBitExact) {
    for (const char* sampleFormat : {"s16", "s32"}) {
        SCOPED_TRACE(sampleFormat);
        const QString wav = work.filePath(S("pcm_%1.wav").arg(QLatin1String(sampleFormat)));
        int code = -1;
        RunTool(S("ffmpeg"),
                {S("-v"), S("error"), S("-y"), S("-f"), S("lavfi"), S("-i"),
                 S("aevalsrc=0.6*sin(440*2*PI*t)|0.3*random(0):s=48000:d=1.5,aformat=sample_fmts=%1")
                     .arg(QLatin1String(sampleFormat)),
                 S("-c:a"), S(qstrcmp(sampleFormat, "s16") == 0 ? "pcm_s16le" : "pcm_s24le"), wav},
                &code);
        ASSERT_EQ(code, 0);
        const QString flac = convertWith("FLAC", "Default", wav);
        ASSERT_FALSE(flac.isEmpty());
        const auto md5 = [](const QString& file) {
            return RunTool(S("ffmpeg"), {S("-v"), S("error"), S("-i"), file, S("-map"), S("0:a"), S("-c:a"),
                                         S("pcm_s32le"), S("-f"), S("md5"), S("-")})
                .trimmed();
        };
        EXPECT_TRUE(md5(wav).startsWith(S("MD5=")));
        EXPECT_EQ(md5(flac), md5(wav));
        clearOutput();
    }
}

} // namespace
