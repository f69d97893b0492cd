// Where the user's files live: beside the program when its folder is writable, in the user's
// configuration folder when it is not.
#include "app/inifile.h"
#include "app/options.h"
#include "app/paths.h"
#include "app/scripted_dialogs.h"
#include "lang/kelmultilanguages.h"
#include "lang/multilanguages.h"
#include "lang/strings.h"
#include "profiles/catalogue.h"
#include "support/program_folder.h"

#include <QDirIterator>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

// Every file below a folder, relative, with its content.
QMap<QString, QByteArray> snapshot(const QString& folder) {
    QMap<QString, QByteArray> files;
    QDirIterator it(folder, QDir::Files | QDir::Hidden, QDirIterator::Subdirectories);
    while (it.hasNext()) {
        QFile f(it.next());
        f.open(QIODevice::ReadOnly);
        files.insert(QDir(folder).relativeFilePath(f.fileName()), f.readAll());
    }
    return files;
}

// An installed program: a program folder with the shipped langs/ and an empty user folder.
class InstalledTest : public ::testing::Test {
  protected:
    void SetUp() override {
        ResetStringTable();
        ASSERT_TRUE(user.isValid());
        userDir = user.path() + QStringLiteral("/varid-converter/");
    }
    void TearDown() override {
        ResetStringTable();
        program.initPaths();
    }
    void start() { InitPathsFor(program.path(), userDir); }

    TProgramFolder program;
    QTemporaryDir user;
    QString userDir;
    TScriptedDialogs dialogs;
};

} // namespace

TEST(UserFolder, PortableWhenTheProgramFolderIsWritable) {
    EXPECT_EQ(UserFolderFor(QStringLiteral("/opt/vc"), true, QStringLiteral("/home/u/.config")),
              QStringLiteral("/opt/vc/"));
    EXPECT_EQ(
        UserFolderFor(QStringLiteral("/usr/lib/varid-converter/"), false, QStringLiteral("/home/u/.config")),
        QStringLiteral("/home/u/.config/varid-converter/"));
    EXPECT_EQ(UserFolderFor(QStringLiteral("/usr/lib/varid-converter"), false, QStringLiteral("/cfg/")),
              QStringLiteral("/cfg/varid-converter/"));
    EXPECT_FALSE(IsFolderWritable(QStringLiteral("/no/such/folder")));
    QTemporaryDir dir;
    EXPECT_TRUE(IsFolderWritable(dir.path()));
}

TEST(UserFolder, PortableKeepsEverythingBesideTheProgram) {
    TProgramFolder folder;
    EXPECT_EQ(UserDir, AppDir);
    EXPECT_EQ(LangsDir, ShippedLangsDir);
    EXPECT_EQ(LanguageFolders(), QStringList{LangsDir});
    EXPECT_EQ(ProfileRoot(), folder.path() + QStringLiteral("langs/English_Profile/"));
}

TEST_F(InstalledTest, UserFilesGoToTheUserFolderAndNothingToTheProgramFolder) {
    const auto shipped = snapshot(program.path());
    start();
    EXPECT_EQ(AppDir, program.path());
    EXPECT_EQ(SkinsDir, program.path() + QStringLiteral("skins/"));
    EXPECT_EQ(UserDir, userDir);
    EXPECT_EQ(ConfigFileName, userDir + QStringLiteral("config.ini"));
    EXPECT_EQ(OptionsFileName, userDir + QStringLiteral("options.ini"));
    EXPECT_EQ(LangsDir, userDir + QStringLiteral("langs/"));
    // The shipped language file and help page are read from the program.
    EXPECT_EQ(LanguageFileName, program.path() + QStringLiteral("langs/English.ini"));
    EXPECT_EQ(HelpFileName, program.path() + QStringLiteral("langs/English_help.html"));
    EXPECT_EQ(ProfileRoot(), userDir + QStringLiteral("langs/English_Profile/"));

    // A whole session: options, language, profiles, a language switch, a profile saved.
    LoadOptions();
    ASSERT_TRUE(LoadLanguage());
    InitProfileFolders();
    ASSERT_TRUE(CreateProfileFolders());
    EXPECT_FALSE(ProfileNames(1).isEmpty()); // MP4 profiles seeded from the shipped ones
    TKelMultiLanguages languages(LanguageFolders(), LanguageNameKey, LanguageSection);
    ASSERT_TRUE(SwitchLanguage(languages, QStringLiteral("English")));
    SaveOptions();
    EXPECT_TRUE(dialogs.shown.isEmpty());

    EXPECT_TRUE(QFile::exists(ConfigFileName));
    EXPECT_TRUE(QFile::exists(OptionsFileName));
    EXPECT_EQ(snapshot(program.path()), shipped);
    // The seeded profiles are the shipped ones, file for file.
    const QString english = QStringLiteral("langs/English_Profile");
    EXPECT_EQ(snapshot(userDir + english), snapshot(program.path() + english));
}

