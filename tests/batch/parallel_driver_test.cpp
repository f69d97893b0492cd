// The batch driver with several files at once, over scripted engines: how many run, that each
// file keeps the rules of the one-at-a-time batch (booked by its own end, source deleted only after
// its own success, failed rows to the end, one output name written by one engine at a time, its
// own script), the stop commands, and the batch progress over every file in flight.
#include "driver_fixture.h"
#include "engine/batch_command.h"
#include "engine/batch_driver.h"
#include "engine_pool.h"
#include "lang/strings.h"
#include "recording_view.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

// A conversion of ten seconds in six blocks: names and duration, then 2, 4, 6, 8 and 10 seconds.
TScriptedRun goodRun(const QString& name) {
    TScriptedRun run;
    run.blocks << ("Input #0, avi, from '/in/" + name + "':\n  Duration: 00:00:10.00, start: 0.0\n").toUtf8();
    for (int s = 2; s <= 10; s += 2)
        run.blocks << QStringLiteral("size= 10kB time=%1.00 bitrate= 1.0kbits/s\n").arg(s).toUtf8();
    return run;
}

TScriptedRun failingRun(const QString& name) {
    TScriptedRun run = goodRun(name);
    run.blocks.insert(2, QByteArray("Could not open codec libfoo\n"));
    run.exitCode = 1;
    run.output = TScriptedRun::Output::Missing;
    return run;
}

class ParallelDriverTest : public TDriverFixture {
  protected:
    TScriptedEngine first;
    TScriptedEnginePool pool;

    void SetUp() override {
        pool.attach(first);
        SetUpDriver(first);
        driver->SetEngineFactory([this] { return pool.make(); });
        atOnce(3);
    }
    void atOnce(int files) {
        driver->SetSettings({dir.filePath(QStringLiteral("out")),
                             QStringLiteral(".avi"),
                             [] { return QStringLiteral("-y -f avi "); },
                             {QStringLiteral(".vob")},
                             files});
    }
    // A source in in/ with a good run scripted for it.
    QString source(const QString& name, int64_t size = 100) {
        pool.runs.insert(name, goodRun(name));
        return listSource(name, size);
    }
    QStringList outFolder() const {
        return QDir(dir.filePath(QStringLiteral("out")))
            .entryList(QDir::Files | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot);
    }
};

TEST_F(ParallelDriverTest, ThreeAtOnceConvertEveryFileOnceAndNeverMoreAtATime) {
    for (const char* name : {"a.mpg", "b.mpg", "c.mpg", "d.mpg", "e.mpg"})
        source(QString::fromLatin1(name));
    options.Priority = 2;
    ASSERT_TRUE(driver->Convert());

    EXPECT_EQ(driver->FilesAtOnce(), 3);
    EXPECT_EQ(view.filesAtOnce, 3);
    EXPECT_EQ(pool.mostRunning, 3);
    EXPECT_EQ(pool.started,
              (QStringList{QStringLiteral("a.mpg"), QStringLiteral("b.mpg"), QStringLiteral("c.mpg"),
                           QStringLiteral("d.mpg"), QStringLiteral("e.mpg")}));
    EXPECT_TRUE(queue.rows.isEmpty());
    EXPECT_EQ(driver->Run().DoneCount, 5);
    EXPECT_EQ(outFolder(),
              (QStringList{QStringLiteral("a.avi"), QStringLiteral("b.avi"), QStringLiteral("c.avi"),
                           QStringLiteral("d.avi"), QStringLiteral("e.avi")}));
    ASSERT_EQ(pool.engines.size(), 3U);
    for (const TScriptedEngine* engine : pool.engines)
        EXPECT_EQ(engine->priorities, QList<TEnginePriority>{TEnginePriority::High});
    EXPECT_EQ(view.closeResult, mrOk);
    EXPECT_EQ(view.batchPercent, 100);
    EXPECT_FALSE(view.reportHadError);
    EXPECT_FALSE(first.executedInsideEndHandler);
}

