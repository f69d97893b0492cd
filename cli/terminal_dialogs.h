#pragma once
// The dialogs of the command-line converter. Nothing is asked interactively: messages are printed
// to standard error, and questions get the answer the command line gave (--overwrite answers the
// overwrite questions with yes; without it they are answered no, which stops the start, and a
// hint says how to allow it).
#include "app/dialogs.h"

#include <QStringList>

class TTerminalDialogs final : public IDialogs {
  public:
    explicit TTerminalDialogs(bool overwrite) : m_overwrite(overwrite) {}

    int MessageBox(const QString& text, const QString& caption, TMsgDlgType type,
                   TMsgDlgButtons buttons) override;
    int MessageDlgCaptions(const QString& message, const QString& title, TMsgDlgType type,
                           const QStringList& captions, TMsgDlgButtons buttons, TMsgDlgBtn) override;
    bool BrowseForFolder(QString&, const QString&, const QString&) override { return false; }
    QStringList GetOpenFileNames(const QString&, const QString&, const QString&) override { return {}; }
    QString GetSaveFileName(const QString&, const QString&, const QString&) override { return {}; }
    bool ShellOpen(const QString&) override { return false; }
    void SetBusyCursor(bool) override {}

    // Every message shown, in order (the converter's summary may refer to them).
    const QStringList& Shown() const { return m_shown; }

  private:
    int answer(const QString& caption, const QString& text, TMsgDlgButtons buttons);

    bool m_overwrite;
    QStringList m_shown;
};
