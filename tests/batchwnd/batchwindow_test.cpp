// The batch in the window with a scripted engine, dialogs, power and clock: the progress window's
// displays, the stop question, the check boxes, the tray, the end report, the countdown and the
// sleep inhibitor.
#include "app/options.h"
#include "app/paths.h"
#include "app/scripted_dialogs.h"
#include "app/scripted_power.h"
#include "batch/recording_view.h"
#include "batch/scripted_engine.h"
#include "engine/batch_driver.h"
#include "lang/strings.h"
#include "sources/sourcelist.h"
#include "support/program_folder.h"
#include "ui/main/batchwindow.h"
#include "ui/main/progresswnd.h"
#include "ui/main/shutdownwnd.h"
#include "ui/main/trayicon.h"

#include <QAction>
#include <QCheckBox>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLabel>
#include <QMenu>
#include <QPointer>
#include <QProgressBar>
#include <QPushButton>
#include <QSignalSpy>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QTreeWidget>
#include <gtest/gtest.h>

#include <vector>

namespace {

const QString kTrayTitle = QStringLiteral("Varid Video Converter Information");

// A good conversion of ten seconds, reported in four blocks: names and duration, 40 %, 80 %, 100 %.
TScriptedRun goodRun(const QString& source) {
    TScriptedRun run;
    const QString output = QFileInfo(source).completeBaseName() + QStringLiteral(".avi");
    run.blocks = {("Input #0, matroska, from '" + source + "':\n  Duration: 00:00:10.00, start: 0.0\n" +
                   "Output #0, avi, to '" + output + "':\n")
                      .toUtf8(),
                  QByteArray("size=  512kB time=4.00 bitrate= 838.9kbits/s\r"),
                  QByteArray("size=  900kB time=8.00 bitrate= 838.9kbits/s\r"),
                  QByteArray("size= 1024kB time=10.00 bitrate= 838.9kbits/s\n")};
    return run;
}

TScriptedRun failingRun(const QString& source) {
    TScriptedRun run = goodRun(source);
    run.blocks.insert(1, QByteArray("Error while opening codec for output stream #0.0\n"
                                    "Could not open codec libfoo\n"));
    run.exitCode = 1;
    run.output = TScriptedRun::Output::Missing;
    return run;
}

class BatchWindowTest : public ::testing::Test {
  protected:
    TProgramFolder prog;
    QTemporaryDir work;
    TScriptedDialogs dialogs;
    TScriptedPower power;
    TScriptedEngine engine;
    TFakeClock clock;
    QWidget owner;
    TSourceList list;
    bool trayAvailable = true;
    bool notificationsWork = true;
    QStringList notifications; // "title|text" of every desktop notification taken
    QList<bool> balloonsOnIcon;
    QStringList balloons; // "title|text" of every balloon, on the icon or the desktop
    int countdownsSeen = 0;
    QPointer<QTimer> countdownWatch;
    int runBase = 0; // engine runs of earlier cases (the scripted engine counts its runs on)
    std::unique_ptr<TBatchWindow> batch;

    void SetUp() override {
        ResetStringTable();
        Options = TOptions();
        ASSERT_TRUE(prog.writeFile(QStringLiteral("avcore.dll"), "engine"));
        ASSERT_TRUE(QDir().mkpath(work.filePath(QStringLiteral("in"))));
        ASSERT_TRUE(QDir().mkpath(work.filePath(QStringLiteral("out"))));
        list.SetInputFilters({QStringLiteral("Video=*.mkv")});
        owner.setWindowTitle(QStringLiteral("Owner"));
        owner.resize(640, 480);
        owner.show();
        batch = std::make_unique<TBatchWindow>(
            &owner, list,
            TBatchWindowParts{&engine, &clock, [this] { return trayAvailable; },
                              [this](const QString& title, const QString& text) {
                                  if (notificationsWork)
                                      notifications << title + QLatin1Char('|') + text;
                                  return notificationsWork;
                              }});
        QObject::connect(tray(), &TTrayIcon::balloonShown,
                         [this](const QString& title, const QString& text, bool onIcon) {
                             balloons << title + QLatin1Char('|') + text;
                             balloonsOnIcon << onIcon;
                         });
    }
    void TearDown() override {
        batch.reset();
        Options = TOptions();
        ResetStringTable();
    }

