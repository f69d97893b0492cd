// The shipped translations: every language file carries every text of the string table with the
// English text's placeholders and line breaks, loads through the program's loader with its accented
// letters intact, accepts the same files as English, and comes with the English profiles under
// translated names whose settings are the English ones.
#include "app/inifile.h"
#include "app/paths.h"
#include "app/scripted_dialogs.h"
#include "app/utils.h"
#include "lang/kelmultilanguages.h"
#include "lang/multilanguages.h"
#include "lang/strings.h"
#include "profiles/catalogue.h"
#include "support/program_folder.h"

#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <gtest/gtest.h>

#include <map>
#include <ostream>

namespace {

struct ShippedLanguage {
    const char* File;
    const char* Name; // LanguageName, in the language itself
    Ids Sample;       // a text with letters outside ASCII
    const char* SampleText;
};

void PrintTo(const ShippedLanguage& language, std::ostream* out) {
    *out << language.File;
}

const ShippedLanguage Languages[] = {
    {"German.ini", "Deutsch", Ids::IDS_MAIN_ARBUTTON_Add, "Hinzufügen"},
    {"French.ini", "Français", Ids::IDS_MAIN_MENUITEM_About, "À propos"},
    {"Spanish.ini", "Español", Ids::IDS_MAIN_ARBUTTON_Add, "Añadir"},
};

const QString English = QStringLiteral("English.ini");
const QString ProfileSection = QStringLiteral("General");
const QString DescriptionKey = QStringLiteral("Description");

// Format placeholders (%s, %d, %%, ...) and line-break marks, in the order they appear.
QStringList markers(const QString& text) {
    static const QRegularExpression marker(QStringLiteral("#13|%[-+#0-9.]*[a-zA-Z%]"));
    QStringList found;
    for (auto it = marker.globalMatch(text); it.hasNext();)
        found << it.next().captured();
    return found;
}

// The patterns of the filter lines, without their (translated) descriptions.
QStringList filterPatterns(const TIniFile& ini) {
    QStringList patterns;
    for (const auto& [description, pattern] : ini.ReadSectionValues(FiltersSection))
        patterns << pattern;
    return patterns;
}

class ShippedLanguageTest : public ::testing::TestWithParam<ShippedLanguage> {
  protected:
    void SetUp() override {
        ResetStringTable();
        AvsExtensions.clear();
        InputFilters.clear();
    }
    void TearDown() override { ResetStringTable(); }

    QString file() const { return LangsDir + QString::fromUtf8(GetParam().File); }

    TProgramFolder folder;
    TScriptedDialogs dialogs;
};

} // namespace

TEST_P(ShippedLanguageTest, LoadsWithAccentsThroughTheLoaderAndListsItsOwnName) {
    LanguageFileName = file();
    ASSERT_TRUE(LoadLanguage());
    EXPECT_TRUE(dialogs.shown.isEmpty());
    EXPECT_EQ(Str(GetParam().Sample), QString::fromUtf8(GetParam().SampleText));
    EXPECT_TRUE(Str(Ids::IDS_PROFILE_LABEL_LowQuality).contains(QLatin1Char('\n')));
    EXPECT_FALSE(Str(Ids::IDS_PROFILE_LABEL_LowQuality).contains(QStringLiteral("#13")));

    TKelMultiLanguages languages(LangsDir, LanguageNameKey, LanguageSection);
    EXPECT_TRUE(languages.LanguageNames.contains(QString::fromUtf8(GetParam().Name)))
        << languages.LanguageNames.join(QLatin1Char(',')).toStdString();
}

TEST_P(ShippedLanguageTest, EveryTextIsTranslatedWithTheEnglishPlaceholdersAndLineBreaks) {
    const TIniFile english(LangsDir + English);
    const TIniFile language(file());
    for (int i = 0; i < IdsCount; ++i) {
        const QString key = StrKeyName(static_cast<Ids>(i));
        SCOPED_TRACE(key.toStdString());
        ASSERT_TRUE(language.ValueExists(LanguageSection, key));
        const QString text = language.ReadString(LanguageSection, key, {});
        EXPECT_FALSE(TrimControls(text).isEmpty());
        EXPECT_EQ(markers(text), markers(english.ReadString(LanguageSection, key, {}))) << text.toStdString();
    }
}

