#pragma once
// The output folder check of the convert command.
#include <QString>

// The folder field with blanks trimmed must not be empty, and the folder must exist or be
// created on request (asked through the dialogs). Shows its own messages; false refuses the batch.
bool CheckOutputFolder(const QString& folderField);

// Creates a folder and the folders above it that are missing. Returns an empty text on success,
// else the reason in plain words, naming the part of the path that failed when it is not the
// folder itself ("permission denied", "\"/a/b\" is a file, not a folder", ...).
QString CreateFolderPath(const QString& folder);
