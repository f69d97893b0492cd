#pragma once
// The global paths, resolved once at start-up by InitPaths. Every folder path ends in the folder
// separator "/".
//
// Where the user's files live: a program folder the user may write to (a build tree, a copy in
// the home folder) keeps everything beside the executable, the portable case. An installed
// program's folder is read-only for its user; then config.ini, options.ini and langs/ (profile
// folders, the AviSynth script) live in the user's configuration folder, seeded from the shipped
// profile folders, while the engine, the skins, the shipped language files and the help pages are
// read from the program folder.
#include <QString>
#include <QStringList>

extern QString AppDir;           // the program folder: engine, skins, shipped langs/
extern QString UserDir;          // the folder of the user's files (AppDir when portable)
extern QString ConfigFileName;   // UserDir + config.ini
extern QString OptionsFileName;  // UserDir + options.ini
extern QString LangsDir;         // UserDir + langs/: profiles, the AviSynth script, own languages
extern QString ShippedLangsDir;  // AppDir + langs/: shipped language files and help pages
extern QString LanguageFileName; // replaced by the language menu
extern QString SkinsDir;
extern QString HelpFileName; // the help of the start-up language

// The product's title text.
extern const QString ApplicationTitle;

// The folder name below the user's configuration folder.
extern const QString UserFolderName;

// The folder of the user's files: the program folder when it is writable, else the given
// per-user configuration folder + UserFolderName.
QString UserFolderFor(const QString& programFolder, bool programFolderWritable, const QString& configHome);
// Whether the current user may create files in the folder (permissions, ACLs, read-only mounts).
bool IsFolderWritable(const QString& folder);

// Fixes the number format and fills the global paths for the running executable, deciding
// between the portable and the installed case.
void InitPaths();
// The same for a given program folder with the user's files beside it (tests use throwaway
// folders).
void InitPathsFor(const QString& programFolder);
// The same with the user's files in userFolder; when it differs from the program folder, the
// shipped profile folders the user does not have yet are copied there first.
void InitPathsFor(const QString& programFolder, const QString& userFolder);

// Copies every shipped langs/<language>_Profile/ folder the user's langs/ lacks, whole; a folder
// the user already has is left as it is, so no file of the user's is ever replaced and a profile
// the user deleted does not come back. Returns false when a copy failed.
bool SeedUserProfiles(const QString& shippedLangs, const QString& userLangs);

// The folders holding language files, the user's own first; one folder when portable.
QStringList LanguageFolders();
// A language file name (no folder) as a full path: the user's copy, else the shipped one, else
// the user's path (where a missing file is written).
QString LanguageFilePath(const QString& fileName);
// A path below the shipped langs/ moved to the same place below the user's langs/ (profile
// roots follow the user's side); other paths unchanged.
QString UserSideOf(const QString& path);
// The help page of a language file: <language>_help.html, else English_help.html, from the
// user's langs/ or the shipped one; the first candidate when none exists.
QString HelpFileFor(const QString& languageFileName);
