#pragma once
// Every message box, question, file and folder picker, busy cursor and shell action goes through
// this interface: the program installs the Qt implementation, tests a scripted one, the terminal
// converter its own.
#include <QString>
#include <QStringList>

enum class TMsgDlgType { mtWarning, mtError, mtInformation, mtConfirmation, mtCustom };

// Buttons in the toolkit's fixed order; a button set is a bit mask of them.
enum class TMsgDlgBtn {
    mbYes = 1 << 0,
    mbNo = 1 << 1,
    mbOK = 1 << 2,
    mbCancel = 1 << 3,
    mbAbort = 1 << 4,
    mbRetry = 1 << 5,
    mbIgnore = 1 << 6,
    mbAll = 1 << 7,
    mbNoToAll = 1 << 8,
    mbYesToAll = 1 << 9,
    mbHelp = 1 << 10,
};
using TMsgDlgButtons = unsigned;
constexpr TMsgDlgButtons operator|(TMsgDlgBtn a, TMsgDlgBtn b) {
    return static_cast<unsigned>(a) | static_cast<unsigned>(b);
}
constexpr TMsgDlgButtons operator|(TMsgDlgButtons a, TMsgDlgBtn b) {
    return a | static_cast<unsigned>(b);
}
constexpr bool HasButton(TMsgDlgButtons set, TMsgDlgBtn b) {
    return (set & static_cast<unsigned>(b)) != 0;
}

// Modal results, numbered as the toolkit numbers them. 0 is also the result of a box that could
// not be shown.
enum ModalResult : int {
    mrNone = 0,
    mrOk = 1,
    mrCancel = 2,
    mrAbort = 3,
    mrRetry = 4,
    mrIgnore = 5,
    mrYes = 6,
    mrNo = 7,
    mrAll = 8,
    mrNoToAll = 9,
    mrYesToAll = 10,
};

class IDialogs {
  public:
    virtual ~IDialogs() = default;

    // A plain message box with caption and text; returns the modal result.
    virtual int MessageBox(const QString& text, const QString& caption, TMsgDlgType type,
                           TMsgDlgButtons buttons) = 0;
    // A message box with a longer text the user can unfold (a list of failures, say). Where no
    // unfolding is possible the details are left out.
    virtual int MessageBoxDetails(const QString& text, const QString& caption, TMsgDlgType type,
                                  TMsgDlgButtons buttons, const QString& details) {
        Q_UNUSED(details)
        return MessageBox(text, caption, type, buttons);
    }
    // A question whose buttons carry their own captions c1, c2, ... in the toolkit's button order.
    // defaultButton is the one Enter presses; the set's first button when the set lacks it.
    virtual int MessageDlgCaptions(const QString& message, const QString& title, TMsgDlgType type,
                                   const QStringList& captions, TMsgDlgButtons buttons,
                                   TMsgDlgBtn defaultButton) = 0;
    // The folder picker: on OK folder becomes the chosen path and the result is true.
    virtual bool BrowseForFolder(QString& folder, const QString& title, const QString& root) = 0;
    // Open dialog for several files; empty list on cancel. Filters are in Qt's form:
    // "Video Files (*.avi *.mp4);;All Files (*)".
    virtual QStringList GetOpenFileNames(const QString& title, const QString& dir, const QString& filter) = 0;
    // Save dialog; empty text on cancel.
    virtual QString GetSaveFileName(const QString& title, const QString& fileName, const QString& filter) = 0;
    // Opens a file or folder with the desktop's default handler.
    virtual bool ShellOpen(const QString& path) = 0;
    // The hourglass cursor on and off (the nesting count is kept by BeginBusy/EndBusy).
    virtual void SetBusyCursor(bool busy) = 0;
};

// The process-wide implementation. Until one is installed a silent one answers: every box gives
// its default (0), pickers cancel, nothing is opened.
IDialogs& Dialogs();
// Installs an implementation (not owned; nullptr puts the silent one back).
void SetDialogs(IDialogs* dialogs);

// Runs a step whose failure (EVaridError, such as a file that cannot be written) is shown in an
// error box instead of stopping the caller.
void RunShowingFailure(void (*step)());