TEST_F(ParallelDriverTest, AFailingFileAloneFailsAndGoesToTheEnd) {
    source(QStringLiteral("a.mpg"));
    const QString b = source(QStringLiteral("b.mpg")), c = source(QStringLiteral("c.mpg"));
    source(QStringLiteral("d.mpg"));
    pool.runs[QStringLiteral("b.mpg")] = failingRun(QStringLiteral("b.mpg"));
    pool.runs[QStringLiteral("c.mpg")].failToStart = true;
    atOnce(2);
    ASSERT_TRUE(driver->Convert());

    // c could not start while b still converted: c was booked first.
    EXPECT_EQ(queue.captions(), (QStringList{c, b}));
    EXPECT_EQ(driver->Run().DoneCount, 2);
    EXPECT_EQ(driver->Run().FailedCount, 2);
    EXPECT_EQ(pool.started.size(), 4); // each file once
    EXPECT_EQ(outFolder(), (QStringList{QStringLiteral("a.avi"), QStringLiteral("d.avi")}));
    EXPECT_TRUE(view.fileErrors.contains(b + QStringLiteral(": Could not open codec libfoo")))
        << view.fileErrors.join(QLatin1Char('|')).toStdString();
    const QList<TNotConverted> failed = driver->Report().Failed();
    ASSERT_EQ(failed.size(), 2);
    EXPECT_EQ(failed[0].source, c);
    EXPECT_TRUE(failed[0].reason.startsWith(QStringLiteral("Error creating process")))
        << failed[0].reason.toStdString();
    EXPECT_EQ(failed[1].source, b);
    EXPECT_EQ(failed[1].lines, QStringList{QStringLiteral("Could not open codec libfoo")});
    EXPECT_TRUE(view.reportHadError);
    EXPECT_EQ(view.reportResult, mrOk);
}

TEST_F(ParallelDriverTest, ASourceIsDeletedOnlyAfterItsOwnFileConverted) {
    const QString a = source(QStringLiteral("a.mpg")), b = source(QStringLiteral("b.mpg")),
                  c = source(QStringLiteral("c.mpg")), d = source(QStringLiteral("d.mpg"));
    pool.runs[QStringLiteral("c.mpg")] = failingRun(QStringLiteral("c.mpg"));
    options.DeleteFileAfterProcessing = true;
    // Whenever any engine works, every source being converted is still there.
    int looks = 0;
    pool.beforeBlock = [&](const QString&, int) {
        for (const QString& name : std::as_const(pool.running)) {
            ++looks;
            EXPECT_TRUE(QFile::exists(dir.filePath(QStringLiteral("in/") + name))) << name.toStdString();
        }
    };
    ASSERT_TRUE(driver->Convert());

    EXPECT_GT(looks, 12);
    EXPECT_FALSE(QFile::exists(a));
    EXPECT_FALSE(QFile::exists(b));
    EXPECT_TRUE(QFile::exists(c));
    EXPECT_FALSE(QFile::exists(d));
}

TEST_F(ParallelDriverTest, StopNowStopsEveryEngineAndLeavesNoOutput) {
    for (const char* name : {"a.mpg", "b.mpg", "c.mpg", "d.mpg", "e.mpg"})
        source(QString::fromLatin1(name));
    const QStringList before = queue.captions();
    pool.beforeBlock = [&](const QString& source, int block) {
        if (source == QStringLiteral("c.mpg") && block == 2)
            driver->StopNow();
    };
    ASSERT_TRUE(driver->Convert());

    EXPECT_EQ(view.closeResult, mrCancel);
    EXPECT_EQ(view.reportResult, mrCancel);
    int terminations = 0;
    for (const TScriptedEngine* engine : pool.engines)
        terminations += engine->terminations;
    EXPECT_EQ(terminations, 3);
    EXPECT_TRUE(view.booked.isEmpty());
    EXPECT_EQ(queue.captions(), before);
    EXPECT_TRUE(outFolder().isEmpty()) << outFolder().join(QLatin1Char(' ')).toStdString();
    const TBatchReport report = driver->Report();
    ASSERT_EQ(report.notConverted.size(), 5);
    for (const TNotConverted& file : report.notConverted) {
        EXPECT_EQ(file.kind, TNotConverted::Kind::NotReached);
        EXPECT_EQ(file.reason, QStringLiteral("stopped before it was converted"));
    }
}

