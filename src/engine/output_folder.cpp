#include "engine/output_folder.h"

#include "app/dialogs.h"
#include "app/utils.h"
#include "lang/strings.h"

#include <QDir>
#include <QFileInfo>

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
