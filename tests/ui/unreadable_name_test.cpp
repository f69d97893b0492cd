// A source whose name is not UTF-8, chosen in the add dialog (which hands over the name with U+FFFD
// in place of the stray bytes): it is listed under its readable name, converts through the real
// engine, and "delete source" deletes the very file.
#include "app/byte_names.h"
#include "main_fixture.h"
#include "support/byte_files.h"
#include "ui/main/sourcelistview.h"

#include <QFileInfo>

#include <sys/stat.h>
#include <unistd.h>

namespace {

TEST_F(MainFixture, AnUnreadableNameFromTheAddDialogConvertsAndItsRealFileIsDeleted) {
    ASSERT_TRUE(folder.copyExecutable(QStringLiteral("avcore.dll")));
    const QString out = folder.file(QStringLiteral("out"));
    ASSERT_TRUE(QDir().mkpath(out));
    ASSERT_TRUE(folder.writeFile(QStringLiteral("options.ini"),
                                 "[VideoConvertoptions]\nOutputFormat=15\nDeleteFileAfterProcessing=1\n"
                                 "LastOutputOpenDir=" +
                                     out.toUtf8() + "\n"));
    const QByteArray real = QFile::encodeName(folder.file(QStringLiteral("media/"))) + "caf\xE9.ogg";
    ASSERT_TRUE(WriteByteNamedFile(real, FileContent(QStringLiteral(VARID_MEDIA_DIR "/viper.ogg"))));
    const QString readable = QFile::decodeName(real);

    AddThroughDialog({readable});
    ASSERT_EQ(Main().SourceList().Count(), 1);
    const auto* view = Child<TSourceListView>("lsvFileName");
    EXPECT_EQ(view->model()->index(0, 0).data().toString(), readable);
    EXPECT_EQ(Text("lblCompleteNameText"), readable);

    Act("actConvert")->trigger();
    EXPECT_EQ(Main().SourceList().Count(), 0);
    EXPECT_GT(QFileInfo(out + QStringLiteral("/caf\uFFFD.wav")).size(), 1000);
    struct stat st {};
    EXPECT_NE(::stat(real.constData(), &st), 0) << "the source itself is deleted, not its alias";
    for (const auto& shown : dialogs.shown)
        EXPECT_EQ(shown.kind, TScriptedDialogs::Kind::OpenFiles) << shown.text.toStdString();
    ::unlink(real.constData()); // the folder's own clean-up cannot remove a name that is not UTF-8
}

} // namespace
