#include "app/inifile.h"
#include "app/paths.h"
#include "app/scripted_dialogs.h"
#include "app/utils.h"
#include "lang/kelmultilanguages.h"
#include "lang/multilanguages.h"
#include "lang/strings.h"
#include "support/program_folder.h"

#include <QDir>
#include <QFile>
#include <gtest/gtest.h>

namespace {

class LanguageTest : public ::testing::Test {
  protected:
    void SetUp() override {
        ResetStringTable();
        AvsExtensions.clear();
        InputFilters.clear();
    }
    void TearDown() override { ResetStringTable(); }

    TProgramFolder folder;
    TScriptedDialogs dialogs;

    // A language file with one extension and one filter plus the given lines of texts.
    void writeLanguage(const QString& name, const QByteArray& convertLines,
                       const QByteArray& avs = "1=.avs\n",
                       const QByteArray& filters = "Video=*.avi;*.mp4\n") {
        folder.writeFile(QStringLiteral("langs/") + name, "[VaridAVI_Convert]\n" + convertLines +
                                                              "[VaridAVI_AVSExt]\n" + avs +
                                                              "[VaridAVI_Filters]\n" + filters);
    }
    void useLanguage(const QString& name) { LanguageFileName = LangsDir + name; }
    // Leaves English as the only shipped language, for tests that list languages of their own.
    void onlyEnglishShipped() {
        for (const QString& name : QDir(LangsDir).entryList({QStringLiteral("*.ini")}, QDir::Files)) {
            if (name != QStringLiteral("English.ini")) {
                ASSERT_TRUE(QFile::remove(LangsDir + name)) << name.toStdString();
            }
        }
    }
};

} // namespace

TEST_F(LanguageTest, ShippedEnglishFileIsCompleteAndLoads) {
    ASSERT_TRUE(LoadLanguage());
    EXPECT_TRUE(dialogs.shown.isEmpty());
    EXPECT_EQ(AvsExtensions, QStringList{QStringLiteral(".avs")});
    ASSERT_FALSE(InputFilters.isEmpty());
    EXPECT_TRUE(InputFilters.join(QLatin1Char(';')).contains(QStringLiteral("*.mp4")));
    const TIniFile ini(LanguageFileName);
    EXPECT_EQ(ini.ReadString(LanguageSection, LanguageNameKey, {}), QStringLiteral("English"));
    for (int i = 0; i < IdsCount; ++i) {
        const Ids id = static_cast<Ids>(i);
        EXPECT_TRUE(ini.ValueExists(LanguageSection, StrKeyName(id))) << StrKeyName(id).toStdString();
        EXPECT_EQ(Str(id), TrimControls(StrDefault(id))) << StrKeyName(id).toStdString();
    }
    EXPECT_EQ(Str(Ids::IDS_MESSAGEBOX_Converting), QStringLiteral("Conveting"));
    EXPECT_EQ(Str(Ids::IDS_CONVERTING_Status), QStringLiteral("Status="));
    EXPECT_EQ(Str(Ids::IDS_PROFILE_LABEL_LowQuality), QStringLiteral("Low quality,\nsmall size"));
}

TEST_F(LanguageTest, EveryKeyHasARealDefault) {
    for (int i = 0; i < IdsCount; ++i) {
        const Ids id = static_cast<Ids>(i);
        EXPECT_FALSE(TrimControls(StrDefault(id)).isEmpty()) << StrKeyName(id).toStdString();
        EXPECT_NE(StrDefault(id), QStringLiteral("TODO")) << StrKeyName(id).toStdString();
    }
    // The 296 keys of the language files come first, in their order; the program's own keys follow.
    ASSERT_GE(IdsCount, 296);
    EXPECT_EQ(StrKeyName(Ids::IDS_MAIN_BUTTON_Open), QStringLiteral("IDS_MAIN_BUTTON_Open"));
    EXPECT_EQ(StrKeyName(static_cast<Ids>(295)).trimmed(), QStringLiteral("IDS_NO_DESCRIPTION"));
}

