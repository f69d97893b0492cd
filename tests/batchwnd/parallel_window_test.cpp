// The window's batch with several files at once over the real engine and FFmpeg: Stop now ends
// every engine in flight and leaves no output, When done lets the files in flight finish and
// starts no other, and the progress window lists each file in flight. The sources become named
// pipes once they are listed, so their files are converting until the test stops them or feeds
// them.
#include "app/options.h"
#include "app/scripted_dialogs.h"
#include "app/scripted_power.h"
#include "engine/batch_driver.h"
#include "lang/strings.h"
#include "sources/sourcelist.h"
#include "support/processes.h"
#include "support/program_folder.h"
#include "ui/main/batchwindow.h"
#include "ui/main/progresswnd.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QWidget>
#include <gtest/gtest.h>

#include <fcntl.h>
#include <sys/stat.h>
#include <thread>
#include <unistd.h>

namespace {

const QString kSample = QStringLiteral(VARID_MEDIA_DIR "/again.mkv");

class ParallelWindowTest : public ::testing::Test {
  protected:
    TProgramFolder prog;
    QTemporaryDir work;
    TScriptedDialogs dialogs;
    TScriptedPower power;
    QWidget owner;
    TSourceList list;
    QString out;

    void SetUp() override {
        ResetStringTable();
        Options = TOptions();
        ASSERT_TRUE(prog.copyExecutable(QStringLiteral("avcore.dll")));
        out = work.filePath(QStringLiteral("out"));
        ASSERT_TRUE(QDir().mkpath(out));
        list.SetInputFilters({QStringLiteral("Video=*.mkv")});
    }
    void TearDown() override { Options = TOptions(); }

