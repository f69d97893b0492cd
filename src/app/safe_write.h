#pragma once
// Replacing a file so that a reader sees either the old content or the whole new one.
#include <QByteArray>
#include <QString>

// Writes data to a new temporary file beside fileName, checks that every byte was written and
// reached the disk (write, fsync and close all succeed), then renames it over fileName. On any
// failure the temporary file is removed, fileName is left as it was and false is returned.
// A link to an existing file is written through (the file it names is replaced).
bool ReplaceFileContents(const QString& fileName, const QByteArray& data);
