// varid-convert converting several files at once through the real engine and FFmpeg: every output
// right, a failing file alone failing, sources deleted only when their own file converted, no two
// files of one output name, and Ctrl+C, SIGTERM or a kill ending every engine in flight.
#include "cli_fixture.h"
#include "support/processes.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTest>
#include <gtest/gtest.h>

#include <algorithm>
#include <csignal>
#include <cstring>
#include <sys/stat.h>

namespace {

class ParallelConvertTest : public TCliFixture {
  protected:
    QString out(const QString& name) const { return work.filePath(QStringLiteral("out/") + name); }
    QString copy(const QString& sample, const QString& name) {
        const QString path = work.filePath(name);
        EXPECT_TRUE(QFile::copy(media + sample, path));
        return path;
    }
    // What FFprobe says of a file: its audio codec and length in seconds.
    static QPair<QString, double> probe(const QString& path) {
        QProcess p;
        p.start(QStringLiteral("ffprobe"),
                {QStringLiteral("-v"), QStringLiteral("error"), QStringLiteral("-select_streams"),
                 QStringLiteral("a:0"), QStringLiteral("-show_entries"),
                 QStringLiteral("stream=codec_name:format=duration"), QStringLiteral("-of"),
                 QStringLiteral("default=nw=1:nk=1"), path});
        p.waitForFinished(60000);
        const QStringList lines =
            QString::fromUtf8(p.readAllStandardOutput()).split(QLatin1Char('\n'), Qt::SkipEmptyParts);
        return {lines.value(0), lines.value(1).toDouble()};
    }
    QStringList outFolder() const {
        return QDir(work.filePath(QStringLiteral("out")))
            .entryList(QDir::Files | QDir::Hidden | QDir::System);
    }
};

TEST_F(ParallelConvertTest, ThreeAtOnceConvertEveryFileRightAndAFailureAloneFails) {
    const QString song = copy(QStringLiteral("viper.ogg"), QStringLiteral("song.ogg"));
    const QString tune = copy(QStringLiteral("viper.mp3"), QStringLiteral("tune.mp3"));
    const QString silent = copy(QStringLiteral("again.mkv"), QStringLiteral("silent.mkv")); // no sound
    const QString clip = copy(QStringLiteral("rabbit320.webm"), QStringLiteral("clip.webm"));
    const TCliResult r =
        convert({QStringLiteral("--jobs"), QStringLiteral("3"), QStringLiteral("--format"),
                 QStringLiteral("MP3"), QStringLiteral("--delete-source"), QStringLiteral("--output"),
                 QStringLiteral("out"), song, tune, silent, clip});

    EXPECT_EQ(r.exitCode, 1) << r.out.toStdString() << r.err.toStdString();
    EXPECT_TRUE(r.out.contains(QStringLiteral("3 of 4 files converted."))) << r.out.toStdString();
    const QString summary = r.out.mid(r.out.indexOf(QStringLiteral("Not converted:")));
    EXPECT_TRUE(summary.contains(silent + QStringLiteral(": Error"))) << summary.toStdString();
    EXPECT_EQ(summary.count(QStringLiteral("\n  ")), 1) << summary.toStdString();
    // Each file in flight has progress lines of its own, with the batch's beside them.
    for (const char* name : {"song.ogg", "tune.mp3", "clip.webm"})
        EXPECT_TRUE(r.out.contains(QStringLiteral(" of 4: %1 | file ").arg(QLatin1String(name))) &&
                    r.out.contains(QStringLiteral("| batch ")))
            << name << r.out.toStdString();
    // Each output has the sound of its own source, whole.
    const struct {
        const char* output;
        double seconds;
    } outputs[] = {{"song.mp3", 40.98}, {"tune.mp3", 41.04}, {"clip.mp3", 7.8}};
    for (const auto& o : outputs) {
        SCOPED_TRACE(o.output);
        const auto [codec, seconds] = probe(out(QString::fromLatin1(o.output)));
        EXPECT_EQ(codec, QStringLiteral("mp3"));
        EXPECT_NEAR(seconds, o.seconds, 0.3);
    }
    EXPECT_EQ(outFolder(), (QStringList{QStringLiteral("clip.mp3"), QStringLiteral("song.mp3"),
                                        QStringLiteral("tune.mp3")}));
    EXPECT_FALSE(QFile::exists(song));
    EXPECT_FALSE(QFile::exists(tune));
    EXPECT_FALSE(QFile::exists(clip));
    EXPECT_TRUE(QFile::exists(silent));
}

TEST_F(ParallelConvertTest, FilesOfOneOutputNameAreRefusedBeforeAnyConverts) {
    ASSERT_TRUE(QDir().mkpath(work.filePath(QStringLiteral("a"))));
    ASSERT_TRUE(QDir().mkpath(work.filePath(QStringLiteral("b"))));
    const QString first = copy(QStringLiteral("viper.ogg"), QStringLiteral("a/song.ogg"));
    const QString second = copy(QStringLiteral("viper.mp3"), QStringLiteral("b/song.mp3"));
    const TCliResult r =
        convert({QStringLiteral("--jobs"), QStringLiteral("2"), QStringLiteral("--format"),
                 QStringLiteral("MP3"), QStringLiteral("--output"), QStringLiteral("out"), first, second});
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_TRUE(r.err.contains(QStringLiteral("Two files would be converted to the same output file")))
        << r.err.toStdString();
    EXPECT_TRUE(r.out.contains(QStringLiteral("0 of 2 files converted."))) << r.out.toStdString();
    EXPECT_TRUE(outFolder().isEmpty());
}

// Ctrl+C, SIGTERM and a kill while two files convert at once. Both engines read their files
// through the script the converter writes (DirectShow on), which names a named pipe nobody writes,
// so both are converting until they are stopped.
TEST_F(ParallelConvertTest, InterruptTerminateOrKillEndsEveryEngineInFlight) {
    ASSERT_TRUE(prog.writeFile(QStringLiteral("options.ini"), "[VideoConvertoptions]\nUseDirectShow=1\n"));
    ASSERT_TRUE(prog.writeFile(QStringLiteral("langs/English_Profile/DirectShow.avs"),
                               "DirectShowSource(\"<%InputFile%>.pipe\")\n"));
    QStringList sources;
    for (const char* name : {"one.mkv", "two.mkv", "three.mkv"}) {
        sources << copy(QStringLiteral("again.mkv"), QString::fromLatin1(name));
        ASSERT_EQ(mkfifo(QFile::encodeName(sources.last() + QStringLiteral(".pipe")).constData(), 0600), 0);
    }
    for (const int signal : {SIGINT, SIGTERM, SIGKILL}) {
        SCOPED_TRACE(strsignal(signal));
        QProcess p;
        p.setWorkingDirectory(work.path());
        p.start(prog.file(QStringLiteral("varid-convert")),
                QStringList{QStringLiteral("--jobs"), QStringLiteral("2"), QStringLiteral("--format"),
                            QStringLiteral("AVI"), QStringLiteral("--delete-source"),
                            QStringLiteral("--output"), QStringLiteral("out")} +
                    sources);
        ASSERT_TRUE(p.waitForStarted());
        QList<qint64> engines, ffmpegs;
        ASSERT_TRUE(QTest::qWaitFor(
            [&] {
                engines = ChildProcesses(p.processId());
                ffmpegs.clear();
                for (const qint64 engine : std::as_const(engines))
                    ffmpegs += ChildProcesses(engine);
                const QStringList parts = QDir(work.filePath(QStringLiteral("out")))
                                              .entryList({QStringLiteral(".*.varid-part-*")},
                                                         QDir::Files | QDir::Hidden | QDir::System);
                return (ffmpegs.size() == 2 && parts.size() == 2) || p.state() == QProcess::NotRunning;
            },
            60000));
        ASSERT_EQ(ffmpegs.size(), 2) << p.readAll().toStdString();
        EXPECT_EQ(engines.size(), 2);
        ASSERT_EQ(::kill(static_cast<pid_t>(p.processId()), signal), 0);
        ASSERT_TRUE(p.waitForFinished(60000));
        if (signal == SIGKILL) {
            // Nobody reports: the engines are told by the system that their program died.
            EXPECT_TRUE(QTest::qWaitFor(
                [&] {
                    for (const qint64 pid : engines + ffmpegs)
                        if (ProcessRunning(pid))
                            return false;
                    return outFolder().isEmpty();
                },
                60000));
        } else {
            const QString text = QString::fromUtf8(p.readAllStandardOutput());
            EXPECT_EQ(p.exitCode(), 1);
            EXPECT_TRUE(text.contains(QStringLiteral("0 of 3 files converted."))) << text.toStdString();
            EXPECT_EQ(text.count(QStringLiteral(": stopped before it was converted")), 3)
                << text.toStdString();
        }
        for (const qint64 pid : engines + ffmpegs)
            EXPECT_FALSE(ProcessRunning(pid)) << pid;
        EXPECT_EQ(outFolder().join(QLatin1Char('|')).toStdString(), "");
        for (const QString& source : std::as_const(sources))
            EXPECT_TRUE(QFileInfo(source).isFile());
        if (signal != SIGKILL) {
            EXPECT_TRUE(QDir(prog.file(QStringLiteral("langs")))
                            .entryList({QStringLiteral("DirectShow-*")})
                            .isEmpty());
        }
    }
}

// One file at a time, the next file's engine reads its source while the current file converts.
// Ended by Ctrl+C or killed, the program leaves neither that engine nor any other behind, and no
// part of an output.
TEST_F(ParallelConvertTest, OneAtATimeTheEngineReadingAheadEndsWithTheProgram) {
    QStringList sources;
    for (const char* name : {"one.mp4", "two.mp4", "three.mp4"})
        sources << copy(QStringLiteral("frog.mp4"), QString::fromLatin1(name));
    for (const int signal : {SIGINT, SIGKILL}) {
        SCOPED_TRACE(strsignal(signal));
        QDir(work.filePath(QStringLiteral("out"))).removeRecursively();
        QProcess p;
        p.setWorkingDirectory(work.path());
        p.start(prog.file(QStringLiteral("varid-convert")),
                QStringList{QStringLiteral("--jobs"), QStringLiteral("1"), QStringLiteral("--format"),
                            QStringLiteral("AVI"), QStringLiteral("--output"), QStringLiteral("out")} +
                    sources);
        ASSERT_TRUE(p.waitForStarted());
        // One engine converts and one waits with the next file read.
        QList<qint64> engines;
        ASSERT_TRUE(QTest::qWaitFor(
            [&] {
                engines = ChildProcesses(p.processId());
                return engines.size() == 2 || p.state() == QProcess::NotRunning;
            },
            60000));
        ASSERT_EQ(engines.size(), 2) << p.readAll().toStdString();
        QList<qint64> all = engines;
        for (const qint64 engine : std::as_const(engines))
            all += ChildProcesses(engine);
        ASSERT_EQ(::kill(static_cast<pid_t>(p.processId()), signal), 0);
        ASSERT_TRUE(p.waitForFinished(60000));
        EXPECT_TRUE(QTest::qWaitFor(
            [&] {
                return std::none_of(all.cbegin(), all.cend(), [](qint64 pid) { return ProcessRunning(pid); });
            },
            60000));
        EXPECT_EQ(outFolder().filter(QStringLiteral("varid-part")), QStringList());
        if (signal == SIGINT) {
            // Only the files reported converted are there.
            const QString text = QString::fromUtf8(p.readAllStandardOutput());
            const int stopped = int(text.count(QStringLiteral(": stopped before it was converted")));
            EXPECT_GE(stopped, 1) << text.toStdString();
            EXPECT_EQ(outFolder().size(), 3 - stopped) << text.toStdString();
        }
    }
}

} // namespace
