// The lines the converter reads from the engine, and the failures it must report.
#include "engine_fixture.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>

#include <functional>
#include <ostream>
#include <sys/stat.h>
#include <unistd.h>

namespace avtest {
namespace {

const QString kDefaultAvi = "-y -f avi -vcodec msmpeg4 -b 1080k -r 25 -acodec mp3 -ac 2 -ab 96 -ar 22050 ";

TEST_F(EngineTest, WritesInputOutputDurationAndProgressLines) {
    const QString input = Sources::Get().AudioVideo();
    const QString output = Out("a.avi");
    const EngineResult run = RunEngine(EngineArgs(input, kDefaultAvi, output));
    ASSERT_EQ(run.exitCode, 0) << run.text.toStdString();
    EXPECT_FALSE(run.text.contains('\r'));

    EXPECT_TRUE(run.lines.contains(
        QRegularExpression("^Input #0, .*from '" + QRegularExpression::escape(input) + "':$")))
        << run.text.toStdString();
    EXPECT_TRUE(run.lines.contains(
        QRegularExpression("^Output #0, avi, to '" + QRegularExpression::escape(output) + "':$")));
    EXPECT_TRUE(run.lines.contains(QRegularExpression(R"(^  Duration: 00:00:0[01]\.\d\d,.*)")));

    // Progress: size in kB, the time in seconds with a fraction, the bit rate in kbit/s.
    static const QRegularExpression progress(R"(size=\s*(\d+)kB time=(\d+\.\d+) bitrate=\s*[\d.]+kbits/s)");
    double lastTime = -1;
    for (const QString& line : run.lines) {
        const auto match = progress.match(line);
        if (match.hasMatch()) {
            lastTime = match.captured(2).toDouble();
        }
        EXPECT_FALSE(line.contains(QRegularExpression(R"(time=\d+:)"))) << line.toStdString();
    }
    EXPECT_NEAR(lastTime, 1.0, 0.1) << run.text.toStdString();
    EXPECT_TRUE(run.ErrorLines().isEmpty());
}

TEST_F(EngineTest, TimeWindowConvertsOnlyThePartAsked) {
    const QString output = Out("part.wav");
    const EngineResult run = RunEngine(EngineArgs(
        Sources::Get().AudioVideo(),
        "-y -f wav  -t 0:00:00.400 -ss 0:00:00.300 -vn -acodec pcm_s16le -ac 2 -ar 44100 ", output));
    ASSERT_EQ(run.exitCode, 0) << run.text.toStdString();
    EXPECT_NEAR(ReadMediaInfo(output).duration.toDouble(), 0.4, 0.05);
}

TEST_F(EngineTest, AviSynthScriptConvertsTheSourceItNames) {
    const QString script = Out("DirectShow.avs");
    QFile file(script);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(("DirectShowSource(\"" + Sources::Get().AudioVideo() + "\", fps=25)\r\n").toUtf8());
    file.close();
    const QString output = Out("from-script.mp3");
    const EngineResult run =
        RunEngine(EngineArgs(script, "-y -f mp3 -vn -acodec mp3 -ac 2 -ab 128 -ar 44100 ", output));
    ASSERT_EQ(run.exitCode, 0) << run.text.toStdString();
    EXPECT_EQ(ReadMediaInfo(output).general, "MPEG Audio");
}

TEST_F(EngineTest, SameQualityAndAudioWithoutCodecConvert) {
    // -sameq is gone from FFmpeg; the engine must still honour it (here with the codec's bit rate too).
    const QString output = Out("sameq.mov");
    const EngineResult run =
        RunEngine(EngineArgs(Sources::Get().AudioVideo(),
                             "-y -f mov -sameq -vcodec xvid -b 1200k -r 25 -ac 2 -ab 64 -ar 22050 ", output));
    ASSERT_EQ(run.exitCode, 0) << run.text.toStdString();
    const MediaInfoFacts info = ReadMediaInfo(output);
    ASSERT_EQ(info.audio.size(), 1u);
    EXPECT_TRUE(info.audio[0].format.startsWith("AAC"));
    EXPECT_EQ(info.audio[0].samplingRate, "22050");
}

// Opus takes five-one sound only in its own channel order; the "side" five-one of most films is laid
// out anew, not refused.
TEST_F(EngineTest, SideSurroundBecomesOpusSurround) {
    const QString source = Out("side.ac3");
    QProcess ffmpeg;
    ffmpeg.start("ffmpeg", {"-v", "error", "-y", "-f", "lavfi", "-i",
                            "sine=duration=1,aformat=channel_layouts=5.1(side)", "-c:a", "ac3", source});
    ASSERT_TRUE(ffmpeg.waitForFinished(60000) && ffmpeg.exitCode() == 0);
    for (const char* format : {"opus", "matroska"}) {
        SCOPED_TRACE(format);
        const QString output = Out(QString("surround.") + (QString(format) == "opus" ? "opus" : "mkv"));
        const EngineResult run =
            RunEngine(EngineArgs(source, QString("-y -f %1 -vn -acodec opus -ab 256 ").arg(format), output));
        ASSERT_EQ(run.exitCode, 0) << run.text.toStdString();
        const MediaInfoFacts info = ReadMediaInfo(output);
        ASSERT_EQ(info.audio.size(), 1u);
        EXPECT_EQ(info.audio[0].channels, "6");
    }
}

// Each failure: how to bring it about, and words the "Error" line must hold.
struct FailureCase {
    const char* name;
    const char* words;
    std::function<QStringList(const QString& dir)> args; // the engine's arguments
    bool asUser = false; // file permissions are the point: run as a user they bind
};
// Test listings and failure messages show the case by its name.
void PrintTo(const FailureCase& c, std::ostream* os) {
    *os << c.name;
}

QString Write(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    file.open(QIODevice::WriteOnly);
    file.write(bytes);
    return path;
}

QStringList Default(const QString& input, const QString& output) {
    return EngineArgs(input, kDefaultAvi, output);
}

const std::vector<FailureCase>& FailureCases() {
    static const std::vector<FailureCase> cases = {
        {"WrongAccessCode", "access code",
         [](const QString& d) {
             return QStringList{"-p", "1234567", "-i", Sources::Get().AudioVideo(), d + "/o.avi"};
         }},
        {"NoAccessCode", "access code",
         [](const QString& d) {
             return QStringList{"-i", Sources::Get().AudioVideo(), d + "/o.avi"};
         }},
        {"UnknownOption", "unknown option",
         [](const QString& d) {
             return EngineArgs(Sources::Get().AudioVideo(), "-y -qscale 3 ", d + "/o.avi");
         }},
        // Values a hand-edited profile can hold, which the options text carries as they stand.
        {"ZeroFrameWidth", "value \"0x480\" of -s is not valid",
         [](const QString& d) {
             return EngineArgs(Sources::Get().AudioVideo(), "-y -f avi -vcodec msmpeg4v2 -s 0x480 -b 500k ",
                               d + "/o.avi");
         }},
        {"NegativeBitRate", "value \"-5k\" of -b is not valid",
         [](const QString& d) {
             return EngineArgs(Sources::Get().AudioVideo(), "-y -f avi -vcodec ffvhuff -strict -2 -b -5k ",
                               d + "/o.avi");
         }},
        {"MissingInput", "does not exist",
         [](const QString& d) { return Default(d + "/none.avi", d + "/o.avi"); }},
        {"InputIsAFolder", "is a folder", [](const QString& d) { return Default(d, d + "/o.avi"); }},
        {"EmptyInput", "is empty",
         [](const QString& d) { return Default(Write(d + "/empty.avi", ""), d + "/o.avi"); }},
        {"NotAMediaFile", "not a media file",
         [](const QString& d) {
             return Default(Write(d + "/text.avi", QByteArray(4096, 'x')), d + "/o.avi");
         }},
        {"UnreadableInput", "cannot be read",
         [](const QString& d) {
             const QString path = Write(d + "/locked.avi", "data");
             chmod(path.toLocal8Bit().constData(), 0);
             return Default(path, d + "/o.avi");
         },
         true},
        {"NoStreams", "no audio or video stream",
         [](const QString& d) {
             return Default(Write(d + "/subs.srt", "1\n00:00:00,000 --> 00:00:01,000\nHello\n"),
                            d + "/o.avi");
         }},
        {"NoAudioForAudioFormat", "no audio stream",
         [](const QString& d) {
             return EngineArgs(Sources::Get().VideoOnly(),
                               "-y -f mp3 -vn -acodec mp3 -ac 2 -ab 128 -ar 44100 ", d + "/o.mp3");
         }},
        {"OutputFolderMissing", "does not exist",
         [](const QString& d) { return Default(Sources::Get().AudioVideo(), d + "/no/o.avi"); }},
        {"OutputFolderNotWritable", "not writable",
         [](const QString& d) {
             QDir(d).mkdir("ro");
             chmod((d + "/ro").toLocal8Bit().constData(), 0555);
             return Default(Sources::Get().AudioVideo(), d + "/ro/o.avi");
         },
         true},
        {"EncoderRefuses", "encoder refuses",
         [](const QString& d) {
             return EngineArgs(Sources::Get().AudioVideo(), "-y -f amr -vn -acodec mp3 ", d + "/o.amr");
         }},
        {"EmptyOutput", "output file is empty",
         [](const QString& d) {
             return EngineArgs(Sources::Get().AudioVideo(), "-y -f avi  -t 0:00:01.000 -ss 0:00:30.000 -an ",
                               d + "/o.avi");
         }},
        {"OutputExistsWithoutOverwrite", "exists already",
         [](const QString& d) {
             return EngineArgs(Sources::Get().AudioVideo(), "-f avi ", Write(d + "/o.avi", "old"));
         }},
        {"OutputIsInput", "is the input",
         [](const QString& d) {
             QFile::copy(Sources::Get().AudioVideo(), d + "/same.mp4");
             return EngineArgs(d + "/same.mp4", "-y -f mp4 ", d + "/./same.mp4");
         }},
        // Values of the modern codecs' options outside what they take.
        {"ConstantQualityOutOfRange", "-crf is not valid",
         [](const QString& d) {
             return EngineArgs(Sources::Get().AudioVideo(), "-y -f matroska -vcodec hevc -crf 64 ",
                               d + "/o.mkv");
         }},
        {"UnknownSpeed", "-preset is not valid",
         [](const QString& d) {
             return EngineArgs(Sources::Get().AudioVideo(), "-y -f matroska -vcodec av1 -preset warp ",
                               d + "/o.mkv");
         }},
        {"VorbisQualityOutOfRange", "-aq is not valid",
         [](const QString& d) {
             return EngineArgs(Sources::Get().AudioVideo(), "-y -f ogg -vn -acodec vorbis -aq 11 ",
                               d + "/o.ogg");
         }},
        {"SampleSizeOf20Bits", "-abits is not valid",
         [](const QString& d) {
             return EngineArgs(Sources::Get().AudioVideo(), "-y -f flac -vn -acodec flac -abits 20 ",
                               d + "/o.flac");
         }},
        {"ScriptWithoutSource", "names no source",
         [](const QString& d) { return Default(Write(d + "/x.avs", "Version()\n"), d + "/o.avi"); }},
        {"ScriptSourceMissing", "does not exist",
         [](const QString& d) {
             return Default(Write(d + "/x.avs", "DirectShowSource(\"/nonexistent/clip.avi\")\n"),
                            d + "/o.avi");
         }},
    };
    return cases;
}

class EngineFailures : public EngineTest, public ::testing::WithParamInterface<FailureCase> {};

TEST_P(EngineFailures, EndWithOneErrorLineAndNonZeroExit) {
    const FailureCase& c = GetParam();
    const QStringList args = c.args(dir_.path());
    QStringList launcher;
    if (c.asUser && geteuid() == 0) {
        // File permissions do not bind the super-user: the engine runs as the user nobody, who
        // may enter the folders of the case and of the sources.
        ASSERT_FALSE(QStandardPaths::findExecutable("setpriv").isEmpty()) << "setpriv is missing";
        launcher = {"setpriv", "--reuid=nobody", "--regid=nogroup", "--clear-groups", "--"};
        for (const QString& folder : {dir_.path(), QFileInfo(Sources::Get().AudioVideo()).path()}) {
            ASSERT_EQ(chmod(folder.toLocal8Bit().constData(), 0755), 0);
        }
    }
    const EngineResult run = RunEngine(args, {}, {}, launcher);
    EXPECT_FALSE(run.crashed);
    EXPECT_NE(run.exitCode, 0) << run.text.toStdString();
    // One failure line, so the converter shows one message, and it is the engine's own sentence.
    ASSERT_EQ(run.ErrorLines().size(), 1) << run.text.toStdString();
    EXPECT_TRUE(run.LastLine().startsWith("Error")) << run.text.toStdString();
    EXPECT_TRUE(run.LastLine().contains(c.words, Qt::CaseInsensitive)) << run.text.toStdString();
}

INSTANTIATE_TEST_SUITE_P(Cases, EngineFailures, ::testing::ValuesIn(FailureCases()),
                         [](const ::testing::TestParamInfo<FailureCase>& info) {
                             return std::string(info.param.name);
                         });

// A full disk is named as such. The disk is an 8 KiB memory file system mounted in a user and
// mount namespace of the engine's own.
TEST_F(EngineTest, FullDiskIsNamedAsSuch) {
    QProcess process;
    process.setProcessChannelMode(QProcess::MergedChannels);
    QStringList args{"-rm",       "sh",
                     "-c",        "mount -t tmpfs -o size=8k tmpfs \"$0\" || exit 99; exec \"$@\"",
                     dir_.path(), VARID_BIN_DIR "/avcore.dll"};
    args << Default(Sources::Get().AudioVideo(), Out("full.avi"));
    process.start("unshare", args);
    ASSERT_TRUE(process.waitForFinished(120000));
    const QString text = QString::fromLocal8Bit(process.readAll());
    if (process.exitCode() == 99 || text.contains("unshare:")) {
        GTEST_SKIP() << "no user namespaces to mount a small disk in: " << text.toStdString();
    }
    EXPECT_NE(process.exitCode(), 0);
    EXPECT_TRUE(text.trimmed().section('\n', -1).contains("disk is full")) << text.toStdString();
}

TEST_F(EngineTest, FailedConversionLeavesNoBrokenFileButKeepsAnOldOne) {
    const QString made = Out("new.avi");
    RunEngine(
        EngineArgs(Sources::Get().AudioVideo(), "-y -f avi  -t 0:00:01.000 -ss 0:00:30.000 -an ", made));
    EXPECT_FALSE(QFile::exists(made));

    const QString old = Write(Out("old.avi"), "keep me");
    RunEngine(EngineArgs(Out("missing.avi"), kDefaultAvi, old));
    QFile file(old);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_EQ(file.readAll(), "keep me");
}

// Options without "-y" replace an existing output only when the converter names that very output
// as confirmed by the user; naming another file changes nothing.
TEST_F(EngineTest, OutputWithoutOverwriteIsReplacedOnlyWhenConfirmedByName) {
    const QString old = Write(Out("o.avi"), "old");
    const QStringList args = EngineArgs(Sources::Get().AudioVideo(), "-f avi -t 0:00:01.000 ", old);

    const EngineResult other = RunEngine(args, {"VARID_REPLACE_OUTPUT=" + Out("other.avi")});
    EXPECT_NE(other.exitCode, 0);
    EXPECT_TRUE(other.LastLine().contains("exists already")) << other.text.toStdString();

    const EngineResult confirmed = RunEngine(args, {"VARID_REPLACE_OUTPUT=" + old});
    EXPECT_EQ(confirmed.exitCode, 0) << confirmed.text.toStdString();
    EXPECT_GT(QFileInfo(old).size(), 3) << "the old file was not replaced";
}

} // namespace
} // namespace avtest
