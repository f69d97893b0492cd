#pragma once
// System error numbers in plain words, for messages that name the real cause of a failure.
#include <QString>

// "permission denied", "no such file or folder", "the disk is full", ...; the system's own text
// for a number without words of ours.
QString ErrnoText(int error);
