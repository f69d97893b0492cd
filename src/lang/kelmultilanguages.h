#pragma once
// The language files found in a folder, with the display name of each, for the language menu.
#include <QString>
#include <QStringList>

class TKelMultiLanguages {
  public:
    // Enumerates folder/*.ini; each file's display name is the value of key in section, or the
    // file name without extension when that is missing or empty.
    TKelMultiLanguages(const QString& folder, const QString& key, const QString& section);
    // The same over several folders, in the given order; a file name found in an earlier folder
    // hides the same name in a later one (the user's own copy over the shipped one). Sorted by
    // file name as a whole.
    TKelMultiLanguages(const QStringList& folders, const QString& key, const QString& section);

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