TEST_F(InstalledTest, SeedingNeverReplacesOrRevivesTheUsersFiles) {
    start();
    const QString mine = LangsDir + QStringLiteral("English_Profile/mp4/");
    // The user deleted every MP4 profile but one, and changed that one.
    const QStringList seeded = QDir(mine).entryList(QDir::Files);
    ASSERT_GT(seeded.size(), 1);
    for (const QString& name : seeded)
        QFile::remove(mine + name);
    QFile changed(mine + seeded.first());
    ASSERT_TRUE(changed.open(QIODevice::WriteOnly));
    changed.write("[General]\nDescription=mine\n");
    changed.close();
    // A language shipped with a later version of the program.
    program.writeFile(QStringLiteral("langs/Deutsch_Profile/mp3/Gut.mpo"), "[General]\nDescription=gut\n");

    start();
    EXPECT_EQ(QDir(mine).entryList(QDir::Files), QStringList{seeded.first()});
    QFile german(LangsDir + QStringLiteral("Deutsch_Profile/mp3/Gut.mpo"));
    ASSERT_TRUE(german.open(QIODevice::ReadOnly));
    EXPECT_EQ(german.readAll(), QByteArray("[General]\nDescription=gut\n"));
    QFile again(mine + seeded.first());
    ASSERT_TRUE(again.open(QIODevice::ReadOnly));
    EXPECT_EQ(again.readAll(), QByteArray("[General]\nDescription=mine\n"));
    // No staging folders are left behind.
    EXPECT_TRUE(QDir(LangsDir).entryList({QStringLiteral(".seed-*")}, QDir::Dirs | QDir::Hidden).isEmpty());
}

TEST_F(InstalledTest, LanguagesFromBothFoldersTheUsersCopyFirst) {
    program.writeFile(QStringLiteral("langs/Deutsch.ini"), "[VaridAVI_Convert]\nLanguageName=Deutsch\n");
    program.writeFile(QStringLiteral("langs/Deutsch_help.html"), "<html/>");
    const QString own = userDir + QStringLiteral("langs/Deutsch.ini");
    QDir().mkpath(userDir + QStringLiteral("langs"));
    QFile f(own);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write("[VaridAVI_Convert]\nLanguageName=Mein Deutsch\n");
    f.close();
    QFile config(userDir + QStringLiteral("config.ini"));
    ASSERT_TRUE(config.open(QIODevice::WriteOnly));
    config.write("[VaridAVI_Form]\nLanguageFile=Deutsch.ini\n");
    config.close();

    start();
    EXPECT_EQ(LanguageFileName, own);
    EXPECT_EQ(ProfileRoot(), userDir + QStringLiteral("langs/Deutsch_Profile/"));
    EXPECT_EQ(HelpFileName, program.path() + QStringLiteral("langs/Deutsch_help.html"));
    const TKelMultiLanguages languages(LanguageFolders(), LanguageNameKey, LanguageSection);
    // The user's copy comes first and hides the shipped file of the same name; the other shipped
    // languages follow.
    ASSERT_FALSE(languages.LanguageFiles.isEmpty());
    EXPECT_EQ(languages.LanguageFiles.first(), own);
    EXPECT_EQ(languages.LanguageNames.first(), QStringLiteral("Mein Deutsch"));
    EXPECT_FALSE(languages.LanguageFiles.contains(program.path() + QStringLiteral("langs/Deutsch.ini")));
    EXPECT_TRUE(languages.LanguageFiles.contains(program.path() + QStringLiteral("langs/English.ini")));
}

TEST(HelpPage, CurrentLanguageElseEnglish) {
    TProgramFolder folder;
    folder.writeFile(QStringLiteral("langs/Francais_help.html"), "<html/>");
    const struct {
        const char* language;
        const char* help;
    } cases[] = {
        {"langs/Francais.ini", "langs/Francais_help.html"},
        {"langs/Deutsch.ini", "langs/English_help.html"},
        {"langs/English.ini", "langs/English_help.html"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(HelpFileFor(folder.file(QString::fromUtf8(c.language))),
                  folder.file(QString::fromUtf8(c.help)))
            << c.language;
    QFile::remove(folder.file(QStringLiteral("langs/English_help.html")));
    // No page at all: the language's own name, for the shell to report.
    EXPECT_EQ(HelpFileFor(folder.file(QStringLiteral("langs/Deutsch.ini"))),
              folder.file(QStringLiteral("langs/Deutsch_help.html")));
}
