#pragma once
// Command lines as one text, split into arguments by the rules of the Windows C runtime, so that
// a command line built by quoting each argument is read back exactly.
//
// Splitting: blanks (space, tab) outside double quotes separate arguments; double quotes group
// and are removed; a run of 2n backslashes before a double quote gives n backslashes and the quote
// opens or closes a group; 2n+1 backslashes before a double quote give n backslashes and a literal
// quote; inside a group, two double quotes give one literal quote; other backslashes are literal.
// An empty group ("") is an empty argument.
#include <QString>
#include <QStringList>

QStringList SplitCommandLine(const QString& commandLine);

// One argument quoted so that SplitCommandLine returns it unchanged, whatever it holds (blanks,
// double quotes, trailing backslashes, shell characters, line breaks, non-ASCII letters). The
// result is always enclosed in double quotes.
QString QuoteArgument(const QString& argument);

// Arguments quoted one by one and joined with single blanks.
QString JoinCommandLine(const QStringList& arguments);
