#include "terminal_text.h"

#include <QRegularExpression>

QString TerminalLine(const QString& text) {
    QString line = text;
    for (QChar& c : line) {
        const char16_t u = c.unicode();
        if ((u < 0x20 && u != '\t') || (u >= 0x7f && u < 0xa0))
            c = QLatin1Char('?');
    }
    return line;
}

QString TerminalMessage(const QString& text) {
    static const QRegularExpression breaks(QStringLiteral("[\r\n]+"));
    return TerminalLine(QString(text).replace(breaks, QStringLiteral(" ")));
}
