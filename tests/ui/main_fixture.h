#pragma once
// A main window over a throwaway program folder, with scripted dialogs and copies of real media.
#include "app/options.h"
#include "app/paths.h"
#include "app/scripted_dialogs.h"
#include "lang/multilanguages.h"
#include "lang/strings.h"
#include "support/program_folder.h"
#include "ui/main/mainwnd.h"
#include "ui/toolkit_language.h"

#include <QAction>
#include <QApplication>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QTest>
#include <gtest/gtest.h>

#include <memory>

class MainFixture : public ::testing::Test {
  protected:
    void SetUp() override {
        ResetStringTable();
        ASSERT_TRUE(LoadLanguage());
        ASSERT_TRUE(QDir().mkpath(folder.file(QStringLiteral("media"))));
    }
    void TearDown() override {
        main.reset();
        ResetStringTable();
        ApplyToolkitLanguage(QStringLiteral("English.ini")); // Qt's texts back to English
    }

    // Creates and shows the window (after a test has prepared options.ini and the like).
    TfrmMain& Main() {
        if (!main) {
            main = std::make_unique<TfrmMain>();
            main->show();
            QApplication::setActiveWindow(main.get());
            EXPECT_TRUE(QTest::qWaitForWindowActive(main.get()));
        }
        return *main;
    }
    // A copy of a sample under media/ with the given name.
    QString Media(const QString& name, const QString& sample = QStringLiteral("again.mkv")) {
        const QString path = folder.file(QStringLiteral("media/") + name);
        QDir().mkpath(QFileInfo(path).path());
        EXPECT_TRUE(QFile::copy(QStringLiteral(VARID_MEDIA_DIR "/") + sample, path)) << name.toStdString();
        return path;
    }
    // Adds the files through the add dialog.
    void AddThroughDialog(const QStringList& files) {
        dialogs.openFiles.enqueue(files);
        Main().findChild<QAction*>(QStringLiteral("actAdd"))->trigger();
    }
    QStringList Names() {
        QStringList names;
        for (const QString& caption : Main().SourceList().Captions())
            names << QFileInfo(caption).fileName();
        return names;
    }
    template <typename T = QWidget> T* Child(const char* name) {
        T* found = Main().findChild<T*>(QLatin1String(name));
        EXPECT_NE(found, nullptr) << name;
        return found;
    }
    QAction* Act(const char* name) { return Child<QAction>(name); }
    QString Text(const char* label) { return Child<QLabel>(label)->text(); }

    TProgramFolder folder;
    TScriptedDialogs dialogs;
    std::unique_ptr<TfrmMain> main;
};
