#pragma once
// The four profile actions of the chooser (edit, add, rename, delete) over the profile files of
// one format, and the check of a profile name. Questions and messages go through the dialogs
// interface; the editor window and the name dialog through IProfileForms, which the chooser
// provides and tests script.
#include <QString>

#include <memory>

// One use of a format's profile editor window over the format's current settings record.
class IProfileEditSession {
  public:
    virtual ~IProfileEditSession() = default;
    virtual void ProfileToControls() = 0;
    virtual void ControlsToProfile() = 0;
    // Shows the editor modally; true when the user saved.
    virtual bool Execute() = 0;
};

// The windows that profile management opens.
class IProfileForms {
  public:
    virtual ~IProfileForms() = default;
    // Creates the editor of a format for one use; nullptr when there is none.
    virtual std::unique_ptr<IProfileEditSession> CreateEditor(int formatIndex) = 0;
    // Shows the name dialog starting with name; true when the user confirmed a valid name, which
    // is then in name exactly as typed.
    virtual bool AskProfileName(QString& name) = 0;
};

// What the chooser does with the format's profile list after an action.
struct TProfileListChange {
    bool refill = false; // refill the list from the format's folder
    QString select;      // the name to select after refilling; empty selects the first entry
};

// A name usable as a profile file name: without its outer blanks not empty, not "." or "..", and
// free of the characters \ / : * ? " < > |.
bool IsValidProfileName(const QString& typed);
// The name dialog's OK: true for a valid name; otherwise shows the invalid-name message.
bool ConfirmProfileName(const QString& typed);

// Opens the editor over the named profile (a missing file shows the defaults) and saves it on OK.
// An unusable current name (empty, say) is asked for with the name dialog before saving.
TProfileListChange EditProfile(IProfileForms& forms, int formatIndex, const QString& currentName);
// A new profile from the defaults as changed in the editor, saved under a name asked for after the
// editor closed with OK; an existing file is replaced only when the user says Yes.
TProfileListChange AddProfile(IProfileForms& forms, int formatIndex);
// Renames the current profile's file; fails (with a message) when the new name is taken.
TProfileListChange RenameProfile(IProfileForms& forms, int formatIndex, const QString& currentName);
// Deletes the current profile's file after a question; refuses the last entry of the list.
TProfileListChange DeleteProfile(int formatIndex, const QString& currentName, int listCount);
