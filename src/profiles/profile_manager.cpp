#include "profiles/profile_manager.h"

#include "app/dialogs.h"
#include "app/errors.h"
#include "app/paths.h"
#include "app/utils.h"
#include "lang/strings.h"
#include "profiles/catalogue.h"

#include <QFile>
#include <QFileInfo>

#include <functional>

namespace {

QStringList yesNoCaptions() {
    return {Str(Ids::IDS_MESSAGE_BUTTON_Yes), Str(Ids::IDS_MESSAGE_BUTTON_No)};
}

// Only an explicit Yes replaces an existing profile: Enter and closing the question keep the old
// file.
bool confirmOverwrite(const QString& path) {
    return MessageDlgCaptions(FormatStr(Str(Ids::IDS_MESSAGEBOX_FileExists), {path}),
                              Str(Ids::IDS_MESSAGEBOX_Overwrite), TMsgDlgType::mtConfirmation,
                              yesNoCaptions(), TMsgDlgBtn::mbYes | TMsgDlgBtn::mbNo,
                              TMsgDlgBtn::mbNo) == mrYes;
}

// Copies the editor's controls into the format's record and writes it. The profile layer writes
// a temporary file and renames it over the old one, so a failed save leaves the old file whole.
bool saveFromEditor(const TFormatInfo& format, IProfileEditSession& editor, const QString& path) {
    editor.ControlsToProfile();
    try {
        format.Save(path);
        return true;
    } catch (const EVaridError& e) {
        Dialogs().MessageBox(e.message(), ApplicationTitle, TMsgDlgType::mtError,
                             static_cast<unsigned>(TMsgDlgBtn::mbOK));
        return false;
    }
}

// Asks for a name and saves the editor's settings under it, asking before replacing a file.
TProfileListChange saveUnderAskedName(IProfileForms& forms, const TFormatInfo& format,
                                      IProfileEditSession& editor, QString name) {
    if (!forms.AskProfileName(name))
        return {};
    const QString path = ProfileFileName(format.Index, name);
    if (QFileInfo::exists(path) && !confirmOverwrite(path))
        return {};
    if (!saveFromEditor(format, editor, path))
        return {};
    return {true, name};
}

// Creates the format's editor, fills the format's record (prepare), copies it into the controls and
// shows the editor: the editor when the user saved, nullptr when there is none or it was cancelled.
std::unique_ptr<IProfileEditSession> showEditor(IProfileForms& forms, const TFormatInfo& format,
                                                const std::function<void()>& prepare) {
    std::unique_ptr<IProfileEditSession> editor = forms.CreateEditor(format.Index);
    if (!editor)
        return nullptr;
    prepare();
    editor->ProfileToControls();
    if (!editor->Execute())
        return nullptr;
    return editor;
}

} // namespace

bool IsValidProfileName(const QString& typed) {
    const QString name = TrimControls(typed);
    return IsValidFileName(name) && name != QLatin1String(".") && name != QLatin1String("..");
}

bool ConfirmProfileName(const QString& typed) {
    if (IsValidProfileName(typed))
        return true;
    MessageDlgCaptions(Str(Ids::IDS_PROFILE_MESSAGEBOX_InvalidFileName),
                       Str(Ids::IDS_PROFILE_MESSAGEBOX_InvalidFileNameTitle), TMsgDlgType::mtWarning,
                       {Str(Ids::IDS_OK), Str(Ids::IDS_Cancel)}, TMsgDlgBtn::mbOK | TMsgDlgBtn::mbCancel);
    return false;
}

TProfileListChange EditProfile(IProfileForms& forms, int formatIndex, const QString& currentName) {
    const TFormatInfo* format = FormatInfo(formatIndex);
    if (!format)
        return {};
    // A name that cannot be a file name of the folder (empty when the folder holds no profile)
    // opens the defaults and is asked for before saving.
    const bool named = IsValidProfileName(currentName);
    const QString path = named ? ProfileFileName(formatIndex, currentName) : QString();
    const std::unique_ptr<IProfileEditSession> editor = showEditor(forms, *format, [&] {
        if (named)
            format->Load(path);
        else
            format->Defaults();
    });
    if (!editor)
        return {};
    if (!named)
        return saveUnderAskedName(forms, *format, *editor, currentName);
    const bool existed = QFileInfo::exists(path);
    if (!saveFromEditor(*format, *editor, path))
        return {};
    // A typed name that named no file now names a new profile: it joins the list.
    if (!existed)
        return {true, currentName};
    return {};
}

TProfileListChange AddProfile(IProfileForms& forms, int formatIndex) {
    const TFormatInfo* format = FormatInfo(formatIndex);
    if (!format)
        return {};
    const std::unique_ptr<IProfileEditSession> editor =
        showEditor(forms, *format, [&] { format->Defaults(); });
    if (!editor)
        return {};
    return saveUnderAskedName(forms, *format, *editor, QString());
}

TProfileListChange RenameProfile(IProfileForms& forms, int formatIndex, const QString& currentName) {
    if (!FormatInfo(formatIndex))
        return {};
    QString name = currentName;
    if (!forms.AskProfileName(name))
        return {};
    const QString oldPath = ProfileFileName(formatIndex, currentName);
    const QString newPath = ReplaceFileName(oldPath, name);
    // A typed current name such as "../x" would reach outside the folder: it names no profile.
    // The same name again renames nothing. Otherwise QFile::rename never replaces an existing
    // file (unlike rename(2)), so a name that is taken fails and both files stay as they were.
    const bool renamed = IsValidProfileName(currentName) &&
                         (newPath == oldPath ? QFileInfo(oldPath).isFile() : QFile::rename(oldPath, newPath));
    if (!renamed) {
        Dialogs().MessageBox(Str(Ids::IDS_MESSAGEBX_RenameFailed), Str(Ids::IDS_MESSAGEBOX_RenameFailedTitle),
                             TMsgDlgType::mtInformation, static_cast<unsigned>(TMsgDlgBtn::mbOK));
        return {};
    }
    return {true, name};
}

TProfileListChange DeleteProfile(int formatIndex, const QString& currentName, int listCount) {
    if (!FormatInfo(formatIndex))
        return {};
    if (listCount == 1) {
        Dialogs().MessageBox(Str(Ids::IDS_MESSAGEBOX_LastProfile), Str(Ids::IDS_MESSAGEBOX_LastProfileTitle),
                             TMsgDlgType::mtInformation, static_cast<unsigned>(TMsgDlgBtn::mbOK));
        return {};
    }
    const int answer =
        MessageDlgCaptions(FormatStr(Str(Ids::IDS_MESSAGEBOX_SureDeleteProfile), {currentName}),
                           Str(Ids::IDS_MESSAGEBOX_SureDeleteProfileTitle), TMsgDlgType::mtConfirmation,
                           yesNoCaptions(), TMsgDlgBtn::mbYes | TMsgDlgBtn::mbNo);
    if (answer != mrYes)
        return {};
    // Only a file of the folder is deleted, never one that a typed "../x" would reach.
    if (!IsValidProfileName(currentName) || !QFile::remove(ProfileFileName(formatIndex, currentName))) {
        Dialogs().MessageBox(FormatStr(Str(Ids::IDS_MESSAGEBOX_DeleteProfileFailed), {currentName}),
                             Str(Ids::IDS_MESSAGEBOX_SureDeleteProfileTitle), TMsgDlgType::mtWarning,
                             static_cast<unsigned>(TMsgDlgBtn::mbOK));
        return {};
    }
    return {true, QString()};
}
