// The chooser window: opening, format choice with its marks and signals, profile lists, folder,
// OK and Cancel, captions, and the profile actions as the window runs them.
#include "chooser_fixture.h"

#include "app/inifile.h"
#include "app/paths.h"
#include "profiles/optiondetails.h"
#include "profiles/profiles.h"
#include "ui/chooser/convertwnd.h"
#include "ui/chooser/profile_forms.h"

#include <QAction>
#include <QComboBox>
#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalSpy>
#include <QStackedWidget>
#include <QTest>
#include <QToolButton>

#include <functional>

namespace {

using Kind = TScriptedDialogs::Kind;

constexpr int Avi = 0, Mp4 = 1, Wmv = 5, Mp3 = 13;

// Format index, its control (radio button or Others menu item) and the caption the main window
// shows.
struct FormatCase {
    int index;
    const char* control;
    const char* caption;
};
constexpr FormatCase kFormatCases[] = {
    {0, "rdoAVI", "To AVI"},   {1, "rdoMP4", "To MP4"},   {2, "rdo3GP", "To 3GP"}, {3, "rdoMPEG", "To MPEG"},
    {4, "rdoMOV", "To MOV"},   {5, "rdoWMV", "To WMV"},   {6, "rdoRM", "To RM"},   {7, "rdoSWF", "To SWF"},
    {8, "miVOB", "To VOB"},    {9, "miASF", "To ASF"},    {10, "miAAC", "To AAC"}, {11, "miAC3", "To AC3"},
    {12, "miMP2", "To MP2"},   {13, "miMP3", "To MP3"},   {14, "miAMR", "To AMR"}, {15, "miWAV", "To WAV"},
    {16, "miMKV", "To MKV"},   {17, "miWebM", "To WebM"}, {18, "miM4A", "To M4A"}, {19, "miFLAC", "To FLAC"},
    {20, "miOpus", "To Opus"}, {21, "miOGG", "To OGG"},
};
const char* const kFormatActions[] = {"actAVI", "actMP4",  "act3GP",  "actMPEG", "actMOV", "actWMV",
                                      "actRM",  "actSWF",  "actVOB",  "actASF",  "actAAC", "actAC3",
                                      "actMP2", "actMP3",  "actAMR",  "actWAV",  "actMKV", "actWebM",
                                      "actM4A", "actFLAC", "actOpus", "actOGG"};
static_assert(std::size(kFormatCases) == FormatCount && std::size(kFormatActions) == FormatCount);

class ChooserTest : public ProfileFolderFixture {
  protected:
    void SetUp() override {
        ProfileFolderFixture::SetUp();
        SetProfileEditorFactory([this](int format, QWidget* owner) {
            editorFormat = format;
            editorOwner = owner;
            return std::make_unique<TScriptedEditor>(editor);
        });
    }
    void TearDown() override {
        SetProfileEditorFactory({});
        ProfileFolderFixture::TearDown();
    }

    // Stores options.ini, which the chooser does not read: it opens with the options in memory.
    void StoreOptions(int format, const QString& folder = QString()) {
        TIniFile ini(OptionsFileName);
        ini.WriteInteger(OptionsSection, QStringLiteral("OutputFormat"), format);
        ini.WriteString(OptionsSection, QStringLiteral("LastOutputOpenDir"), folder);
        ini.UpdateFile();
    }

    std::unique_ptr<TfrmConvert> Open() {
        auto chooser = std::make_unique<TfrmConvert>(&owner);
        chosen = std::make_unique<QSignalSpy>(chooser.get(), &TfrmConvert::formatChosen);
        return chooser;
    }

