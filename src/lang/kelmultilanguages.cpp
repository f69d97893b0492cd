#include "lang/kelmultilanguages.h"

#include "app/inifile.h"
#include "app/utils.h"

#include <QDir>

TKelMultiLanguages::TKelMultiLanguages(const QString& folder, const QString& key, const QString& section) {
    const QDir dir(folder);
    if (folder.isEmpty() || !dir.exists())
        return;
    const QString base = AddTrailingBackslash(folder);
    // Sorted by name, so that the menu is the same on every file system.
    const QStringList names =
        dir.entryList({QStringLiteral("*.ini")}, QDir::Files | QDir::Hidden, QDir::Name | QDir::IgnoreCase);
    for (const QString& name : names) {
        const QString plain = FileNameWithoutExt(name);
        QString display = TIniFile(base + name).ReadString(section, key, plain);
        if (display.isEmpty())
            display = plain;
        LanguageFiles << base + name;
        LanguageNames << display;
        ++Count;
    }
}

QString TKelMultiLanguages::LanguageFileAt(int index) const {
    return index >= 0 && index < Count ? LanguageFiles.at(index) : QString();
}

QString TKelMultiLanguages::LanguageNameAt(int index) const {
    return index >= 0 && index < Count ? LanguageNames.at(index) : QString();
}

void TKelMultiLanguages::SelectLanguage(int index) {
    if (index >= 0 && index < Count)
        SelectedIndex = index;
}
