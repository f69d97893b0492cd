// The main window's output labels, the chooser's signals, the convert settings, the settings
// dialog, the file information window and the language switch across open windows.
#include "app/inifile.h"
#include "main_fixture.h"
#include "profiles/catalogue.h"
#include "profiles/optiondetails.h"
#include "ui/main/batchwindow.h"
#include "ui/main/fileinfownd.h"
#include "ui/main/settingswnd.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QFileInfo>
#include <QFrame>
#include <QLibraryInfo>
#include <QLineEdit>
#include <QMenu>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTimer>
#include <QToolButton>

#include <functional>

namespace {

using Kind = TScriptedDialogs::Kind;

class MainOutputTest : public MainFixture {
  protected:
    void StoreOptions(const QByteArray& lines) {
        folder.writeFile(QStringLiteral("options.ini"), "[VideoConvertoptions]\n" + lines);
    }
    // Runs work on the modal dialog that the trigger opens, then lets the trigger return.
    void WhileModal(const std::function<void()>& trigger, const std::function<void(QWidget*)>& work) {
        bool ran = false;
        QTimer::singleShot(0, [&] {
            QWidget* modal = QApplication::activeModalWidget();
            EXPECT_NE(modal, nullptr);
            if (modal)
                work(modal);
            ran = true;
        });
        trigger();
        EXPECT_TRUE(ran);
    }
    int OptionValue(const char* key) {
        return TIniFile(OptionsFileName).ReadInteger(OptionsSection, QLatin1String(key), -1);
    }
};

TEST_F(MainOutputTest, LabelsShowTheStoredChoiceAndConvertUsesIt) {
    StoreOptions("OutputFormat=13\nLastOutputOpenDir=/tmp/out put\n");
    Main();
    const QString first = ProfileNames(13).value(0);
    ASSERT_FALSE(first.isEmpty());
    EXPECT_EQ(Text("lblOutput"), QStringLiteral("Output Format:"));
    EXPECT_EQ(Text("lblOutputFormat"), QStringLiteral("To MP3"));
    EXPECT_EQ(Text("lblProfileText"), first);
    EXPECT_EQ(Text("lblOutputDirectory"), QStringLiteral("/tmp/out put"));

    const TBatchSettings settings = Main().ConvertSettings();
    EXPECT_EQ(settings.outputFolder, QStringLiteral("/tmp/out put"));
    EXPECT_EQ(settings.outputExtension, QStringLiteral(".mp3"));
    ASSERT_TRUE(settings.profileOptions);
    EXPECT_EQ(settings.profileOptions(), GetProfileOptions(13, first));
    EXPECT_EQ(settings.avsExtensions, AvsExtensions);
}

// The formats after the sixteen are stored choices like any other.
TEST_F(MainOutputTest, AStoredModernFormatShowsAndConvertsIt) {
    StoreOptions("OutputFormat=20\n");
    Main();
    const QString first = ProfileNames(20).value(0);
    ASSERT_FALSE(first.isEmpty());
    EXPECT_EQ(Text("lblOutputFormat"), QStringLiteral("To Opus"));
    EXPECT_EQ(Text("lblProfileText"), first);
    const TBatchSettings settings = Main().ConvertSettings();
    EXPECT_EQ(settings.outputExtension, QStringLiteral(".opus"));
    ASSERT_TRUE(settings.profileOptions);
    EXPECT_EQ(settings.profileOptions(), GetProfileOptions(20, first));
}

TEST_F(MainOutputTest, AStoredValueThatIsNoFormatShowsAndConvertsAvi) {
    StoreOptions("OutputFormat=77\n");
    Main();
    EXPECT_EQ(Text("lblOutputFormat"), QStringLiteral("To AVI"));
    EXPECT_EQ(Main().ConvertSettings().outputExtension, QStringLiteral(".avi"));
}

TEST_F(MainOutputTest, TheChooserDrivesTheLabelsAndTheWindowWaitsForIt) {
    StoreOptions("OutputFormat=1\nLastOutputOpenDir=/stored\n");
    Act("actOutputSetting")->trigger();
    TfrmConvert* chooser = Main().Chooser();
    ASSERT_NE(chooser, nullptr);
    EXPECT_FALSE(Main().isEnabled());
    EXPECT_TRUE(chooser->isVisible());
    EXPECT_TRUE(chooser->isEnabled());

    emit chooser->formatChosen(QStringLiteral("To MP3"), QStringLiteral("Portable"));
    EXPECT_EQ(Text("lblOutputFormat"), QStringLiteral("To MP3"));
    EXPECT_EQ(Text("lblProfileText"), QStringLiteral("Portable"));
    emit chooser->accepted(QStringLiteral("/new/folder"));
    EXPECT_EQ(Text("lblOutputDirectory"), QStringLiteral("/new/folder"));
    EXPECT_TRUE(Main().isEnabled());

    // The button opens the same chooser again; Cancel gives the window back.
    Child<QToolButton>("btnOutputSetting")->click();
    EXPECT_EQ(Main().Chooser(), chooser);
    EXPECT_FALSE(Main().isEnabled());
    emit chooser->cancelled();
    EXPECT_TRUE(Main().isEnabled());

    // A chooser closed some other way does not leave the main window disabled.
    Act("actOutputSetting")->trigger();
    EXPECT_FALSE(Main().isEnabled());
    Main().Chooser()->close();
    EXPECT_TRUE(Main().isEnabled());
}

// A choice made in the chooser stays the session's: opening the chooser again shows it and changes
// nothing in the main window, whatever options.ini (written only at the end) still holds; Cancel
// puts back what was in use when it opened, labels and batch alike.
TEST_F(MainOutputTest, TheChooserKeepsTheSessionsChoiceAndCancelPutsItBack) {
    StoreOptions("OutputFormat=0\nLastOutputOpenDir=/stored\n");
    const QString out = folder.file(QStringLiteral("out"));
    const auto labels = [this] {
        return QStringList{Text("lblOutputFormat"), Text("lblProfileText"), Text("lblOutputDirectory")};
    };
    Act("actOutputSetting")->trigger();
    TfrmConvert* chooser = Main().Chooser();
    ASSERT_NE(chooser, nullptr);
    chooser->findChild<QRadioButton*>(QStringLiteral("rdoWMV"))->click();
    chooser->findChild<QLineEdit*>(QStringLiteral("txtOutputDir"))->setText(out);
    chooser->findChild<QPushButton*>(QStringLiteral("btnOK"))->click();
    const QStringList chosen{QStringLiteral("To WMV"), QStringLiteral("Default"), out};
    ASSERT_EQ(labels(), chosen);

    Act("actOutputSetting")->trigger();
    EXPECT_EQ(Main().Chooser(), chooser);
    EXPECT_TRUE(chooser->isVisible());
    EXPECT_EQ(chooser->CurrentFormat(), 5);
    EXPECT_EQ(chooser->OutputFolderText(), out);
    EXPECT_EQ(labels(), chosen);

    chooser->findChild<QRadioButton*>(QStringLiteral("rdoMP4"))->click();
    chooser->findChild<QLineEdit*>(QStringLiteral("txtOutputDir"))->setText(QStringLiteral("/elsewhere"));
    EXPECT_EQ(Text("lblOutputFormat"), QStringLiteral("To MP4"));
    chooser->findChild<QPushButton*>(QStringLiteral("btnCancel"))->click();
    EXPECT_TRUE(Main().isEnabled());
    EXPECT_EQ(labels(), chosen);
    const TBatchSettings settings = Main().ConvertSettings();
    EXPECT_EQ(settings.outputExtension, QStringLiteral(".wmv"));
    EXPECT_EQ(settings.outputFolder, out);
    EXPECT_EQ(settings.profileOptions(), GetProfileOptions(5, QStringLiteral("Default")));
    EXPECT_EQ(OptionValue("OutputFormat"), 0); // nothing was written meanwhile
}

TEST_F(MainOutputTest, OpenDestinationFolderChecksTheFolderFirst) {
    const QString out = folder.file(QStringLiteral("out"));
    StoreOptions("LastOutputOpenDir=" + out.toUtf8() + "\n");
    dialogs.results.enqueue(mrNo); // do not create the missing folder
    Act("actOpenDestinationFolder")->trigger();
    ASSERT_EQ(dialogs.shown.size(), 1);
    EXPECT_EQ(dialogs.shown[0].kind, Kind::Message);
    dialogs.results.enqueue(mrYes);
    Act("actOpenDestinationFolder")->trigger();
    EXPECT_TRUE(QFileInfo(out).isDir());
    EXPECT_EQ(dialogs.shown.last().kind, Kind::ShellOpen);
    EXPECT_EQ(dialogs.shown.last().text, out);
}

TEST_F(MainOutputTest, SettingsDialogStoresOnOkAndDiscardsOnCancel) {
    StoreOptions("Priority=1\nShutdownFlag=1\nUseDirectShow=0\nOutputFormat=4\n");
    Main();
    Options.OutputFormat = 6; // an in-memory change is saved with the others
    WhileModal([&] { QTest::keyClick(&Main(), Qt::Key_E, Qt::ControlModifier); },
               [](QWidget* modal) {
                   EXPECT_EQ(modal->windowTitle(), QStringLiteral("Settings"));
                   auto* priority = modal->findChild<QComboBox*>(QStringLiteral("ComboBoxPriority"));
                   auto* shutdown = modal->findChild<QComboBox*>(QStringLiteral("ComboBoxShutdownFlag"));
                   EXPECT_EQ(priority->count(), 4);
                   EXPECT_EQ(priority->currentIndex(), 1);
                   EXPECT_EQ(shutdown->itemText(0), QStringLiteral("Close ") + ApplicationTitle);
                   EXPECT_EQ(shutdown->count(), 6);
                   priority->setCurrentIndex(3);
                   shutdown->setCurrentIndex(5);
                   modal->findChild<QCheckBox*>(QStringLiteral("CheckBoxDirectShow"))->setChecked(true);
                   // Files converted at once: Automatic (the stored default), then 1 to 16.
                   auto* atOnce = modal->findChild<QComboBox*>(QStringLiteral("ComboBoxFilesAtOnce"));
                   EXPECT_EQ(atOnce->count(), 17);
                   EXPECT_EQ(atOnce->currentText(), QStringLiteral("Automatic"));
                   EXPECT_EQ(atOnce->itemText(16), QStringLiteral("16"));
                   atOnce->setCurrentIndex(3);
                   modal->findChild<QPushButton*>(QStringLiteral("ButtonOK"))->click();
               });
    EXPECT_EQ(OptionValue("FilesAtOnce"), 3);
    EXPECT_EQ(OptionValue("Priority"), 3);
    EXPECT_EQ(OptionValue("ShutdownFlag"), 5);
    EXPECT_EQ(OptionValue("UseDirectShow"), 1);
    EXPECT_EQ(OptionValue("OutputFormat"), 6);

    // Escape discards a changed priority and saves nothing.
    Options.OutputFormat = 2;
    WhileModal([&] { Act("actSettingsExecute")->trigger(); },
               [](QWidget* modal) {
                   modal->findChild<QComboBox*>(QStringLiteral("ComboBoxPriority"))->setCurrentIndex(0);
                   QTest::keyClick(modal, Qt::Key_Escape);
               });
    EXPECT_EQ(Options.Priority, 3);
    EXPECT_EQ(OptionValue("Priority"), 3);
    EXPECT_EQ(OptionValue("OutputFormat"), 6);
}

TEST_F(MainOutputTest, SettingsValueOutsideItsListShowsNoEntryAndIsKept) {
    StoreOptions("Priority=9\nShutdownFlag=2\nFilesAtOnce=40\n");
    Main();
    TfrmSettings dialog(&Main());
    EXPECT_EQ(dialog.findChild<QComboBox*>(QStringLiteral("ComboBoxPriority"))->currentIndex(), -1);
    EXPECT_EQ(dialog.findChild<QComboBox*>(QStringLiteral("ComboBoxFilesAtOnce"))->currentIndex(), -1);
    EXPECT_EQ(dialog.findChild<QComboBox*>(QStringLiteral("ComboBoxShutdownFlag"))->currentIndex(), 2);
    dialog.StoreOptions();
    EXPECT_EQ(OptionValue("Priority"), 9);
    EXPECT_EQ(OptionValue("ShutdownFlag"), 2);
    EXPECT_EQ(OptionValue("FilesAtOnce"), 40);
}

TEST_F(MainOutputTest, FileInformationWindowIsReusedAndSavesItsReport) {
    const QString clip = Media(QStringLiteral("clip.mkv"));
    const QString gone = Media(QStringLiteral("gone.mkv"));
    AddThroughDialog({clip, gone});
    QFile::remove(gone);
    Act("actMore")->trigger(); // the selected row's file was deleted: nothing opens
    EXPECT_EQ(Main().findChild<TfrmFileInfo*>(), nullptr);

    Main().SourceList().SelectSourceRow(0);
    const QString saveTo = folder.file(QStringLiteral("File Info"));
    dialogs.saveFiles.enqueue(saveTo);
    QWidget* first = nullptr;
    WhileModal([&] { Child<QPushButton>("btnMore")->click(); },
               [&](QWidget* modal) {
                   first = modal;
                   EXPECT_EQ(modal->windowTitle(), QStringLiteral("File Information - clip.mkv"));
                   // It opens at its own size, large enough to read the report, not at its minimum.
                   EXPECT_GE(modal->width(), 620);
                   EXPECT_GE(modal->height(), 520);
                   auto* memo = modal->findChild<QPlainTextEdit*>(QStringLiteral("mmoInfo"));
                   EXPECT_TRUE(memo->isReadOnly());
                   EXPECT_TRUE(memo->toPlainText().contains(QStringLiteral("Matroska")));
                   modal->findChild<QPushButton*>(QStringLiteral("btnSave"))->click();
                   modal->findChild<QPushButton*>(QStringLiteral("btnOK"))->click();
               });
    ASSERT_EQ(dialogs.shown.last().kind, Kind::SaveFile);
    EXPECT_TRUE(dialogs.shown.last().text.endsWith(QStringLiteral("/File Info")));
    EXPECT_EQ(dialogs.shown.last().buttonCaptions.value(0),
              QStringLiteral("Text Files (*.txt);;All Files (*)"));
    // "File Info" was saved as "File Info.txt", with the report's lines.
    QFile saved(saveTo + QStringLiteral(".txt"));
    ASSERT_TRUE(saved.open(QIODevice::ReadOnly));
    EXPECT_TRUE(saved.readAll().contains("Matroska"));

    // The same window opens again and offers the last name; a save that fails shows the file.
    dialogs.saveFiles.enqueue(folder.file(QStringLiteral("no/such/folder/report.txt")));
    WhileModal([&] { Act("actMore")->trigger(); },
               [&](QWidget* modal) {
                   EXPECT_EQ(modal, first);
                   modal->findChild<QPushButton*>(QStringLiteral("btnSave"))->click();
                   QTest::keyClick(modal, Qt::Key_Escape);
               });
    const auto& saveDialog = dialogs.shown[dialogs.shown.size() - 2];
    EXPECT_EQ(saveDialog.text, saveTo + QStringLiteral(".txt"));
    EXPECT_EQ(dialogs.shown.last().kind, Kind::Message);
    EXPECT_TRUE(dialogs.shown.last().text.contains(QStringLiteral("no/such/folder/report.txt")));
}

TEST_F(MainOutputTest, LanguageSwitchReappliesCaptionsInOpenWindowsAndTheFilter) {
    folder.writeFile(QStringLiteral("langs/Deutsch.ini"),
                     "[VaridAVI_Convert]\nLanguageName=German\nIDS_MAIN_ARBUTTON_Add=Hinzu\n"
                     "IDS_MAIN_MENUITEM_AddFiles=Dateien hinzu\nIDS_MAIN_LABEL_Width=Breite:\n"
                     "IDS_MAIN_RADIOBUTTON_ToAVI=Nach AVI\nIDS_FILEINFORMATION_BUTTON_OK=Gut\n"
                     "[VaridAVI_AVSExt]\n1=.avs\n[VaridAVI_Filters]\nFilme=*.mkv\n");
    Main();
    const QString clip = Media(QStringLiteral("clip.mkv"));
    AddThroughDialog({clip});
    // The information window exists from here on and follows the language too.
    WhileModal([&] { Act("actMore")->trigger(); },
               [](QWidget* modal) { QTest::keyClick(modal, Qt::Key_Escape); });

    Child<QMenu>("mniLanguages")->actions().at(0)->trigger();
    EXPECT_EQ(Child<QToolButton>("btnAdd")->text(), QStringLiteral("Hinzu"));
    EXPECT_TRUE(Child<QAction>("miAddFiles")->text().startsWith(QStringLiteral("Dateien hinzu\t")));
    EXPECT_EQ(Text("lblWidth"), QStringLiteral("Breite:"));
    EXPECT_EQ(Text("lblOutputFormat"), QStringLiteral("Nach AVI"));
    EXPECT_EQ(Main().OpenFilter(), QStringLiteral("Filme (*.mkv);;All Files (*)"));
    auto* info = Main().findChild<TfrmFileInfo*>();
    ASSERT_NE(info, nullptr);
    EXPECT_EQ(info->findChild<QPushButton*>(QStringLiteral("btnOK"))->text(), QStringLiteral("Gut"));

    // The add dialog opens with the new filter.
    AddThroughDialog({});
    EXPECT_EQ(dialogs.shown.last().buttonCaptions.value(0), QStringLiteral("Filme (*.mkv);;All Files (*)"));
    EXPECT_EQ(dialogs.shown.last().caption, QStringLiteral("Dateien hinzu"));
}

// A batch's success that the desktop could not announce shows in the window without blocking it:
// the count, where the sources went, a button to the output folder and one that closes it; it
// follows a language switch and goes when the next batch starts.
TEST_F(MainOutputTest, AnUnannouncedSuccessShowsInTheWindow) {
    auto* bar = Child<QFrame>("pnlBatchDone");
    ASSERT_NE(bar, nullptr);
    EXPECT_FALSE(bar->isVisible());
    auto* batch = Main().findChild<TBatchWindow*>();
    ASSERT_NE(batch, nullptr);
    const struct {
        TBatchSuccess success;
        const char* text;
    } cases[] = {
        {{3, QStringLiteral("/out"), 3, 0}, "3 files converted.\nSource files moved to the Trash: 3"},
        {{1, QStringLiteral("/out"), 0, 0}, "One file converted."},
        {{2, QStringLiteral("/out"), 1, 1},
         "2 files converted.\nSource files moved to the Trash: 1\n"
         "Source files deleted (they could not go to the Trash): 1"},
        {{2, QStringLiteral("/out"), 1, 0, 1},
         "2 files converted.\nSource files moved to the Trash: 1\n"
         "Source files still in place (they could not be removed, or changed while they converted): 1"},
    };
    for (const auto& c : cases) {
        emit batch->succeededUnannounced(c.success);
        EXPECT_TRUE(bar->isVisible());
        EXPECT_EQ(Text("lblBatchDone"), QString::fromUtf8(c.text));
        EXPECT_EQ(Child<QLabel>("imgBatchDone")->accessibleName(),
                  QString::fromUtf8(c.text).section(QLatin1Char('\n'), 0, 0));
        // Every line can be read in the narrowest window: a long one wraps rather than being cut.
        Main().resize(Main().minimumWidth(), Main().height());
        QApplication::processEvents();
        EXPECT_LE(bar->minimumSizeHint().width(), bar->width()) << c.text;
    }
    EXPECT_EQ(QApplication::activeModalWidget(), nullptr);
    EXPECT_TRUE(Act("actAdd")->isEnabled());

    Child<QPushButton>("btnOpenOutput")->click();
    ASSERT_FALSE(dialogs.shown.isEmpty());
    EXPECT_EQ(dialogs.shown.last().kind, Kind::ShellOpen);
    EXPECT_EQ(dialogs.shown.last().text, QStringLiteral("/out"));
    EXPECT_EQ(Child<QToolButton>("btnCloseMessage")->accessibleName(), QStringLiteral("Close this message"));
    Child<QToolButton>("btnCloseMessage")->click();
    EXPECT_FALSE(bar->isVisible());

    emit batch->succeededUnannounced({4, QStringLiteral("/out"), 0, 0});
    folder.writeFile(
        QStringLiteral("langs/Deutsch.ini"),
        "[VaridAVI_Convert]\nLanguageName=Deutsch\nIDS_MAIN_LABEL_DoneFiles=%d Dateien konvertiert.\n"
        "[VaridAVI_AVSExt]\n1=.avs\n[VaridAVI_Filters]\nFilme=*.mkv\n");
    main.reset();
    emit Main().findChild<TBatchWindow*>()->succeededUnannounced({4, QStringLiteral("/out"), 0, 0});
    for (QAction* item : Child<QMenu>("mniLanguages")->actions()) {
        if (item->data().toString() == QStringLiteral("Deutsch"))
            item->trigger();
    }
    EXPECT_EQ(Text("lblBatchDone"), QStringLiteral("4 Dateien konvertiert."));
    // The next Convert takes it away (here it stops at the empty list).
    Act("actConvert")->trigger();
    EXPECT_FALSE(Child<QFrame>("pnlBatchDone")->isVisible());
}

// The chooser kept after OK serves the next batch: after a language switch its list, the labels
// and the batch show the new language's copy of its profile ("Default" is "Standard" in German),
// and a restart marks the language in the menu by its file, not by the name it shows.
TEST_F(MainOutputTest, LanguageSwitchKeepsTheChoosersProfileInTheNewLanguage) {
    StoreOptions("OutputFormat=0\n");
    Act("actOutputSetting")->trigger();
    TfrmConvert* chooser = Main().Chooser();
    ASSERT_NE(chooser, nullptr);
    auto* list = chooser->findChild<QComboBox*>(FormatCatalogue()[0].ChooserList);
    ASSERT_NE(list, nullptr);
    list->setCurrentIndex(list->findText(QStringLiteral("Default")));
    chooser->findChild<QPushButton*>(QStringLiteral("btnOK"))->click();
    EXPECT_EQ(Text("lblProfileText"), QStringLiteral("Default"));

    QAction* german = nullptr;
    for (QAction* item : Child<QMenu>("mniLanguages")->actions()) {
        if (item->data().toString() == QStringLiteral("Deutsch"))
            german = item;
    }
    ASSERT_NE(german, nullptr);
    german->trigger();
    EXPECT_EQ(chooser->CurrentProfile(), QStringLiteral("Standard"));
    EXPECT_EQ(list->findText(QStringLiteral("Default")), -1);
    EXPECT_EQ(Text("lblProfileText"), QStringLiteral("Standard"));
    EXPECT_TRUE(ProfileFileName(0, QStringLiteral("Standard")).contains(QStringLiteral("/German_Profile/")));
    EXPECT_EQ(Main().ConvertSettings().profileOptions(), GetProfileOptions(0, QStringLiteral("Standard")));
    // Qt's key names follow, from Qt's German translation (scripts/setup installs it).
    ASSERT_TRUE(QFileInfo::exists(QLibraryInfo::path(QLibraryInfo::TranslationsPath) +
                                  QStringLiteral("/qtbase_de.qm")))
        << "Qt's German translation is not installed";
    EXPECT_TRUE(Child<QAction>("miAddFiles")->text().endsWith(QStringLiteral("\tStrg+N")))
        << Child<QAction>("miAddFiles")->text().toStdString();

    main.reset();
    bool marked = false;
    for (QAction* item : Child<QMenu>("mniLanguages")->actions())
        marked = marked || (item->isChecked() && item->data().toString() == QStringLiteral("Deutsch"));
    EXPECT_TRUE(marked);
}

} // namespace
