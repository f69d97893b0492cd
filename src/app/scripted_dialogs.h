#pragma once
// A dialogs implementation for tests: records every box, question and picker that was shown and
// answers from queues. An empty queue answers like a cancelled dialog.
#include "app/dialogs.h"

#include <QList>
#include <QQueue>

#include <functional>

class TScriptedDialogs final : public IDialogs {
  public:
    enum class Kind { Message, Question, Folder, OpenFiles, SaveFile, ShellOpen };
    struct Shown {
        Kind kind;
        QString text;    // message, the folder a picker opens in, or the path opened by the shell
        QString caption; // caption or title
        TMsgDlgType type = TMsgDlgType::mtCustom;
        QStringList buttonCaptions;
        TMsgDlgButtons buttons = 0;
        QString details; // the unfoldable text of MessageBoxDetails
        // The button Enter presses in a question (MessageDlgCaptions); the set's first when it
        // lacks this one.
        TMsgDlgBtn defaultButton = TMsgDlgBtn::mbYes;
    };

    QList<Shown> shown;
    QQueue<int> results;           // answers of message boxes and questions
    QQueue<QString> folders;       // answers of the folder picker (empty text: cancel)
    QQueue<QStringList> openFiles; // answers of the open dialog
    QQueue<QString> saveFiles;     // answers of the save dialog
    bool shellOpenResult = true;
    int busyDepthChanges = 0;
    bool busy = false;
    // Runs while a box or question is "open", before it is answered (tests let events run here).
    std::function<void(const Shown&)> whileOpen;

    // Installs itself as the process-wide dialogs while alive.
    TScriptedDialogs() { SetDialogs(this); }
    ~TScriptedDialogs() override { SetDialogs(nullptr); }
    TScriptedDialogs(const TScriptedDialogs&) = delete;
    TScriptedDialogs& operator=(const TScriptedDialogs&) = delete;

    int MessageBox(const QString& text, const QString& caption, TMsgDlgType type,
                   TMsgDlgButtons buttons) override {
        return answer({Kind::Message, text, caption, type, {}, buttons, {}});
    }
    int MessageBoxDetails(const QString& text, const QString& caption, TMsgDlgType type,
                          TMsgDlgButtons buttons, const QString& details) override {
        return answer({Kind::Message, text, caption, type, {}, buttons, details});
    }
    int MessageDlgCaptions(const QString& message, const QString& title, TMsgDlgType type,
                           const QStringList& captions, TMsgDlgButtons buttons,
                           TMsgDlgBtn defaultButton) override {
        return answer({Kind::Question, message, title, type, captions, buttons, {}, defaultButton});
    }
    bool BrowseForFolder(QString& folder, const QString& title, const QString& root) override {
        Q_UNUSED(root)
        shown.append({Kind::Folder, folder, title, TMsgDlgType::mtCustom, {}, 0, {}});
        if (folders.isEmpty())
            return false;
        const QString answer = folders.dequeue();
        if (answer.isEmpty())
            return false;
        folder = answer;
        return true;
    }
    QStringList GetOpenFileNames(const QString& title, const QString& dir, const QString& filter) override {
        shown.append({Kind::OpenFiles, dir, title, TMsgDlgType::mtCustom, {filter}, 0, {}});
        return openFiles.isEmpty() ? QStringList() : openFiles.dequeue();
    }
    QString GetSaveFileName(const QString& title, const QString& fileName, const QString& filter) override {
        shown.append({Kind::SaveFile, fileName, title, TMsgDlgType::mtCustom, {filter}, 0, {}});
        return saveFiles.isEmpty() ? QString() : saveFiles.dequeue();
    }
    bool ShellOpen(const QString& path) override {
        shown.append({Kind::ShellOpen, path, {}, TMsgDlgType::mtCustom, {}, 0, {}});
        return shellOpenResult;
    }
    void SetBusyCursor(bool on) override {
        busy = on;
        ++busyDepthChanges;
    }

    int answer(const Shown& box) {
        shown.append(box);
        if (whileOpen)
            whileOpen(box);
        return results.isEmpty() ? mrNone : results.dequeue();
    }

    // The texts of all message boxes and questions, in order.
    QStringList messages() const {
        QStringList texts;
        for (const Shown& s : shown) {
            if (s.kind == Kind::Message || s.kind == Kind::Question)
                texts << s.text;
        }
        return texts;
    }
};
