#pragma once
// Shared pieces of the chooser tests: a throwaway program folder with the shipped profiles, the
// scripted dialogs, a scripted profile editor that "edits" the AVI record, and a helper that
// answers the next modal name dialog.
#include "app/options.h"
#include "app/scripted_dialogs.h"
#include "lang/strings.h"
#include "profiles/catalogue.h"
#include "profiles/profile_manager.h"
#include "profiles/settings.h"
#include "support/program_folder.h"
#include "ui/editors/profileeditor.h"

#include <QApplication>
#include <QFile>
#include <QLineEdit>
#include <QPushButton>
#include <QQueue>
#include <QTimer>
#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <ostream>

inline void PrintTo(const QString& text, std::ostream* os) {
    *os << '"' << text.toStdString() << '"';
}
inline void PrintTo(const QStringList& list, std::ostream* os) {
    *os << '[' << list.join(QStringLiteral(", ")).toStdString() << ']';
}

inline QByteArray ReadBytes(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// A control of a window by its name; a missing one fails the test.
template <typename T> T* child(QObject& parent, const char* name) {
    T* found = parent.findChild<T*>(QLatin1String(name));
    EXPECT_NE(found, nullptr) << name;
    return found;
}

// What the scripted editor does and saw. It works on the AVI record, the format the tests edit.
struct TEditorScript {
    bool save = true;                               // the answer of Execute
    QString description = QStringLiteral("Edited"); // written by ControlsToProfile
    QStringList calls;                              // in order
    QString shownDescription;                       // the record's Description when shown
    int created = 0;
};

class TScriptedEditor final : public IProfileEditor, public IProfileEditSession {
  public:
    explicit TScriptedEditor(TEditorScript& script) : m_script(script) { ++m_script.created; }
    void ProfileToControls() override {
        m_script.calls << QStringLiteral("ProfileToControls");
        m_script.shownDescription = AVISettings.Description;
    }
    void ControlsToProfile() override {
        m_script.calls << QStringLiteral("ControlsToProfile");
        AVISettings.Description = m_script.description;
    }
    bool Execute() override {
        m_script.calls << QStringLiteral("Execute");
        return m_script.save;
    }

  private:
    TEditorScript& m_script;
};

// Profile management's windows for the core tests: the scripted editor and a name dialog that
// answers from a queue (an empty queue cancels).
class TScriptedForms final : public IProfileForms {
  public:
    TEditorScript editor;
    QQueue<QString> names;
    QStringList askedWith; // the starting text of each name dialog

    std::unique_ptr<IProfileEditSession> CreateEditor(int) override {
        return std::make_unique<TScriptedEditor>(editor);
    }
    bool AskProfileName(QString& name) override {
        askedWith << name;
        if (names.isEmpty())
            return false;
        name = names.dequeue();
        return true;
    }
};

class ProfileFolderFixture : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_TRUE(folder.isValid());
        ResetStringTable();
        Options = TOptions();
        InitProfileFolders();
        ASSERT_TRUE(CreateProfileFolders());
    }
    void TearDown() override { ResetStringTable(); }

    // The file of a profile of a format.
    static QString Profile(int formatIndex, const QString& name) {
        return ProfileFileName(formatIndex, name);
    }

    TProgramFolder folder;
    TScriptedDialogs dialogs;
};

// Answers the next modal name dialog: types text and presses OK, or presses Cancel when text is
// null. Reports the dialog's starting text in *seen when given.
inline void AnswerNameDialog(const QString& text, QString* seen = nullptr) {
    QTimer::singleShot(0, [text, seen] {
        QWidget* dialog = QApplication::activeModalWidget();
        if (!dialog || dialog->objectName() != QLatin1String("frmName")) {
            AnswerNameDialog(text, seen);
            return;
        }
        auto* field = dialog->findChild<QLineEdit*>(QStringLiteral("txtFileName"));
        if (seen)
            *seen = field->text();
        if (text.isNull()) {
            dialog->findChild<QPushButton*>(QStringLiteral("btnCancel"))->click();
            return;
        }
        field->setText(text);
        dialog->findChild<QPushButton*>(QStringLiteral("btnOK"))->click();
    });
}
