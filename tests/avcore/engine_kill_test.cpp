// Ending the engine ends FFmpeg: whether the engine is killed outright, asked to stop, or loses
// its parent. Nothing of a stopped or killed conversion stays under the output name.
#include "engine_fixture.h"

#include "engine/cmdline.h"
#include "engine/redirector.h"
#include "support/processes.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTest>

#include <algorithm>
#include <atomic>
#include <csignal>
#include <cstring>
#include <fcntl.h>
#include <future>
#include <sys/stat.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

namespace avtest {
namespace {

constexpr int kWaitMs = 30000;

QStringList Temporaries(const QString& folder) {
    return QDir(folder).entryList({"*.varid-part-*"}, QDir::Files | QDir::Hidden | QDir::System);
}

QByteArray ReadFile(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

const char* const kStuckOptions = "-y -f avi -vcodec msmpeg4 -b 1080k -r 25 -an ";

class EngineStop : public EngineTest {
  protected:
    QString Fifo() {
        const QString fifo = Out("stream.avi");
        return QFileInfo::exists(fifo) || mkfifo(fifo.toLocal8Bit().constData(), 0600) == 0 ? fifo
                                                                                            : QString();
    }

    // Starts a conversion that cannot finish: its input is a named pipe nobody writes, so FFmpeg
    // waits in it until it is ended. Returns FFmpeg's pid.
    qint64 StartStuckConversion() {
        const QString fifo = Fifo();
        if (fifo.isEmpty()) {
            return 0;
        }
        engine_.setProcessChannelMode(QProcess::MergedChannels);
        engine_.start(QStringLiteral(VARID_BIN_DIR "/avcore.dll"),
                      EngineArgs(fifo, kStuckOptions, Out("out.avi")));
        if (!engine_.waitForStarted()) {
            return 0;
        }
        qint64 ffmpeg = 0;
        [[maybe_unused]] const bool found =
            QTest::qWaitFor([&] { return (ffmpeg = FindChildProcess(engine_.processId())) != 0; }, kWaitMs);
        return ffmpeg;
    }

    // Writes bytes into the pipe fd as FFmpeg reads them (a full pipe takes more only as FFmpeg
    // reads on), collecting what the engine says meanwhile in text; false when the engine ended
    // before all was written.
    bool Feed(int fd, const QByteArray& bytes, QByteArray& text) {
        qint64 written = 0;
        const bool ended = QTest::qWaitFor(
            [&] {
                text += engine_.readAll();
                const ssize_t n =
                    write(fd, bytes.constData() + written, static_cast<size_t>(bytes.size() - written));
                written += std::max<ssize_t>(n, 0);
                return written == bytes.size() || engine_.state() == QProcess::NotRunning;
            },
            kWaitMs);
        return ended && written == bytes.size();
    }

    QProcess engine_;
};

TEST_F(EngineStop, KilledEngineTakesFfmpegWithIt) {
    const qint64 ffmpeg = StartStuckConversion();
    ASSERT_NE(ffmpeg, 0) << engine_.readAll().toStdString();
    EXPECT_EQ(ReadProcStat(ffmpeg).group, ReadProcStat(engine_.processId()).group)
        << "FFmpeg runs in the engine's process group";

    kill(static_cast<pid_t>(engine_.processId()), SIGKILL);
    ASSERT_TRUE(engine_.waitForFinished(kWaitMs));
    EXPECT_TRUE(QTest::qWaitFor([&] { return !ProcessRunning(ffmpeg); }, kWaitMs))
        << "FFmpeg outlived the killed engine";

    // A killed engine cannot clean up: its temporary file stays, but never under the output name,
    // and the next conversion into the folder removes it.
    EXPECT_FALSE(QFileInfo::exists(Out("out.avi")));
    const QStringList left = Temporaries(dir_.path());
    EXPECT_EQ(left.size(), 1);
    // Only files of engines that are gone are removed: not one whose engine still runs (this
    // test's pid stands for it), nor another hidden file.
    const QStringList others{QString(".busy.varid-part-%1-abcdef.avi").arg(getpid()), ".other.avi"};
    for (const QString& name : others) {
        QFile file(Out(name));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    }
    const EngineResult next =
        RunEngine(EngineArgs(Sources::Get().VideoOnly(), kStuckOptions, Out("next.avi")));
    EXPECT_EQ(next.exitCode, 0) << next.text.toStdString();
    EXPECT_FALSE(QFileInfo::exists(Out(left.value(0))));
    for (const QString& name : others) {
        EXPECT_TRUE(QFileInfo::exists(Out(name))) << name.toStdString();
    }
}

TEST_F(EngineStop, TerminatedEngineStopsFfmpegAndSaysSo) {
    QFile old(Out("out.avi"));
    ASSERT_TRUE(old.open(QIODevice::WriteOnly) && old.write("the old file") > 0);
    old.close();
    const qint64 ffmpeg = StartStuckConversion();
    ASSERT_NE(ffmpeg, 0) << engine_.readAll().toStdString();

    kill(static_cast<pid_t>(engine_.processId()), SIGTERM);
    ASSERT_TRUE(engine_.waitForFinished(kWaitMs));
    EXPECT_NE(engine_.exitCode(), 0);
    EXPECT_FALSE(ProcessRunning(ffmpeg));
    const QString output = QString::fromLocal8Bit(engine_.readAll()).trimmed();
    EXPECT_TRUE(output.section('\n', -1).startsWith("Error: the conversion was stopped"))
        << output.toStdString();
    EXPECT_EQ(ReadFile(Out("out.avi")), "the old file");
    EXPECT_EQ(Temporaries(dir_.path()), QStringList());
}

// A source cut short while it converts: FFmpeg reads a long clip from a named pipe that ends
// after the first half, while FFmpeg is converting what it got.
TEST_F(EngineStop, SourceCutWhileConvertingFails) {
    const QString clip = Out("long.mkv");
    ASSERT_TRUE(MakeClip(clip, "320x240", 20, true, false));
    const QByteArray whole = ReadFile(clip);
    const QByteArray half = whole.left(whole.size() / 2);
    const QString source = Out("cut.mkv");
    ASSERT_EQ(mkfifo(QFile::encodeName(source).constData(), 0600), 0);
    // Open for reading too, the pipe neither blocks this opening nor breaks before FFmpeg opens it.
    const int fd = open(QFile::encodeName(source).constData(), O_RDWR | O_NONBLOCK | O_CLOEXEC);
    ASSERT_GE(fd, 0);
    engine_.setProcessChannelMode(QProcess::MergedChannels);
    engine_.start(QStringLiteral(VARID_BIN_DIR "/avcore.dll"),
                  EngineArgs(source, kStuckOptions, Out("out.avi")));
    ASSERT_TRUE(engine_.waitForStarted());
    QByteArray text;
    const bool allWritten = Feed(fd, half, text);
    close(fd); // the end of the source, for FFmpeg
    ASSERT_TRUE(allWritten) << text.toStdString();

    ASSERT_TRUE(engine_.waitForFinished(kWaitMs));
    text += engine_.readAll();
    EXPECT_NE(engine_.exitCode(), 0);
    EXPECT_TRUE(QString(text).trimmed().section('\n', -1).contains("ended early")) << text.toStdString();
    EXPECT_FALSE(QFileInfo::exists(Out("out.avi")));
    EXPECT_EQ(Temporaries(dir_.path()), QStringList());
}

// The output's folder taken away while the engine runs (deleted, or its drive unplugged): the file
// fails with the folder named, not with FFmpeg's words about a file it could not write.
TEST_F(EngineStop, OutputFolderRemovedWhileConvertingIsNamed) {
    const QByteArray whole = ReadFile(Sources::Get().VideoOnly());
    const QString folder = Out("unplugged");
    ASSERT_TRUE(QDir().mkpath(folder));
    const QString source = Fifo();
    ASSERT_FALSE(source.isEmpty());
    const int fd = open(QFile::encodeName(source).constData(), O_RDWR | O_NONBLOCK | O_CLOEXEC);
    ASSERT_GE(fd, 0);
    engine_.setProcessChannelMode(QProcess::MergedChannels);
    engine_.start(QStringLiteral(VARID_BIN_DIR "/avcore.dll"),
                  EngineArgs(source, kStuckOptions, folder + "/out.avi"));
    ASSERT_TRUE(engine_.waitForStarted());
    // FFmpeg has opened its source and waits for data, before it opens the output: the folder goes
    // now.
    const auto readsSource = [&] {
        const qint64 ffmpeg = FindChildProcess(engine_.processId());
        const QDir fds(QStringLiteral("/proc/%1/fd").arg(ffmpeg));
        const QStringList entries = ffmpeg != 0 ? fds.entryList(QDir::System) : QStringList();
        return std::any_of(entries.begin(), entries.end(), [&](const QString& fd) {
            return QFile::symLinkTarget(fds.filePath(fd)) == source;
        });
    };
    ASSERT_TRUE(QTest::qWaitFor(readsSource, kWaitMs));
    ASSERT_TRUE(QDir(folder).removeRecursively());
    QByteArray said;
    const bool allWritten = Feed(fd, whole, said);
    close(fd); // the end of the source, for FFmpeg
    EXPECT_TRUE(allWritten);

    ASSERT_TRUE(engine_.waitForFinished(kWaitMs));
    const QString text = QString::fromLocal8Bit(said + engine_.readAll());
    EXPECT_NE(engine_.exitCode(), 0);
    EXPECT_EQ(text.trimmed().section('\n', -1).toStdString(),
              ("Error: the output folder '" + folder + "' does not exist").toStdString())
        << text.toStdString();
    EXPECT_FALSE(QFileInfo::exists(folder));
}

// The converter's runner stops the engine with a signal the engine handles: it stops FFmpeg,
// removes its temporary file and ends by itself, leaving the old output as it was.
TEST_F(EngineStop, RunnerStopLetsTheEngineCleanUp) {
    QFile old(Out("out.avi"));
    ASSERT_TRUE(old.open(QIODevice::WriteOnly) && old.write("the old file") > 0);
    old.close();
    TRedirector runner;
    bool ended = false;
    QByteArray text;
    runner.OnStdErr = [&](TRedirector*, const char* bytes, int count) { text.append(bytes, count); };
    runner.OnTerminated = [&](TRedirector*) { ended = true; };
    runner.SetCommandLine(JoinCommandLine(QStringList{VARID_BIN_DIR "/avcore.dll"} +
                                          EngineArgs(Fifo(), kStuckOptions, Out("out.avi"))));
    runner.Execute();
    qint64 ffmpeg = 0;
    ASSERT_TRUE(
        QTest::qWaitFor([&] { return (ffmpeg = FindChildProcess(runner.ProcessHandle())) != 0; }, kWaitMs));
    ASSERT_TRUE(QTest::qWaitFor([&] { return Temporaries(dir_.path()).size() == 1; }, kWaitMs));

    runner.Terminate(0);
    ASSERT_TRUE(QTest::qWaitFor([&] { return ended; }, kWaitMs));
    EXPECT_FALSE(runner.KilledBySignal()) << "the engine ended by itself";
    EXPECT_EQ(runner.ExitCode(), 128 + SIGTERM);
    EXPECT_FALSE(ProcessRunning(ffmpeg));
    EXPECT_TRUE(text.contains("Error: the conversion was stopped")) << text.toStdString();
    EXPECT_EQ(ReadFile(Out("out.avi")), "the old file");
    EXPECT_EQ(Temporaries(dir_.path()), QStringList());
}

// However the engine learns that its converter is gone (a hang-up, an interrupt, nobody reading
// its output any more), it stops FFmpeg, removes its temporary file and ends.
TEST_F(EngineStop, EngineEndsWhenHungUpInterruptedOrUnread) {
    const QString fifo = Fifo();
    ASSERT_FALSE(fifo.isEmpty());
    const QByteArray program = VARID_BIN_DIR "/avcore.dll";
    QList<QByteArray> args{program};
    for (const QString& a : EngineArgs(fifo, kStuckOptions, Out("out.avi"))) {
        args << QFile::encodeName(a);
    }
    std::vector<char*> argv;
    for (QByteArray& a : args) {
        argv.push_back(a.data());
    }
    argv.push_back(nullptr);

    for (const int how : {SIGHUP, SIGINT, SIGPIPE}) {
        SCOPED_TRACE(strsignal(how));
        int out[2];
        ASSERT_EQ(pipe(out), 0);
        const pid_t engine = fork();
        if (engine == 0) {
            dup2(out[1], STDOUT_FILENO);
            dup2(out[1], STDERR_FILENO);
            close(out[0]);
            close(out[1]);
            execv(argv[0], argv.data());
            _exit(127);
        }
        close(out[1]);
        qint64 ffmpeg = 0;
        ASSERT_TRUE(QTest::qWaitFor([&] { return (ffmpeg = FindChildProcess(engine)) != 0; }, kWaitMs));
        if (how == SIGPIPE) {
            close(out[0]); // its next line finds nobody to read it
        } else {
            kill(engine, how);
        }
        int status = 0;
        EXPECT_TRUE(QTest::qWaitFor([&] { return waitpid(engine, &status, WNOHANG) == engine; }, kWaitMs));
        EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 128 + how) << status;
        EXPECT_FALSE(ProcessRunning(ffmpeg));
        if (how != SIGPIPE) {
            close(out[0]);
        }
        EXPECT_EQ(Temporaries(dir_.path()), QStringList());
    }
}

// When the converter dies, the engine is told to stop even though nothing it writes fails (here
// its pipes stay open): it and FFmpeg end. The engine is started from a thread that then ends,
// which to the engine is its parent dying.
TEST_F(EngineStop, EngineAndFfmpegEndWhenTheirParentDies) {
    TRedirector runner;
    bool ended = false;
    runner.OnTerminated = [&](TRedirector*) { ended = true; };
    runner.SetCommandLine(JoinCommandLine(QStringList{VARID_BIN_DIR "/avcore.dll"} +
                                          EngineArgs(Fifo(), kStuckOptions, Out("out.avi"))));
    // The parent lives until FFmpeg runs, then ends.
    std::promise<void> release;
    std::atomic<pid_t> engine{0};
    std::thread parent([&runner, &engine, done = release.get_future()] {
        runner.Execute();
        engine = runner.ProcessHandle();
        done.wait();
    });
    qint64 ffmpeg = 0;
    const bool found =
        QTest::qWaitFor([&] { return engine != 0 && (ffmpeg = FindChildProcess(engine)) != 0; }, kWaitMs);
    release.set_value();
    parent.join();
    ASSERT_TRUE(found);

    EXPECT_TRUE(QTest::qWaitFor([&] { return ended; }, kWaitMs)) << "the engine outlived its parent";
    EXPECT_EQ(runner.ExitCode(), 128 + SIGTERM);
    EXPECT_FALSE(ProcessRunning(ffmpeg)) << "FFmpeg outlived the engine";
    EXPECT_EQ(Temporaries(dir_.path()), QStringList());
}

} // namespace
} // namespace avtest
