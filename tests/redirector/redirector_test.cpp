#include "recorder.h"

#include "app/errors.h"

#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <csignal>
#include <fcntl.h>
#include <future>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

namespace {

void ExpectError(const std::function<void()>& action, const char* message) {
    try {
        action();
        ADD_FAILURE() << "no error, expected: " << message;
    } catch (const EVaridError& e) {
        EXPECT_EQ(e.message().toStdString(), message);
    }
}

QString MakeFifo(const QTemporaryDir& dir) {
    const QString path = dir.filePath(QStringLiteral("sync"));
    EXPECT_EQ(mkfifo(QFile::encodeName(path).constData(), 0600), 0);
    return path;
}

// Whether a process of ours may set its niceness to niceness: asked of the system by a child.
bool MaySetNiceness(int niceness) {
    const pid_t pid = fork();
    if (pid == 0)
        _exit(setpriority(PRIO_PROCESS, 0, niceness) == 0 ? 0 : 1);
    int status = 0;
    return pid > 0 && waitpid(pid, &status, 0) == pid && WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

// Lets a child waiting in an "await:FIFO" step go on.
void ReleaseAwait(const QString& fifo) {
    const int fd = open(QFile::encodeName(fifo).constData(), O_WRONLY);
    ASSERT_GE(fd, 0);
    close(fd);
}

// Returns once a child has reached a "notify:FIFO" step.
void AwaitNotify(const QString& fifo) {
    const int fd = open(QFile::encodeName(fifo).constData(), O_RDONLY);
    ASSERT_GE(fd, 0);
    char c;
    while (read(fd, &c, 1) > 0) {
    }
    close(fd);
}

// Gone, or only a zombie waiting for a parent that will not reap it.
bool ProcessGone(pid_t pid) {
    QFile stat(QStringLiteral("/proc/%1/stat").arg(pid));
    if (!stat.open(QIODevice::ReadOnly))
        return true;
    const QByteArray text = stat.readAll();
    const qsizetype nameEnd = text.lastIndexOf(')');
    return nameEnd < 0 || text.mid(nameEnd + 2, 1) == "Z";
}

pid_t PidFrom(const QByteArray& output) {
    const qsizetype at = output.indexOf("pid:");
    return at < 0 ? 0 : output.mid(at + 4, output.indexOf('\n', at) - at - 4).toInt();
}

QByteArray Pattern(qsizetype from, qsizetype count) {
    QByteArray bytes(count, Qt::Uninitialized);
    for (qsizetype i = 0; i < count; ++i)
        bytes[i] = static_cast<char>('a' + (from + i) % 26);
    return bytes;
}

} // namespace

TEST(Redirector, ChildWithoutOutputGivesExactlyOneEnd) {
    TRecorder rec;
    rec.runner->SetCommandLine(ScriptedChild({}));
    rec.runner->Execute();
    EXPECT_TRUE(rec.runner->Active());
    EXPECT_FALSE(rec.runner->ProcessEnded());
    ASSERT_TRUE(rec.WaitForEnd());
    rec.runner.reset(); // joins the reader; a stray second end could only come before this
    QCoreApplication::processEvents();
    ASSERT_EQ(rec.events.size(), 1u);
    EXPECT_EQ(rec.events[0].kind, TEvent::End);
    EXPECT_FALSE(rec.events[0].active);
    EXPECT_TRUE(rec.events[0].processEnded);
    EXPECT_EQ(rec.exitCode, 0);
}

TEST(Redirector, ReportsExitStatus) {
    struct Case {
        QStringList steps;
        int exitCode;
        int signal;
    };
    const Case cases[] = {{{"exit:3"}, 3, 0}, {{"out:x", "exit:0"}, 0, 0}, {{"kill:15"}, 128 + 15, 15}};
    TRecorder rec;
    for (const Case& c : cases) {
        rec.runner->SetCommandLine(ScriptedChild(c.steps));
        rec.events.clear();
        rec.runner->Execute();
        EXPECT_EQ(rec.runner->ExitCode(), -1) << "no status while it runs";
        ASSERT_TRUE(rec.WaitForEnd());
        EXPECT_EQ(rec.exitCode, c.exitCode) << c.steps.join(u' ').toStdString();
        EXPECT_EQ(rec.runner->ExitSignal(), c.signal);
        EXPECT_EQ(rec.runner->KilledBySignal(), c.signal != 0);
    }
}

TEST(Redirector, LastBytesBeforeExitArriveWithProcessEndedBeforeTheEnd) {
    QTemporaryDir dir;
    const QString fifo = MakeFifo(dir);
    TRecorder rec;
    rec.runner->SetCommandLine(ScriptedChild({"out:first", "await:" + fifo, "outn:5000", "exit:4"}));
    bool released = false;
    rec.onOut = [&](const QByteArray&) {
        if (std::exchange(released, true))
            return;
        // The reader waits while this runs: let the child write its tail and exit meanwhile.
        const pid_t pid = rec.runner->ProcessHandle();
        ReleaseAwait(fifo);
        siginfo_t info{};
        ASSERT_EQ(waitid(P_PID, static_cast<id_t>(pid), &info, WEXITED | WNOWAIT), 0);
    };
    rec.runner->Execute();
    ASSERT_TRUE(rec.WaitForEnd());

    ASSERT_GE(rec.events.size(), 3u);
    EXPECT_EQ(rec.events.front().bytes, "first");
    EXPECT_FALSE(rec.events.front().processEnded);
    EXPECT_EQ(rec.events.back().kind, TEvent::End);
    EXPECT_EQ(rec.Count(TEvent::End), 1);
    QByteArray tail;
    for (size_t i = 1; i + 1 < rec.events.size(); ++i) {
        EXPECT_EQ(rec.events[i].kind, TEvent::Out);
        EXPECT_TRUE(rec.events[i].processEnded);
        EXPECT_TRUE(rec.events[i].active);
        tail += rec.events[i].bytes;
    }
    EXPECT_EQ(tail, Pattern(0, 5000));
    EXPECT_EQ(rec.exitCode, 4);
}

TEST(Redirector, TerminateDrainsPendingOutputThenEndsOnce) {
    QTemporaryDir dir;
    const QString fifo = MakeFifo(dir);
    TRecorder rec;
    rec.runner->SetCommandLine(
        ScriptedChild({"out:ready", "await:" + fifo, "outn:3000", "notify:" + fifo, "block"}));
    bool terminated = false;
    rec.onOut = [&](const QByteArray&) {
        if (std::exchange(terminated, true))
            return;
        // The tail is written into the pipe while the reader waits for this handler.
        ReleaseAwait(fifo);
        AwaitNotify(fifo);
        const pid_t pid = rec.runner->ProcessHandle();
        rec.runner->Terminate(0);
        // The kill lands asynchronously; once it has, all that is left is drained.
        siginfo_t info{};
        ASSERT_EQ(waitid(P_PID, static_cast<id_t>(pid), &info, WEXITED | WNOWAIT), 0);
    };
    rec.runner->Execute();
    ASSERT_TRUE(rec.WaitForEnd());
    rec.runner.reset();
    QCoreApplication::processEvents();

    EXPECT_EQ(rec.Count(TEvent::End), 1);
    EXPECT_EQ(rec.events.back().kind, TEvent::End);
    EXPECT_FALSE(rec.events.back().active);
    EXPECT_EQ(rec.Bytes(TEvent::Out), "ready" + Pattern(0, 3000));
    for (size_t i = 1; i + 1 < rec.events.size(); ++i)
        EXPECT_TRUE(rec.events[i].processEnded) << "drained after the kill";
    EXPECT_EQ(rec.exitCode, 128 + SIGTERM);
}

TEST(Redirector, TerminateKillsTheWholeProcessGroup) {
    TRecorder rec;
    rec.runner->SetCommandLine(ScriptedChild({"fork", "out:ready", "block"}));
    rec.runner->Execute();
    ASSERT_TRUE(WaitUntil([&] { return rec.Bytes(TEvent::Out).contains("ready"); }));
    const pid_t grandchild = PidFrom(rec.Bytes(TEvent::Out));
    ASSERT_GT(grandchild, 0);
    rec.runner->Terminate(0);
    ASSERT_TRUE(rec.WaitForEnd());
    EXPECT_TRUE(rec.runner->KilledBySignal());
    EXPECT_TRUE(WaitUntil([&] { return ProcessGone(grandchild); }));
}

// Terminate asks first, so that the child can clean up: a child that handles SIGTERM ends as it
// chooses; one that ignores it is killed after a grace.
TEST(Redirector, TerminateAsksWithSigtermThenKills) {
    struct Case {
        QStringList steps;
        int exitCode;
        bool killed;
    };
    const Case cases[] = {
        {{"onterm:7", "out:ready", "block"}, 7, false},
        {{"ignore:15", "out:ready", "block"}, 128 + SIGKILL, true},
    };
    for (const Case& c : cases) {
        TRecorder rec;
        rec.runner->SetCommandLine(ScriptedChild(c.steps));
        rec.runner->Execute();
        ASSERT_TRUE(WaitUntil([&] { return rec.Bytes(TEvent::Out).contains("ready"); }));
        rec.runner->Terminate(0);
        ASSERT_TRUE(rec.WaitForEnd());
        EXPECT_EQ(rec.exitCode, c.exitCode) << c.steps.first().toStdString();
        EXPECT_EQ(rec.runner->KilledBySignal(), c.killed) << c.steps.first().toStdString();
    }
}

// The child is told to stop (SIGTERM) when the thread that started it ends, however it ends, so
// no child outlives the program that runs it.
TEST(Redirector, ChildIsStoppedWhenItsParentGoes) {
    TRecorder rec;
    rec.runner->SetCommandLine(ScriptedChild({"onterm:7", "out:ready", "block"}));
    std::promise<void> release;
    std::thread parent([&rec, done = release.get_future()] {
        rec.runner->Execute();
        done.wait();
    });
    const bool ready = WaitUntil([&] { return rec.Bytes(TEvent::Out).contains("ready"); });
    release.set_value();
    parent.join();
    ASSERT_TRUE(ready);
    ASSERT_TRUE(rec.WaitForEnd());
    EXPECT_EQ(rec.exitCode, 7);
}

TEST(Redirector, BlankCommandLineIsRefused) {
    for (const char* line : {"", "   ", " \t\r\n "}) {
        TRecorder rec;
        rec.runner->SetCommandLine(QString::fromLatin1(line));
        ExpectError([&] { rec.runner->Execute(); }, "No commandline to run");
        EXPECT_FALSE(rec.runner->Active());
    }
}

TEST(Redirector, StartFailuresCarryTheErrorNumber) {
    QTemporaryDir dir;
    const QString dataFile = dir.filePath(QStringLiteral("not a program"));
    QFile f(dataFile);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write("data");
    f.close();

    // The number, and the cause in words.
    struct Case {
        QString commandLine;
        QString directory;
        const char* message;
        const char* cause;
    };
    const Case cases[] = {
        {QuoteArgument(dir.filePath(QStringLiteral("missing"))),
         {},
         "Error creating process : 2",
         "does not exist"},
        {QStringLiteral("varid-no-such-program-on-path x"),
         {},
         "Error creating process : 2",
         "does not exist"},
        {QuoteArgument(dataFile), {}, "Error creating process : 13", "is not executable"},
        {ScriptedChild({}), dir.filePath(QStringLiteral("no folder")), "Error creating process : 2",
         "working folder"},
    };
    for (const Case& c : cases) {
        TRecorder rec;
        rec.runner->SetCommandLine(c.commandLine);
        rec.runner->CurrentDirectory = c.directory;
        try {
            rec.runner->Execute();
            ADD_FAILURE() << "no error, expected: " << c.message;
        } catch (const EVaridError& e) {
            EXPECT_TRUE(e.message().startsWith(QLatin1String(c.message) + QLatin1String(" (")))
                << e.message().toStdString();
            EXPECT_TRUE(e.message().contains(QLatin1String(c.cause))) << e.message().toStdString();
        }
        EXPECT_FALSE(rec.runner->Active());
        EXPECT_FALSE(rec.runner->ProcessEnded());
        // Rolled back to idle: the runner starts the next child.
        rec.runner->CurrentDirectory.clear();
        rec.runner->SetCommandLine(ScriptedChild({"exit:0"}));
        rec.runner->Execute();
        ASSERT_TRUE(rec.WaitForEnd());
        EXPECT_TRUE(rec.events.size() == 1 && rec.events[0].kind == TEvent::End);
    }
}

TEST(Redirector, SettingsAreGuardedWhileAChildRuns) {
    TRecorder rec;
    TRedirector& r = *rec.runner;
    const QString line = ScriptedChild({"block"});
    r.SetCommandLine(line);
    r.SetDefaultErrorMode(true);
    r.SetInitialPriority(ppNormal);
    ExpectError([&] { r.Terminate(0); }, "Cannot Terminate an inactive process");
    r.Execute();

    ExpectError([&] { r.Execute(); }, "Process is already active");
    r.SetCommandLine(line.toUpper()); // the same apart from letter case: stored
    EXPECT_EQ(r.CommandLine(), line.toUpper());
    ExpectError([&] { r.SetCommandLine(line + " x"); }, "Cannot change Commandline while process is active");
    r.SetDefaultErrorMode(true);
    ExpectError([&] { r.SetDefaultErrorMode(false); },
                "Cannot change DefaultErrorMode while process is active");
    ExpectError([&] { r.SetInitialPriority(ppNormal); },
                "Cannot change InititalPriority while process is active");
    EXPECT_EQ(r.CommandLine(), line.toUpper());
    EXPECT_TRUE(r.DefaultErrorMode());
    EXPECT_EQ(r.InitialPriority(), ppNormal);

    r.Terminate(0);
    ASSERT_TRUE(rec.WaitForEnd());
    r.SetCommandLine(line);
    r.SetDefaultErrorMode(false);
    r.SetInitialPriority(ppIdle);
    EXPECT_EQ(r.InitialPriority(), ppIdle);
}

TEST(Redirector, DestroyingWhileRunningKillsTheChildAndCallsNoEvent) {
    TRecorder rec;
    rec.runner->KillOnDestroy = true;
    rec.runner->SetCommandLine(ScriptedChild({"fork", "out:ready", "block"}));
    rec.runner->Execute();
    const pid_t child = rec.runner->ProcessHandle();
    ASSERT_TRUE(WaitUntil([&] { return rec.Bytes(TEvent::Out).contains("ready"); }));
    const pid_t grandchild = PidFrom(rec.Bytes(TEvent::Out));
    const size_t eventsBefore = rec.events.size();

    rec.runner.reset();
    EXPECT_EQ(kill(child, 0), -1) << "killed and reaped";
    EXPECT_TRUE(WaitUntil([&] { return ProcessGone(grandchild); }));
    QCoreApplication::processEvents();
    EXPECT_EQ(rec.events.size(), eventsBefore);
}

TEST(Redirector, DestroyingWithoutKillLeavesTheChildRunningAndReapsItLater) {
    TRecorder rec;
    rec.runner->SetCommandLine(ScriptedChild({"out:ready", "block"}));
    rec.runner->Execute();
    const pid_t child = rec.runner->ProcessHandle();
    ASSERT_TRUE(WaitUntil([&] { return rec.Bytes(TEvent::Out).contains("ready"); }));
    rec.runner.reset();
    EXPECT_EQ(kill(child, 0), 0) << "still running";
    QCoreApplication::processEvents();
    EXPECT_EQ(rec.Count(TEvent::End), 0);
    ASSERT_EQ(kill(child, SIGKILL), 0);
    EXPECT_TRUE(WaitUntil([&] { return kill(child, 0) == -1; })) << "reaped, not left a zombie";
}

TEST(Redirector, DestroyingFromInsideAnEventHandlerIsSafe) {
    TRecorder rec;
    rec.runner->KillOnDestroy = true;
    rec.runner->SetCommandLine(ScriptedChild({"out:ready", "outn:200000", "block"}));
    pid_t child = 0;
    rec.onOut = [&](const QByteArray&) {
        if (!rec.runner)
            return;
        child = rec.runner->ProcessHandle();
        rec.runner.reset();
    };
    rec.runner->Execute();
    ASSERT_TRUE(WaitUntil([&] { return !rec.runner; }));
    EXPECT_EQ(kill(child, 0), -1);
    QCoreApplication::processEvents();
    EXPECT_EQ(rec.Count(TEvent::Out), 1);
    EXPECT_EQ(rec.Count(TEvent::End), 0);
}

TEST(Redirector, MegabyteOfOutputArrivesWhole) {
    TRecorder rec;
    rec.runner->SetCommandLine(ScriptedChild({"outn:1048576", "errn:1000", "out:end"}));
    rec.runner->Execute();
    ASSERT_TRUE(rec.WaitForEnd());
    EXPECT_EQ(rec.Bytes(TEvent::Out), Pattern(0, 1048576) + "end");
    EXPECT_EQ(rec.Bytes(TEvent::Err), Pattern(1048576, 1000));
    EXPECT_EQ(rec.Count(TEvent::End), 1);
    EXPECT_EQ(rec.exitCode, 0);
}

TEST(Redirector, FailingHandlerKillsTheChildAndStillEnds) {
    TRecorder rec;
    rec.runner->SetCommandLine(ScriptedChild({"out:x", "block"}));
    rec.onOut = [](const QByteArray&) { throw EVaridError(QStringLiteral("parser broke")); };
    rec.runner->Execute();
    ASSERT_TRUE(rec.WaitForEnd());
    EXPECT_EQ(rec.runner->LastError(), QStringLiteral("parser broke"));
    EXPECT_TRUE(rec.runner->KilledBySignal());
    EXPECT_NE(rec.exitCode, 0) << "never booked as success";
}

TEST(Redirector, NextChildStartsFromTheEndHandler) {
    TRecorder rec;
    rec.runner->SetCommandLine(ScriptedChild({"out:one"}));
    int ends = 0;
    rec.onEnd = [&] {
        if (++ends == 1) {
            rec.runner->SetCommandLine(ScriptedChild({"out:two", "exit:5"}));
            rec.runner->Execute();
        }
    };
    rec.runner->Execute();
    ASSERT_TRUE(WaitUntil([&] { return ends == 2; }));
    EXPECT_EQ(rec.Bytes(TEvent::Out), "onetwo");
    EXPECT_EQ(rec.exitCode, 5);
}

TEST(Redirector, PriorityChangesTheChildsNiceness) {
    const int ours = getpriority(PRIO_PROCESS, 0);
    const auto nicenessFor = [](int priority) {
        TRecorder rec;
        rec.runner->SetInitialPriority(static_cast<TProcessPriority>(priority));
        rec.runner->SetCommandLine(ScriptedChild({"nice"}));
        rec.runner->Execute();
        EXPECT_TRUE(rec.WaitForEnd());
        const QByteArray out = rec.Bytes(TEvent::Out);
        EXPECT_TRUE(out.startsWith("nice:")) << out.toStdString();
        return out.mid(5).trimmed().toInt();
    };
    EXPECT_EQ(nicenessFor(ppDefault), ours);
    EXPECT_EQ(nicenessFor(ppNormal), ours);
    EXPECT_EQ(nicenessFor(5), ours) << "unknown values change nothing";
    EXPECT_EQ(nicenessFor(ppIdle), 19);
    // Raising needs a privilege (root has it); without it the child runs at ours.
    for (const auto& [priority, raised] : {std::pair{ppHigh, -5}, std::pair{ppRealTime, -10}}) {
        const bool allowed = MaySetNiceness(raised);
        EXPECT_TRUE(allowed || geteuid() != 0) << "root may raise the priority";
        EXPECT_EQ(nicenessFor(priority), allowed ? raised : ours) << raised;
    }
}

TEST(Redirector, ChildGetsFolderEnvironmentAndApplicationName) {
    QTemporaryDir dir;
    TRecorder rec;
    TRedirector& r = *rec.runner;
    r.CurrentDirectory = dir.path();
    r.Environment = QStringList{QStringLiteral("VARID_PROBE=yes")};
    r.ApplicationName = TestBin("scripted_child");
    r.SetCommandLine(QStringLiteral("scripted_child pwd env:VARID_PROBE env:HOME"));
    EXPECT_EQ(r.GetCommandLine(), r.ApplicationName + " " + r.CommandLine());
    r.Execute();
    ASSERT_TRUE(rec.WaitForEnd());
    EXPECT_EQ(QString::fromLocal8Bit(rec.Bytes(TEvent::Out)),
              QFileInfo(dir.path()).canonicalFilePath() + "\nyes\n<unset>\n");
}
