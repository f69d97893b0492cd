#pragma once
// Reading the media facts of a file and the library's full text report of it.
#include "media/fileitem.h"

#include <QString>

// An empty library answer becomes the current "<None>" text; anything else is kept as it is.
QString ProbeText(const QString& value);

// Fills the sixteen probed fields of the record (CompleteName ... SamplingRate) from the file at
// path. A file the library cannot open or describe gives "<None>" in every field. A picture stored
// turned a quarter round has the width, height and aspect ratio it is shown with.
void ProbeFile(const QString& path, TFileItem& item);
// The same with the missing-value text given: safe on any thread (the string table is not read).
void ProbeFile(const QString& path, TFileItem& item, const QString& noneText);

// Whether the library described the file: it reported a complete name, a size and a container
// format. Today's library names and sizes any readable file, so the format is what tells a media
// file from a text or a damaged file.
bool IsDescribed(const TFileItem& item);
bool IsDescribed(const TFileItem& item, const QString& noneText);

// NewFileItem(path) followed by ProbeFile.
TFileItem ProbeFileItem(const QString& path);

// The library's standard (not complete) text report of the file; empty when the file does not
// exist or cannot be read. A picture stored turned a quarter round is reported with the width,
// height and display aspect ratio it is shown with, and its rotation.
QString MediaInfoReport(const QString& path);