TEST_F(ParallelDriverTest, WhenDoneLetsTheFilesInFlightFinishAndStartsNoOther) {
    for (const char* name : {"a.mpg", "b.mpg", "c.mpg", "d.mpg"})
        source(QString::fromLatin1(name));
    atOnce(2);
    pool.beforeBlock = [&](const QString& source, int block) {
        if (source == QStringLiteral("b.mpg") && block == 1)
            driver->SetStopWhenDone(true);
    };
    ASSERT_TRUE(driver->Convert());

    EXPECT_EQ(pool.started, (QStringList{QStringLiteral("a.mpg"), QStringLiteral("b.mpg")}));
    ASSERT_EQ(view.booked.size(), 2);
    EXPECT_TRUE(view.booked[0].converted);
    EXPECT_TRUE(view.booked[1].converted);
    EXPECT_EQ(queue.rows.size(), 2);
    EXPECT_EQ(view.closeResult, mrOk);
}

TEST_F(ParallelDriverTest, AWithdrawnWhenDoneStartsTheFreePlacesAgain) {
    for (const char* name : {"a.mpg", "b.mpg", "c.mpg", "d.mpg"})
        source(QString::fromLatin1(name));
    pool.runs[QStringLiteral("a.mpg")].blocks.resize(2); // a ends while b still converts
    atOnce(2);
    pool.beforeBlock = [&](const QString& source, int block) {
        if (source == QStringLiteral("a.mpg") && block == 1)
            driver->SetStopWhenDone(true);
        if (source == QStringLiteral("b.mpg") && block == 4) {
            EXPECT_EQ(pool.running, QSet<QString>{QStringLiteral("b.mpg")}); // a's place stayed free
            driver->SetStopWhenDone(false);
        }
        if (source == QStringLiteral("b.mpg") && block == 5) { // c took the free place at once
            EXPECT_EQ(pool.running, (QSet<QString>{QStringLiteral("b.mpg"), QStringLiteral("c.mpg")}));
        }
    };
    ASSERT_TRUE(driver->Convert());

    EXPECT_EQ(pool.started.size(), 4);
    EXPECT_TRUE(queue.rows.isEmpty());
    EXPECT_EQ(view.closeResult, mrOk);
}

TEST_F(ParallelDriverTest, TwoFilesOfOneOutputNameNeverConvertAtOnce) {
    // The list's check would refuse such a batch; the driver keeps the rule on its own too.
    source(QStringLiteral("a.mpg"));
    source(QStringLiteral("a.mkv"));
    source(QStringLiteral("c.mpg"));
    pool.beforeBlock = [&](const QString&, int) {
        EXPECT_FALSE(pool.running.contains(QStringLiteral("a.mpg")) &&
                     pool.running.contains(QStringLiteral("a.mkv")));
    };
    ASSERT_TRUE(driver->Convert());

    EXPECT_EQ(pool.started,
              (QStringList{QStringLiteral("a.mpg"), QStringLiteral("c.mpg"), QStringLiteral("a.mkv")}));
    EXPECT_EQ(driver->Run().DoneCount, 3);
    EXPECT_EQ(pool.mostRunning, 2);
}

TEST_F(ParallelDriverTest, EachFileHasItsOwnScriptWhileTheyConvertTogether) {
    touch(AvsTemplateFileName(), "DirectShowSource(\"<%InputFile%>\")\n");
    const QString a = source(QStringLiteral("a.vob")), b = source(QStringLiteral("b.vob"));
    // The engines name their scripts, not the sources: every run gets the same script.
    TScriptedRun run = goodRun(QStringLiteral("x.vob"));
    first.runFor = [run](const QString&) { return run; };
    driver->SetEngineFactory([&] {
        auto engine = std::make_unique<TScriptedEngine>();
        engine->runFor = [run](const QString&) { return run; };
        pool.engines.push_back(engine.get());
        return engine;
    });
    QMap<QString, QByteArray> seen; // source -> its script while both run
    first.beforeBlock = [&](int, int block) {
        if (block != 1)
            return;
        for (const TScriptedEngine* engine : pool.engines) {
            QFile script(SplitCommandLine(engine->GetCommandLine()).value(4));
            if (script.open(QIODevice::ReadOnly))
                seen.insert(TScriptedEngine::outputOf(engine->GetCommandLine()), script.readAll());
        }
    };
    ASSERT_TRUE(driver->Convert());

    EXPECT_EQ(seen.value(output(QStringLiteral("a.avi"))), ("DirectShowSource(\"" + a + "\")\r\n").toUtf8());
    EXPECT_EQ(seen.value(output(QStringLiteral("b.avi"))), ("DirectShowSource(\"" + b + "\")\r\n").toUtf8());
    EXPECT_TRUE(QDir(LangsDir).entryList({QStringLiteral("DirectShow-*")}).isEmpty());
}

