// The batch driver with a scripted engine: booking of converted and failed files, the checks
// that a conversion really happened, the command line, the stop commands and the convert checks.
#include "app/paths.h"
#include "driver_fixture.h"
#include "engine/batch_command.h"
#include "engine/batch_driver.h"
#include "engine/cmdline.h"
#include "lang/strings.h"
#include "recording_view.h"
#include "scripted_engine.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <cstdio>
#include <optional>

namespace {

// What the engine says about a good conversion, as blocks; the progress line is split.
TScriptedRun goodRun(const QString& name) {
    TScriptedRun run;
    run.blocks = {("Input #0, avi, from '/in/" + name + "':\n  Duration: 00:00:10.00, start: 0.0\n").toUtf8(),
                  QByteArray("size=  512kB ti"), QByteArray("me=4.00 bitrate= 838.9kbits/s\r"),
                  QByteArray("size= 1024kB time=10.00 bitrate= 838.9kbits/s\n")};
    return run;
}

TScriptedRun failingRun(const QByteArray& line) {
    TScriptedRun run;
    run.blocks = {QByteArray("Input #0, avi, from '/in/x':\n"), line + "\n"};
    run.exitCode = 1;
    run.output = TScriptedRun::Output::Missing;
    return run;
}

class DriverTest : public TDriverFixture {
  protected:
    TScriptedEngine engine;
    QString profileOptions = QStringLiteral("-y -f avi -vcodec msmpeg4 -b 1080k ");

