#pragma once
// Telling whether a name still names the very file it named before: a file moved into the name,
// or the file rewritten in place, is another file.
#include <QByteArray>
#include <QString>

#include <cstdint>

struct TFileIdentity {
    bool valid = false;
    uint64_t device = 0;
    uint64_t inode = 0;
    int64_t size = 0;
    int64_t modifiedNs = 0; // modification time in nanoseconds since the epoch

    bool operator==(const TFileIdentity&) const = default;
};

// The identity of the file a path names now (links followed); not valid when there is none.
TFileIdentity FileIdentityOf(const QString& path);
// The same for a name as the system's bytes (a name that is not UTF-8 has no QString form).
TFileIdentity FileIdentityOf(const QByteArray& path);

// Deletes path only when it still names the file of that identity (same device, inode, size and
// modification time); false when it names another file or none, or the delete failed.
bool RemoveIfSameFile(const QString& path, const TFileIdentity& identity);
bool RemoveIfSameFile(const QByteArray& path, const TFileIdentity& identity);
