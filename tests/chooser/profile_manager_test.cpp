// The four profile actions and the profile name rule, with a scripted editor and name dialog.
#include "chooser_fixture.h"

#include "profiles/profiles.h"

#include <QDir>
#include <QFileInfo>

namespace {

constexpr int Avi = 0;

using Kind = TScriptedDialogs::Kind;

class ProfileManagerTest : public ProfileFolderFixture {
  protected:
    QString Description(const QString& path) {
        LoadAVISettings(path);
        return AVISettings.Description;
    }
    TScriptedForms forms;
};

} // namespace

TEST_F(ProfileManagerTest, ProfileNamesRefuseWhatCannotBeAFileOfTheFolder) {
    struct Case {
        const char* name;
        bool valid;
    };
    const Case cases[] = {
        {"My Profile", true}, {" padded ", true}, {".hidden", true}, {"...", true},  {"a.b", true},
        {"", false},          {"   ", false},     {"\t", false},     {".", false},   {"..", false},
        {" .. ", false},      {"a/b", false},     {"a\\b", false},   {"a:b", false}, {"a*b", false},
        {"a?b", false},       {"a\"b", false},    {"a<b", false},    {"a>b", false}, {"a|b", false},
    };
    for (const Case& c : cases) {
        const QString name = QString::fromUtf8(c.name);
        dialogs.shown.clear();
        EXPECT_EQ(IsValidProfileName(name), c.valid) << c.name;
        EXPECT_EQ(ConfirmProfileName(name), c.valid) << c.name;
        if (c.valid) {
            EXPECT_TRUE(dialogs.shown.isEmpty()) << c.name;
            continue;
        }
        ASSERT_EQ(dialogs.shown.size(), 1) << c.name;
        const auto& box = dialogs.shown[0];
        EXPECT_EQ(box.kind, Kind::Question);
        EXPECT_EQ(box.text, Str(Ids::IDS_PROFILE_MESSAGEBOX_InvalidFileName));
        EXPECT_EQ(box.caption, QStringLiteral("Invalid File Name"));
        EXPECT_EQ(box.type, TMsgDlgType::mtWarning);
        EXPECT_EQ(box.buttonCaptions, (QStringList{QStringLiteral("OK"), QStringLiteral("Cancel")}));
        EXPECT_EQ(box.buttons, TMsgDlgBtn::mbOK | TMsgDlgBtn::mbCancel);
    }
}

TEST_F(ProfileManagerTest, EditShowsTheProfileAndSavesItOnlyOnOk) {
    const QString path = Profile(Avi, QStringLiteral("XviD High Quality"));
    const QString before = Description(path);
    const QByteArray original = ReadBytes(path);
    AVISettings.Description = QStringLiteral("something else");

    forms.editor.save = false;
    TProfileListChange change = EditProfile(forms, Avi, QStringLiteral("XviD High Quality"));
    EXPECT_EQ(forms.editor.shownDescription, before); // the file was loaded before showing
    EXPECT_EQ(forms.editor.calls,
              (QStringList{QStringLiteral("ProfileToControls"), QStringLiteral("Execute")}));
    EXPECT_FALSE(change.refill);
    EXPECT_EQ(ReadBytes(path), original);

    forms.editor = TEditorScript();
    change = EditProfile(forms, Avi, QStringLiteral("XviD High Quality"));
    EXPECT_EQ(forms.editor.calls.last(), QStringLiteral("ControlsToProfile"));
    EXPECT_FALSE(change.refill); // an existing profile stays where it is in the list
    EXPECT_EQ(Description(path), QStringLiteral("Edited"));
    EXPECT_TRUE(forms.askedWith.isEmpty());
    EXPECT_TRUE(dialogs.shown.isEmpty());
}

TEST_F(ProfileManagerTest, EditOfANameWithoutFileShowsDefaultsAndAddsTheProfile) {
    const TProfileListChange change = EditProfile(forms, Avi, QStringLiteral("Typed"));
    EXPECT_EQ(forms.editor.shownDescription, QStringLiteral("No Description"));
    EXPECT_EQ(Description(Profile(Avi, QStringLiteral("Typed"))), QStringLiteral("Edited"));
    EXPECT_TRUE(change.refill);
    EXPECT_EQ(change.select, QStringLiteral("Typed"));
}

