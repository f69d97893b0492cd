#include "lang/kelmultilanguages.h"

#include "app/inifile.h"
#include "app/utils.h"

#include <QDir>
#include <QMap>

#include <algorithm>

TKelMultiLanguages::TKelMultiLanguages(const QString& folder, const QString& key, const QString& section)
    : TKelMultiLanguages(QStringList{folder}, key, section) {}

TKelMultiLanguages::TKelMultiLanguages(const QStringList& folders, const QString& key,
                                       const QString& section) {
    // File name -> full path; the first folder holding a name wins.
    QMap<QString, QString> found;
    for (const QString& folder : folders) {
        const QDir dir(folder);
        if (folder.isEmpty() || !dir.exists())
            continue;
        const QString base = AddTrailingBackslash(folder);
        for (const QString& name : dir.entryList({QStringLiteral("*.ini")}, QDir::Files | QDir::Hidden)) {
            if (!found.contains(name))
                found.insert(name, base + name);
        }
    }
    // Sorted by name, so that the menu is the same on every file system.
    QStringList names = found.keys();
    std::sort(names.begin(), names.end(), [](const QString& a, const QString& b) {
        const int byName = a.compare(b, Qt::CaseInsensitive);
        return byName != 0 ? byName < 0 : a < b;
    });
    for (const QString& name : std::as_const(names)) {
        const QString plain = FileNameWithoutExt(name);
        QString display = TIniFile(found.value(name)).ReadString(section, key, plain);
        if (display.isEmpty())
            display = plain;
        LanguageFiles << found.value(name);
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
