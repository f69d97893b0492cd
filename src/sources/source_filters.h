#pragma once
// Which files the source list takes: the extension of a path, the language's input filter lines
// ("description=*.ext;*.ext") that accept it, and the result of trying to add one file. The source
// list and the probing children share these.
#include <QString>
#include <QStringList>

// Why AddSourceFile did or did not add a row. NotRegularFile: the name exists but is a folder, a
// named pipe, a device or a socket.
enum class TAddResult { Added, NotFound, NotAccepted, Duplicate, NotMedia, NotRegularFile };

// The extension of the name part of a path with its dot, as cut by the last "."; "" without one.
QString ExtractFileExt(const QString& path);
// True when the lower-case extension occurs anywhere inside the pattern part (after the first
// "=") of some filter line; an empty extension is never accepted.
bool IsAcceptedExtension(const QString& ext, const QStringList& inputFilters);
// The add dialog's file types: one "description (patterns)" entry per filter line, then
// "All Files (*)", separated by ";;" as the file dialog takes them.
QString BuildOpenFilter(const QStringList& inputFilters);