    QAction* action(TfrmConvert& c, const char* name) { return child<QAction>(c, name); }
    QComboBox* shownList(TfrmConvert& c) {
        return qobject_cast<QComboBox*>(child<QStackedWidget>(c, "pnlProfileLists")->currentWidget());
    }
    // Chooses a format as a person does: the radio button, or the item of the Others menu.
    void Choose(TfrmConvert& c, const char* control) {
        if (auto* radio = c.findChild<QRadioButton*>(QLatin1String(control)))
            radio->click();
        else
            child<QAction>(c, control)->trigger();
    }
    // The last formatChosen signal as (caption, profile).
    QStringList LastChosen() const {
        if (chosen->isEmpty())
            return {};
        return {chosen->last().at(0).toString(), chosen->last().at(1).toString()};
    }

    QWidget owner;
    TEditorScript editor;
    int editorFormat = -1;
    QWidget* editorOwner = nullptr;
    std::unique_ptr<QSignalSpy> chosen;
};

} // namespace

// The chooser opens with the format and folder in use in this session (the options in memory),
// not with what options.ini held at start: that is written only when the program ends.
TEST_F(ChooserTest, OpensWithTheFormatAndFolderInUseAndShowsThemOnShow) {
    struct Case {
        int inUse;
        int current;
        const char* caption;
        const char* profile;
    };
    const Case cases[] = {
        {Mp3, Mp3, "To MP3", "Default"},
        {Avi, Avi, "To AVI", "Default"},
        {Wmv, Wmv, "To WMV", "Default"},
        {200, Avi, "To AVI", "Default"}, // no format: AVI
    };
    StoreOptions(Mp4, QStringLiteral("/stored at start"));
    for (const Case& c : cases) {
        SCOPED_TRACE(c.inUse);
        Options.OutputFormat = static_cast<uint8_t>(c.inUse);
        Options.LastOutputOpenDir = QStringLiteral("/tmp/out dir");
        auto chooser = Open();
        EXPECT_EQ(chooser->CurrentFormat(), c.current);
        EXPECT_EQ(Options.OutputFormat, c.current);
        EXPECT_EQ(chooser->CurrentProfile(), QString::fromUtf8(c.profile));
        EXPECT_EQ(chooser->OutputFolderText(), QStringLiteral("/tmp/out dir"));
        EXPECT_EQ(shownList(*chooser)->objectName(), FormatInfo(c.current)->ChooserList);
        EXPECT_EQ(chooser->windowTitle(), QStringLiteral("Output Setting"));
        // The main window connects after creation: the opening choice arrives when it shows.
        chooser->show();
        EXPECT_EQ(LastChosen(), (QStringList{QString::fromUtf8(c.caption), QString::fromUtf8(c.profile)}));
        EXPECT_EQ(chosen->count(), 1);
    }
}

TEST_F(ChooserTest, EveryFormatHasItsControlListAndCaption) {
    auto chooser = Open();
    Choose(*chooser, "miMP3"); // AVI, current at opening, then counts as a new choice
    for (const FormatCase& f : kFormatCases) {
        SCOPED_TRACE(f.control);
        Choose(*chooser, f.control);
        EXPECT_EQ(chooser->CurrentFormat(), f.index);
        EXPECT_EQ(Options.OutputFormat, f.index);
        QComboBox* list = shownList(*chooser);
        EXPECT_EQ(list->objectName(), FormatInfo(f.index)->ChooserList);
        EXPECT_EQ(list->count(), ProfileNames(f.index).size());
        EXPECT_EQ(list->currentText(), ProfileNames(f.index).first());
        EXPECT_EQ(child<QLabel>(*chooser, "lblProfile")->buddy(), list);
        EXPECT_EQ(LastChosen(), (QStringList{QString::fromUtf8(f.caption), list->currentText()}));
        EXPECT_EQ(action(*chooser, kFormatActions[f.index])->text(), QString::fromUtf8(f.caption));
    }
}

