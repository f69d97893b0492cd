// An engine started ahead of its turn (VARID_AVCORE_STANDBY=1) reads its source and waits for the
// converter's word on its standard input. Before that word it writes and says nothing, and it
// leaves without a trace when its input ends or it is stopped; after it, it converts the source
// as the source is then, not as it was when it was read ahead.
#include "engine_fixture.h"

#include "support/processes.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTest>

#include <csignal>
#include <fcntl.h>
#include <poll.h>
#include <sys/stat.h>
#include <unistd.h>

namespace avtest {
namespace {

constexpr int kWaitMs = 30000;
const char* const kOptions = "-y -f avi -vcodec msmpeg4 -b 1080k -r 25 -acodec mp3 -ab 128";

class EngineStandBy : public EngineTest {
  protected:
    void SetUp() override {
        work_ = Out(QStringLiteral("work"));
        ASSERT_TRUE(QDir().mkpath(work_));
        // FFprobe that tells the test, through a named pipe, when it has read the source the
        // first time; the test then knows the engine is (or is about to be) waiting.
        mark_ = Out(QStringLiteral("probed"));
        ASSERT_EQ(mkfifo(mark_.toLocal8Bit().constData(), 0600), 0);
        probe_ = Out(QStringLiteral("ffprobe"));
        QFile script(probe_);
        ASSERT_TRUE(script.open(QIODevice::WriteOnly));
        script.write(QStringLiteral("#!/bin/sh\nffprobe \"$@\"\nstatus=$?\n"
                                    "if [ ! -e '%1.once' ]; then : > '%1.once'; echo read > '%1'; fi\n"
                                    "exit $status\n")
                         .arg(mark_)
                         .toUtf8());
        script.close();
        ASSERT_TRUE(script.setPermissions(script.permissions() | QFileDevice::ExeOwner));
    }

    // Starts the engine ahead of its turn for source, converting into the work folder.
    void Start(const QString& source, bool dryRun = false, const char* options = kOptions) {
        auto env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("VARID_AVCORE_STANDBY"), QStringLiteral("1"));
        env.insert(QStringLiteral("VARID_FFPROBE"), probe_);
        if (dryRun) {
            env.insert(QStringLiteral("VARID_AVCORE_DRY_RUN"), QStringLiteral("1"));
        }
        engine_.setProcessEnvironment(env);
        engine_.setProcessChannelMode(QProcess::MergedChannels);
        engine_.start(QStringLiteral(VARID_BIN_DIR "/avcore.dll"), EngineArgs(source, options, Output()));
        ASSERT_TRUE(engine_.waitForStarted());
    }

