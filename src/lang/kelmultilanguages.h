#pragma once
// The language files found in a folder, with the display name of each, for the language menu.
#include <QString>
#include <QStringList>

class TKelMultiLanguages {
  public:
    // Enumerates folder/*.ini; each file's display name is the value of key in section, or the
    // file name without extension when that is missing or empty.
    TKelMultiLanguages(const QString& folder, const QString& key, const QString& section);

    int Count = 0;
    int SelectedIndex = 0;
    QStringList LanguageFiles; // full paths
    QStringList LanguageNames; // display names, same order

    // The entry at index, or empty text outside 0..Count-1.
    QString LanguageFileAt(int index) const;
    QString LanguageNameAt(int index) const;
    // Selects index when it is inside 0..Count-1.
    void SelectLanguage(int index);
};