TEST_F(LanguageTest, MissingFileIsWrittenWithDefaultsAndReportsMissingExtensions) {
    useLanguage(QStringLiteral("Missing.ini"));
    EXPECT_FALSE(LoadLanguage());
    ASSERT_EQ(dialogs.shown.size(), 1);
    EXPECT_EQ(dialogs.shown[0].text, StrDefault(Ids::IDS_NoAVSExtersionAllow));
    EXPECT_EQ(dialogs.shown[0].caption, ApplicationTitle);
    EXPECT_EQ(dialogs.shown[0].buttons, static_cast<unsigned>(TMsgDlgBtn::mbOK));

    const TIniFile ini(LanguageFileName);
    ASSERT_TRUE(ini.Existed());
    EXPECT_EQ(ini.ReadSections(), QStringList{LanguageSection});
    const QStringList keys = ini.ReadSection(LanguageSection);
    ASSERT_EQ(keys.size(), IdsCount);
    for (int i = 0; i < IdsCount; ++i)
        EXPECT_EQ(keys[i], StrKeyName(static_cast<Ids>(i)).trimmed());
    EXPECT_EQ(ini.ReadString(LanguageSection, QStringLiteral("IDS_MESSAGEBOX_FileExists"), {}),
              QStringLiteral("File \"%s\" already exists.#13#13Are you sure you want to overwrite it?"));
    EXPECT_FALSE(ini.ValueExists(LanguageSection, LanguageNameKey));
}

TEST_F(LanguageTest, ExtensionListStopsAtTheFirstGapOrNoneMarker) {
    writeLanguage(QStringLiteral("Gap.ini"), "", "1=.avs\n2=.AVS\n4=.vpy\n");
    useLanguage(QStringLiteral("Gap.ini"));
    ASSERT_TRUE(LoadLanguage());
    EXPECT_EQ(AvsExtensions, (QStringList{QStringLiteral(".avs"), QStringLiteral(".AVS")}));
    EXPECT_EQ(InputFilters, QStringList{QStringLiteral("Video=*.avi;*.mp4")});

    writeLanguage(QStringLiteral("None.ini"), "IDS_OK=Okay\n", "1=<None>\n2=.avs\n");
    useLanguage(QStringLiteral("None.ini"));
    EXPECT_FALSE(LoadLanguage());
    EXPECT_EQ(dialogs.messages(), QStringList{StrDefault(Ids::IDS_NoAVSExtersionAllow)});
    EXPECT_EQ(InputFilters, QStringList{QStringLiteral("Video=*.avi;*.mp4")}); // unchanged
    EXPECT_EQ(Str(Ids::IDS_OK), QStringLiteral("OK"));                         // unchanged
}

TEST_F(LanguageTest, NoFiltersIsReportedAndKeepsTheTexts) {
    writeLanguage(QStringLiteral("NoFilters.ini"), "IDS_OK=Okay\n", "1=.avs\n", "");
    useLanguage(QStringLiteral("NoFilters.ini"));
    EXPECT_FALSE(LoadLanguage());
    EXPECT_EQ(dialogs.messages(), QStringList{StrDefault(Ids::IDS_NoInputFilesAllow)});
    EXPECT_EQ(AvsExtensions, QStringList{QStringLiteral(".avs")});
    EXPECT_EQ(Str(Ids::IDS_OK), QStringLiteral("OK"));
}

TEST_F(LanguageTest, TextsAreTrimmedAndLineBreaksDecoded) {
    writeLanguage(QStringLiteral("T.ini"), "IDS_OK =   Line1#13Line2   \n"
                                           "ids_cancel=#13Lead\n"
                                           "IDS_BITTATE_FORMAT=%s kbps\n"
                                           "IDS_None=(none)\n");
    useLanguage(QStringLiteral("T.ini"));
    ASSERT_TRUE(LoadLanguage());
    EXPECT_EQ(Str(Ids::IDS_OK), QStringLiteral("Line1\nLine2"));
    EXPECT_EQ(Str(Ids::IDS_Cancel), QStringLiteral("\nLead"));
    EXPECT_EQ(Str(Ids::IDS_BITTATE_FORMAT), QStringLiteral("%s kbps")); // key name ends in a blank
    EXPECT_EQ(Str(Ids::IDS_None), QStringLiteral("(none)"));
    EXPECT_EQ(Str(Ids::IDS_CONVERTING_Status), QStringLiteral("Status=")); // missing: trimmed default
}

