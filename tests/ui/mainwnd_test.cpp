#include "app/inifile.h"
#include "app/options.h"
#include "app/paths.h"
#include "app/scripted_dialogs.h"
#include "lang/kelmultilanguages.h"
#include "lang/multilanguages.h"
#include "lang/strings.h"
#include "support/program_folder.h"
#include "ui/main/aboutwnd.h"
#include "ui/main/mainwnd.h"
#include "ui/main/splashwnd.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QMenu>
#include <QScreen>
#include <QSignalSpy>
#include <QTest>
#include <QTimer>
#include <QToolButton>
#include <gtest/gtest.h>
#include <qtestspontaneevent.h>

namespace {

class MainWindowTest : public ::testing::Test {
  protected:
    void SetUp() override {
        ResetStringTable();
        // The language menu here lists English and a partial German of its own only.
        for (const QString& name : QDir(LangsDir).entryList({QStringLiteral("*.ini")}, QDir::Files)) {
            if (name != QStringLiteral("English.ini")) {
                ASSERT_TRUE(QFile::remove(LangsDir + name)) << name.toStdString();
            }
        }
        folder.writeFile(QStringLiteral("langs/Deutsch.ini"),
                         "[VaridAVI_Convert]\nLanguageName=German\nIDS_MAIN_MENUITEM_HelpContent=Hilfe\n"
                         "IDS_MAIN_MENUITEM_Language=Sprache\nIDS_MAIN_LABEL_SummaryNoFile=Keine Dateien\n"
                         "[VaridAVI_AVSExt]\n1=.avs\n[VaridAVI_Filters]\nVideo=*.avi\n");
        ASSERT_TRUE(LoadLanguage());
    }
    void TearDown() override { ResetStringTable(); }

    template <typename T> T* child(QObject& parent, const char* name) {
        T* found = parent.findChild<T*>(QLatin1String(name));
        EXPECT_NE(found, nullptr) << name;
        return found;
    }

    TProgramFolder folder;
    TScriptedDialogs dialogs;
};

} // namespace

// The window lives in the desktop's frame: the window manager draws its title, resizes, maximises
// and closes it.
TEST_F(MainWindowTest, FrameShowsTitleSummaryAndWritesOptionsOnFirstStart) {
    ASSERT_FALSE(QFile::exists(OptionsFileName));
    TfrmMain main;
    EXPECT_TRUE(QFile::exists(OptionsFileName));
    EXPECT_EQ(main.windowTitle(), ApplicationTitle);
    EXPECT_FALSE(main.windowFlags() & Qt::FramelessWindowHint);
    EXPECT_EQ(main.windowFlags() & Qt::WindowType_Mask, Qt::Window);
    EXPECT_EQ(main.maximumSize(), QSize(QWIDGETSIZE_MAX, QWIDGETSIZE_MAX));
    EXPECT_EQ(child<QLabel>(main, "lblStatus")->text(), QStringLiteral("Summary: No files"));
    EXPECT_EQ(child<QToolButton>(main, "btnHelp")->text(), QStringLiteral("?"));
    EXPECT_EQ(child<QToolButton>(main, "btnHelp")->accessibleName(), QStringLiteral("Help Content"));
}