TEST_F(ProfileManagerTest, EditWithoutAUsableNameAsksForOneBeforeSaving) {
    const QString folderPath = Options.ProfileFolders[Avi];
    // Empty list: the name is asked for instead of writing a hidden ".avo".
    forms.names.enqueue(QStringLiteral("Fresh"));
    TProfileListChange change = EditProfile(forms, Avi, QString());
    EXPECT_EQ(forms.askedWith, QStringList{QString()});
    EXPECT_EQ(forms.editor.shownDescription, QStringLiteral("No Description"));
    EXPECT_FALSE(QFile::exists(folderPath + QStringLiteral(".avo")));
    EXPECT_EQ(Description(Profile(Avi, QStringLiteral("Fresh"))), QStringLiteral("Edited"));
    EXPECT_TRUE(change.refill);
    EXPECT_EQ(change.select, QStringLiteral("Fresh"));

    // A typed name that would leave the folder is offered for correction; cancelling saves nothing.
    forms.askedWith.clear();
    const QStringList before = QDir(Options.ProfileRoot).entryList(QDir::Files);
    change = EditProfile(forms, Avi, QStringLiteral("../escape"));
    EXPECT_EQ(forms.askedWith, QStringList{QStringLiteral("../escape")});
    EXPECT_FALSE(change.refill);
    EXPECT_EQ(QDir(Options.ProfileRoot).entryList(QDir::Files), before);
    EXPECT_FALSE(QFile::exists(Options.ProfileRoot + QStringLiteral("escape.avo")));
}

TEST_F(ProfileManagerTest, FailedSaveIsReportedAndChangesNothing) {
    // A folder where the profile file should be: the write cannot replace it.
    ASSERT_TRUE(QDir().mkpath(Profile(Avi, QStringLiteral("Blocked"))));
    const TProfileListChange change = EditProfile(forms, Avi, QStringLiteral("Blocked"));
    EXPECT_FALSE(change.refill);
    ASSERT_EQ(dialogs.shown.size(), 1);
    EXPECT_EQ(dialogs.shown[0].type, TMsgDlgType::mtError);
    EXPECT_EQ(dialogs.shown[0].text,
              QStringLiteral("Unable to write to %1").arg(Profile(Avi, QStringLiteral("Blocked"))));
    EXPECT_TRUE(QFileInfo(Profile(Avi, QStringLiteral("Blocked"))).isDir());
}

TEST_F(ProfileManagerTest, AddSavesTheEditedDefaultsUnderTheAskedName) {
    AVISettings.Description = QStringLiteral("left over");
    forms.names.enqueue(QStringLiteral("My New"));
    const TProfileListChange change = AddProfile(forms, Avi);
    EXPECT_EQ(forms.editor.shownDescription, QStringLiteral("No Description"));
    EXPECT_EQ(forms.askedWith, QStringList{QString()});
    EXPECT_EQ(Description(Profile(Avi, QStringLiteral("My New"))), QStringLiteral("Edited"));
    EXPECT_TRUE(change.refill);
    EXPECT_EQ(change.select, QStringLiteral("My New"));
    EXPECT_TRUE(dialogs.shown.isEmpty());
}

TEST_F(ProfileManagerTest, AddCancelledInTheEditorOrTheNameDialogWritesNothing) {
    const QStringList before = ProfileNames(Avi);
    forms.editor.save = false;
    EXPECT_FALSE(AddProfile(forms, Avi).refill);
    EXPECT_TRUE(forms.askedWith.isEmpty()); // no name asked after the editor's Cancel

    forms.editor = TEditorScript();
    EXPECT_FALSE(AddProfile(forms, Avi).refill); // name dialog cancelled
    EXPECT_EQ(forms.askedWith.size(), 1);
    EXPECT_FALSE(forms.editor.calls.contains(QStringLiteral("ControlsToProfile")));
    EXPECT_EQ(ProfileNames(Avi), before);
}

