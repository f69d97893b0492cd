#include "app/paths.h"

#include "app/inifile.h"
#include "app/utils.h"

#include <QCoreApplication>
#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QLocale>
#include <QStandardPaths>
#include <QTemporaryDir>

#include <clocale>
#include <unistd.h>

QString AppDir;
QString UserDir;
QString ConfigFileName;
QString OptionsFileName;
QString LangsDir;
QString ShippedLangsDir;
QString LanguageFileName;
QString SkinsDir;
QString HelpFileName;

const QString ApplicationTitle = QStringLiteral("Varid Video Converter");
const QString UserFolderName = QStringLiteral("varid-converter");

namespace {

const QString ProfileSuffix = QStringLiteral("_Profile");

// Copies a folder tree to a new folder next to target and renames it into place, so that an
// interrupted copy never leaves a half-filled profile folder that would block the next seeding.
bool copyTreeInto(const QString& from, const QString& target) {
    const QString parent = QFileInfo(target).absolutePath();
    QTemporaryDir staging(parent + QStringLiteral("/.seed-XXXXXX"));
    if (!staging.isValid())
        return false;
    QDirIterator it(from, QDir::Files | QDir::Dirs | QDir::NoDotAndDotDot | QDir::Hidden,
                    QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString src = it.next();
        const QString dst = staging.path() + QLatin1Char('/') + QDir(from).relativeFilePath(src);
        const bool ok = it.fileInfo().isDir() ? QDir().mkpath(dst) : QFile::copy(src, dst);
        if (!ok)
            return false;
    }
    // Shipped files are read-only in the package; the user's copies must be editable.
    QDirIterator files(staging.path(), QDir::Files | QDir::Hidden, QDirIterator::Subdirectories);
    while (files.hasNext()) {
        const QString file = files.next();
        QFile::setPermissions(file, QFile::permissions(file) | QFileDevice::WriteOwner);
    }
    if (!QDir().rename(staging.path(), target))
        return false;
    staging.setAutoRemove(false);
    return true;
}

} // namespace

QString UserFolderFor(const QString& programFolder, bool programFolderWritable, const QString& configHome) {
    if (programFolderWritable)
        return AddTrailingBackslash(programFolder);
    return AddTrailingBackslash(AddTrailingBackslash(configHome) + UserFolderName);
}

bool IsFolderWritable(const QString& folder) {
    return ::access(QFile::encodeName(folder).constData(), W_OK) == 0;
}

bool SeedUserProfiles(const QString& shippedLangs, const QString& userLangs) {
    if (!QDir().mkpath(userLangs))
        return false;
    bool ok = true;
    const QStringList shipped =
        QDir(shippedLangs)
            .entryList({QLatin1Char('*') + ProfileSuffix}, QDir::Dirs | QDir::NoDotAndDotDot, QDir::Name);
    for (const QString& name : shipped) {
        const QString target = AddTrailingBackslash(userLangs) + name;
        if (QFileInfo::exists(target))
            continue;
        ok = copyTreeInto(AddTrailingBackslash(shippedLangs) + name, target) && ok;
    }
    return ok;
}

QStringList LanguageFolders() {
    if (ShippedLangsDir == LangsDir)
        return {LangsDir};
    return {LangsDir, ShippedLangsDir};
}

QString LanguageFilePath(const QString& fileName) {
    for (const QString& folder : LanguageFolders()) {
        if (QFileInfo(folder + fileName).isFile())
            return folder + fileName;
    }
    return LangsDir + fileName;
}

QString UserSideOf(const QString& path) {
    if (ShippedLangsDir != LangsDir && path.startsWith(ShippedLangsDir))
        return LangsDir + path.mid(ShippedLangsDir.size());
    return path;
}

QString HelpFileFor(const QString& languageFileName) {
    const QString suffix = QStringLiteral("_help.html");
    const QStringList names = {FileNameWithoutExt(languageFileName) + suffix,
                               QStringLiteral("English") + suffix};
    for (const QString& name : names) {
        for (const QString& folder : LanguageFolders()) {
            if (QFileInfo(folder + name).isFile())
                return folder + name;
        }
    }
    return ShippedLangsDir + names.first();
}

void InitPathsFor(const QString& programFolder, const QString& userFolder) {
    // Numbers are read and written with "." whatever the user's regional settings say: the C
    // locale for the C library, and Qt's C locale for QString/QLocale conversions.
    std::setlocale(LC_NUMERIC, "C");
    QLocale::setDefault(QLocale::c());

    AppDir = AddTrailingBackslash(programFolder);
    UserDir = AddTrailingBackslash(userFolder);
    ConfigFileName = UserDir + QStringLiteral("config.ini");
    OptionsFileName = UserDir + QStringLiteral("options.ini");
    LangsDir = AddTrailingBackslash(UserDir + QStringLiteral("langs/"));
    ShippedLangsDir = AddTrailingBackslash(AppDir + QStringLiteral("langs/"));
    if (LangsDir != ShippedLangsDir)
        SeedUserProfiles(ShippedLangsDir, LangsDir); // a failure shows when the profiles are used
    // An empty value would name the langs folder itself; it counts as missing.
    QString languageFile =
        TIniFile(ConfigFileName)
            .ReadString(QStringLiteral("VaridAVI_Form"), QStringLiteral("LanguageFile"), QString());
    if (languageFile.isEmpty())
        languageFile = QStringLiteral("English.ini");
    LanguageFileName = LanguageFilePath(languageFile);
    SkinsDir = AddTrailingBackslash(AppDir + QStringLiteral("skins/"));
    HelpFileName = HelpFileFor(languageFile);
}

void InitPathsFor(const QString& programFolder) {
    InitPathsFor(programFolder, programFolder);
}

void InitPaths() {
    const QString programFolder = QCoreApplication::applicationDirPath();
    const QString configHome = QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation);
    InitPathsFor(programFolder, UserFolderFor(programFolder, IsFolderWritable(programFolder), configHome));
}