TEST_F(ChooserTest, ActionsMirrorTheCurrentFormatWithCheckMarks) {
    Options.OutputFormat = Mp4;
    auto chooser = Open();
    auto* mp3Item = child<QAction>(*chooser, "miMP3");
    auto* others = action(*chooser, "actOthers");
    auto* btnOther = child<QToolButton>(*chooser, "btnOther");
    // A radio format current: its action off, its radio button checked and still usable.
    EXPECT_FALSE(action(*chooser, "actMP4")->isEnabled());
    EXPECT_TRUE(child<QRadioButton>(*chooser, "rdoMP4")->isChecked());
    EXPECT_TRUE(child<QRadioButton>(*chooser, "rdoMP4")->isEnabled());
    EXPECT_TRUE(others->isEnabled());
    EXPECT_FALSE(btnOther->isChecked());

    Choose(*chooser, "miMP3");
    EXPECT_TRUE(action(*chooser, "actMP3")->isChecked());
    EXPECT_TRUE(mp3Item->isChecked());
    EXPECT_FALSE(others->isEnabled());
    EXPECT_TRUE(btnOther->isChecked());
    for (const char* name : {"actAVI", "actMP4", "act3GP", "actMPEG", "actMOV", "actWMV", "actRM", "actSWF"})
        EXPECT_TRUE(action(*chooser, name)->isEnabled()) << name;
    for (QRadioButton* radio : chooser->findChildren<QRadioButton*>())
        EXPECT_FALSE(radio->isChecked()) << radio->objectName().toStdString();
    EXPECT_EQ(LastChosen(), (QStringList{QStringLiteral("To MP3"), QStringLiteral("Default")}));

    // Another Others format moves the mark.
    Choose(*chooser, "miAAC");
    EXPECT_FALSE(mp3Item->isChecked());
    EXPECT_TRUE(child<QAction>(*chooser, "miAAC")->isChecked());

    Choose(*chooser, "rdoWMV");
    EXPECT_FALSE(child<QAction>(*chooser, "miAAC")->isChecked());
    EXPECT_TRUE(others->isEnabled());
    EXPECT_FALSE(btnOther->isChecked());
    EXPECT_FALSE(action(*chooser, "actWMV")->isEnabled());
    EXPECT_TRUE(action(*chooser, "actMP4")->isEnabled());
    EXPECT_EQ(chooser->CurrentFormat(), Wmv);

    // The current format's radio button again changes nothing.
    const int signalCount = chosen->count();
    Choose(*chooser, "rdoWMV");
    EXPECT_EQ(chosen->count(), signalCount);

    // The Others menu: items in order, the modern formats after a line, no accelerators.
    QStringList items;
    for (QAction* item : child<QMenu>(*chooser, "mnuOthers")->actions())
        items << (item->isSeparator() ? QStringLiteral("-") : item->objectName());
    EXPECT_EQ(items, (QStringList{"miAAC", "miAC3", "miMP2", "miMP3", "miAMR", "miWAV", "miVOB", "miASF", "-",
                                  "miMKV", "miWebM", "miM4A", "miFLAC", "miOpus", "miOGG"}));
    EXPECT_EQ(btnOther->menu(), child<QMenu>(*chooser, "mnuOthers"));
}

TEST_F(ChooserTest, EachFormatKeepsItsOwnProfileTextAndOkShowsIt) {
    auto chooser = Open();
    Choose(*chooser, "rdoMP4");
    shownList(*chooser)->setCurrentText(QStringLiteral("Sony PSP Full Screen"));
    Choose(*chooser, "rdoAVI");
    shownList(*chooser)->setEditText(QStringLiteral("Typed name"));
    Choose(*chooser, "rdoMP4");
    EXPECT_EQ(chooser->CurrentProfile(), QStringLiteral("Sony PSP Full Screen"));
    Choose(*chooser, "rdoAVI");
    EXPECT_EQ(chooser->CurrentProfile(), QStringLiteral("Typed name"));
    // Picking a profile alone leaves the main window's labels; OK brings them up to date.
    shownList(*chooser)->setCurrentText(QStringLiteral("MJPEG Editing"));
    EXPECT_EQ(LastChosen(), (QStringList{QStringLiteral("To AVI"), QStringLiteral("Typed name")}));

    chooser->show();
    QSignalSpy accepted(chooser.get(), &TfrmConvert::accepted);
    child<QLineEdit>(*chooser, "txtOutputDir")->setText(QStringLiteral("  /tmp/videos \t"));
    QTest::mouseClick(child<QPushButton>(*chooser, "btnOK"), Qt::LeftButton);
    ASSERT_EQ(accepted.count(), 1);
    EXPECT_EQ(accepted[0][0].toString(), QStringLiteral("/tmp/videos"));
    EXPECT_EQ(LastChosen(), (QStringList{QStringLiteral("To AVI"), QStringLiteral("MJPEG Editing")}));
    EXPECT_FALSE(chooser->isVisible());
    // Hidden, it keeps serving the batch.
    EXPECT_EQ(chooser->OutputFolderText(), QStringLiteral("  /tmp/videos \t"));
    EXPECT_EQ(chooser->GetProfileOptions(), GetProfileOptions(Avi, QStringLiteral("MJPEG Editing")));
}

