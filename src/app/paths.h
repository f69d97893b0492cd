#pragma once
// The global paths, resolved once at start-up by InitPaths. Every folder path ends in the folder
// separator "/".
#include <QString>

extern QString AppDir;
extern QString ConfigFileName;
extern QString OptionsFileName;
extern QString LangsDir;
extern QString LanguageFileName; // replaced by the language menu
extern QString SkinsDir;
extern QString HelpFileName; // the help of the start-up language

// The product's title text.
extern const QString ApplicationTitle;

// Fixes the number format and fills the global paths from the folder of the running executable.
void InitPaths();
// The same for a given program folder (tests use throwaway folders).
void InitPathsFor(const QString& programFolder);