TEST_F(MainWindowTest, HelpMenuHoldsContentLanguagesAndAbout) {
    TfrmMain main;
    auto* menu = child<QMenu>(main, "mnuHelp");
    ASSERT_NE(menu, nullptr);
    EXPECT_EQ(child<QAction>(main, "miHelpContent")->text(), QStringLiteral("Help Content"));
    EXPECT_EQ(child<QAction>(main, "miAbout")->text(), QStringLiteral("About"));
    QStringList order;
    for (const QAction* item : menu->actions())
        order << (item->isSeparator() ? QStringLiteral("-") : item->objectName());
    EXPECT_EQ(order,
              (QStringList{"miHelpContent", "", "miSettings2", "-", "miAbout"})); // "" the language menu
    EXPECT_EQ(child<QAction>(main, "miSettings2")->text(), QStringLiteral("Settings...\tCtrl+E"));
    // It opens the settings, as Ctrl+E does.
    QString opened;
    QTimer::singleShot(0, [&opened] {
        if (QWidget* modal = QApplication::activeModalWidget()) {
            opened = modal->windowTitle();
            modal->close();
        }
    });
    child<QAction>(main, "miSettings2")->trigger();
    EXPECT_EQ(opened, QStringLiteral("Settings"));
    auto* languages = child<QMenu>(main, "mniLanguages");
    EXPECT_EQ(languages->title(), QStringLiteral("Language"));
    const QList<QAction*> items = languages->actions();
    ASSERT_EQ(items.size(), 2); // Deutsch.ini ("German") and English.ini, by file name
    EXPECT_EQ(items[0]->text(), QStringLiteral("German"));
    EXPECT_EQ(items[1]->text(), QStringLiteral("English"));
    EXPECT_TRUE(items[0]->isCheckable());
    EXPECT_FALSE(items[0]->isChecked());
    EXPECT_TRUE(items[1]->isChecked());
    EXPECT_EQ(main.Languages().SelectedIndex, 1);

    // The help button opens the menu below itself.
    main.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&main));
    auto* help = child<QToolButton>(main, "btnHelp");
    QTest::mousePress(help, Qt::LeftButton);
    QTRY_VERIFY_WITH_TIMEOUT(menu->isVisible(), 5000);
    // Just below the button's left edge (the style may shift the frame by a pixel), moved left as
    // far as the screen's edge asks.
    const QPoint below = help->mapToGlobal(QPoint(0, help->height()));
    EXPECT_LE(menu->pos().x(), below.x() + 2);
    EXPECT_LE(menu->geometry().right(), main.screen()->geometry().right());
    EXPECT_NEAR(menu->pos().y(), below.y(), 2);
    menu->hide();
    QTest::mouseRelease(help, Qt::LeftButton);

    // Help content and F1 open the help page of the current language.
    child<QAction>(main, "miHelpContent")->trigger();
    QTest::keyClick(&main, Qt::Key_F1);
    ASSERT_EQ(dialogs.shown.size(), 2);
    for (const auto& shown : dialogs.shown) {
        EXPECT_EQ(shown.kind, TScriptedDialogs::Kind::ShellOpen);
        EXPECT_EQ(shown.text, LangsDir + QStringLiteral("English_help.html"));
    }
}

TEST_F(MainWindowTest, LanguageSwitchUpdatesCaptionsAndConfig) {
    TfrmMain main;
    QSignalSpy applied(&main, &TfrmMain::captionsApplied);
    const QList<QAction*> items = child<QMenu>(main, "mniLanguages")->actions();
    items[0]->trigger();
    EXPECT_TRUE(items[0]->isChecked());
    EXPECT_FALSE(items[1]->isChecked());
    EXPECT_EQ(applied.count(), 1);
    EXPECT_EQ(child<QAction>(main, "miHelpContent")->text(), QStringLiteral("Hilfe"));
    EXPECT_EQ(child<QMenu>(main, "mniLanguages")->title(), QStringLiteral("Sprache"));
    EXPECT_EQ(child<QLabel>(main, "lblStatus")->text(), QStringLiteral("Keine Dateien"));
    EXPECT_EQ(child<QAction>(main, "miAbout")->text(), QStringLiteral("About")); // kept from English
    EXPECT_EQ(TIniFile(ConfigFileName).ReadString(ConfigSection, LanguageFileKey, {}),
              QStringLiteral("Deutsch.ini"));

    // The help follows the current language; without a page of its own, the English one opens.
    child<QAction>(main, "miHelpContent")->trigger();
    folder.writeFile(QStringLiteral("langs/Deutsch_help.html"), "<html/>");
    child<QAction>(main, "actHelpContent")->trigger();
    ASSERT_EQ(dialogs.shown.size(), 2);
    EXPECT_EQ(dialogs.shown[0].kind, TScriptedDialogs::Kind::ShellOpen);
    EXPECT_EQ(dialogs.shown[0].text, LangsDir + QStringLiteral("English_help.html"));
    EXPECT_EQ(dialogs.shown[1].text, LangsDir + QStringLiteral("Deutsch_help.html"));

    items[1]->trigger();
    EXPECT_EQ(child<QAction>(main, "miHelpContent")->text(), QStringLiteral("Help Content"));
    EXPECT_EQ(TIniFile(ConfigFileName).ReadString(ConfigSection, LanguageFileKey, {}),
              QStringLiteral("English.ini"));
}

TEST_F(MainWindowTest, StartUpTicksTheLoadedFileWhoseLanguageNameDiffersFromItsFileName) {
    // Deutsch.ini names itself "German": after a restart in that language its item is ticked.
    LanguageFileName = LangsDir + QStringLiteral("Deutsch.ini");
    ASSERT_TRUE(LoadLanguage());
    TfrmMain main;
    const QList<QAction*> items = child<QMenu>(main, "mniLanguages")->actions();
    ASSERT_EQ(items.size(), 2);
    EXPECT_TRUE(items[0]->isChecked());
    EXPECT_FALSE(items[1]->isChecked());
    EXPECT_EQ(main.Languages().SelectedIndex, 0);
}

