#pragma once
// Language files: loading one into the string table and the two behaviour lists, writing the
// built-in texts as a new file, and switching the language of the running program.
#include <QString>
#include <QStringList>

class TKelMultiLanguages;

inline const QString LanguageSection = QStringLiteral("VaridAVI_Convert");
inline const QString AvsExtSection = QStringLiteral("VaridAVI_AVSExt");
inline const QString FiltersSection = QStringLiteral("VaridAVI_Filters");
inline const QString LanguageNameKey = QStringLiteral("LanguageName");
inline const QString ConfigSection = QStringLiteral("VaridAVI_Form");
inline const QString LanguageFileKey = QStringLiteral("LanguageFile");

// Source extensions (with their dot) that always go to the engine through the AviSynth script;
// compared with a source's extension exactly, letter case included.
extern QStringList AvsExtensions;
// The accepted source file types, one "description=pattern;pattern" line per type, in file order.
extern QStringList InputFilters;

// Loads LanguageFileName (writing it first from the current texts when it is missing). Returns
// false, after a message box, when the file names no AviSynth extension or no input filter; the
// string table is then left as it was.
bool LoadLanguage();
// Writes every key of the string table with its current text to a new file at LanguageFileName.
// Errors are ignored: whatever was written stays.
void WriteDefaultLanguage();

// The language switch, without the menu: selects the enumerated language whose name equals
// caption (letter case ignored; the last of equal names wins), makes it the LanguageFileName,
// stores its file name in config.ini and loads it. Returns false when config.ini could not be
// written (the error is shown; LanguageFileName has already changed, the texts have not).
bool SwitchLanguage(TKelMultiLanguages& languages, const QString& caption);
