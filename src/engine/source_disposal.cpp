#include "engine/source_disposal.h"

#include "app/byte_names.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>

namespace {

// The user's own trash ($XDG_DATA_HOME/Trash), made when missing, as the trash of the desktop
// makes it. Qt 6.4 falls back to it for a file system without a trash of its own, and when it
// cannot make it either (the data folder missing, as in a fresh home) it "trashes" into the
// working folder instead; so without this folder nothing is given to Qt to trash.
bool homeTrashReady() {
    const QString data = QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation);
    if (data.isEmpty())
        return false;
    const QString trash = data + QStringLiteral("/Trash");
    if (!QFileInfo(trash).isDir() && QDir().mkpath(data))
        QDir().mkdir(trash, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    return QFileInfo(trash).isDir();
}

} // namespace

TSourceFate DisposeOfSource(const QString& source, const TFileIdentity& identity, TDisposal how) {
    const QByteArray real = ByteNames().RealName(source);
    if (how == TDisposal::Trash && real.isEmpty() && identity.valid && FileIdentityOf(source) == identity &&
        homeTrashReady() && QFile::moveToTrash(source))
        return TSourceFate::Trashed;
    const bool removed =
        real.isEmpty() ? RemoveIfSameFile(source, identity) : RemoveIfSameFile(real, identity);
    return removed ? TSourceFate::Deleted : TSourceFate::NotRemoved;
}
