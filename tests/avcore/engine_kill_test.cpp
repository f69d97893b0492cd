// Ending the engine ends FFmpeg: whether the engine is killed outright or asked to stop.
#include "engine_fixture.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTest>

#include <csignal>
#include <sys/stat.h>

namespace avtest {
namespace {

constexpr int kWaitMs = 30000;

struct ProcStat {
    bool exists = false;
    char state = '?';
    qint64 parent = 0;
    qint64 group = 0;
};

// /proc/<pid>/stat: "pid (comm) state ppid pgrp ..."; comm may hold blanks, so read after the last ')'.
ProcStat ReadStat(qint64 pid) {
    QFile file(QString("/proc/%1/stat").arg(pid));
    ProcStat stat;
    if (!file.open(QIODevice::ReadOnly)) {
        return stat;
    }
    const QByteArray text = file.readAll();
    const QList<QByteArray> fields = text.mid(text.lastIndexOf(')') + 2).split(' ');
    if (fields.size() < 3) {
        return stat;
    }
    stat.exists = true;
    stat.state = fields[0].isEmpty() ? '?' : fields[0][0];
    stat.parent = fields[1].toLongLong();
    stat.group = fields[2].toLongLong();
    return stat;
}

qint64 FindChild(qint64 parent) {
    for (const QString& entry : QDir("/proc").entryList(QDir::Dirs)) {
        bool number = false;
        const qint64 pid = entry.toLongLong(&number);
        if (number && ReadStat(pid).parent == parent) {
            return pid;
        }
    }
    return 0;
}

bool Running(qint64 pid) {
    const ProcStat stat = ReadStat(pid);
    return stat.exists && stat.state != 'Z' && stat.state != 'X';
}

class EngineStop : public EngineTest {
  protected:
    // Starts a conversion that cannot finish: its input is a named pipe nobody writes, so FFmpeg
    // waits in it until it is ended. Returns FFmpeg's pid.
    qint64 StartStuckConversion() {
        const QString fifo = Out("stream.avi");
        if (mkfifo(fifo.toLocal8Bit().constData(), 0600) != 0) {
            return 0;
        }
        engine_.setProcessChannelMode(QProcess::MergedChannels);
        engine_.start(QStringLiteral(VARID_BIN_DIR "/avcore.dll"),
                      EngineArgs(fifo, "-y -f avi -vcodec msmpeg4 -b 1080k -r 25 -an ", Out("out.avi")));
        if (!engine_.waitForStarted()) {
            return 0;
        }
        qint64 ffmpeg = 0;
        [[maybe_unused]] const bool found =
            QTest::qWaitFor([&] { return (ffmpeg = FindChild(engine_.processId())) != 0; }, kWaitMs);
        return ffmpeg;
    }

    QProcess engine_;
};

TEST_F(EngineStop, KilledEngineTakesFfmpegWithIt) {
    const qint64 ffmpeg = StartStuckConversion();
    ASSERT_NE(ffmpeg, 0) << engine_.readAll().toStdString();
    EXPECT_EQ(ReadStat(ffmpeg).group, ReadStat(engine_.processId()).group)
        << "FFmpeg runs in the engine's process group";

    kill(static_cast<pid_t>(engine_.processId()), SIGKILL);
    ASSERT_TRUE(engine_.waitForFinished(kWaitMs));
    EXPECT_TRUE(QTest::qWaitFor([&] { return !Running(ffmpeg); }, kWaitMs))
        << "FFmpeg outlived the killed engine";
}

TEST_F(EngineStop, TerminatedEngineStopsFfmpegAndSaysSo) {
    const qint64 ffmpeg = StartStuckConversion();
    ASSERT_NE(ffmpeg, 0) << engine_.readAll().toStdString();

    kill(static_cast<pid_t>(engine_.processId()), SIGTERM);
    ASSERT_TRUE(engine_.waitForFinished(kWaitMs));
    EXPECT_NE(engine_.exitCode(), 0);
    EXPECT_FALSE(Running(ffmpeg));
    const QString output = QString::fromLocal8Bit(engine_.readAll()).trimmed();
    EXPECT_TRUE(output.section('\n', -1).startsWith("Error: the conversion was stopped"))
        << output.toStdString();
}

} // namespace
} // namespace avtest