// Cancel, the close box and Escape put back exactly the choice the chooser was shown with: the
// format, every format's profile (typed ones too), the folder field and the stored folder; the
// main window learns it through formatChosen.
TEST_F(ChooserTest, CancelCloseAndEscapePutBackTheChoiceItOpenedWith) {
    auto chooser = Open();
    QSignalSpy cancelled(chooser.get(), &TfrmConvert::cancelled);
    QSignalSpy accepted(chooser.get(), &TfrmConvert::accepted);
    Choose(*chooser, "rdoMP4");
    shownList(*chooser)->setCurrentText(QStringLiteral("Sony PSP Full Screen"));
    Choose(*chooser, "miMKV");
    shownList(*chooser)->setCurrentText(QStringLiteral("H.265 Archive with FLAC"));
    Choose(*chooser, "rdoWMV");
    shownList(*chooser)->setEditText(QStringLiteral("Typed name"));
    child<QLineEdit>(*chooser, "txtOutputDir")->setText(QStringLiteral("/opened with"));
    Options.LastOutputOpenDir = QStringLiteral("/stored");

    const std::function<void()> ways[] = {
        [&] { QTest::mouseClick(child<QPushButton>(*chooser, "btnCancel"), Qt::LeftButton); },
        [&] { chooser->close(); },
        [&] {
            ASSERT_TRUE(QTest::qWaitForWindowActive(chooser.get()));
            QTest::keyClick(chooser.get(), Qt::Key_Escape);
        },
    };
    int way = 0;
    for (const auto& cancel : ways) {
        SCOPED_TRACE(way++);
        chooser->show();
        Choose(*chooser, "miMP3");
        Choose(*chooser, "rdoMP4");
        shownList(*chooser)->setCurrentText(QStringLiteral("Default"));
        Choose(*chooser, "miMKV");
        shownList(*chooser)->setCurrentText(QStringLiteral("Default"));
        Choose(*chooser, "rdoWMV");
        shownList(*chooser)->setCurrentText(QStringLiteral("Default"));
        dialogs.folders.enqueue(QStringLiteral("/picked"));
        child<QPushButton>(*chooser, "btnOutputDir")->click();
        Choose(*chooser, "rdoAVI");
        ASSERT_EQ(Options.LastOutputOpenDir, QStringLiteral("/picked"));

        cancel();
        EXPECT_EQ(cancelled.count(), way);
        EXPECT_FALSE(chooser->isVisible());
        EXPECT_EQ(chooser->CurrentFormat(), Wmv);
        EXPECT_EQ(Options.OutputFormat, Wmv);
        EXPECT_EQ(chooser->CurrentProfile(), QStringLiteral("Typed name"));
        EXPECT_EQ(chooser->GetProfileOptions(), GetProfileOptions(Wmv, QStringLiteral("Typed name")));
        EXPECT_EQ(child<QComboBox>(*chooser, "cmbMP4")->currentText(),
                  QStringLiteral("Sony PSP Full Screen"));
        EXPECT_EQ(child<QComboBox>(*chooser, "cmbMKV")->currentText(),
                  QStringLiteral("H.265 Archive with FLAC"));
        EXPECT_FALSE(child<QAction>(*chooser, "miMP3")->isChecked());
        EXPECT_EQ(chooser->OutputFolderText(), QStringLiteral("/opened with"));
        EXPECT_EQ(Options.LastOutputOpenDir, QStringLiteral("/stored"));
        EXPECT_EQ(LastChosen(), (QStringList{QStringLiteral("To WMV"), QStringLiteral("Typed name")}));
    }
    EXPECT_EQ(accepted.count(), 0);
}

