#pragma once
// Every test program runs with a home folder of its own (HOME, and XDG_DATA_HOME inside it),
// removed when the program ends: what the program keeps in the user's folders, its trash above all
// (converted sources go there), never reaches the real user's. Both test entry points call this
// before anything else.
#include <QTemporaryDir>

// Points HOME and XDG_DATA_HOME into home; false (with a message) when home could not be made.
bool UseTemporaryHome(const QTemporaryDir& home);
