#pragma once
// The program's dialogs: Qt message boxes, file and folder pickers, the desktop's default handler
// for opening files and folders, and the wait cursor.
#include "app/dialogs.h"

#include <QPointer>
#include <QWidget>

class QMessageBox;

class TQtDialogs final : public IDialogs {
  public:
    // Installs itself as the process-wide dialogs while alive.
    TQtDialogs();
    ~TQtDialogs() override;
    TQtDialogs(const TQtDialogs&) = delete;
    TQtDialogs& operator=(const TQtDialogs&) = delete;

    // The window that boxes and pickers are shown over (default: the active window).
    void SetOwner(QWidget* owner) { m_owner = owner; }

    int MessageBox(const QString& text, const QString& caption, TMsgDlgType type,
                   TMsgDlgButtons buttons) override;
    int MessageBoxDetails(const QString& text, const QString& caption, TMsgDlgType type,
                          TMsgDlgButtons buttons, const QString& details) override;
    int MessageDlgCaptions(const QString& message, const QString& title, TMsgDlgType type,
                           const QStringList& captions, TMsgDlgButtons buttons,
                           TMsgDlgBtn defaultButton) override;
    bool BrowseForFolder(QString& folder, const QString& title, const QString& root) override;
    QStringList GetOpenFileNames(const QString& title, const QString& dir, const QString& filter) override;
    QString GetSaveFileName(const QString& title, const QString& fileName, const QString& filter) override;
    bool ShellOpen(const QString& path) override;
    void SetBusyCursor(bool busy) override;

    // Builds the box that MessageDlgCaptions shows (for tests): buttons in the toolkit's order with
    // the given captions, each as wide as the widest caption needs (at least 88 pixels), the box
    // at least (width + 12) * count + 32 pixels wide. Button i carries property "modalResult".
    // The default button (Enter) is defaultButton, or the first one when the set lacks it.
    static QMessageBox* BuildBox(QWidget* owner, const QString& message, const QString& title,
                                 TMsgDlgType type, const QStringList& captions, TMsgDlgButtons buttons,
                                 bool sizeButtons, TMsgDlgBtn defaultButton = TMsgDlgBtn::mbYes);

  private:
    QWidget* owner() const;
    int run(const QString& message, const QString& title, TMsgDlgType type, const QStringList& captions,
            TMsgDlgButtons buttons, bool sizeButtons, TMsgDlgBtn defaultButton = TMsgDlgBtn::mbYes,
            const QString& details = QString());

    QPointer<QWidget> m_owner;
    bool m_busy = false;
};