// A profile renamed while the chooser is open is not named back by Cancel: the old name would name
// no file.
TEST_F(ChooserTest, CancelKeepsAProfileRenamedMeanwhile) {
    auto chooser = Open();
    chooser->show();
    ASSERT_EQ(chooser->CurrentProfile(), QStringLiteral("Default"));
    AnswerNameDialog(QStringLiteral("Renamed"));
    action(*chooser, "actRenameProfile")->trigger();
    ASSERT_EQ(chooser->CurrentProfile(), QStringLiteral("Renamed"));
    Choose(*chooser, "rdoMP4");
    child<QPushButton>(*chooser, "btnCancel")->click();
    EXPECT_EQ(chooser->CurrentFormat(), Avi);
    EXPECT_EQ(chooser->CurrentProfile(), QStringLiteral("Renamed"));
    EXPECT_EQ(LastChosen(), (QStringList{QStringLiteral("To AVI"), QStringLiteral("Renamed")}));
}

TEST_F(ChooserTest, StaysUsableWhileItsOwnerIsDisabled) {
    auto chooser = Open();
    owner.show();
    owner.setEnabled(false);
    chooser->show();
    EXPECT_TRUE(chooser->isEnabled());
    EXPECT_TRUE(child<QPushButton>(*chooser, "btnOK")->isEnabled());
    owner.setEnabled(true);
    EXPECT_TRUE(chooser->isEnabled());
    chooser->setEnabled(false); // its own choice still counts
    EXPECT_FALSE(chooser->isEnabled());
}

TEST_F(ChooserTest, TabOrderRunsTopToBottom) {
    auto chooser = Open();
    const QStringList expected{
        "rdo3GP",   "rdoMOV", "rdoMPEG", "rdoWMV",     "rdoSWF",       "rdoRM",        "rdoMP4", "rdoAVI",
        "btnOther", "cmbAVI", "btnEdit", "btnProfile", "txtOutputDir", "btnOutputDir", "btnOK",  "btnCancel"};
    QStringList order;
    QWidget* w = child<QWidget>(*chooser, "rdo3GP");
    for (int i = 0; i < 200 && order.size() < expected.size(); ++i, w = w->nextInFocusChain()) {
        // The list stack hands focus to its current list.
        const QString name = w->objectName();
        if (expected.contains(name) && !order.contains(name))
            order << name;
    }
    EXPECT_EQ(order, expected);
}

