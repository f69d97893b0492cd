#include "app/paths.h"
#include "support/program_folder.h"

#include <QLocale>
#include <gtest/gtest.h>

#include <clocale>
#include <cstdlib>

TEST(Paths, DerivedFromTheProgramFolder) {
    TProgramFolder folder;
    const QString dir = folder.path();
    EXPECT_EQ(AppDir, dir);
    EXPECT_EQ(ConfigFileName, dir + QStringLiteral("config.ini"));
    EXPECT_EQ(OptionsFileName, dir + QStringLiteral("options.ini"));
    EXPECT_EQ(LangsDir, dir + QStringLiteral("langs/"));
    EXPECT_EQ(LanguageFileName, dir + QStringLiteral("langs/English.ini"));
    EXPECT_EQ(SkinsDir, dir + QStringLiteral("skins/"));
    EXPECT_EQ(HelpFileName, dir + QStringLiteral("langs/English_help.html"));
    EXPECT_EQ(ApplicationTitle, QStringLiteral("Varid Video Converter"));
}

TEST(Paths, RootFolderHasOneSeparator) {
    InitPathsFor(QStringLiteral("/"));
    EXPECT_EQ(AppDir, QStringLiteral("/"));
    EXPECT_EQ(LangsDir, QStringLiteral("/langs/"));
}

TEST(Paths, LanguageFileFromConfig) {
    TProgramFolder folder;
    const struct {
        const char* config;
        const char* language;
        const char* help;
    } cases[] = {
        // No German help page: the English one opens.
        {"[VaridAVI_Form]\nLanguageFile=Deutsch.ini\n", "Deutsch.ini", "English_help.html"},
        {"[varidavi_form]\nlanguagefile = English\n", "English", "English_help.html"},
        {"[VaridAVI_Form]\nLanguageFile=\n", "English.ini", "English_help.html"},
        {"[Other]\nLanguageFile=Deutsch.ini\n", "English.ini", "English_help.html"},
    };
    for (const auto& c : cases) {
        folder.writeFile(QStringLiteral("config.ini"), c.config);
        folder.initPaths();
        EXPECT_EQ(LanguageFileName, LangsDir + QString::fromUtf8(c.language)) << c.config;
        EXPECT_EQ(HelpFileName, LangsDir + QString::fromUtf8(c.help)) << c.config;
    }
}

TEST(Paths, NumbersUseAPointWhateverTheLocale) {
    // The locale a German desktop starts the program with (scripts/setup generates it).
    setenv("LC_NUMERIC", "de_DE.UTF-8", 1);
    ASSERT_NE(std::setlocale(LC_NUMERIC, "de_DE.UTF-8"), nullptr)
        << "the locale de_DE.UTF-8 is not installed";
    QLocale::setDefault(QLocale(QLocale::German));
    ASSERT_DOUBLE_EQ(std::strtod("12,5", nullptr), 12.5)
        << "the C library does not read numbers the German way";
    ASSERT_EQ(QLocale().toString(12.5), QStringLiteral("12,5"));
    TProgramFolder folder;
    EXPECT_DOUBLE_EQ(QLocale().toDouble(QStringLiteral("12.5")), 12.5);
    EXPECT_DOUBLE_EQ(std::strtod("12.5", nullptr), 12.5);
    EXPECT_EQ(QLocale().toString(12.5), QStringLiteral("12.5"));
    unsetenv("LC_NUMERIC");
}
