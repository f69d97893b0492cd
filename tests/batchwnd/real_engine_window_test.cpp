// Batches through the window over the real engine and FFmpeg: two good files and a damaged one,
// and a file stopped while it converts.
#include "app/options.h"
#include "app/scripted_dialogs.h"
#include "app/scripted_power.h"
#include "engine/batch_driver.h"
#include "lang/strings.h"
#include "sources/sourcelist.h"
#include "support/byte_files.h"
#include "support/processes.h"
#include "support/program_folder.h"
#include "ui/main/batchwindow.h"
#include "ui/main/progresswnd.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QWidget>
#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

namespace {

// The good ones convert and leave the list; the damaged one stays with the error mark, and the
// end report names it with the engine's lines.
TEST(RealEngineWindow, ConvertsAGoodFileAndReportsADamagedOne) {
    ResetStringTable();
    Options = TOptions();
    TProgramFolder prog;
    ASSERT_TRUE(prog.copyExecutable(QStringLiteral("avcore.dll")));
    QTemporaryDir work;
    ASSERT_TRUE(QDir().mkpath(work.filePath(QStringLiteral("out"))));
    const QString good = work.filePath(QStringLiteral("again.mkv"));
    const QString other = work.filePath(QStringLiteral("rabbit320.webm"));
    ASSERT_TRUE(QFile::copy(QStringLiteral(VARID_MEDIA_DIR "/again.mkv"), good));
    ASSERT_TRUE(QFile::copy(QStringLiteral(VARID_MEDIA_DIR "/rabbit320.webm"), other));
    const QString damaged = work.filePath(QStringLiteral("damaged.mkv"));
    ASSERT_TRUE(WriteCutCopy(good, damaged, 2000));

    TScriptedDialogs dialogs;
    TScriptedPower power;
    QWidget owner;
    TSourceList list;
    list.SetInputFilters({QStringLiteral("Video=*.mkv;*.webm")});
    for (const QString& path : {damaged, good, other})
        ASSERT_EQ(list.AddSourceFile(path), TAddResult::Added) << path.toStdString();
    QStringList notifications;
    TBatchWindow batch(&owner, list,
                       TBatchWindowParts{nullptr, nullptr, [] { return false; },
                                         [&](const QString& title, const QString& text) {
                                             notifications << title << text;
                                             return true;
                                         }});
    ASSERT_TRUE(batch.Convert({work.filePath(QStringLiteral("out")),
                               QStringLiteral(".avi"),
                               [] { return QStringLiteral("-y -f avi -vcodec msmpeg4 -b 1080k -r 25 -an "); },
                               {}}));

    EXPECT_GT(QFileInfo(work.filePath(QStringLiteral("out/again.avi"))).size(), 1000);
    EXPECT_GT(QFileInfo(work.filePath(QStringLiteral("out/rabbit320.avi"))).size(), 1000);
    EXPECT_FALSE(QFile::exists(work.filePath(QStringLiteral("out/damaged.avi"))));
    ASSERT_EQ(list.Captions(), QStringList{damaged});
    EXPECT_EQ(list.Row(0).ImageIndex, 1);
    ASSERT_EQ(dialogs.shown.size(), 1);
    EXPECT_EQ(dialogs.shown[0].text, QStringLiteral("At least one error occurred."));
    const QStringList details = dialogs.shown[0].details.split(QLatin1Char('\n'));
    ASSERT_GE(details.size(), 2) << dialogs.shown[0].details.toStdString();
    EXPECT_EQ(details[0], damaged);
    EXPECT_TRUE(details[1].startsWith(QStringLiteral("    "))) << details[1].toStdString();
    EXPECT_TRUE(notifications.isEmpty());
    EXPECT_EQ(power.inhibitors, QStringList{QStringLiteral("Converting 3 files")});
    EXPECT_FALSE(power.inhibited);
    EXPECT_FALSE(batch.Running());
    Options = TOptions();
}

// "Stop now" while the engine converts: the engine and its FFmpeg end, the engine's temporary
// file goes, an output that was there before stays as it was, and the file stays in the list.
// The source becomes a named pipe nobody writes once it is listed, so FFmpeg waits in it until it
// is stopped.
TEST(RealEngineWindow, StopNowEndsTheEngineAndLeavesNoOutput) {
    for (const bool existedBefore : {false, true}) {
        SCOPED_TRACE(existedBefore ? "existed before" : "new output");
        ResetStringTable();
        Options = TOptions();
        TProgramFolder prog;
        ASSERT_TRUE(prog.copyExecutable(QStringLiteral("avcore.dll")));
        QTemporaryDir work;
        const QString out = work.filePath(QStringLiteral("out"));
        ASSERT_TRUE(QDir().mkpath(out));
        const QString source = work.filePath(QStringLiteral("clip.mkv"));
        ASSERT_TRUE(QFile::copy(QStringLiteral(VARID_MEDIA_DIR "/again.mkv"), source));
        TScriptedDialogs dialogs;
        TScriptedPower power;
        QWidget owner;
        TSourceList list;
        list.SetInputFilters({QStringLiteral("Video=*.mkv")});
        ASSERT_EQ(list.AddSourceFile(source), TAddResult::Added);
        ASSERT_TRUE(QFile::remove(source));
        ASSERT_EQ(mkfifo(QFile::encodeName(source).constData(), 0600), 0);
        if (existedBefore) {
            QFile old(out + QStringLiteral("/clip.avi"));
            ASSERT_TRUE(old.open(QIODevice::WriteOnly) && old.write("an older result") > 0);
            dialogs.results.enqueue(mrYes); // overwrite it
        }
        TBatchWindow batch(&owner, list, TBatchWindowParts{nullptr, nullptr, [] { return false; }, {}});

        // Once FFmpeg waits in the source and the engine's temporary file exists, "Stop now".
        qint64 engine = 0, ffmpeg = 0;
        QTimer watch;
        watch.setInterval(5);
        QObject::connect(&watch, &QTimer::timeout, [&] {
            auto* progress = owner.findChild<TfrmProgress*>(QStringLiteral("frmProgress"));
            engine = FindChildProcess(getpid());
            ffmpeg = engine ? FindChildProcess(engine) : 0;
            const QStringList temporaries = QDir(out).entryList({QStringLiteral(".clip.varid-part-*")},
                                                                QDir::Files | QDir::Hidden | QDir::System);
            if (!progress || ffmpeg == 0 || temporaries.isEmpty())
                return;
            watch.stop();
            dialogs.results.enqueue(mrYes);
            QTest::mouseClick(progress->findChild<QPushButton*>(QStringLiteral("btnCancel")), Qt::LeftButton);
        });
        watch.start();
        ASSERT_TRUE(
            batch.Convert({out + QLatin1Char('/'),
                           QStringLiteral(".avi"),
                           [] { return QStringLiteral("-y -f avi -vcodec msmpeg4 -b 1080k -r 25 -an "); },
                           {}}));

        ASSERT_NE(ffmpeg, 0) << "the conversion was never seen running";
        EXPECT_FALSE(ProcessRunning(ffmpeg));
        EXPECT_FALSE(ProcessRunning(engine));
        EXPECT_EQ(QDir(out).entryList(QDir::Files | QDir::Hidden | QDir::System),
                  existedBefore ? QStringList{QStringLiteral("clip.avi")} : QStringList());
        if (existedBefore) {
            QFile old(out + QStringLiteral("/clip.avi"));
            ASSERT_TRUE(old.open(QIODevice::ReadOnly));
            EXPECT_EQ(old.readAll(), "an older result");
        }
        EXPECT_EQ(list.Captions(), QStringList{source});
        EXPECT_EQ(list.Row(0).ImageIndex, 0);
        // The stop question, and no report of a failure.
        ASSERT_FALSE(dialogs.shown.isEmpty());
        EXPECT_EQ(dialogs.shown.last().caption, QStringLiteral("Question"));
        EXPECT_FALSE(batch.Running());
    }
    Options = TOptions();
}

} // namespace