    // A real media file copied under the name, added to the list; its engine run is scripted.
    QString addSource(const QString& name, bool fails = false) {
        const QString path = work.filePath(QStringLiteral("in/") + name);
        EXPECT_TRUE(QFile::copy(QStringLiteral(VARID_MEDIA_DIR "/again.mkv"), path));
        EXPECT_EQ(list.AddSourceFile(path), TAddResult::Added);
        engine.runs << (fails ? failingRun(path) : goodRun(path));
        return path;
    }
    QString output(const QString& name) const { return work.filePath(QStringLiteral("out/") + name); }
    TBatchSettings settings() const {
        return {work.filePath(QStringLiteral("out")),
                QStringLiteral(".avi"),
                [] { return QStringLiteral("-y -f avi -vcodec msmpeg4 "); },
                {}};
    }

    TTrayIcon* tray() { return batch->findChild<TTrayIcon*>(QStringLiteral("TrayIcon")); }
    TfrmProgress* progress() { return owner.findChild<TfrmProgress*>(QStringLiteral("frmProgress")); }
    template <typename T> T* control(const char* name) {
        TfrmProgress* window = progress();
        return window ? window->findChild<T*>(QLatin1String(name)) : nullptr;
    }
    QString text(const char* label) {
        QLabel* l = control<QLabel>(label);
        return l ? l->text() : QStringLiteral("<no %1>").arg(QLatin1String(label));
    }
    void press(const char* button) { QTest::mouseClick(control<QPushButton>(button), Qt::LeftButton); }
    QString trayExitCaption() {
        emit tray()->Menu()->aboutToShow();
        return tray()->Menu()->findChild<QAction*>(QStringLiteral("miTrayExit"))->text();
    }
    QStringList rows() const { return list.Captions(); }
    // Empties the list, the script and the input and output folders for the next case.
    void freshCase() {
        // An engine stopped by "Stop now" ends shortly after.
        EXPECT_TRUE(QTest::qWaitFor([this] { return !engine.Active(); }, 10000));
        list.Clear();
        engine.runs.clear();
        runBase += static_cast<int>(engine.commandLines.size());
        engine.commandLines.clear();
        dialogs.shown.clear();
        dialogs.results.clear();
        notifications.clear();
        balloons.clear();
        countdownsSeen = 0;
        delete countdownWatch.data();
        for (const char* folder : {"in", "out"}) {
            QDir dir(work.filePath(QLatin1String(folder)));
            for (const QString& name : dir.entryList(QDir::Files))
                dir.remove(name);
        }
    }

