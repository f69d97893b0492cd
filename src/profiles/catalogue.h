#pragma once
// The catalogue of the output formats, the profile folders and the profile file names.
//
// A profile is one INI file: <profile root><folder word>/<name>.<profile extension>. The profile
// root belongs to the language: langs/English_Profile/ for langs/English.ini.
#include <QString>
#include <QStringList>

#include <array>

enum class TFormatKind { Video, Audio };

struct TFormatInfo {
    int Index;
    QString Format; // shown name
    TFormatKind Kind;
    QString FolderWord;       // profile folder name
    QString ProfileExtension; // without the dot
    QString OutputExtension;  // with the dot (3GP: see OutputExtension())
    QString Record;           // settings record type
    QString ChooserList;      // the chooser window's list of the format
    QString Editor;           // the format's profile editor window
    // The format's profile procedures over its current record.
    void (*Defaults)();
    void (*Load)(const QString& fileName);
    void (*Save)(const QString& fileName);
    // The profile keys in file order.
    QStringList (*KeyNames)();
};

// The sixteen classic formats (0 AVI ... 15 WAV) and after them the modern ones (16 MKV, 17 WebM,
// 18 M4A, 19 FLAC, 20 Opus, 21 OGG).
constexpr int FormatCount = 22;

// The catalogue by format index.
const std::array<TFormatInfo, FormatCount>& FormatCatalogue();
// The entry of a format index, or nullptr outside 0..FormatCount - 1.
const TFormatInfo* FormatInfo(int formatIndex);

// The first two characters of a folder word followed by "o" (avi gives avo).
QString ProfileExtension(const QString& folderWord);

// The profile root of the current language file: its path without its extension, followed by
// "_Profile/" (langs/English.ini gives langs/English_Profile/).
QString ProfileRoot();
// Sets Options.ProfileRoot and Options.ProfileFolders (by format index) from the current language.
void InitProfileFolders();
// Creates the profile root and the format folders of Options (with missing parents), stopping at
// the first that cannot be created; true when all exist.
bool CreateProfileFolders();

// The names (file names without extension) of the files that match a mask "<folder>/*.<ext>",
// sorted by name ignoring letter case. The extension matches exactly, so every name listed opens
// as <folder>/<name>.<ext>.
QStringList FillProfileList(const QString& mask);
// The profile names of a format's folder (Options.ProfileFolders, set up when still empty).
QStringList ProfileNames(int formatIndex);
// The file of the named profile of a format; "" for an unknown format.
QString ProfileFileName(int formatIndex, const QString& profileName);
// The profile of a format's folder that holds the same settings as another profile file: each
// language ships the same profiles under translated names and descriptions, so after a language
// switch "Default" is found again as "Standard". Every value but the description must agree;
// "" when no profile does (or the file cannot be read).
QString MatchingProfile(int formatIndex, const QString& otherProfileFile);

// The extension (with its dot) of converted files of a format; for 3GP ".3g2" when the named 3GP
// profile (loaded into the current 3GP record) has the 3gp2 form, else ".3gp". "" for an unknown format.
QString OutputExtension(int formatIndex, const QString& tgpProfileName);
