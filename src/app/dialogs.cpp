#include "app/dialogs.h"

#include "app/errors.h"
#include "app/paths.h"

namespace {

class SilentDialogs final : public IDialogs {
  public:
    int MessageBox(const QString&, const QString&, TMsgDlgType, TMsgDlgButtons) override { return mrNone; }
    int MessageDlgCaptions(const QString&, const QString&, TMsgDlgType, const QStringList&, TMsgDlgButtons,
                           TMsgDlgBtn) override {
        return mrNone;
    }
    bool BrowseForFolder(QString&, const QString&, const QString&) override { return false; }
    QStringList GetOpenFileNames(const QString&, const QString&, const QString&) override { return {}; }
    QString GetSaveFileName(const QString&, const QString&, const QString&) override { return {}; }
    bool ShellOpen(const QString&) override { return false; }
    void SetBusyCursor(bool) override {}
};

SilentDialogs g_silent;
IDialogs* g_dialogs = nullptr;

} // namespace

IDialogs& Dialogs() {
    return g_dialogs ? *g_dialogs : g_silent;
}

void SetDialogs(IDialogs* dialogs) {
    g_dialogs = dialogs;
}

void RunShowingFailure(void (*step)()) {
    try {
        step();
    } catch (const EVaridError& e) {
        Dialogs().MessageBox(e.message(), ApplicationTitle, TMsgDlgType::mtError,
                             static_cast<unsigned>(TMsgDlgBtn::mbOK));
    }
}