    void SetUp() override {
        SetUpDriver(engine);
        driver->SetSettings({dir.filePath(QStringLiteral("out")),
                             QStringLiteral(".avi"),
                             [this] { return profileOptions; },
                             {QStringLiteral(".avs"), QStringLiteral(".vob")}});
    }
    QString source(const QString& name, int64_t size = 100) { return listSource(name, size); }
};

TEST_F(DriverTest, ThreeFilesWhereTheSecondFails) {
    const QString a = source(QStringLiteral("a.mpg")), b = source(QStringLiteral("b.mpg")),
                  c = source(QStringLiteral("c.mpg"));
    engine.runs = {goodRun(QStringLiteral("a.mpg")), failingRun("Error opening input file"),
                   goodRun(QStringLiteral("c.mpg"))};
    ASSERT_TRUE(driver->StartBatch());

    EXPECT_EQ(queue.captions(), QStringList{b});
    EXPECT_EQ(driver->Run().DoneCount, 2);
    EXPECT_EQ(driver->Run().FailedCount, 1);
    ASSERT_EQ(engine.commandLines.size(), 3);
    EXPECT_TRUE(engine.commandLines[1].contains(QStringLiteral("b.mpg")));
    EXPECT_TRUE(engine.commandLines[2].contains(QStringLiteral("c.mpg")));
    EXPECT_EQ(view.errors, QStringList{QStringLiteral("Error opening input file")});
    ASSERT_EQ(view.booked.size(), 3);
    EXPECT_FALSE(view.booked[1].converted);
    EXPECT_EQ(view.booked[1].reason, QStringLiteral("Error opening input file"));
    EXPECT_TRUE(view.reported);
    EXPECT_TRUE(view.reportHadError);
    EXPECT_EQ(view.reportResult, mrOk);
    EXPECT_FALSE(engine.executedInsideEndHandler);
    EXPECT_EQ(view.trayHint, QStringLiteral("Finished converting"));
}

TEST_F(DriverTest, AFailedFirstFileDoesNotRunTwice) {
    source(QStringLiteral("a.mpg"));
    source(QStringLiteral("b.mpg"));
    source(QStringLiteral("c.mpg"));
    engine.runs = {failingRun("Could not open codec"), goodRun(QStringLiteral("b.mpg")),
                   goodRun(QStringLiteral("c.mpg"))};
    driver->StartBatch();
    ASSERT_EQ(engine.commandLines.size(), 3);
    EXPECT_TRUE(engine.commandLines[0].contains(QStringLiteral("a.mpg")));
    EXPECT_TRUE(engine.commandLines[1].contains(QStringLiteral("b.mpg")));
    EXPECT_TRUE(engine.commandLines[2].contains(QStringLiteral("c.mpg")));
    EXPECT_EQ(queue.rows.size(), 1);
}

TEST_F(DriverTest, AFileCountsAsConvertedOnlyWhenTheEngineSucceededAndLeftAnOutput) {
    struct Case {
        const char* name;
        int exitCode;
        TScriptedRun::Output output;
        QByteArray lastBlock; // a failure line split over two blocks, or a harmless line
        bool converted;
        const char* reasonStart;
    };
    const Case cases[] = {
        {"ok", 0, TScriptedRun::Output::Written, "Error while decoding stream #0.0\n", true, ""},
        {"exit", 1, TScriptedRun::Output::Written, "done\n", false, "Error: the conversion of"},
        {"missing", 0, TScriptedRun::Output::Missing, "done\n", false, "Error: the conversion of"},
        {"empty", 0, TScriptedRun::Output::Empty, "done\n", false, "Error: the conversion of"},
        {"line", 0, TScriptedRun::Output::Written, "Error writing trailer\n", false, "Error writing trailer"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        queue.rows.clear();
        view.errors.clear();
        view.booked.clear();
        const QString src = source(QString::fromLatin1(c.name) + QStringLiteral(".mpg"));
        TScriptedRun run = goodRun(QString::fromLatin1(c.name));
        run.exitCode = c.exitCode;
        run.output = c.output;
        run.blocks.append(c.lastBlock.left(3));
        run.drain = {c.lastBlock.mid(3)};
        engine.runs = {run};
        driver->StartBatch();
        ASSERT_EQ(view.booked.size(), 1);
        EXPECT_EQ(view.booked[0].converted, c.converted);
        if (c.converted)
            EXPECT_TRUE(view.booked[0].reason.isEmpty());
        else
            EXPECT_TRUE(view.booked[0].reason.startsWith(QString::fromLatin1(c.reasonStart)));
        EXPECT_EQ(view.errors.size(), c.converted ? 0 : 1);
        EXPECT_EQ(queue.rows.size(), c.converted ? 0 : 1);
        EXPECT_EQ(view.reportHadError, !c.converted);
        // A failed run leaves no zero-length output behind; a non-empty partial one stays.
        const QString out = output(QString::fromLatin1(c.name) + QStringLiteral(".avi"));
        EXPECT_EQ(QFile::exists(out), c.output == TScriptedRun::Output::Written);
    }
}

TEST_F(DriverTest, SourcesAreDeletedOnlyAfterAVerifiedConversion) {
    options.DeleteFileAfterProcessing = true;
    const QString good = source(QStringLiteral("good.mpg"));
    const QString bad = source(QStringLiteral("bad.mpg"));
    const QString silent = source(QStringLiteral("silent.mpg")); // no failure line, but no output
    TScriptedRun noOutput = goodRun(QStringLiteral("silent.mpg"));
    noOutput.output = TScriptedRun::Output::Missing;
    engine.runs = {goodRun(QStringLiteral("good.mpg")), failingRun("Error: cannot read"), noOutput};
    driver->StartBatch();
    EXPECT_FALSE(QFile::exists(good));
    EXPECT_TRUE(QFile::exists(bad));
    EXPECT_TRUE(QFile::exists(silent));
}

// While each source converts, another file takes its name: moved over it, or the same file
// rewritten in place. Either is kept; an untouched source is disposed of as the driver is told
// (deleted by default, as the terminal converter does; the window moves it to the trash), and
// each outcome says where its source went.
TEST_F(DriverTest, OnlyTheVeryFileThatWasConvertedIsDisposedOf) {
    struct Case {
        const char* name;
        std::optional<TDisposal> how; // none: the driver's default
        TSourceFate fate;
    };
    const Case cases[] = {
        {"default", std::nullopt, TSourceFate::Deleted},
        {"trash", TDisposal::Trash, TSourceFate::Trashed},
    };
    options.DeleteFileAfterProcessing = true;
    const QString trashFiles = QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation) +
                               QStringLiteral("/Trash/files/");
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        queue.rows.clear();
        view.booked.clear();
        engine.commandLines.clear();
        if (c.how) {
            driver->SetSourceDisposer([how = *c.how](const QString& source, const TFileIdentity& identity) {
                return DisposeOfSource(source, identity, how);
            });
        }
        const QString tag = QString::fromLatin1(c.name);
        const QString moved = source(tag + QStringLiteral(" moved.mpg"));
        const QString rewritten = source(tag + QStringLiteral(" rewritten.mpg"));
        const QString untouched = source(tag + QStringLiteral(" untouched.mpg"));
        const QString other = dir.filePath(QStringLiteral("other.mpg"));
        touch(other, "another file");
        int firstRun = -1; // the engine numbers its runs across batches
        engine.beforeBlock = [&](int run, int block) {
            if (firstRun < 0)
                firstRun = run;
            if (block != 1)
                return;
            if (run == firstRun) {
                ASSERT_EQ(
                    std::rename(QFile::encodeName(other).constData(), QFile::encodeName(moved).constData()),
                    0);
            }
            if (run == firstRun + 1) {
                QFile f(rewritten);
                ASSERT_TRUE(f.open(QIODevice::Append));
                f.write(" and more");
            }
        };
        engine.runs = {goodRun(QStringLiteral("moved.mpg")), goodRun(QStringLiteral("rewritten.mpg")),
                       goodRun(QStringLiteral("untouched.mpg"))};
        driver->StartBatch();
        ASSERT_EQ(view.booked.size(), 3);
        QFile kept(moved);
        ASSERT_TRUE(kept.open(QIODevice::ReadOnly));
        EXPECT_EQ(kept.readAll(), QByteArray("another file"));
        EXPECT_TRUE(QFile::exists(rewritten));
        EXPECT_FALSE(QFile::exists(untouched));
        EXPECT_EQ(QFile::exists(trashFiles + QFileInfo(untouched).fileName()),
                  c.fate == TSourceFate::Trashed);
        EXPECT_FALSE(QFile::exists(trashFiles + QFileInfo(moved).fileName()));
        EXPECT_EQ(view.booked[0].sourceFate, TSourceFate::NotRemoved);
        EXPECT_EQ(view.booked[1].sourceFate, TSourceFate::NotRemoved);
        EXPECT_EQ(view.booked[2].sourceFate, c.fate);
    }
}

