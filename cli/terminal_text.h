#pragma once
// Text as varid-convert writes it to the terminal. File names may hold any character but the
// slash: a line break in a name must not split a line, and an escape sequence must not reach the
// terminal as a command.
#include <QString>

// One line as it is printed: every control character but the tab shown as "?", as ls shows
// such names.
QString TerminalLine(const QString& text);
// A message on one line: each run of line breaks of the text a blank, then as TerminalLine.
QString TerminalMessage(const QString& text);