    // A listed source; a named pipe nobody writes yet when waiting.
    QString source(const QString& name, bool waiting) {
        const QString path = work.filePath(name);
        EXPECT_TRUE(QFile::copy(kSample, path));
        EXPECT_EQ(list.AddSourceFile(path), TAddResult::Added);
        if (waiting) {
            EXPECT_TRUE(QFile::remove(path));
            EXPECT_EQ(mkfifo(QFile::encodeName(path).constData(), 0600), 0);
        }
        return path;
    }
    TBatchSettings settings(int filesAtOnce) const {
        return {out + QLatin1Char('/'),
                QStringLiteral(".avi"),
                [] { return QStringLiteral("-y -f avi -vcodec msmpeg4 -b 1080k -r 25 -an "); },
                {},
                filesAtOnce};
    }
    // The FFmpeg processes of the engines this process runs.
    static QList<qint64> ffmpegs(QList<qint64>* engines = nullptr) {
        QList<qint64> found;
        const QList<qint64> children = ChildProcesses(getpid());
        for (const qint64 engine : children)
            found += ChildProcesses(engine);
        if (engines)
            *engines = children;
        return found;
    }
    QStringList outFolder() const { return QDir(out).entryList(QDir::Files | QDir::Hidden | QDir::System); }
    TfrmProgress* progress() { return owner.findChild<TfrmProgress*>(QStringLiteral("frmProgress")); }
};

TEST_F(ParallelWindowTest, StopNowEndsEveryEngineInFlightAndLeavesNoOutput) {
    const QStringList sources = {source(QStringLiteral("a.mkv"), true), source(QStringLiteral("b.mkv"), true),
                                 source(QStringLiteral("c.mkv"), true)};
    TBatchWindow batch(&owner, list, TBatchWindowParts{nullptr, nullptr, [] { return false; }, {}});

    // Once the three conversions wait in their sources: the rows, then "Stop now".
    QList<qint64> engines, running;
    QStringList rows;
    QTimer watch;
    watch.setInterval(5);
    QObject::connect(&watch, &QTimer::timeout, [&] {
        running = ffmpegs(&engines);
        if (!progress() || running.size() < 3 || outFolder().size() < 3)
            return;
        watch.stop();
        for (int n = 1; n <= 3; ++n) {
            const auto* name = progress()->findChild<QLabel*>(QStringLiteral("lblFile%1").arg(n));
            const auto* bar = progress()->findChild<QProgressBar*>(QStringLiteral("prgFile%1").arg(n));
            if (name && name->isVisible() && bar && bar->isVisible())
                rows << name->text() + QLatin1Char('|') + name->accessibleName();
        }
        rows << QString::number(
            progress()->findChild<QProgressBar*>(QStringLiteral("prgStatus"))->isVisible());
        dialogs.results.enqueue(mrYes);
        QTest::mouseClick(progress()->findChild<QPushButton*>(QStringLiteral("btnCancel")), Qt::LeftButton);
    });
    watch.start();
    ASSERT_TRUE(batch.Convert(settings(3)));

    ASSERT_EQ(running.size(), 3) << "the three conversions were never seen running at once";
    EXPECT_EQ(rows,
              (QStringList{QStringLiteral("a.mkv|Working on file 1 of 3: a.mkv"),
                           QStringLiteral("b.mkv|Working on file 2 of 3: b.mkv"),
                           QStringLiteral("c.mkv|Working on file 3 of 3: c.mkv"), QStringLiteral("0")}));
    for (const qint64 pid : engines + running)
        EXPECT_FALSE(ProcessRunning(pid)) << pid;
    EXPECT_TRUE(outFolder().isEmpty()) << outFolder().join(QLatin1Char(' ')).toStdString();
    EXPECT_EQ(list.Captions(), sources);
    ASSERT_FALSE(dialogs.shown.isEmpty());
    EXPECT_EQ(dialogs.shown.last().caption, QStringLiteral("Question")); // no error report
    EXPECT_FALSE(batch.Running());
}

TEST_F(ParallelWindowTest, WhenDoneLetsTheFilesInFlightFinishAndStartsNoOther) {
    const QString a = source(QStringLiteral("a.mkv"), true), b = source(QStringLiteral("b.mkv"), true);
    const QString c = source(QStringLiteral("c.mkv"), false);
    TBatchWindow batch(&owner, list, TBatchWindowParts{nullptr, nullptr, [] { return false; }, {}});

    // Once a and b convert, "When done"; then their sources are fed, from a thread of their own
    // (this one must go on reading the engines).
    std::thread feeder;
    QList<qint64> engines, running;
    QTimer watch;
    watch.setInterval(5);
    QObject::connect(&watch, &QTimer::timeout, [&] {
        running = ffmpegs(&engines);
        if (!progress() || running.size() < 2)
            return;
        watch.stop();
        dialogs.results.enqueue(mrNo);
        QTest::mouseClick(progress()->findChild<QPushButton*>(QStringLiteral("btnCancel")), Qt::LeftButton);
        QFile sample(kSample);
        ASSERT_TRUE(sample.open(QIODevice::ReadOnly));
        feeder = std::thread([content = sample.readAll(), pipes = QStringList{a, b}] {
            for (const QString& pipe : pipes) {
                const int fd = ::open(QFile::encodeName(pipe).constData(), O_WRONLY);
                for (qsizetype done = 0; fd >= 0 && done < content.size();) {
                    const ssize_t n = ::write(fd, content.constData() + done, size_t(content.size() - done));
                    if (n <= 0)
                        break;
                    done += n;
                }
                if (fd >= 0)
                    ::close(fd);
            }
        });
    });
    watch.start();
    const bool ran = batch.Convert(settings(2));
    if (feeder.joinable())
        feeder.join();
    ASSERT_TRUE(ran);

    ASSERT_EQ(running.size(), 2) << "the two conversions were never seen running at once";
    EXPECT_GT(QFileInfo(out + QStringLiteral("/a.avi")).size(), 1000);
    EXPECT_GT(QFileInfo(out + QStringLiteral("/b.avi")).size(), 1000);
    EXPECT_EQ(outFolder(), (QStringList{QStringLiteral("a.avi"), QStringLiteral("b.avi")}));
    EXPECT_EQ(list.Captions(), QStringList{c});
    EXPECT_EQ(list.Row(0).ImageIndex, 0);
    for (const qint64 pid : engines + running)
        EXPECT_FALSE(ProcessRunning(pid)) << pid;
    ASSERT_EQ(dialogs.shown.size(), 1); // the question, and no error report
    EXPECT_EQ(dialogs.shown[0].caption, QStringLiteral("Question"));
    EXPECT_FALSE(batch.Running());
}

} // namespace
