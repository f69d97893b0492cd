#include "terminal_dialogs.h"

#include "lang/strings.h"
#include "terminal_text.h"

#include <cstdio>

namespace {

void printMessage(const QString& caption, const QString& text) {
    const QString flat = TerminalMessage(text);
    const QString line = caption.isEmpty() ? flat : TerminalMessage(caption) + QStringLiteral(": ") + flat;
    std::fputs((line + QLatin1Char('\n')).toLocal8Bit().constData(), stderr);
    std::fflush(stderr);
}

} // namespace

int TTerminalDialogs::answer(const QString& caption, const QString& text, TMsgDlgButtons buttons) {
    m_shown << text;
    const bool question = HasButton(buttons, TMsgDlgBtn::mbYes);
    if (question && m_overwrite)
        return mrYes; // the command line has answered it
    printMessage(caption, text);
    if (!question)
        return HasButton(buttons, TMsgDlgBtn::mbOK) ? mrOk : mrCancel;
    std::fputs((Str(Ids::IDS_CLI_OverwriteHint) + QLatin1Char('\n')).toLocal8Bit().constData(), stderr);
    return HasButton(buttons, TMsgDlgBtn::mbNo) ? mrNo : mrCancel;
}

int TTerminalDialogs::MessageBox(const QString& text, const QString& caption, TMsgDlgType,
                                 TMsgDlgButtons buttons) {
    return answer(caption, text, buttons);
}

int TTerminalDialogs::MessageDlgCaptions(const QString& message, const QString& title, TMsgDlgType,
                                         const QStringList&, TMsgDlgButtons buttons, TMsgDlgBtn) {
    return answer(title, message, buttons);
}
