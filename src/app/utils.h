#pragma once
// Shared path, file, text and time functions.
#include <QString>

// The text unchanged when it ends in the folder separator "/", else the text + "/"; "" gives "/".
QString AddTrailingBackslash(const QString& path);
// The part after the last folder separator, without its last extension.
QString FileNameWithoutExt(const QString& path);
// A shell folder of the current user by name: "Personal" is the documents folder. Empty when
// there is none.
QString GetShellFolder(const QString& name);