    // Acts on the countdown as soon as it shows (by default: cancels it).
    void onCountdown(std::function<void(TfrmShutdown&)> act = {}) {
        delete countdownWatch.data(); // one watcher per batch
        auto* timer = new QTimer(&owner);
        countdownWatch = timer;
        timer->setInterval(2);
        QObject::connect(timer, &QTimer::timeout, [this, timer, act] {
            TfrmShutdown* w = owner.findChild<TfrmShutdown*>();
            if (!w || !w->isVisible())
                return;
            timer->stop();
            ++countdownsSeen;
            if (act)
                act(*w);
            else
                w->reject();
        });
        timer->start();
    }
};

TEST_F(BatchWindowTest, ABatchShowsItsProgressAndEndsWithTheSuccessNotice) {
    const QString a = addSource(QStringLiteral("a.mkv"));
    addSource(QStringLiteral("b.mkv"));
    QStringList seen;
    bool inhibitedDuring = false;
    engine.beforeBlock = [&](int run, int block) {
        clock.advance(2000);
        if (run == 0 && block == 2) { // the 40 % line of the first file has been read
            seen << text("lblWorking") << text("lblOutput") << text("lblStatus") << text("lblBatch")
                 << text("lblBatchElapsed") << text("lblStatusRemaining") << text("lblBatchEstimated")
                 << text("lblBatchRemaining") << text("lblCovnerting") << progress()->windowTitle();
            inhibitedDuring = power.inhibited;
            EXPECT_TRUE(batch->Running());
            EXPECT_EQ(trayExitCaption(), QStringLiteral("Stop converting..."));
            EXPECT_EQ(tray()->toolTip(), a + QStringLiteral(": 40%"));
            EXPECT_TRUE(control<QWidget>("anmConvert")->isVisible());
            EXPECT_EQ(control<QProgressBar>("prgStatus")->value(), 40);
        }
        if (run == 1 && block == 1) { // the second file has named itself, without a position yet
            seen << text("lblWorking") << text("lblStatus") << text("lblStatusRemaining");
            EXPECT_EQ(control<QProgressBar>("prgStatus")->value(), 0);
        }
    };
    onCountdown();
    ASSERT_TRUE(batch->Convert(settings()));

    EXPECT_EQ(seen, (QStringList{
                        QStringLiteral("Working on file 1 of 2: a.mkv"), QStringLiteral("Output file: a.avi"),
                        QStringLiteral("Status= 40%"), QStringLiteral("Batch=20%"), QStringLiteral("0:00:04"),
                        QStringLiteral("0:00:06"), QStringLiteral("0:00:20"), QStringLiteral("0:00:16"),
                        QStringLiteral("Conveting..."), QStringLiteral("20% - Encoding in progress"),
                        QStringLiteral("Working on file 2 of 2: b.mkv"), QStringLiteral("Status= 0%"),
                        QStringLiteral("0:00:00")}));
    EXPECT_TRUE(rows().isEmpty());
    EXPECT_TRUE(QFile::exists(output(QStringLiteral("b.avi"))));
    EXPECT_TRUE(dialogs.shown.isEmpty());
    // The icon was never shown: the notice goes to the desktop's notifications.
    EXPECT_EQ(notifications, QStringList{kTrayTitle + QStringLiteral("|Convertion complete!")});
    EXPECT_EQ(countdownsSeen, 0);
    EXPECT_TRUE(inhibitedDuring);
    EXPECT_EQ(power.inhibitors, QStringList{QStringLiteral("Converting 2 files")});
    EXPECT_FALSE(power.inhibited);
    EXPECT_FALSE(batch->Running());
    EXPECT_EQ(progress(), nullptr);
    EXPECT_EQ(trayExitCaption(), QStringLiteral("Exit program"));
}

// The stop question during the first of three files, and what each answer leaves.
TEST_F(BatchWindowTest, TheStopQuestionsAnswers) {
    struct Case {
        const char* name;
        QList<int> answers; // one stop command per answer, at successive blocks of the first file
        int runs;
        int rowsLeft;
        bool stopLabelAtEnd;
    };
    const Case cases[] = {
        {"stop now", {mrYes}, 1, 3, false},
        {"when done", {mrNo}, 1, 2, true},
        {"cancel", {mrCancel}, 3, 0, false},
        {"closed question", {mrNone}, 3, 0, false},
        {"when done withdrawn", {mrNo, mrCancel}, 3, 0, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        freshCase();
        for (const char* name : {"a.mkv", "b.mkv", "c.mkv"})
            addSource(QLatin1String(name));
        bool stopLabel = false;
        engine.beforeBlock = [&](int run, int block) {
            if (run != runBase || block < 1 || block > c.answers.size())
                return;
            dialogs.results.enqueue(c.answers.at(block - 1));
            press("btnCancel");
            stopLabel = control<QLabel>("lblStopWhenDone")->isVisibleTo(progress());
        };
        ASSERT_TRUE(batch->Convert(settings()));
        EXPECT_EQ(engine.commandLines.size(), c.runs);
        EXPECT_EQ(rows().size(), c.rowsLeft);
        EXPECT_EQ(stopLabel, c.stopLabelAtEnd);
        ASSERT_EQ(dialogs.shown.size(), c.answers.size());
        EXPECT_EQ(
            dialogs.shown[0].text,
            QStringLiteral("Do you want to stop encoding now or stop encoding when the currently processed "
                           "file is done?"));
        EXPECT_EQ(dialogs.shown[0].caption, QStringLiteral("Question"));
        EXPECT_EQ(dialogs.shown[0].type, TMsgDlgType::mtConfirmation);
        EXPECT_EQ(
            dialogs.shown[0].buttonCaptions,
            (QStringList{QStringLiteral("Stop now"), QStringLiteral("When done"), QStringLiteral("Cancel")}));
    }
}

// The countdown follows a batch that ended by itself or after "When done", never one stopped
// at once; it runs out into the completion action, or is cancelled and nothing happens.
TEST_F(BatchWindowTest, TheCountdownAfterABatch) {
    struct Case {
        const char* name;
        int answer; // the stop question's answer during the first file; mrNone: not asked
        int ticks;  // seconds the countdown is let run; then it is cancelled unless it closed
        int countdowns;
        QList<TPowerAction> performed;
        int rowsLeft;
    };
    const Case cases[] = {
        {"stop now: no countdown", mrYes, 0, 0, {}, 2},
        {"when done: countdown runs out", mrNo, 31, 1, {TPowerAction::PowerOff}, 1},
        {"cancelled at 3 s", mrNone, 27, 1, {}, 0},
    };
    Options.ShutdownFlag = 1;
    power.allowed = {TPowerAction::PowerOff};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Options.ShutdownWindowsWhenDone = true;
        freshCase();
        power.performed.clear();
        power.events.clear();
        for (const char* name : {"a.mkv", "b.mkv"})
            addSource(QLatin1String(name));
        engine.beforeBlock = [&](int run, int block) {
            if (run == runBase && block == 1 && c.answer != mrNone) {
                dialogs.results.enqueue(c.answer);
                press("btnCancel");
            }
        };
        QString timeLeft;
        onCountdown([&](TfrmShutdown& w) {
            EXPECT_EQ(w.windowTitle(), QStringLiteral("Shutdown"));
            EXPECT_EQ(w.findChild<QLabel*>(QStringLiteral("lblTimeOut"))->text(),
                      QStringLiteral("Time left: 30"));
            EXPECT_TRUE(batch->Running());
            for (int i = 0; i < c.ticks; ++i)
                w.Tick();
            timeLeft = w.findChild<QLabel*>(QStringLiteral("lblTimeOut"))->text();
            if (w.isVisible())
                QTest::mouseClick(w.findChild<QPushButton*>(QStringLiteral("btnCancel")), Qt::LeftButton);
        });
        ASSERT_TRUE(batch->Convert(settings()));
        EXPECT_EQ(countdownsSeen, c.countdowns);
        // Compared as vectors: Qt 6.4 compares two empty lists with a null pointer, which the
        // undefined-behaviour sanitizer rejects.
        EXPECT_EQ(std::vector<TPowerAction>(power.performed.begin(), power.performed.end()),
                  std::vector<TPowerAction>(c.performed.begin(), c.performed.end()));
        EXPECT_EQ(power.endProgramCalls, 0);
        EXPECT_EQ(rows().size(), c.rowsLeft);
        EXPECT_EQ(notifications, QStringList{kTrayTitle + QStringLiteral("|Convertion complete!")});
        if (c.ticks == 27) {
            EXPECT_EQ(timeLeft, QStringLiteral("Time left: 3"));
        }
        // The sleep lock goes before the completion action runs.
        QStringList expected{QStringLiteral("inhibit"), QStringLiteral("release")};
        if (!c.performed.isEmpty())
            expected << QStringLiteral("perform");
        EXPECT_EQ(power.events, expected);
    }
}

// Failure lines never wait for a click: they are listed under their file at once while the
// batch goes on, and the end report carries them; a failed batch has no countdown.
TEST_F(BatchWindowTest, FailuresAreListedAtOnceAndReportedWithTheirLines) {
    Options.ShutdownWindowsWhenDone = true;
    addSource(QStringLiteral("a.mkv"));
    const QString b = addSource(QStringLiteral("b.mkv"), true);
    addSource(QStringLiteral("c.mkv"));
    QStringList listed;
    engine.beforeBlock = [&](int run, int block) {
        if (run == 2 && block == 0) {
            QTreeWidget* errors = control<QTreeWidget>("lsvErrors");
            ASSERT_TRUE(errors->isVisibleTo(progress()));
            ASSERT_EQ(errors->topLevelItemCount(), 1);
            listed << errors->topLevelItem(0)->text(0);
            for (int i = 0; i < errors->topLevelItem(0)->childCount(); ++i)
                listed << errors->topLevelItem(0)->child(i)->text(0);
            EXPECT_TRUE(dialogs.shown.isEmpty());
        }
    };
    onCountdown();
    ASSERT_TRUE(batch->Convert(settings()));

    EXPECT_EQ(engine.commandLines.size(), 3);
    const QStringList lines{QStringLiteral("Error while opening codec for output stream #0.0"),
                            QStringLiteral("Could not open codec libfoo")};
    EXPECT_EQ(listed, QStringList{b} + lines);
    ASSERT_EQ(dialogs.shown.size(), 1);
    EXPECT_EQ(dialogs.shown[0].text, QStringLiteral("At least one error occurred."));
    EXPECT_EQ(dialogs.shown[0].caption, QStringLiteral("Oops, something wasn't as expected!"));
    EXPECT_EQ(dialogs.shown[0].type, TMsgDlgType::mtWarning);
    EXPECT_EQ(dialogs.shown[0].details, b + QStringLiteral("\n    ") + lines.join(QStringLiteral("\n    ")));
    EXPECT_EQ(rows(), QStringList{b});
    EXPECT_EQ(list.Row(0).ImageIndex, 1);
    EXPECT_EQ(countdownsSeen, 0);
    EXPECT_TRUE(balloons.isEmpty());
    EXPECT_TRUE(power.performed.isEmpty());
}

// Unticked with the mouse, or toggled by an assistive tool through the accessibility interface
// (which clicks nothing).
TEST_F(BatchWindowTest, UntickingDeleteSourceKeepsTheSourcesOfLaterFiles) {
    for (const bool byMouse : {true, false}) {
        SCOPED_TRACE(byMouse ? "mouse" : "toggle");
        freshCase();
        Options.DeleteFileAfterProcessing = true;
        const QString a = addSource(QStringLiteral("a.mkv"));
        const QString b = addSource(QStringLiteral("b.mkv"));
        const QString c = addSource(QStringLiteral("c.mkv"));
        bool checkedAtStart = false;
        engine.beforeBlock = [&](int run, int block) {
            if (run == runBase + 1 && block == 1) {
                QCheckBox* box = control<QCheckBox>("chkDelSource");
                checkedAtStart = box->isChecked();
                if (byMouse)
                    QTest::mouseClick(box, Qt::LeftButton, {}, QPoint(8, box->height() / 2)); // on its box
                else
                    box->toggle();
            }
        };
        ASSERT_TRUE(batch->Convert(settings()));
        EXPECT_TRUE(checkedAtStart);
        EXPECT_FALSE(QFile::exists(a));
        EXPECT_TRUE(QFile::exists(b));
        EXPECT_TRUE(QFile::exists(c));
        EXPECT_FALSE(Options.DeleteFileAfterProcessing);
        EXPECT_TRUE(rows().isEmpty());
    }
}

// Converted sources go to the trash of the user (here the test's own home), and the end report
// says where they went: in the success notice, or under the error summary.
TEST_F(BatchWindowTest, ConvertedSourcesGoToTheTrashAndTheReportSaysWhere) {
    const QString trashFiles = QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation) +
                               QStringLiteral("/Trash/files/");
    // The test's own home (a temporary folder), never the user's.
    ASSERT_TRUE(QDir::homePath().startsWith(QDir::tempPath() + QLatin1Char('/')))
        << QDir::homePath().toStdString();
    ASSERT_TRUE(trashFiles.startsWith(QDir::homePath() + QLatin1Char('/')));
    Options.DeleteFileAfterProcessing = true;
    const QString a = addSource(QStringLiteral("ok 1.mkv"));
    const QString b = addSource(QStringLiteral("ok 2.mkv"));
    ASSERT_TRUE(batch->Convert(settings()));
    EXPECT_FALSE(QFile::exists(a));
    EXPECT_FALSE(QFile::exists(b));
    EXPECT_TRUE(QFile::exists(trashFiles + QStringLiteral("ok 1.mkv")));
    EXPECT_TRUE(QFile::exists(trashFiles + QStringLiteral("ok 2.mkv")));
    EXPECT_EQ(notifications,
              QStringList{kTrayTitle +
                          QStringLiteral("|Convertion complete!\nSource files moved to the Trash: 2")});

