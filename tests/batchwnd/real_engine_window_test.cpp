// A batch through the window over the real engine and FFmpeg: two good files and a damaged one.
// The good ones convert and leave the list; the damaged one stays with the error mark, and the
// end report names it with the engine's lines.
#include "app/options.h"
#include "app/scripted_dialogs.h"
#include "app/scripted_power.h"
#include "engine/batch_driver.h"
#include "lang/strings.h"
#include "sources/sourcelist.h"
#include "support/byte_files.h"
#include "support/program_folder.h"
#include "ui/main/batchwindow.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QWidget>
#include <gtest/gtest.h>

namespace {

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

} // namespace