TEST_F(DriverTest, ASourceThatIsItsOwnOutputIsNeverDeleted) {
    options.DeleteFileAfterProcessing = true;
    const QString src = source(QStringLiteral("same.avi"));
    driver->SetSettings({dir.filePath(QStringLiteral("in")), QStringLiteral(".avi"), {}, {}});
    engine.runs = {goodRun(QStringLiteral("same.avi"))};
    driver->StartBatch();
    ASSERT_EQ(view.booked.size(), 1);
    EXPECT_TRUE(view.booked[0].converted);
    EXPECT_TRUE(QFile::exists(src));
}

TEST_F(DriverTest, EveryPathReachesTheEngineAsOneQuotedArgument) {
    const QString name = QStringLiteral("-my \"best\" $HOME `x` Grüße.mpg");
    source(name);
    driver->SetSettings({dir.filePath(QStringLiteral("out 100%")),
                         QStringLiteral(".avi"),
                         [this] { return profileOptions; },
                         {}});
    QDir().mkpath(dir.filePath(QStringLiteral("out 100%")));
    engine.runs = {goodRun(name)};
    driver->StartBatch();
    ASSERT_EQ(engine.commandLines.size(), 1);
    const QString line = engine.commandLines[0];
    const QString expectedOutput = dir.filePath(QStringLiteral("out 100%/-my \"best\" $HOME `x` Grüße.avi"));
    EXPECT_EQ(line, AppDir + QStringLiteral("avcore.dll -p 4170352 -i ") +
                        QuoteArgument(dir.filePath(QStringLiteral("in/")) + name) + QLatin1Char(' ') +
                        profileOptions + QLatin1Char(' ') + QuoteArgument(expectedOutput));
    EXPECT_EQ(TScriptedEngine::outputOf(line), expectedOutput);
    EXPECT_TRUE(QFile::exists(expectedOutput));
    EXPECT_TRUE(view.booked.value(0).converted);
}

TEST(EngineCommandLine, EveryPathSplitsBackUnchanged) {
    const QStringList names = {QStringLiteral("/in/a b.mpg"),
                               QStringLiteral("/in/say \"hi\".mpg"),
                               QStringLiteral("/in/$HOME `id` ; rm.mpg"),
                               QStringLiteral("/in/-y.mpg"),
                               QStringLiteral("/in/Grüße\\\".mpg"),
                               QStringLiteral("/in/trailing\\")};
    for (const QString& name : names) {
        const QString line = EngineCommandLine(QStringLiteral("/opt/my conv/avcore.dll"), name,
                                               QStringLiteral("-y -f avi "), name + QStringLiteral(".avi"));
        EXPECT_EQ(SplitCommandLine(line),
                  QStringList({QStringLiteral("/opt/my conv/avcore.dll"), QStringLiteral("-p"),
                               QStringLiteral("4170352"), QStringLiteral("-i"), name, QStringLiteral("-y"),
                               QStringLiteral("-f"), QStringLiteral("avi"), name + QStringLiteral(".avi")}))
            << line.toStdString();
    }
    EXPECT_EQ(EngineCommandLine(QStringLiteral("/opt/avcore.dll"), QStringLiteral("/i.mpg"), QString(),
                                QStringLiteral("/o.avi")),
              QStringLiteral("/opt/avcore.dll -p 4170352 -i \"/i.mpg\"  \"/o.avi\""));
}