TEST_F(ProfileManagerTest, AddOverAnExistingNameReplacesItOnlyOnYes) {
    const QString path = Profile(Avi, QStringLiteral("MJPEG Editing"));
    const QByteArray original = ReadBytes(path);
    // No, and closing the question (no answer), keep the old file and drop the new settings.
    for (int answer : {int(mrNo), int(mrNone), int(mrCancel)}) {
        dialogs.shown.clear();
        dialogs.results.enqueue(answer);
        forms.names.enqueue(QStringLiteral("MJPEG Editing"));
        EXPECT_FALSE(AddProfile(forms, Avi).refill) << answer;
        EXPECT_EQ(ReadBytes(path), original) << answer;
        ASSERT_EQ(dialogs.shown.size(), 1);
        const auto& question = dialogs.shown[0];
        EXPECT_EQ(question.kind, Kind::Question);
        EXPECT_EQ(question.text, QStringLiteral("File \"%1\" already exists.\n\nAre you sure you want to "
                                                "overwrite it?")
                                     .arg(path));
        EXPECT_EQ(question.caption, QStringLiteral("Overwrite file?"));
        EXPECT_EQ(question.type, TMsgDlgType::mtConfirmation);
        EXPECT_EQ(question.buttonCaptions, (QStringList{QStringLiteral("Yes"), QStringLiteral("No")}));
        EXPECT_EQ(question.defaultButton, TMsgDlgBtn::mbNo); // Enter keeps the old file
    }
    dialogs.results.enqueue(mrYes);
    forms.names.enqueue(QStringLiteral("MJPEG Editing"));
    const TProfileListChange change = AddProfile(forms, Avi);
    EXPECT_TRUE(change.refill);
    EXPECT_EQ(Description(path), QStringLiteral("Edited"));
}

TEST_F(ProfileManagerTest, RenameMovesTheFileAndNeverReplacesAnother) {
    const QString oldPath = Profile(Avi, QStringLiteral("MJPEG Editing"));
    const QByteArray content = ReadBytes(oldPath);
    forms.names.enqueue(QStringLiteral("Editing"));
    TProfileListChange change = RenameProfile(forms, Avi, QStringLiteral("MJPEG Editing"));
    EXPECT_EQ(forms.askedWith, QStringList{QStringLiteral("MJPEG Editing")});
    EXPECT_TRUE(change.refill);
    EXPECT_EQ(change.select, QStringLiteral("Editing"));
    EXPECT_FALSE(QFile::exists(oldPath));
    EXPECT_EQ(ReadBytes(Profile(Avi, QStringLiteral("Editing"))), content);
    EXPECT_TRUE(dialogs.shown.isEmpty());

    // Onto an existing profile: refused, both files untouched.
    const QString taken = Profile(Avi, QStringLiteral("Default"));
    const QByteArray takenContent = ReadBytes(taken);
    forms.names.enqueue(QStringLiteral("Default"));
    change = RenameProfile(forms, Avi, QStringLiteral("Editing"));
    EXPECT_FALSE(change.refill);
    EXPECT_EQ(ReadBytes(taken), takenContent);
    EXPECT_EQ(ReadBytes(Profile(Avi, QStringLiteral("Editing"))), content);
    ASSERT_EQ(dialogs.shown.size(), 1);
    EXPECT_EQ(dialogs.shown[0].text,
              QStringLiteral("Rename faild! Please check if the profile name is already exist!"));
    EXPECT_EQ(dialogs.shown[0].caption, QStringLiteral("Rename Faild"));
    EXPECT_EQ(dialogs.shown[0].type, TMsgDlgType::mtInformation);
}