    freshCase();
    const QString c = addSource(QStringLiteral("ok 3.mkv"));
    const QString d = addSource(QStringLiteral("bad.mkv"), true);
    ASSERT_TRUE(batch->Convert(settings()));
    EXPECT_TRUE(QFile::exists(trashFiles + QStringLiteral("ok 3.mkv")));
    EXPECT_TRUE(QFile::exists(d));
    ASSERT_EQ(dialogs.shown.size(), 1);
    EXPECT_EQ(dialogs.shown[0].text,
              QStringLiteral("At least one error occurred.\n\nSource files moved to the Trash: 1"));
}

// Where neither a tray balloon nor a desktop notification can be shown, a batch without errors
// asks its window to show the success (how many, where to, where the sources went); a batch that
// converted nothing has nothing to say.
TEST_F(BatchWindowTest, WithoutTrayOrNotificationsTheSuccessGoesToTheWindow) {
    QSignalSpy unannounced(batch.get(), &TBatchWindow::succeededUnannounced);
    notificationsWork = true;
    addSource(QStringLiteral("a.mkv"));
    ASSERT_TRUE(batch->Convert(settings()));
    EXPECT_EQ(unannounced.count(), 0); // the notification said it

    freshCase();
    notificationsWork = false;
    trayAvailable = false;
    Options.DeleteFileAfterProcessing = true;
    addSource(QStringLiteral("b.mkv"));
    addSource(QStringLiteral("c.mkv"));
    ASSERT_TRUE(batch->Convert(settings()));
    EXPECT_TRUE(notifications.isEmpty());
    ASSERT_EQ(unannounced.count(), 1);
    const auto success = unannounced.takeFirst().at(0).value<TBatchSuccess>();
    EXPECT_EQ(success.converted, 2);
    EXPECT_EQ(success.outputFolder, work.filePath(QStringLiteral("out")));
    EXPECT_EQ(success.trashed, 2);
    EXPECT_EQ(success.deleted, 0);

    freshCase();
    addSource(QStringLiteral("d.mkv"));
    engine.beforeBlock = [&](int run, int block) {
        if (run == runBase && block == 1) {
            dialogs.results.enqueue(mrYes); // "Stop now"
            press("btnCancel");
        }
    };
    ASSERT_TRUE(batch->Convert(settings()));
    EXPECT_EQ(unannounced.count(), 0);
}