TEST_F(ChooserTest, CheckOutputFolder) {
    const QString base = folder.file(QStringLiteral("out"));
    ASSERT_TRUE(QDir().mkpath(base));
    ASSERT_TRUE(folder.writeFile(QStringLiteral("afile"), "x"));
    struct Case {
        const char* name;
        QString field;
        QList<int> answers;
        bool result;
        QStringList captions; // of the boxes shown, in order
        QString created;      // a folder that must exist afterwards ("" for none)
    };
    const QString empty = QStringLiteral("Empty Dir"), create = QStringLiteral("Create directory"),
                  fail = QStringLiteral("Fail");
    const Case cases[] = {
        {"empty", QString(), {}, false, {empty}, {}},
        {"blanks only", QStringLiteral("   \t"), {}, false, {empty}, {}},
        {"existing, blanks around", QStringLiteral("  ") + base + QStringLiteral(" "), {}, true, {}, {}},
        {"missing, Yes",
         base + QStringLiteral("/a/b"),
         {mrYes},
         true,
         {create},
         base + QStringLiteral("/a/b")},
        {"missing, No", base + QStringLiteral("/no"), {mrNo}, false, {create}, {}},
        {"missing, Cancel", base + QStringLiteral("/cancel"), {mrCancel}, false, {create}, {}},
        {"uncreatable", folder.file(QStringLiteral("afile/sub")), {mrYes}, false, {create, fail}, {}},
    };
    auto chooser = Open();
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        dialogs.shown.clear();
        for (int answer : c.answers)
            dialogs.results.enqueue(answer);
        child<QLineEdit>(*chooser, "txtOutputDir")->setText(c.field);
        EXPECT_EQ(chooser->CheckOutputFolder(), c.result);
        QStringList captions;
        for (const auto& box : dialogs.shown)
            captions << box.caption;
        EXPECT_EQ(captions, c.captions);
        if (!c.created.isEmpty()) {
            EXPECT_TRUE(QFileInfo(c.created).isDir());
        }
    }
    EXPECT_FALSE(QFileInfo::exists(base + QStringLiteral("/no")));
    EXPECT_EQ(dialogs.shown.size(), 2);
    EXPECT_EQ(
        dialogs.shown[1].text,
        QStringLiteral("Fail to create directory! Please check if output folder have the right format!"));
}

TEST_F(ChooserTest, BrowseAndOkKeepTheFolderForTheNextStart) {
    const QString start = folder.file(QStringLiteral("start"));
    ASSERT_TRUE(QDir().mkpath(start));
    Options.LastOutputOpenDir = start;
    auto chooser = Open();
    dialogs.folders.enqueue(QString()); // cancelled
    child<QPushButton>(*chooser, "btnOutputDir")->click();
    EXPECT_EQ(chooser->OutputFolderText(), start);
    ASSERT_EQ(dialogs.shown.size(), 1);
    EXPECT_EQ(dialogs.shown[0].kind, Kind::Folder);
    EXPECT_EQ(dialogs.shown[0].caption, QStringLiteral("Please select a folder!"));
    EXPECT_EQ(dialogs.shown[0].text, start);

    dialogs.folders.enqueue(QStringLiteral("/picked"));
    action(*chooser, "actBrowse")->trigger();
    EXPECT_EQ(chooser->OutputFolderText(), QStringLiteral("/picked"));
    EXPECT_EQ(Options.LastOutputOpenDir, QStringLiteral("/picked"));
    // A folder that is gone: the picker opens in the nearest folder above it that exists.
    action(*chooser, "actBrowse")->trigger();
    EXPECT_EQ(dialogs.shown.last().text, QStringLiteral("/"));

    // A typed folder, confirmed with OK, is the one saved for the next start.
    chooser->show();
    child<QLineEdit>(*chooser, "txtOutputDir")->setText(QStringLiteral(" /typed "));
    child<QPushButton>(*chooser, "btnOK")->click();
    EXPECT_EQ(Options.LastOutputOpenDir, QStringLiteral("/typed"));
}