TEST(EngineCommandLine, FixedPatches) {
    struct Case {
        const char* options;
        const char* patched;
    };
    const Case cases[] = {
        {"-y -f ac3 -acodec ac3 -ac 5:1 -ar 48000 ", "-y -f ac3 -acodec ac3 -ab 256 -ac 5:1 -ar 48000 "},
        {"-y -f ac3 -acodec ac3 -ab 192 -ac 5:1 ", "-y -f ac3 -acodec ac3 -ab 192 -ac 5:1 "},
        {"-y -f avi -vcodec ffvhuff -acodec pcm_s16le ",
         "-y -f avi -vcodec ffvhuff -strict -2 -acodec pcm_s16le "},
        {"-y -f avi -vcodec msmpeg4 ", "-y -f avi -vcodec msmpeg4 "},
    };
    for (const Case& c : cases)
        EXPECT_EQ(PatchEngineOptions(QString::fromLatin1(c.options)), QString::fromLatin1(c.patched));
}

TEST_F(DriverTest, OutputPathsAndTheScriptInput) {
    EXPECT_EQ(
        EngineOutputPath(QStringLiteral(" /x/out "), QStringLiteral("/in/a.b.mpg"), QStringLiteral(".avi")),
        QStringLiteral("/x/out/a.b.avi"));
    EXPECT_EQ(
        EngineOutputPath(QStringLiteral("/x/out/"), QStringLiteral("/in/a.mpg"), QStringLiteral(".avi")),
        QStringLiteral("/x/out/a.avi"));
    EXPECT_EQ(EngineOutputPath(QStringLiteral("rel"), QStringLiteral("/in/a.mpg"), QStringLiteral(".mp3")),
              AppDir + QStringLiteral("rel/a.mp3"));

    const QStringList exts{QStringLiteral(".vob")};
    EXPECT_TRUE(UsesAvsScript(QStringLiteral("/in/a.vob"), false, exts));
    EXPECT_FALSE(UsesAvsScript(QStringLiteral("/in/a.VOB"), false, exts));
    EXPECT_TRUE(UsesAvsScript(QStringLiteral("/in/a.VOB"), true, exts));
}

TEST_F(DriverTest, ScriptSourcesGoThroughAScriptOfTheirOwn) {
    // Each file gets a script of its own name, deleted after its file; the source path stands in it
    // as it is, double quotes included. A script left by an ended process is cleared away, the
    // script of a running one is not.
    touch(AvsTemplateFileName(), "# script\nDirectShowSource(\"<%inputfile%>\")\n");
    const QString a = source(QStringLiteral("clip \"a\".vob"));
    const QString b = source(QStringLiteral("clip b.vob"));
    const QString stale = LangsDir + QStringLiteral("DirectShow-999999999-1.avs");
    const QString running = LangsDir + QStringLiteral("DirectShow-1-1.avs"); // process 1 never ends
    touch(stale, "old");
    touch(running, "theirs");
    QStringList scripts;
    QList<QByteArray> texts;
    engine.beforeBlock = [&](int, int block) {
        if (block != 0)
            return;
        scripts << SplitCommandLine(engine.GetCommandLine()).value(4);
        QFile f(scripts.last());
        texts << (f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray());
    };
    // The engine names the script it reads; the progress shows the source's name instead.
    TScriptedRun run = goodRun(QStringLiteral("x.vob"));
    run.blocks[0] =
        QByteArray("Input #0, avs, from '") + QFile::encodeName(LangsDir) + "DirectShow-7-1.avs':\n";
    engine.runs = {run, run};
    driver->StartBatch();
    ASSERT_EQ(scripts.size(), 2);
    EXPECT_NE(scripts[0], scripts[1]);
    for (const QString& script : scripts) {
        EXPECT_TRUE(script.startsWith(LangsDir + QStringLiteral("DirectShow-"))) << script.toStdString();
        EXPECT_TRUE(script.endsWith(QStringLiteral(".avs")));
        EXPECT_FALSE(QFile::exists(script));
    }
    EXPECT_EQ(texts.value(0), ("# script\r\nDirectShowSource(\"" + a + "\")\r\n").toUtf8());
    EXPECT_EQ(texts.value(1), ("# script\r\nDirectShowSource(\"" + b + "\")\r\n").toUtf8());
    EXPECT_EQ(view.working, QStringLiteral("Working on file 2 of 2: clip b.vob"));
    EXPECT_FALSE(QFile::exists(stale));
    EXPECT_TRUE(QFile::exists(running));
}