// "Stop now" removes a cut-off output an engine left under the output name for the stopped file,
// but not an output that was there before (its overwrite was confirmed). Our engine never leaves
// one (the real-engine window test shows it); the batch does not rely on that.
TEST_F(BatchWindowTest, StopNowRemovesThePartialOutputItCreated) {
    for (const bool existedBefore : {false, true}) {
        SCOPED_TRACE(existedBefore ? "existed before" : "created by the run");
        freshCase();
        const QString a = addSource(QStringLiteral("a.mkv"));
        if (existedBefore) {
            QFile old(output(QStringLiteral("a.avi")));
            ASSERT_TRUE(old.open(QIODevice::WriteOnly));
            old.write("an older result");
            dialogs.results.enqueue(mrYes); // overwrite it
        }
        engine.beforeBlock = [&](int, int block) {
            if (block != 2)
                return;
            QFile partial(output(QStringLiteral("a.avi")));
            ASSERT_TRUE(partial.open(QIODevice::WriteOnly));
            partial.write("half a file");
            partial.close();
            dialogs.results.enqueue(mrYes);
            press("btnCancel");
        };
        ASSERT_TRUE(batch->Convert(settings())) << dialogs.messages().join(QLatin1Char('\n')).toStdString();
        EXPECT_EQ(engine.terminations, existedBefore ? 2 : 1);
        EXPECT_EQ(QFile::exists(output(QStringLiteral("a.avi"))), existedBefore);
        EXPECT_EQ(rows(), QStringList{a});
        EXPECT_TRUE(QFile::exists(a));
    }
}

