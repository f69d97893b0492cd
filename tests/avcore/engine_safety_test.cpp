// Broken and hostile input: a source that ends early fails, the output appears only when a
// conversion succeeded, a link at the output name is replaced and never written through, a
// playlist in disguise is refused, and odd names are files, never options or protocols.
#include "engine_fixture.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <random>
#include <sys/stat.h>
#include <unistd.h>

namespace avtest {
namespace {

const QString kVideo = "-f avi -vcodec msmpeg4 -b 1080k -r 25 -an ";

QString Media(const char* name) {
    return QStringLiteral(VARID_MEDIA_DIR "/") + QLatin1String(name);
}

bool WriteFile(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
}

QByteArray ReadFile(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// The first share of a file, as a download cut short leaves it.
QString CutCopy(const QString& source, const QString& path, double share) {
    const QByteArray bytes = ReadFile(source);
    EXPECT_TRUE(WriteFile(path, bytes.left(static_cast<qsizetype>(bytes.size() * share))));
    return path;
}

QStringList Temporaries(const QString& folder) {
    return QDir(folder).entryList({"*.varid-part-*"}, QDir::Files | QDir::Hidden | QDir::System);
}

bool IsLink(const QString& path) {
    struct stat st {};
    return lstat(QFile::encodeName(path).constData(), &st) == 0 && S_ISLNK(st.st_mode);
}

class EngineSafety : public EngineTest {};

// Real files (whose headers may be a little off) convert; the same files cut short fail with one
// error line that says how far the conversion got, and leave no output. An Ogg file's length is
// read from its last page, so a cut one is simply shorter.
TEST_F(EngineSafety, SourceThatEndsEarlyFailsWithHowFarItGot) {
    struct Case {
        const char* name;
        QString options;
        const char* extension;
        const char* promised; // the length FFmpeg reads from the whole file
    };
    const Case cases[] = {
        {"rabbit320.mp4", kVideo, ".avi", "of 7.8 s"},
        {"rabbit320.webm", kVideo, ".avi", "of 7.8 s"},
        {"again.mkv", kVideo, ".avi", "of 2.6 s"},
        {"viper.mp3", "-f wav ", ".wav", "of 41.0 s"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const QString whole = Out(QString("whole-%1%2").arg(c.name, c.extension));
        const EngineResult ok = RunEngine(EngineArgs(Media(c.name), c.options, whole));
        EXPECT_EQ(ok.exitCode, 0) << ok.text.toStdString();
        EXPECT_GT(QFileInfo(whole).size(), 0);

        const QString cut = CutCopy(Media(c.name), Out(QString("cut-") + c.name), 0.45);
        const QString output = Out(QString("cut-%1%2").arg(c.name, c.extension));
        const EngineResult bad = RunEngine(EngineArgs(cut, c.options, output));
        EXPECT_NE(bad.exitCode, 0) << bad.text.toStdString();
        ASSERT_EQ(bad.ErrorLines().size(), 1) << bad.text.toStdString();
        EXPECT_TRUE(bad.LastLine().contains("ended early")) << bad.LastLine().toStdString();
        EXPECT_TRUE(bad.LastLine().contains(c.promised)) << bad.LastLine().toStdString();
        EXPECT_FALSE(bad.LastLine().contains("start time")) << bad.LastLine().toStdString();
        EXPECT_FALSE(QFileInfo::exists(output));
    }
    EXPECT_EQ(Temporaries(dir_.path()), QStringList());
}

// A time window is held to its own length: the window of a whole file converts, the same window
// of a cut file fails.
TEST_F(EngineSafety, TimeWindowOfACutSourceFails) {
    const QString window = kVideo + "-ss 0:00:01.000 -t 0:00:05.000 ";
    EXPECT_EQ(RunEngine(EngineArgs(Media("rabbit320.mp4"), window, Out("whole.avi"))).exitCode, 0);
    const QString cut = CutCopy(Media("rabbit320.mp4"), Out("cut.mp4"), 0.45);
    const EngineResult bad = RunEngine(EngineArgs(cut, window, Out("cut.avi")));
    EXPECT_NE(bad.exitCode, 0);
    EXPECT_TRUE(bad.LastLine().contains("of 5.0 s (the time window asked for)")) << bad.text.toStdString();
    // A window after the end is the one case for the advice about start time and duration.
    const EngineResult late =
        RunEngine(EngineArgs(Media("rabbit320.mp4"), kVideo + "-ss 0:01:00.000 ", Out("late.avi")));
    EXPECT_NE(late.exitCode, 0);
    EXPECT_TRUE(late.LastLine().contains("check the start time and duration")) << late.text.toStdString();
    EXPECT_FALSE(QFileInfo::exists(Out("cut.avi")) || QFileInfo::exists(Out("late.avi")));
}

// A failed conversion over an existing output leaves the old file as it was and no temporary file.
TEST_F(EngineSafety, FailedRunKeepsTheOldOutput) {
    const QString output = Out("kept.avi");
    ASSERT_TRUE(WriteFile(output, "the old file"));
    const QString cut = CutCopy(Media("rabbit320.mp4"), Out("cut.mp4"), 0.45);
    const EngineResult bad = RunEngine(EngineArgs(cut, "-y " + kVideo, output));
    EXPECT_NE(bad.exitCode, 0);
    EXPECT_EQ(ReadFile(output), "the old file");
    EXPECT_EQ(Temporaries(dir_.path()), QStringList());

    // A successful run replaces it, keeping its permissions.
    ASSERT_EQ(chmod(QFile::encodeName(output).constData(), 0600), 0);
    const EngineResult good = RunEngine(EngineArgs(Sources::Get().VideoOnly(), "-y " + kVideo, output));
    EXPECT_EQ(good.exitCode, 0) << good.text.toStdString();
    EXPECT_TRUE(ReadFile(output).startsWith("RIFF"));
    struct stat st {};
    ASSERT_EQ(stat(QFile::encodeName(output).constData(), &st), 0);
    EXPECT_EQ(st.st_mode & 0777, 0600u);
    EXPECT_EQ(Temporaries(dir_.path()), QStringList());
}

// A link planted at the output name is replaced by the new file, never written through; without
// "-y" it counts as an existing file. Also a link whose target does not exist.
TEST_F(EngineSafety, LinkAtTheOutputNameIsReplacedNotFollowed) {
    QTemporaryDir elsewhere;
    const QString target = elsewhere.filePath("victim.avi");
    const QString missing = elsewhere.filePath("new.avi");
    ASSERT_TRUE(WriteFile(target, "not yours"));
    for (const QString& linkTarget : {target, missing}) {
        SCOPED_TRACE(linkTarget.toStdString());
        const QString output = Out("out.avi");
        QFile::remove(output);
        ASSERT_TRUE(QFile::link(linkTarget, output));

        const EngineResult refused = RunEngine(EngineArgs(Sources::Get().VideoOnly(), kVideo, output));
        EXPECT_NE(refused.exitCode, 0);
        EXPECT_TRUE(refused.LastLine().contains("exists already")) << refused.text.toStdString();
        EXPECT_TRUE(IsLink(output));

        const EngineResult replaced =
            RunEngine(EngineArgs(Sources::Get().VideoOnly(), "-y " + kVideo, output));
        EXPECT_EQ(replaced.exitCode, 0) << replaced.text.toStdString();
        EXPECT_FALSE(IsLink(output));
        EXPECT_TRUE(ReadFile(output).startsWith("RIFF"));
        EXPECT_EQ(ReadFile(target), "not yours");
        EXPECT_FALSE(QFileInfo::exists(missing));
        // The converter reads the names it passed, not FFmpeg's temporary ones.
        EXPECT_TRUE(replaced.text.contains("to '" + output + "':")) << replaced.text.toStdString();
    }
}

// An HLS playlist named like a video, naming a real local file, is refused: the engine opens only
// formats that read the one file they are given.
TEST_F(EngineSafety, PlaylistInDisguiseIsRefused) {
    const QString playlist = Out("playlist.mp4");
    ASSERT_TRUE(WriteFile(playlist, "#EXTM3U\n#EXT-X-TARGETDURATION:10\n#EXTINF:10,\n" +
                                        QFile::encodeName(Media("rabbit320.mp4")) + "\n#EXT-X-ENDLIST\n"));
    const EngineResult r = RunEngine(EngineArgs(playlist, "-y " + kVideo, Out("out.avi")));
    EXPECT_NE(r.exitCode, 0);
    ASSERT_EQ(r.ErrorLines().size(), 1) << r.text.toStdString();
    EXPECT_TRUE(r.LastLine().contains("playlist")) << r.LastLine().toStdString();
    EXPECT_FALSE(QFileInfo::exists(Out("out.avi")));
}

// Relative names that look like an option or a protocol are plain files.
TEST_F(EngineSafety, NamesAreFilesNotOptionsOrProtocols) {
    const QString source = Sources::Get().AudioOnly(); // 1 s
    ASSERT_TRUE(QFile::copy(source, Out("a.wav")));
    ASSERT_TRUE(QFile::copy(source, Out("b.wav")));
    ASSERT_TRUE(QFile::copy(source, Out("concat:a.wav|b.wav")));
    const EngineResult r = RunEngine(EngineArgs("concat:a.wav|b.wav", "-f mp3 ", "-y.mp3"), {}, dir_.path());
    EXPECT_EQ(r.exitCode, 0) << r.text.toStdString();
    EXPECT_GT(QFileInfo(Out("-y.mp3")).size(), 0);
    const MediaInfoFacts facts = ReadMediaInfo(Out("-y.mp3"));
    EXPECT_LT(facts.duration.toDouble(), 1.5) << "one file read, not two: " << facts.duration.toStdString();
}

// The source named in an AviSynth script is read whole, whatever characters its name holds, in
// AviSynth's plain and triple-quoted strings.
TEST_F(EngineSafety, ScriptSourceWithQuotesInItsName) {
    const QString tricky = Out("a\"b, c\") x.wav\"");
    ASSERT_TRUE(QFile::copy(Sources::Get().AudioOnly(), tricky));
    const QByteArray name = QFile::encodeName(tricky);
    const QByteArray scripts[] = {
        "DirectShowSource(\"" + name + "\")\n",
        "DirectShowSource(\"" + name + "\", fps=25)\n",
        "DirectShowSource(\"\"\"" + name + "\"\"\")\n",
    };
    for (const QByteArray& script : scripts) {
        SCOPED_TRACE(script.toStdString());
        ASSERT_TRUE(WriteFile(Out("run.avs"), script));
        const EngineResult r = RunEngine(EngineArgs(Out("run.avs"), "-y -f wav ", Out("out.wav")));
        EXPECT_EQ(r.exitCode, 0) << r.text.toStdString();
        EXPECT_TRUE(r.text.contains("from '" + tricky + "'")) << r.text.toStdString();
    }
}

// Damaged data in the middle of a source is named as such, not blamed on the encoder settings.
TEST_F(EngineSafety, DamagedDataIsNamedAsSuch) {
    QByteArray bytes = ReadFile(Media("rabbit320.mp4"));
    std::mt19937 noise(12);
    for (qsizetype i = bytes.size() / 8; i < bytes.size() * 7 / 8; ++i) {
        bytes[i] = static_cast<char>(noise());
    }
    ASSERT_TRUE(WriteFile(Out("damaged.mp4"), bytes));
    const EngineResult r = RunEngine(EngineArgs(Out("damaged.mp4"), kVideo, Out("out.avi")));
    EXPECT_NE(r.exitCode, 0);
    EXPECT_TRUE(r.LastLine().contains("damaged data")) << r.LastLine().toStdString();
    EXPECT_FALSE(QFileInfo::exists(Out("out.avi")));
}

// One conversion, one input: a second -i (smuggled in through a profile's time text) is refused.
TEST_F(EngineSafety, SecondInputIsRefused) {
    QStringList args = EngineArgs(Sources::Get().AudioOnly(), "-y -f wav -t 0:00:01.000", Out("out.wav"));
    args.insert(args.size() - 1, "-i");
    args.insert(args.size() - 1, Sources::Get().VideoOnly());
    const EngineResult r = RunEngine(args);
    EXPECT_EQ(r.exitCode, 2);
    EXPECT_TRUE(r.LastLine().contains("more than one input file")) << r.text.toStdString();
    EXPECT_FALSE(QFileInfo::exists(Out("out.wav")));
}

// An output name longer than the system allows is named as such, not blamed on the source.
TEST_F(EngineSafety, TooLongOutputNameIsNamedAsSuch) {
    const EngineResult r =
        RunEngine(EngineArgs(Sources::Get().AudioOnly(), "-f wav ", Out(QString(300, 'n') + ".wav")));
    EXPECT_NE(r.exitCode, 0);
    EXPECT_TRUE(r.LastLine().contains("output file name") && r.LastLine().contains("too long") &&
                !r.LastLine().contains("conversion failed"))
        << r.text.toStdString();
    // A name that just fits still converts: the temporary name is shortened to fit too.
    const QString longest = Out(QString(251, 'n') + ".wav");
    const EngineResult ok = RunEngine(EngineArgs(Sources::Get().AudioOnly(), "-f wav ", longest));
    EXPECT_EQ(ok.exitCode, 0) << ok.text.toStdString();
    EXPECT_TRUE(QFileInfo::exists(longest));
}

} // namespace
} // namespace avtest
