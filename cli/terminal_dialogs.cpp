#include "terminal_dialogs.h"

#include <cstdio>

namespace {

void printMessage(const QString& caption, const QString& text) {
    QString flat = text;
    flat.replace(QStringLiteral("\r\n\r\n"), QStringLiteral(" "))
        .replace(QStringLiteral("\r\n"), QStringLiteral(" "));
    const QString line = caption.isEmpty() ? flat : caption + QStringLiteral(": ") + flat;
    std::fputs((line + QLatin1Char('\n')).toLocal8Bit().constData(), stderr);
    std::fflush(stderr);
}

} // namespace

int TTerminalDialogs::answer(const QString& text, TMsgDlgButtons buttons) {
    m_shown << text;
    if (!HasButton(buttons, TMsgDlgBtn::mbYes))
        return HasButton(buttons, TMsgDlgBtn::mbOK) ? mrOk : mrCancel;
    if (m_overwrite)
        return mrYes;
    std::fputs("Not replacing existing files: give --overwrite to replace them.\n", stderr);
    return HasButton(buttons, TMsgDlgBtn::mbNo) ? mrNo : mrCancel;
}

int TTerminalDialogs::MessageBox(const QString& text, const QString& caption, TMsgDlgType,
                                 TMsgDlgButtons buttons) {
    printMessage(caption, text);
    return answer(text, buttons);
}

int TTerminalDialogs::MessageDlgCaptions(const QString& message, const QString& title, TMsgDlgType,
                                         const QStringList&, TMsgDlgButtons buttons) {
    printMessage(title, message);
    return answer(message, buttons);
}