TEST_F(ParallelDriverTest, TheBatchProgressCountsEveryFileInFlight) {
    source(QStringLiteral("a.mpg"), 100);
    source(QStringLiteral("b.mpg"), 300);
    source(QStringLiteral("c.mpg"), 400);
    atOnce(2);
    for (const char* name : {"a.mpg", "b.mpg"}) {
        TScriptedRun& run = pool.runs[QString::fromLatin1(name)];
        // The first engine starts a step ahead of the second: both stay at 5 s for three blocks.
        for (int block = 2; block <= 4; ++block)
            run.blocks[block] = QByteArray("size= 10kB time=5.00 bitrate= 1.0kbits/s\n");
    }
    bool looked = false;
    pool.beforeBlock = [&](const QString& source, int block) {
        if (source == QStringLiteral("a.mpg") && block == 2)
            clock.advance(10000);
        if (source != QStringLiteral("b.mpg") || block != 3)
            return;
        // a and b at half each: 50 + 150 of 800 bytes, done in ten seconds.
        looked = true;
        EXPECT_EQ(view.batchStatus, QStringLiteral("Batch=25%"));
        EXPECT_EQ(view.batchEstimated, QStringLiteral("0:00:40"));
        EXPECT_EQ(view.batchRemaining, QStringLiteral("0:00:30"));
        EXPECT_EQ(view.batchElapsed, QStringLiteral("0:00:10"));
        EXPECT_EQ(view.trayHint, QStringLiteral("25% - Encoding in progress"));
        ASSERT_EQ(view.rows.size(), 2);
        EXPECT_EQ(view.rows[0].working, QStringLiteral("Working on file 1 of 3: a.mpg"));
        EXPECT_EQ(view.rows[0].status, QStringLiteral("Status= 50%"));
        EXPECT_EQ(view.rows[0].percent, 50);
        EXPECT_EQ(view.rows[0].remaining, QStringLiteral("0:00:10"));
        EXPECT_EQ(view.rows[1].working, QStringLiteral("Working on file 2 of 3: b.mpg"));
        EXPECT_EQ(view.rows[1].percent, 50);
    };
    ASSERT_TRUE(driver->Convert());

    EXPECT_TRUE(looked);
    // The one-at-a-time displays of the current file are left alone.
    EXPECT_EQ(view.fileStatusWrites, 0);
    EXPECT_TRUE(view.working.isEmpty());
    EXPECT_EQ(view.batchPercent, 100);
}

TEST_F(ParallelDriverTest, WithoutFurtherEnginesTheBatchConvertsOneFileAtATime) {
    source(QStringLiteral("a.mpg"));
    source(QStringLiteral("b.mpg"));
    TBatchDriver single(queue, first, view, clock, options);
    single.SetSettings(driver->Settings()); // three at once asked for
    ASSERT_TRUE(single.Convert());

    EXPECT_EQ(single.FilesAtOnce(), 1);
    EXPECT_EQ(view.filesAtOnce, 1);
    EXPECT_EQ(pool.mostRunning, 1);
    EXPECT_TRUE(view.rows.isEmpty());
    EXPECT_EQ(view.working, QStringLiteral("Working on file 2 of 2: b.mpg"));
    EXPECT_TRUE(queue.rows.isEmpty());
}

TEST_F(ParallelDriverTest, NeverMorePlacesThanFiles) {
    source(QStringLiteral("a.mpg"));
    source(QStringLiteral("b.mpg"));
    atOnce(16);
    ASSERT_TRUE(driver->Convert());
    EXPECT_EQ(driver->FilesAtOnce(), 2);
    EXPECT_EQ(pool.engines.size(), 2U);
}

} // namespace