// The batch ends while the stop question is open: the window closes whatever the answer, as a
// stopped batch (no countdown).
TEST_F(BatchWindowTest, ABatchThatEndsWhileTheQuestionIsOpenClosesTheWindow) {
    Options.ShutdownWindowsWhenDone = true;
    addSource(QStringLiteral("a.mkv"));
    dialogs.whileOpen = [&](const TScriptedDialogs::Shown& box) {
        if (box.kind != TScriptedDialogs::Kind::Question)
            return;
        EXPECT_TRUE(QTest::qWaitFor([&] { return progress()->Finished(); }, 10000));
        dialogs.results.enqueue(mrNo);
    };
    engine.beforeBlock = [&](int, int block) {
        // Pressed from the event loop, as a person would, so that the engine goes on meanwhile.
        if (block == 1)
            QTimer::singleShot(0, progress(), [this] { press("btnCancel"); });
    };
    onCountdown();
    ASSERT_TRUE(batch->Convert(settings()));
    EXPECT_TRUE(rows().isEmpty());
    EXPECT_EQ(countdownsSeen, 0);
    EXPECT_EQ(notifications.size(), 1);
}

TEST_F(BatchWindowTest, SendToTrayAndBack) {
    addSource(QStringLiteral("a.mkv"));
    addSource(QStringLiteral("b.mkv"));
    bool hiddenInTray = false, restored = false;
    engine.beforeBlock = [&](int run, int block) {
        if (run == 0 && block == 1) {
            press("btnTray");
            hiddenInTray = !owner.isVisible() && !progress()->isVisible() && tray()->Shown();
            EXPECT_EQ(trayExitCaption(), QStringLiteral("Stop converting..."));
        }
        if (run == 1 && block == 0) {
            emit tray()->activated(QSystemTrayIcon::DoubleClick);
            restored = owner.isVisible() && progress()->isVisible() && !tray()->Shown();
            press("btnTray"); // and back to the tray for the end of the batch
        }
    };
    ASSERT_TRUE(batch->Convert(settings()));
    EXPECT_TRUE(hiddenInTray);
    EXPECT_TRUE(restored);
    EXPECT_TRUE(rows().isEmpty());
    const QString minimised =
        kTrayTitle + QStringLiteral("|Application has been minimized. Double click tray icon to resume.");
    EXPECT_EQ(balloons,
              (QStringList{minimised, minimised, kTrayTitle + QStringLiteral("|Convertion complete!")}));
    EXPECT_EQ(balloonsOnIcon, (QList<bool>{true, true, true}));
    EXPECT_TRUE(notifications.isEmpty());
    // The icon stays until the user restores the window; with no batch the exit item closes it.
    EXPECT_TRUE(tray()->Shown());
    EXPECT_EQ(trayExitCaption(), QStringLiteral("Exit program"));
    tray()->Menu()->findChild<QAction*>(QStringLiteral("miTrayExit"))->trigger();
    EXPECT_FALSE(owner.isVisible());
    EXPECT_FALSE(tray()->Shown());
}