// The frame's close box (a close from the window system) saves the options as the program's own
// close button did; a close from inside the program (the tray's exit item) does not.
TEST_F(MainWindowTest, TheDesktopsCloseSavesOptionsACloseFromInsideDoesNot) {
    {
        TfrmMain main;
        main.show();
        Options.Priority = 3;
        main.close();
        EXPECT_EQ(TIniFile(OptionsFileName).ReadInteger(OptionsSection, QStringLiteral("Priority"), -1), 1);
    }
    {
        TfrmMain main;
        main.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&main));
        Options.Priority = 2;
        QCloseEvent fromTheDesktop; // as the window manager's close arrives
        QSpontaneKeyEvent::setSpontaneous(&fromTheDesktop);
        qApp->notify(&main, &fromTheDesktop); // sendEvent would make it a program's own event
        EXPECT_TRUE(fromTheDesktop.isAccepted());
        EXPECT_EQ(TIniFile(OptionsFileName).ReadInteger(OptionsSection, QStringLiteral("Priority"), -1), 2);
    }
}

// The window's size and maximised state come back at the next start. They are kept after the
// options (the nine, then the files converted at once), in a section of their own, whichever way
// the window closed.
TEST_F(MainWindowTest, SizeAndMaximisedStateAreKeptBetweenStarts) {
    const QStringList options{"OutputFormat",
                              "LastInputOpenDir",
                              "LastOutputOpenDir",
                              "Priority",
                              "ShutdownFlag",
                              "DeleteFileAfterProcessing",
                              "ShutdownWindowsWhenDone",
                              "ShowWindow",
                              "UseDirectShow",
                              "FilesAtOnce"};
    {
        TfrmMain main;
        main.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&main));
        main.resize(700, 560);
        main.close();
    }
    const TIniFile stored(OptionsFileName);
    EXPECT_EQ(stored.ReadSection(OptionsSection), options);
    EXPECT_EQ(stored.ReadSections(), (QStringList{OptionsSection, QStringLiteral("MainWindow")}));
    EXPECT_EQ(stored.ReadSection(QStringLiteral("MainWindow")),
              (QStringList{"Width", "Height", "Maximized"}));
    {
        TfrmMain main;
        EXPECT_EQ(main.size(), QSize(700, 560));
        EXPECT_FALSE(main.windowState() & Qt::WindowMaximized);
        main.showMaximized();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&main));
        EXPECT_TRUE(QTest::qWaitFor([&] { return main.isMaximized(); }));
        main.close();
    }
    {
        TfrmMain main;
        EXPECT_TRUE(main.windowState() & Qt::WindowMaximized);
        main.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&main));
        EXPECT_TRUE(main.isMaximized());
        // Back to normal: the size it had before it was maximised.
        main.showNormal();
        EXPECT_TRUE(QTest::qWaitFor([&] { return main.size() == QSize(700, 560); }));
        main.close();
    }
    EXPECT_FALSE(
        TIniFile(OptionsFileName).ReadBool(QStringLiteral("MainWindow"), QStringLiteral("Maximized"), true));
}

TEST_F(MainWindowTest, SplashClosesItselfAndAboutShowsCaptions) {
    TProgramFolder withSkins(TProgramFolder::Langs | TProgramFolder::Skins);
    TfrmSplash splash;
    auto* timer = child<QTimer>(splash, "tmrSplash");
    EXPECT_EQ(timer->interval(), 1000);
    EXPECT_TRUE(timer->isSingleShot());
    EXPECT_TRUE(timer->isActive());
    EXPECT_FALSE(child<QLabel>(splash, "imgSplash")->pixmap().isNull());
    QSignalSpy done(&splash, &QDialog::accepted);
    splash.show();
    EXPECT_TRUE(done.isEmpty());
    // The second runs out.
    ASSERT_TRUE(QMetaObject::invokeMethod(timer, "timeout"));
    EXPECT_EQ(done.size(), 1);

    TfrmAbout about;
    EXPECT_EQ(about.windowTitle(), QStringLiteral("About"));
    EXPECT_EQ(child<QLabel>(about, "lblTitle")->text(), ApplicationTitle);
    EXPECT_EQ(child<QLabel>(about, "lblVersion")->text(), QStringLiteral("Version " VARID_VERSION));
}