TEST_P(ShippedLanguageTest, AcceptsTheSameFilesAsEnglish) {
    const TIniFile english(LangsDir + English);
    const TIniFile language(file());
    EXPECT_EQ(language.ReadSectionValues(AvsExtSection), english.ReadSectionValues(AvsExtSection));
    EXPECT_EQ(filterPatterns(language), filterPatterns(english));
    for (const auto& [description, pattern] : language.ReadSectionValues(FiltersSection))
        EXPECT_FALSE(description.isEmpty()) << pattern.toStdString();
}

// Every format folder of the language holds one profile per English profile with the English
// settings; only the name and the Description differ. Profiles are paired by their settings, and
// "No Description" pairs with the language's own text of it.
TEST_P(ShippedLanguageTest, ProfilesAreTheEnglishOnesUnderTranslatedNames) {
    const QString noDescription =
        TIniFile(file()).ReadString(LanguageSection, StrKeyName(Ids::IDS_NO_DESCRIPTION).trimmed(), {});
    ASSERT_FALSE(noDescription.isEmpty());

    // Settings without Description (as "key=value" lines in file order) -> the Descriptions of the
    // profiles that hold them.
    using Profiles = std::map<QString, QStringList>;
    auto profilesOf = [](const QString& languageFile, int format) {
        LanguageFileName = LangsDir + languageFile;
        InitProfileFolders();
        Profiles profiles;
        for (const QString& name : ProfileNames(format)) {
            EXPECT_TRUE(IsValidFileName(name)) << name.toStdString();
            QStringList settings;
            QString description;
            for (const auto& [key, value] :
                 TIniFile(ProfileFileName(format, name)).ReadSectionValues(ProfileSection)) {
                if (key.compare(DescriptionKey, Qt::CaseInsensitive) == 0)
                    description = value;
                else
                    settings << key + QLatin1Char('=') + value;
            }
            EXPECT_FALSE(description.isEmpty()) << name.toStdString();
            profiles[settings.join(QLatin1Char('\n'))] << description;
        }
        return profiles;
    };

    EXPECT_TRUE(QFileInfo::exists(folder.file(QStringLiteral("langs/English_Profile/DirectShow.avs"))));
    for (const TFormatInfo& format : FormatCatalogue()) {
        SCOPED_TRACE(format.Format.toStdString());
        const Profiles english = profilesOf(English, format.Index);
        const Profiles language = profilesOf(QString::fromUtf8(GetParam().File), format.Index);
        ASSERT_FALSE(english.empty());
        ASSERT_EQ(language.size(), english.size());
        for (const auto& [settings, descriptions] : english) {
            const auto match = language.find(settings);
            ASSERT_NE(match, language.end()) << "no translation of the profile described as "
                                             << descriptions.join(QLatin1Char('|')).toStdString();
            ASSERT_EQ(match->second.size(), descriptions.size());
            EXPECT_EQ(match->second.count(noDescription),
                      descriptions.count(StrDefault(Ids::IDS_NO_DESCRIPTION)));
        }
    }
    const QString root = LangsDir + QFileInfo(file()).completeBaseName() + QStringLiteral("_Profile/");
    QFile avs(root + QStringLiteral("DirectShow.avs"));
    QFile englishAvs(LangsDir + QStringLiteral("English_Profile/DirectShow.avs"));
    ASSERT_TRUE(avs.open(QIODevice::ReadOnly));
    ASSERT_TRUE(englishAvs.open(QIODevice::ReadOnly));
    EXPECT_EQ(avs.readAll(), englishAvs.readAll());
}

// A format's first profile is the one a batch uses until the user picks another. FLAC is chosen to
// keep sound as it is, so in every language its list opens with the lossless Default, never with
// the 16 bit 44100 Hz stereo profile.
TEST_P(ShippedLanguageTest, FlacListOpensWithTheLosslessDefault) {
    constexpr int Flac = 19;
    LanguageFileName = LangsDir + English;
    InitProfileFolders();
    ASSERT_EQ(ProfileNames(Flac).value(0), QStringLiteral("Default"));
    const QString englishDefault = ProfileFileName(Flac, QStringLiteral("Default"));

    LanguageFileName = file();
    InitProfileFolders();
    const QStringList names = ProfileNames(Flac);
    ASSERT_FALSE(names.isEmpty());
    EXPECT_EQ(names.first().toStdString(), MatchingProfile(Flac, englishDefault).toStdString());
}

INSTANTIATE_TEST_SUITE_P(
    Shipped, ShippedLanguageTest, ::testing::ValuesIn(Languages),
    [](const ::testing::TestParamInfo<ShippedLanguage>& info) {
        return QFileInfo(QString::fromUtf8(info.param.File)).completeBaseName().toStdString();
    });
