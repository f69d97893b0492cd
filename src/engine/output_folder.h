#pragma once
// The output folder check of the convert command.
#include <QString>

// The folder field with blanks trimmed must not be empty, and the folder must exist or be
// created on request (asked through the dialogs). Shows its own messages; false refuses the batch.
bool CheckOutputFolder(const QString& folderField);