TEST_F(DriverTest, TwoBatchesAtOnceNeverShareAScript) {
    // A second driver in the same process (as a second program would) writes its script while the
    // first one's file converts: each engine reads its own source.
    touch(AvsTemplateFileName(), "DirectShowSource(\"<%InputFile%>\")\n");
    const QString a = source(QStringLiteral("a.vob"));
    TFakeQueue otherQueue;
    const QString b = dir.filePath(QStringLiteral("in/b.vob"));
    touch(b, "source");
    otherQueue.rows.append({b, 100});
    TScriptedEngine otherEngine;
    TRecordingView otherView;
    TBatchDriver other(otherQueue, otherEngine, otherView, clock, options);
    other.SetSettings(driver->Settings());
    QByteArray seenByFirst;
    engine.beforeBlock = [&](int, int block) {
        if (block == 1) {
            other.StartFile(); // writes the second script
            QFile f(SplitCommandLine(engine.GetCommandLine()).value(4));
            seenByFirst = f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
        }
    };
    engine.runs = {goodRun(QStringLiteral("a.vob"))};
    driver->StartBatch();
    EXPECT_EQ(seenByFirst, ("DirectShowSource(\"" + a + "\")\r\n").toUtf8());
    ASSERT_EQ(otherEngine.commandLines.size(), 1);
    EXPECT_NE(SplitCommandLine(otherEngine.commandLines[0]).value(4),
              SplitCommandLine(engine.commandLines[0]).value(4));
}

TEST_F(DriverTest, StopNowLeavesTheStoppedFileAndTheRestInTheList) {
    source(QStringLiteral("a.mpg"));
    const QString b = source(QStringLiteral("b.mpg")), c = source(QStringLiteral("c.mpg"));
    engine.runs = {goodRun(QStringLiteral("a.mpg")), goodRun(QStringLiteral("b.mpg")),
                   goodRun(QStringLiteral("c.mpg"))};
    engine.beforeBlock = [&](int run, int block) {
        if (run == 1 && block == 2)
            driver->StopNow();
    };
    driver->StartBatch();
    EXPECT_EQ(queue.captions(), QStringList({b, c}));
    EXPECT_EQ(engine.terminations, 1);
    EXPECT_EQ(engine.commandLines.size(), 2);
    EXPECT_EQ(view.booked.size(), 1);
    EXPECT_EQ(view.reportResult, mrCancel);
    QCoreApplication::processEvents(); // nothing queued may start another file afterwards
    EXPECT_EQ(engine.commandLines.size(), 2);
}

TEST_F(DriverTest, WhenDoneEndsTheBatchAfterTheCurrentFile) {
    source(QStringLiteral("a.mpg"));
    source(QStringLiteral("b.mpg"));
    const QString c = source(QStringLiteral("c.mpg"));
    engine.runs = {goodRun(QStringLiteral("a.mpg")), goodRun(QStringLiteral("b.mpg")),
                   goodRun(QStringLiteral("c.mpg"))};
    engine.beforeBlock = [&](int run, int block) {
        if (run == 1 && block == 1)
            driver->SetStopWhenDone(true);
    };
    driver->StartBatch();
    EXPECT_EQ(queue.captions(), QStringList{c});
    EXPECT_EQ(engine.terminations, 0);
    EXPECT_FALSE(view.reportHadError);
    EXPECT_EQ(view.reportResult, mrOk);
}

