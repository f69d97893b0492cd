#pragma once
// String-table formats filled safely.
#include <QString>
#include <QStringList>

// Fills the placeholders of a string-table format in order: every "%s" and "%d" (also with a
// width such as "%.2d") takes the next argument, "%%" gives "%". A placeholder without an argument
// stays empty, so a translated text with an unexpected placeholder cannot break anything.
QString FormatStr(const QString& format, const QStringList& args);
