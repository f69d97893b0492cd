#include "engine/output_folder.h"

#include "app/dialogs.h"
#include "app/errno_text.h"
#include "app/utils.h"
#include "lang/strings.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <cerrno>
#include <sys/stat.h>

bool CheckOutputFolder(const QString& folderField) {
    const QString folder = TrimControls(folderField);
    if (folder.isEmpty()) {
        Dialogs().MessageBox(Str(Ids::IDS_MESSAGEBOX_EmptyDir), Str(Ids::IDS_MESSAGEBOX_Empty),
                             TMsgDlgType::mtConfirmation, static_cast<unsigned>(TMsgDlgBtn::mbOK));
        return false;
    }
    if (QFileInfo(folder).isDir())
        return true;
    const int answer = Dialogs().MessageBox(Str(Ids::IDS_MESSAGEBOX_SureToCreateDir),
                                            Str(Ids::IDS_MESSAGEBOX_CreatDir), TMsgDlgType::mtConfirmation,
                                            TMsgDlgBtn::mbYes | TMsgDlgBtn::mbNo | TMsgDlgBtn::mbCancel);
    if (answer != mrYes)
        return false;
    if (QDir().mkpath(folder) && QFileInfo(folder).isDir())
        return true;
    Dialogs().MessageBox(Str(Ids::IDS_MESSAGEBOX_FallToCreateDir), Str(Ids::IDS_MESSAGEBOX_FallCreateDir),
                         TMsgDlgType::mtConfirmation, static_cast<unsigned>(TMsgDlgBtn::mbOK));
    return false;
}

QString CreateFolderPath(const QString& folder) {
    const QString path = QDir::cleanPath(QDir::current().absoluteFilePath(folder));
    // Each part of the path in turn, from the root: the first one that cannot be made is named.
    qsizetype at = 0;
    while (at < path.size()) {
        const qsizetype slash = path.indexOf(QLatin1Char('/'), at + 1);
        at = slash < 0 ? path.size() : slash;
        const QString part = path.left(at);
        const QByteArray bytes = QFile::encodeName(part);
        if (::mkdir(bytes.constData(), 0777) == 0)
            continue;
        const int error = errno;
        struct stat st {};
        if (error == EEXIST || (error != ENOENT && ::stat(bytes.constData(), &st) == 0)) {
            if (::stat(bytes.constData(), &st) == 0 && S_ISDIR(st.st_mode))
                continue;
            return QStringLiteral("\"%1\" is not a folder").arg(part);
        }
        const QString words = ErrnoText(error);
        return part == path ? words : QStringLiteral("%1 (at \"%2\")").arg(words, part);
    }
    return {};
}