// Without a system tray "Send to tray" minimises the program, and the tray's exit item asks the
// stop question during a batch.
TEST_F(BatchWindowTest, WithoutATrayTheProgramIsMinimised) {
    trayAvailable = false;
    addSource(QStringLiteral("a.mkv"));
    addSource(QStringLiteral("b.mkv"));
    bool minimised = false;
    engine.beforeBlock = [&](int run, int block) {
        if (run == 0 && block == 1) {
            press("btnTray");
            minimised = owner.isMinimized() && owner.isVisible() && !tray()->Shown();
            owner.showNormal();
            progress()->showNormal();
            progress()->showMinimized(); // the window's own minimise takes the whole program along
            minimised = minimised && owner.isMinimized();
            dialogs.results.enqueue(mrNo);
            tray()->Menu()->findChild<QAction*>(QStringLiteral("miTrayExit"))->trigger();
        }
    };
    ASSERT_TRUE(batch->Convert(settings()));
    EXPECT_TRUE(minimised);
    EXPECT_EQ(dialogs.shown.size(), 1); // the stop question, answered "When done"
    EXPECT_EQ(rows().size(), 1);
    EXPECT_EQ(notifications, QStringList{kTrayTitle + QStringLiteral("|Convertion complete!")});
}

TEST_F(BatchWindowTest, AFirstFileThatCannotStartEndsTheBatchBeforeItBegins) {
    const QString a = addSource(QStringLiteral("a.mkv"));
    engine.runs.first().failToStart = true;
    EXPECT_FALSE(batch->Convert(settings()));
    EXPECT_EQ(dialogs.messages(), QStringList{QStringLiteral("Error creating process : 2")});
    EXPECT_EQ(rows(), QStringList{a});
    EXPECT_FALSE(batch->Running());
    EXPECT_EQ(progress(), nullptr);
    EXPECT_TRUE(power.inhibitors.isEmpty());
    EXPECT_TRUE(balloons.isEmpty() && notifications.isEmpty());
}

TEST_F(BatchWindowTest, ALanguageSwitchReachesTheTrayMenuAndTheOpenWindow) {
    addSource(QStringLiteral("a.mkv"));
    QString button;
    engine.beforeBlock = [&](int, int block) {
        if (block != 1)
            return;
        SetStr(Ids::IDS_CONVERTING_BUTTON_SendToTray, QStringLiteral("In den Infobereich"));
        SetStr(Ids::IDS_TRAY_StopConverting, QStringLiteral("Umwandlung beenden..."));
        batch->ApplyCaptions();
        button = control<QPushButton>("btnTray")->text();
        EXPECT_EQ(trayExitCaption(), QStringLiteral("Umwandlung beenden..."));
    };
    ASSERT_TRUE(batch->Convert(settings()));
    EXPECT_EQ(button, QStringLiteral("In den Infobereich"));
}

} // namespace
