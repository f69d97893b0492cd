#pragma once
// What the file information view and the media panel show of a source file. Both the window and
// the terminal are views of these.
#include "lang/strings.h"
#include "media/fileitem.h"

#include <QString>
#include <QStringList>

#include <array>
#include <optional>

struct TFileInformation {
    QString caption; // "File Information - <file name>"
    QString report;  // the library's standard text report
};

// The caption and report for a record; nothing when its file (FilePath + FileName) no longer exists.
std::optional<TFileInformation> FileInformation(const TFileItem& item);

// The save dialog's file types: "Text Files (*.txt);;All Files (*)".
QString FileInfoSaveFilter();
// The name a report is saved under: the chosen name, with ".txt" added when it has no extension.
QString FileInfoSaveName(const QString& chosen);

// Writes the report as plain text, one line per line, replacing the file. Throws EVaridError
// ("Unable to write to <file>") when the file cannot be written; an old file then stays whole.
void SaveFileInfoReport(const QString& fileName, const QString& report);

// The media panel: caption and value of each fact shown, in panel order (FileSize is not shown).
enum class TPanelGroup { General, Video, Audio };
struct TMediaPanelField {
    TPanelGroup group;
    Ids caption;
    QString TFileItem::*field;
};
extern const std::array<TMediaPanelField, 15> kMediaPanelFields;

// The panel's values for a record, in kMediaPanelFields order; with no record every value is the
// "<None>" text.
QStringList MediaPanelValues(const TFileItem* item);
