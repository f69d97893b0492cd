#include "app/paths.h"

#include "app/inifile.h"
#include "app/utils.h"

#include <QCoreApplication>
#include <QLocale>

#include <clocale>

QString AppDir;
QString ConfigFileName;
QString OptionsFileName;
QString LangsDir;
QString LanguageFileName;
QString SkinsDir;
QString HelpFileName;

const QString ApplicationTitle = QStringLiteral("Varid Video Converter");

void InitPathsFor(const QString& programFolder) {
    // Numbers are read and written with "." whatever the user's regional settings say: the C
    // locale for the C library, and Qt's C locale for QString/QLocale conversions.
    std::setlocale(LC_NUMERIC, "C");
    QLocale::setDefault(QLocale::c());

    AppDir = AddTrailingBackslash(programFolder);
    ConfigFileName = AppDir + QStringLiteral("config.ini");
    OptionsFileName = AppDir + QStringLiteral("options.ini");
    LangsDir = AddTrailingBackslash(AppDir + QStringLiteral("langs/"));
    // An empty value would name the langs folder itself; it counts as missing.
    QString languageFile =
        TIniFile(ConfigFileName)
            .ReadString(QStringLiteral("VaridAVI_Form"), QStringLiteral("LanguageFile"), QString());
    if (languageFile.isEmpty())
        languageFile = QStringLiteral("English.ini");
    LanguageFileName = LangsDir + languageFile;
    SkinsDir = AddTrailingBackslash(AppDir + QStringLiteral("skins/"));
    HelpFileName = LangsDir + FileNameWithoutExt(languageFile) + QStringLiteral("_help.html");
}

void InitPaths() {
    InitPathsFor(QCoreApplication::applicationDirPath());
}
