#include "terminal_dialogs.h"

#include "lang/strings.h"

#include <QRegularExpression>

#include <cstdio>

namespace {

void printMessage(const QString& caption, const QString& text) {
    // One line on the terminal: every run of line breaks becomes one blank.
    static const QRegularExpression breaks(QStringLiteral("[\r\n]+"));
    const QString flat = QString(text).replace(breaks, QStringLiteral(" "));
    const QString line = caption.isEmpty() ? flat : caption + QStringLiteral(": ") + flat;
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