TEST_F(ProfileManagerTest, RenameEdgeCases) {
    // The same name again is no failure.
    forms.names.enqueue(QStringLiteral("Default"));
    EXPECT_TRUE(RenameProfile(forms, Avi, QStringLiteral("Default")).refill);
    EXPECT_TRUE(dialogs.shown.isEmpty());

    // Cancelled name dialog: nothing happens.
    EXPECT_FALSE(RenameProfile(forms, Avi, QStringLiteral("Default")).refill);
    EXPECT_TRUE(QFile::exists(Profile(Avi, QStringLiteral("Default"))));

    // No file of the current name (empty list, or a typed name): the rename fails with its message.
    // A typed name reaching outside the folder is never renamed.
    QFile outside(Options.ProfileRoot + QStringLiteral("victim.avo"));
    ASSERT_TRUE(outside.open(QIODevice::WriteOnly));
    outside.close();
    for (const QString& current : {QString(), QStringLiteral("Nothing here"), QStringLiteral("../victim")}) {
        dialogs.shown.clear();
        forms.names.enqueue(QStringLiteral("Renamed"));
        EXPECT_FALSE(RenameProfile(forms, Avi, current).refill) << current.toStdString();
        ASSERT_EQ(dialogs.shown.size(), 1);
        EXPECT_EQ(dialogs.shown[0].caption, QStringLiteral("Rename Faild"));
    }
    EXPECT_TRUE(outside.exists());
    EXPECT_FALSE(QFile::exists(Profile(Avi, QStringLiteral("Renamed"))));
}

TEST_F(ProfileManagerTest, DeleteAsksFirstAndRefusesTheLastProfile) {
    const QString path = Profile(Avi, QStringLiteral("MJPEG Editing"));
    // The only entry of the list: refused without a question.
    EXPECT_FALSE(DeleteProfile(Avi, QStringLiteral("MJPEG Editing"), 1).refill);
    ASSERT_EQ(dialogs.shown.size(), 1);
    EXPECT_EQ(dialogs.shown[0].kind, Kind::Message);
    EXPECT_EQ(dialogs.shown[0].text, QStringLiteral("This is the last profile, can not be deleted!"));
    EXPECT_EQ(dialogs.shown[0].caption, QStringLiteral("Can not be delete!"));
    EXPECT_EQ(dialogs.shown[0].type, TMsgDlgType::mtInformation);
    EXPECT_TRUE(QFile::exists(path));

    // Anything but Yes keeps the file.
    for (int answer : {int(mrNo), int(mrNone)}) {
        dialogs.shown.clear();
        dialogs.results.enqueue(answer);
        EXPECT_FALSE(DeleteProfile(Avi, QStringLiteral("MJPEG Editing"), 6).refill);
        ASSERT_EQ(dialogs.shown.size(), 1);
        EXPECT_EQ(dialogs.shown[0].kind, Kind::Question);
        EXPECT_EQ(dialogs.shown[0].text,
                  QStringLiteral("Are you sure you want to delete profile \"MJPEG Editing\"?"));
        EXPECT_EQ(dialogs.shown[0].caption, QStringLiteral("Delete file"));
        EXPECT_EQ(dialogs.shown[0].buttonCaptions,
                  (QStringList{QStringLiteral("Yes"), QStringLiteral("No")}));
        EXPECT_TRUE(QFile::exists(path));
    }

    dialogs.results.enqueue(mrYes);
    const TProfileListChange change = DeleteProfile(Avi, QStringLiteral("MJPEG Editing"), 6);
    EXPECT_TRUE(change.refill);
    EXPECT_TRUE(change.select.isEmpty()); // the first entry
    EXPECT_FALSE(QFile::exists(path));
}

TEST_F(ProfileManagerTest, DeleteOfANameWithoutFileFailsWithItsMessage) {
    // An empty list asks about the empty name, then cannot delete; so does a name outside the folder.
    QFile outside(Options.ProfileRoot + QStringLiteral("victim.avo"));
    ASSERT_TRUE(outside.open(QIODevice::WriteOnly));
    outside.close();
    for (const QString& current : {QString(), QStringLiteral("../victim")}) {
        dialogs.shown.clear();
        dialogs.results.enqueue(mrYes);
        EXPECT_FALSE(DeleteProfile(Avi, current, 0).refill);
        ASSERT_EQ(dialogs.shown.size(), 2);
        EXPECT_EQ(dialogs.shown[0].text,
                  QStringLiteral("Are you sure you want to delete profile \"%1\"?").arg(current));
        EXPECT_EQ(dialogs.shown[1].text,
                  QStringLiteral("The profile \"%1\" could not be deleted.").arg(current));
        EXPECT_EQ(dialogs.shown[1].type, TMsgDlgType::mtWarning);
    }
    EXPECT_TRUE(outside.exists());
}