TEST_F(LanguageTest, EnumeratorNamesFilesAndGuardsIndexes) {
    onlyEnglishShipped();
    writeLanguage(QStringLiteral("Deutsch.ini"), "LanguageName=German\n");
    writeLanguage(QStringLiteral("Blank.ini"), "LanguageName=\n");
    folder.writeFile(QStringLiteral("langs/notes.txt"), "x");
    ASSERT_TRUE(QDir().mkpath(folder.file(QStringLiteral("langs/Folder.ini"))));

    TKelMultiLanguages langs(LangsDir, LanguageNameKey, LanguageSection);
    ASSERT_EQ(langs.Count, 3);
    EXPECT_EQ(langs.LanguageNames,
              (QStringList{QStringLiteral("Blank"), QStringLiteral("German"), QStringLiteral("English")}));
    EXPECT_EQ(langs.LanguageFileAt(1), LangsDir + QStringLiteral("Deutsch.ini"));
    EXPECT_EQ(langs.SelectedIndex, 0);
    EXPECT_EQ(langs.LanguageNameAt(3), QString());
    EXPECT_EQ(langs.LanguageFileAt(-1), QString());
    langs.SelectLanguage(2);
    langs.SelectLanguage(7);
    EXPECT_EQ(langs.SelectedIndex, 2);

    TKelMultiLanguages none(folder.file(QStringLiteral("no-such-folder")), LanguageNameKey, LanguageSection);
    EXPECT_EQ(none.Count, 0);
    EXPECT_EQ(none.LanguageNameAt(0), QString());
}

TEST_F(LanguageTest, SwitchStoresTheFileAndKeepsMissingKeysOfTheFormerLanguage) {
    writeLanguage(QStringLiteral("Deutsch.ini"), "LanguageName=German\nIDS_OK=Jawohl\n");
    ASSERT_TRUE(LoadLanguage()); // English
    SetStr(Ids::IDS_Cancel, QStringLiteral("Cancel (English)"));
    TKelMultiLanguages langs(LangsDir, LanguageNameKey, LanguageSection);

    ASSERT_TRUE(SwitchLanguage(langs, QStringLiteral("german")));
    EXPECT_EQ(LanguageFileName, LangsDir + QStringLiteral("Deutsch.ini"));
    EXPECT_EQ(TIniFile(ConfigFileName).ReadString(ConfigSection, LanguageFileKey, {}),
              QStringLiteral("Deutsch.ini"));
    EXPECT_EQ(Str(Ids::IDS_OK), QStringLiteral("Jawohl"));
    EXPECT_EQ(Str(Ids::IDS_Cancel), QStringLiteral("Cancel (English)"));
    // The help stays the one of the start-up language.
    EXPECT_EQ(HelpFileName, LangsDir + QStringLiteral("English_help.html"));
    // The next start uses the stored choice.
    folder.initPaths();
    EXPECT_EQ(LanguageFileName, LangsDir + QStringLiteral("Deutsch.ini"));
}

TEST_F(LanguageTest, SwitchReportsAnUnwritableConfig) {
    writeLanguage(QStringLiteral("Deutsch.ini"), "LanguageName=German\nIDS_OK=Jawohl\n");
    ASSERT_TRUE(QDir().mkpath(ConfigFileName)); // config.ini cannot be written: it is a folder
    TKelMultiLanguages langs(LangsDir, LanguageNameKey, LanguageSection);
    EXPECT_FALSE(SwitchLanguage(langs, QStringLiteral("German")));
    EXPECT_EQ(dialogs.messages(), QStringList{QStringLiteral("Unable to write to ") + ConfigFileName});
    EXPECT_EQ(dialogs.shown[0].type, TMsgDlgType::mtError);
    EXPECT_EQ(LanguageFileName, LangsDir + QStringLiteral("Deutsch.ini"));
    EXPECT_EQ(Str(Ids::IDS_OK), QStringLiteral("OK"));
}
