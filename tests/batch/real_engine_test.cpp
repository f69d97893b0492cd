// The driver over the real process runner and engine: a real source converts, a damaged one is
// booked failed with the engine's error line, and the next file still runs.
#include "engine/batch_driver.h"
#include "engine/engine_process.h"
#include "recording_view.h"
#include "scripted_engine.h"
#include "support/byte_files.h"
#include "support/program_folder.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

TEST(RealEngine, ConvertsAndBooksThroughTheDriver) {
    TProgramFolder prog;
    ASSERT_TRUE(prog.copyExecutable(QStringLiteral("avcore.dll")));
    QTemporaryDir work;
    const QString damaged = work.filePath(QStringLiteral("damaged.mkv"));
    ASSERT_TRUE(WriteCutCopy(QStringLiteral(VARID_MEDIA_DIR "/again.mkv"), damaged, 2000));

    ASSERT_TRUE(QDir().mkpath(work.filePath(QStringLiteral("out"))));
    TOptions options;
    TFakeQueue queue;
    queue.rows = {{damaged, 2000},
                  {QStringLiteral(VARID_MEDIA_DIR "/again.mkv"),
                   QFileInfo(QStringLiteral(VARID_MEDIA_DIR "/again.mkv")).size()}};
    TEngineProcess engine;
    TRecordingView view;
    TSystemClock clock;
    TBatchDriver driver(queue, engine, view, clock, options);
    driver.SetSettings({work.filePath(QStringLiteral("out")),
                        QStringLiteral(".avi"),
                        [] { return QStringLiteral("-y -f avi -vcodec msmpeg4 -b 1080k -r 25 -an "); },
                        {}});
    ASSERT_TRUE(driver.Convert());

    ASSERT_EQ(view.booked.size(), 2);
    EXPECT_FALSE(view.booked[0].converted);
    EXPECT_TRUE(view.booked[0].reason.startsWith(QStringLiteral("Error")))
        << view.booked[0].reason.toStdString();
    EXPECT_TRUE(view.booked[1].converted) << view.errors.join(QLatin1Char('\n')).toStdString();
    EXPECT_GT(QFileInfo(work.filePath(QStringLiteral("out/again.avi"))).size(), 1000);
    EXPECT_FALSE(QFile::exists(work.filePath(QStringLiteral("out/damaged.avi"))));
    EXPECT_EQ(queue.captions(), QStringList{damaged});
    EXPECT_EQ(view.filePercent, 100);
}

// A source cut short is booked failed with how far the engine got, and is not deleted even when
// converted sources are.
TEST(RealEngine, TruncatedSourceIsBookedFailedAndKept) {
    TProgramFolder prog;
    ASSERT_TRUE(prog.copyExecutable(QStringLiteral("avcore.dll")));
    QTemporaryDir work;
    const QString truncated = work.filePath(QStringLiteral("truncated.mp4"));
    const QString sample = QStringLiteral(VARID_MEDIA_DIR "/rabbit320.mp4");
    ASSERT_TRUE(WriteCutCopy(sample, truncated, QFileInfo(sample).size() * 45 / 100));

    TOptions options;
    options.DeleteFileAfterProcessing = true;
    TFakeQueue queue;
    queue.rows = {{truncated, QFileInfo(truncated).size()}};
    TEngineProcess engine;
    TRecordingView view;
    TSystemClock clock;
    TBatchDriver driver(queue, engine, view, clock, options);
    driver.SetSettings({work.path(),
                        QStringLiteral(".avi"),
                        [] { return QStringLiteral("-y -f avi -vcodec msmpeg4 -b 1080k -r 25 -an "); },
                        {}});
    ASSERT_TRUE(driver.Convert());

    ASSERT_EQ(view.booked.size(), 1);
    EXPECT_FALSE(view.booked[0].converted);
    EXPECT_TRUE(view.booked[0].reason.contains(QStringLiteral("ended early")))
        << view.booked[0].reason.toStdString();
    EXPECT_TRUE(QFileInfo::exists(truncated));
    EXPECT_FALSE(QFileInfo::exists(work.filePath(QStringLiteral("truncated.avi"))));
}

} // namespace
