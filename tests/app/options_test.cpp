#include "app/inifile.h"
#include "app/options.h"
#include "app/paths.h"
#include "app/utils.h"
#include "support/program_folder.h"

#include <QFile>
#include <gtest/gtest.h>

namespace {

QString documents() {
    return GetShellFolder(QStringLiteral("Personal"));
}

} // namespace

TEST(Options, FirstLoadWritesTheNineKeysInOrderThenFilesAtOnce) {
    TProgramFolder folder;
    ASSERT_FALSE(QFile::exists(OptionsFileName));
    Options.OutputFormat = 9;
    LoadOptions();
    const QString docs = documents();
    const QByteArray expected = "[VideoConvertoptions]\nOutputFormat=0\nLastInputOpenDir=" + docs.toUtf8() +
                                "\nLastOutputOpenDir=" + docs.toUtf8() +
                                "\nPriority=1\nShutdownFlag=1\nDeleteFileAfterProcessing=0\n"
                                "ShutdownWindowsWhenDone=0\nShowWindow=1\nUseDirectShow=0\nFilesAtOnce=0\n";
    EXPECT_EQ(folder.readFile(QStringLiteral("options.ini")), expected);
    EXPECT_EQ(Options.OutputFormat, 0);
    EXPECT_EQ(Options.Priority, 1);
    EXPECT_EQ(Options.ShutdownFlag, 1);
    EXPECT_TRUE(Options.ShowWindow);
    EXPECT_EQ(Options.LastInputOpenDir, docs);
    EXPECT_EQ(Options.EngineFileName, QStringLiteral("avcore.dll"));
}

TEST(Options, ReadsLowEightBitsBooleansAndEmptyValues) {
    TProgramFolder folder;
    folder.writeFile(QStringLiteral("options.ini"),
                     "[VideoConvertoptions]\nOutputFormat=257\nPriority=$103\n"
                     "ShutdownFlag=-1\nUseDirectShow=2\nShowWindow=\n"
                     "DeleteFileAfterProcessing=yes\nLastInputOpenDir=\nFilesAtOnce=3\n");
    LoadOptions();
    EXPECT_EQ(Options.OutputFormat, 1);
    EXPECT_EQ(Options.Priority, 3);
    EXPECT_EQ(Options.ShutdownFlag, 255);
    EXPECT_TRUE(Options.UseDirectShow);
    EXPECT_TRUE(Options.ShowWindow);                   // empty: the default
    EXPECT_FALSE(Options.DeleteFileAfterProcessing);   // not a number: the default
    EXPECT_EQ(Options.LastInputOpenDir, QString());    // present but empty: empty text
    EXPECT_EQ(Options.LastOutputOpenDir, documents()); // missing: the default
    EXPECT_EQ(Options.FilesAtOnce, 3);

    SaveOptions();
    const TIniFile ini(OptionsFileName);
    EXPECT_EQ(ini.ReadString(OptionsSection, QStringLiteral("UseDirectShow"), {}), QStringLiteral("1"));
    EXPECT_EQ(ini.ReadString(OptionsSection, QStringLiteral("OutputFormat"), {}), QStringLiteral("1"));
}

TEST(Options, LoadDiscardsUnsavedChangesAndSaveKeepsOtherKeys) {
    TProgramFolder folder;
    folder.writeFile(
        QStringLiteral("options.ini"),
        "; mine\n[VideoConvertoptions]\nDeleteFileAfterProcessing=0\nExtra=keep\n[Other]\nA=1\n");
    LoadOptions();
    Options.DeleteFileAfterProcessing = true; // ticked in the progress window, not saved
    LoadOptions();
    EXPECT_FALSE(Options.DeleteFileAfterProcessing);

    Options.LastOutputOpenDir = QStringLiteral("/media/out");
    SaveOptions();
    const TIniFile ini(OptionsFileName);
    EXPECT_EQ(ini.ReadString(OptionsSection, QStringLiteral("Extra"), {}), QStringLiteral("keep"));
    EXPECT_EQ(ini.ReadString(QStringLiteral("Other"), QStringLiteral("A"), {}), QStringLiteral("1"));
    EXPECT_EQ(ini.ReadString(OptionsSection, QStringLiteral("LastOutputOpenDir"), {}),
              QStringLiteral("/media/out"));
    EXPECT_TRUE(folder.readFile(QStringLiteral("options.ini")).startsWith("; mine\n"));
}
