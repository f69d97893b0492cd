#pragma once
// What becomes of a converted source when the user asked to be rid of it: the window moves it to
// the desktop's trash, the terminal converter (--delete-source) deletes it. Either way only the
// very file that was converted goes; a file that took its name meanwhile, or rewrote it, stays.
#include "engine/file_identity.h"

#include <QString>

enum class TDisposal { Delete, Trash };

// Where a converted source went.
enum class TSourceFate {
    Kept,       // not asked for
    Trashed,    // in the trash, from where the user can put it back
    Deleted,    // gone for good
    NotRemoved, // asked for, but still there: the name no longer names the converted file, or
                // removing it failed (a read-only folder or drive)
};

// Disposes of a source as how says, by its real name when it is known by an alias of ByteNames().
// Trash deletes instead where the trash cannot take the file: its file system has none, or its
// name is not UTF-8 (the trash is reached by Unicode names only).
TSourceFate DisposeOfSource(const QString& source, const TFileIdentity& identity, TDisposal how);