    // Waits until FFprobe has read the source ahead.
    bool WaitUntilRead() const {
        const int fd = open(mark_.toLocal8Bit().constData(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
        if (fd < 0) {
            return false;
        }
        pollfd ready{fd, POLLIN, 0};
        const bool read = poll(&ready, 1, kWaitMs) == 1 && (ready.revents & POLLIN) != 0;
        close(fd);
        return read;
    }

    // Waits until the engine, its source read, waits for the word: it has no child left (not even
    // one yet to be reaped) and sits in poll.
    bool WaitUntilWaiting() {
        const qint64 pid = engine_.processId();
        const auto waiting = [pid] {
            for (const QString& entry : QDir(QStringLiteral("/proc")).entryList(QDir::Dirs)) {
                if (ReadProcStat(entry.toLongLong()).parent == pid) {
                    return false;
                }
            }
            return InPoll(pid);
        };
        return WaitUntilRead() && QTest::qWaitFor(waiting, kWaitMs);
    }

    // Whether the process sleeps in poll (the engine waiting for the word, or for FFmpeg's output).
    static bool InPoll(qint64 pid) {
        QFile wchan(QStringLiteral("/proc/%1/wchan").arg(pid));
        return wchan.open(QIODevice::ReadOnly) && wchan.readAll().contains("poll");
    }

    int Finish() {
        EXPECT_TRUE(engine_.waitForFinished(kWaitMs));
        return engine_.exitStatus() == QProcess::NormalExit ? engine_.exitCode() : -1;
    }

    QString Output() const { return work_ + QStringLiteral("/out.avi"); }
    QStringList WorkFiles() const {
        return QDir(work_).entryList(QDir::Files | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot);
    }

    QString work_, mark_, probe_;
    QProcess engine_;
};

TEST_F(EngineStandBy, WithoutGoItLeavesSilentlyAndWritesNothing) {
    for (const bool stopped : {false, true}) {
        SCOPED_TRACE(stopped ? "stopped" : "input ended");
        QFile::remove(mark_ + QStringLiteral(".once"));
        Start(Sources::Get().AudioVideo());
        ASSERT_TRUE(WaitUntilRead());
        if (stopped) {
            kill(static_cast<pid_t>(engine_.processId()), SIGTERM);
        } else {
            engine_.closeWriteChannel();
        }
        EXPECT_EQ(Finish(), stopped ? 128 + SIGTERM : 1);
        EXPECT_EQ(engine_.readAll(), QByteArray());
        EXPECT_EQ(WorkFiles(), QStringList());
    }
}

TEST_F(EngineStandBy, AfterGoItConverts) {
    Start(Sources::Get().AudioVideo());
    ASSERT_TRUE(WaitUntilRead());
    EXPECT_EQ(WorkFiles(), QStringList()) << "nothing is written before go";
    engine_.write("g");
    const int code = Finish();
    const QString log = QString::fromUtf8(engine_.readAll());
    ASSERT_EQ(code, 0) << log.toStdString();
    EXPECT_EQ(WorkFiles(), QStringList{QStringLiteral("out.avi")});
    const ProbedFile out = Probe(Output());
    ASSERT_TRUE(out.ok);
    EXPECT_TRUE(out.Film() && out.Sound());
}

// The word says whether the user agreed to replace an existing output, for options that do not
// replace it themselves (the disc presets have no "-y"): "g" keeps it, "r" replaces it.
TEST_F(EngineStandBy, TheWordSaysWhetherAnExistingOutputMayBeReplaced) {
    for (const char word : {'g', 'r'}) {
        SCOPED_TRACE(word);
        QFile::remove(mark_ + QStringLiteral(".once"));
        QFile old(Output());
        ASSERT_TRUE(old.open(QIODevice::WriteOnly | QIODevice::Truncate));
        old.write("old");
        old.close();
        Start(Sources::Get().AudioVideo(), false, kOptions + 3); // the options without "-y "
        ASSERT_TRUE(WaitUntilRead());
        engine_.write(&word, 1);
        const int code = Finish();
        const QString log = QString::fromUtf8(engine_.readAll());
        QFile result(Output());
        ASSERT_TRUE(result.open(QIODevice::ReadOnly));
        if (word == 'g') {
            EXPECT_EQ(code, 1) << log.toStdString();
            EXPECT_EQ(result.readAll(), QByteArray("old"));
        } else {
            EXPECT_EQ(code, 0) << log.toStdString();
            EXPECT_GT(result.size(), 1000);
        }
        EXPECT_EQ(WorkFiles(), QStringList{QStringLiteral("out.avi")}) << "no temporary file is left";
    }
}

// FFmpeg's libraries are in the engine only while it reads the source: not while it waits for its
// turn, and not while FFmpeg converts (the engine's own end and FFmpeg's start stay light), whether
// it read the source ahead of its turn or at it.
TEST_F(EngineStandBy, FfmpegsLibrariesAreLoadedOnlyWhileTheSourceIsRead) {
    for (const bool ahead : {true, false}) {
        SCOPED_TRACE(ahead ? "read ahead" : "read at its turn");
        QFile::remove(Output());
        auto env = QProcessEnvironment::systemEnvironment();
        env.remove(QStringLiteral("VARID_FFPROBE"));
        env.remove(QStringLiteral("VARID_FFMPEG"));
        if (ahead)
            env.insert(QStringLiteral("VARID_AVCORE_STANDBY"), QStringLiteral("1"));
        engine_.setProcessEnvironment(env);
        engine_.start(QStringLiteral(VARID_BIN_DIR "/avcore.dll"),
                      EngineArgs(Sources::Get().AudioVideo(), kOptions, Output()));
        ASSERT_TRUE(engine_.waitForStarted());
        const qint64 pid = engine_.processId();
        const auto isFfmpeg = [](qint64 child) {
            QFile comm(QStringLiteral("/proc/%1/comm").arg(child));
            return comm.open(QIODevice::ReadOnly) && comm.readAll().trimmed() == "ffmpeg";
        };
        const auto inPoll = [pid] { return InPoll(pid); };
        const auto mapsCodecs = [pid] {
            QFile maps(QStringLiteral("/proc/%1/maps").arg(pid));
            return maps.open(QIODevice::ReadOnly) && maps.readAll().contains("libavcodec");
        };

        if (ahead) {
            // Waiting for its turn: the source was read in this process (there is no child), and
            // the libraries are gone again.
            ASSERT_TRUE(QTest::qWaitFor([&] { return FindChildProcess(pid) == 0 && inPoll(); }, kWaitMs));
            EXPECT_FALSE(mapsCodecs());
            engine_.write("g");
        }
        // Converting: FFmpeg is held still as soon as it runs; the engine in poll then reads it.
        qint64 ffmpeg = 0;
        ASSERT_TRUE(QTest::qWaitFor([&] { return (ffmpeg = FindChildProcess(pid)) != 0 && isFfmpeg(ffmpeg); },
                                    kWaitMs));
        kill(static_cast<pid_t>(ffmpeg), SIGSTOP);
        ASSERT_TRUE(QTest::qWaitFor(inPoll, kWaitMs));
        EXPECT_FALSE(mapsCodecs());
        kill(static_cast<pid_t>(ffmpeg), SIGCONT);
        EXPECT_EQ(Finish(), 0);
    }
}

// Read ahead as a sound file, replaced by a film before go: the conversion is planned for the
// film, exactly as for an engine that read it at its turn.
TEST_F(EngineStandBy, ASourceReplacedBeforeGoIsReadAgain) {
    const QString source = work_ + QStringLiteral("/source.mp4");
    const auto plan = [this](const QString& input) {
        EngineResult r = RunEngine(EngineArgs(input, kOptions, Output()), {"VARID_AVCORE_DRY_RUN=1"});
        return r.lines.join(QLatin1Char('\n')).replace(input, QStringLiteral("SOURCE"));
    };
    const QString forSound = plan(Sources::Get().AudioOnly());
    const QString forFilm = plan(Sources::Get().AudioVideo());
    ASSERT_NE(forSound, forFilm);

    ASSERT_TRUE(QFile::copy(Sources::Get().AudioOnly(), source));
    Start(source, true);
    ASSERT_TRUE(WaitUntilWaiting());
    ASSERT_TRUE(QFile::remove(source));
    ASSERT_TRUE(QFile::copy(Sources::Get().AudioVideo(), source));
    engine_.write("g");
    ASSERT_EQ(Finish(), 0);
    EXPECT_EQ(QString::fromUtf8(engine_.readAll()).trimmed().replace(source, QStringLiteral("SOURCE")),
              forFilm);
}

} // namespace
} // namespace avtest