TEST_F(DriverTest, BatchProgressAndTheFinishedDisplay) {
    source(QStringLiteral("a.mpg"), 100);
    source(QStringLiteral("b.mpg"), 100);
    source(QStringLiteral("c.mpg"), 200);
    QStringList batchAtStart;
    engine.beforeBlock = [&](int, int block) {
        if (block == 0)
            batchAtStart << view.batchStatus;
    };
    engine.runs = {goodRun(QStringLiteral("a.mpg")), goodRun(QStringLiteral("b.mpg")),
                   goodRun(QStringLiteral("c.mpg"))};
    driver->StartBatch();
    EXPECT_EQ(batchAtStart.value(1), Str(Ids::IDS_ID_BATCH) + QStringLiteral("25%"));
    EXPECT_EQ(batchAtStart.value(2), Str(Ids::IDS_ID_BATCH) + QStringLiteral("50%"));
    EXPECT_EQ(view.caption, QStringLiteral("Encoding finished"));
    EXPECT_EQ(view.filePercent, 100);
    EXPECT_EQ(view.batchPercent, 100);
    EXPECT_EQ(view.stopWhenDoneText, QStringLiteral("Stopping encoding when done with current file..."));
    EXPECT_EQ(engine.priorities, QList<TEnginePriority>{TEnginePriority::Normal});
}

TEST_F(DriverTest, EngineStartFailures) {
    source(QStringLiteral("a.mpg"));
    TScriptedRun cannot;
    cannot.failToStart = true;
    engine.runs = {cannot};
    EXPECT_FALSE(driver->StartBatch());
    EXPECT_FALSE(view.reported);
    EXPECT_EQ(dialogs.messages(), QStringList{QStringLiteral("Error creating process : 2")});

    // A later file that cannot be started is booked failed and the batch goes on.
    source(QStringLiteral("b.mpg"));
    source(QStringLiteral("c.mpg"));
    engine.runs = {goodRun(QStringLiteral("a.mpg")), cannot, goodRun(QStringLiteral("c.mpg"))};
    EXPECT_TRUE(driver->StartBatch());
    EXPECT_EQ(driver->Run().DoneCount, 2);
    EXPECT_EQ(driver->Run().FailedCount, 1);
    EXPECT_EQ(view.booked.value(1).reason, QStringLiteral("Error creating process : 2"));
}

// The user's agreement to replace an existing output reaches the engine of that file, so that
// options without an overwrite flag (the disc presets) replace it too; a file whose output was not
// there when the user was asked gets no such word.
TEST_F(DriverTest, TheEngineLearnsWhichExistingOutputTheUserAgreedToReplace) {
    source(QStringLiteral("a.mpg"));
    source(QStringLiteral("b.mpg"));
    touch(output(QStringLiteral("a.avi")), "old");
    engine.runs = {goodRun(QStringLiteral("a.mpg")), goodRun(QStringLiteral("b.mpg"))};
    EXPECT_TRUE(driver->Convert());
    EXPECT_EQ(engine.confirmedReplacements, QStringList({output(QStringLiteral("a.avi")), QString()}));
}

TEST_F(DriverTest, ConvertChecksStopAtTheFirstFailure) {
    // No engine.
    QFile::remove(AppDir + QStringLiteral("avcore.dll"));
    EXPECT_FALSE(driver->Convert());
    EXPECT_EQ(dialogs.shown.value(0).text,
              QStringLiteral("The file \"%1avcore.dll\" couldn't be found.").arg(AppDir));
    EXPECT_EQ(dialogs.shown.value(0).caption, QStringLiteral("Hint"));
    touch(AppDir + QStringLiteral("avcore.dll"), "engine");

    // Empty list.
    EXPECT_FALSE(driver->Convert());
    EXPECT_EQ(dialogs.shown.value(1).text, QStringLiteral("There are no files to encode!"));

    // The list's checks, in order.
    source(QStringLiteral("a.mpg"));
    queue.distinct = false;
    EXPECT_FALSE(driver->Convert());
    EXPECT_EQ(queue.checksRun, QStringList({QStringLiteral("differ"), QStringLiteral("distinct")}));
    queue.distinct = true;

    // A missing output folder is created on request.
    const QString folder = dir.filePath(QStringLiteral("new/deep"));
    driver->SetSettings({QStringLiteral("  ") + folder + QStringLiteral(" "),
                         QStringLiteral(".avi"),
                         [this] { return profileOptions; },
                         {}});
    dialogs.results.enqueue(mrNo);
    EXPECT_FALSE(driver->Convert());
    EXPECT_FALSE(QDir(folder).exists());
    dialogs.results.enqueue(mrYes);
    engine.runs = {goodRun(QStringLiteral("a.mpg"))};
    EXPECT_TRUE(driver->Convert());
    EXPECT_TRUE(QFile::exists(folder + QStringLiteral("/a.avi")));
    EXPECT_EQ(options.LastOutputOpenDir, folder);
}

} // namespace