TEST_F(ChooserTest, LanguageSwitchReappliesEveryCaption) {
    auto chooser = Open();
    struct Text {
        Ids id;
        const char* control;
    };
    const Text texts[] = {
        {Ids::IDS_MAIN_RADIOBUTTON_To3GP, "rdo3GP"},
        {Ids::IDS_MAIN_RADIOBUTTON_ToOthers, "btnOther"},
        {Ids::IDS_MAIN_LABEL_ProFile, "lblProfile"},
        {Ids::IDS_MAIN_ARBUTTON_EditProFile, "btnEdit"},
        {Ids::IDS_MAIN_ARBUTTON_OutputDir, "lblOutputDir"},
        {Ids::IDS_MAIN_ARBUTTON_Browse, "btnOutputDir"},
        {Ids::IDS_ABOUT_BUTTON_OK, "btnOK"},
        {Ids::IDS_CONVERTING_Cancel, "btnCancel"},
        {Ids::IDS_MAIN_MENUITEM_ToMP3, "miMP3"},
        {Ids::IDS_MAIN_MENUITEM_Add, "miAddNewOne"},
        {Ids::IDS_MAIN_MENUITEM_DeleteFile, "miDelete2"},
        {Ids::IDS_MAIN_MENUITEM_Rename, "miRename"},
    };
    for (const Text& t : texts)
        SetStr(t.id, QStringLiteral("X-") + QLatin1String(t.control));
    SetStr(Ids::IDS_MAIN_ARBUTTON_OutputSetting, QStringLiteral("Ausgabe"));
    SetStr(Ids::IDS_MAIN_MENUITEM_ToAAC, QStringLiteral("Nach A&A"));
    chooser->ApplyCaptions();
    EXPECT_EQ(chooser->windowTitle(), QStringLiteral("Ausgabe"));
    for (const Text& t : texts) {
        QObject* control = chooser->findChild<QObject*>(QLatin1String(t.control));
        ASSERT_NE(control, nullptr) << t.control;
        EXPECT_EQ(control->property("text").toString(), QStringLiteral("X-") + QLatin1String(t.control))
            << t.control;
    }
    // Menu items show an "&" as it is written.
    EXPECT_EQ(child<QAction>(*chooser, "miAAC")->text(), QStringLiteral("Nach A&&A"));
    Choose(*chooser, "miAAC");
    EXPECT_EQ(LastChosen().value(0), QStringLiteral("Nach A&A"));
    EXPECT_EQ(child<QToolButton>(*chooser, "btnProfile")->accessibleName(),
              QStringLiteral("Profile actions"));
}

TEST_F(ChooserTest, ProfileMenuAndShortcuts) {
    auto chooser = Open();
    QStringList items;
    for (QAction* item : child<QMenu>(*chooser, "mnuProfileAdditional")->actions())
        items << (item->isSeparator() ? QStringLiteral("-") : item->objectName());
    EXPECT_EQ(items, (QStringList{"miAddNewOne", "-", "miDelete2", "miRename"}));
    EXPECT_EQ(action(*chooser, "actAddNewProfile")->shortcut(), QKeySequence(Qt::CTRL | Qt::Key_Z));
    EXPECT_EQ(action(*chooser, "actRenameProfile")->shortcut(), QKeySequence(Qt::Key_F2));
    EXPECT_EQ(action(*chooser, "actDeleteProfile")->shortcut(), QKeySequence(Qt::CTRL | Qt::Key_Delete));
    EXPECT_EQ(child<QAction>(*chooser, "miRename")->shortcut(), QKeySequence(Qt::Key_F2));

    // btnProfile opens the menu; F2 on the window renames through the name dialog.
    chooser->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(chooser.get()));
    QTest::mouseClick(child<QToolButton>(*chooser, "btnProfile"), Qt::LeftButton);
    QTRY_VERIFY_WITH_TIMEOUT(child<QMenu>(*chooser, "mnuProfileAdditional")->isVisible(), 5000);
    child<QMenu>(*chooser, "mnuProfileAdditional")->hide();

    Choose(*chooser, "rdoMP4");
    shownList(*chooser)->setCurrentText(QStringLiteral("Sony PSP Full Screen"));
    QString seen;
    AnswerNameDialog(QStringLiteral("PSP"), &seen);
    QTest::keyClick(chooser.get(), Qt::Key_F2);
    EXPECT_EQ(seen, QStringLiteral("Sony PSP Full Screen"));
    EXPECT_EQ(chooser->CurrentProfile(), QStringLiteral("PSP"));
    EXPECT_TRUE(QFile::exists(Profile(Mp4, QStringLiteral("PSP"))));
    EXPECT_FALSE(QFile::exists(Profile(Mp4, QStringLiteral("Sony PSP Full Screen"))));
    EXPECT_EQ(shownList(*chooser)->findText(QStringLiteral("PSP")), shownList(*chooser)->currentIndex());
}

