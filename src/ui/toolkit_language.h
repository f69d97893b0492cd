#pragma once
// Qt's own texts in the program's language: key names in shortcuts ("Strg+N"), the file dialogs,
// the toolkit's context menus. They come from the system's Qt translations (qtbase_<code>.qm),
// chosen by the language file's name ("German.ini" is German); where none is installed, or for
// English, Qt's built-in English stays.
#include <QLocale>
#include <QString>

// Installs the translation for the language file (a path or a file name), replacing the one
// installed before. True when a translation is in use afterwards.
bool ApplyToolkitLanguage(const QString& languageFile);

// The locale a language file's name stands for ("German.ini" gives German), or C when the name
// is no language Qt knows.
QLocale::Language LanguageOfFile(const QString& languageFile);