TEST_F(ChooserTest, ProfileActionsRefillTheCurrentFormatsList) {
    auto chooser = Open();
    const int before = shownList(*chooser)->count();

    // Edit: the scripted editor writes the AVI record; the file gets it.
    shownList(*chooser)->setCurrentText(QStringLiteral("XviD High Quality"));
    child<QToolButton>(*chooser, "btnEdit")->click();
    EXPECT_EQ(editor.created, 1);
    EXPECT_EQ(editorFormat, Avi);
    EXPECT_EQ(editorOwner, chooser.get());
    LoadAVISettings(Profile(Avi, QStringLiteral("XviD High Quality")));
    EXPECT_EQ(AVISettings.Description, QStringLiteral("Edited"));
    EXPECT_EQ(chooser->CurrentProfile(), QStringLiteral("XviD High Quality"));

    // Add through the real name dialog: the list gains the name and selects it.
    QString seen = QStringLiteral("unset");
    AnswerNameDialog(QStringLiteral("Zeta"), &seen);
    child<QAction>(*chooser, "miAddNewOne")->trigger();
    EXPECT_TRUE(seen.isEmpty());
    EXPECT_EQ(shownList(*chooser)->count(), before + 1);
    EXPECT_EQ(chooser->CurrentProfile(), QStringLiteral("Zeta"));

    // Add cancelled in the name dialog: nothing changes.
    AnswerNameDialog(QString());
    action(*chooser, "actAddNewProfile")->trigger();
    EXPECT_EQ(shownList(*chooser)->count(), before + 1);

    // Delete: the question answered Yes; the list selects its first entry.
    dialogs.results.enqueue(mrYes);
    action(*chooser, "actDeleteProfile")->trigger();
    EXPECT_EQ(shownList(*chooser)->count(), before);
    EXPECT_FALSE(QFile::exists(Profile(Avi, QStringLiteral("Zeta"))));
    EXPECT_EQ(chooser->CurrentProfile(), ProfileNames(Avi).first());

    // Other formats' lists are left alone; the profile label of the main window too.
    const int signalCount = chosen->count();
    Choose(*chooser, "rdoWMV");
    EXPECT_EQ(shownList(*chooser)->count(), ProfileNames(Wmv).size());
    EXPECT_EQ(chosen->count(), signalCount + 1);

    // The actions work on the format that is current now.
    editor.save = false;
    action(*chooser, "actEditProfile")->trigger();
    EXPECT_EQ(editorFormat, Wmv);
}

TEST_F(ChooserTest, LastProfileOfAFormatCannotBeDeleted) {
    // RM ships two profiles: delete one, then the last is refused.
    Options.OutputFormat = 6;
    auto chooser = Open();
    ASSERT_EQ(shownList(*chooser)->count(), 2);
    dialogs.results.enqueue(mrYes);
    action(*chooser, "actDeleteProfile")->trigger();
    ASSERT_EQ(shownList(*chooser)->count(), 1);
    dialogs.shown.clear();
    action(*chooser, "actDeleteProfile")->trigger();
    ASSERT_EQ(dialogs.shown.size(), 1);
    EXPECT_EQ(dialogs.shown[0].caption, QStringLiteral("Can not be delete!"));
    EXPECT_EQ(shownList(*chooser)->count(), 1);
    EXPECT_EQ(ProfileNames(6).size(), 1);
}

TEST_F(ChooserTest, UncreatableProfileFoldersAreReported) {
    // A file where the profile root should be.
    ASSERT_TRUE(QDir(Options.ProfileRoot).removeRecursively());
    QFile blocker(Options.ProfileRoot.chopped(1));
    ASSERT_TRUE(blocker.open(QIODevice::WriteOnly));
    blocker.close();
    auto chooser = Open();
    ASSERT_FALSE(dialogs.shown.isEmpty());
    EXPECT_EQ(dialogs.shown[0].text, QStringLiteral("Create profile directory error!"));
    EXPECT_EQ(dialogs.shown[0].caption, QStringLiteral("Error"));
    EXPECT_EQ(dialogs.shown[0].type, TMsgDlgType::mtWarning);
    EXPECT_EQ(shownList(*chooser)->count(), 0);
}
