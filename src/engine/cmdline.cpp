#include "engine/cmdline.h"

namespace {

bool IsBlank(QChar c) {
    return c == u' ' || c == u'\t';
}

qsizetype CountBackslashes(const QString& text, qsizetype from) {
    qsizetype end = from;
    while (end < text.size() && text[end] == u'\\')
        ++end;
    return end - from;
}

} // namespace

QStringList SplitCommandLine(const QString& commandLine) {
    QStringList arguments;
    QString current;
    bool inArgument = false;
    bool inQuotes = false;
    const qsizetype n = commandLine.size();
    qsizetype i = 0;
    while (i < n) {
        const QChar c = commandLine[i];
        if (!inQuotes && IsBlank(c)) {
            if (inArgument) {
                arguments << current;
                current.clear();
                inArgument = false;
            }
            ++i;
            continue;
        }
        inArgument = true;
        if (c == u'\\') {
            const qsizetype slashes = CountBackslashes(commandLine, i);
            i += slashes;
            if (i < n && commandLine[i] == u'"') {
                current += QString(slashes / 2, u'\\');
                if (slashes % 2 == 1) {
                    current += u'"';
                    ++i;
                }
                // With an even count the quote is handled by the next pass as a group quote.
            } else {
                current += QString(slashes, u'\\');
            }
            continue;
        }
        if (c == u'"') {
            if (inQuotes && i + 1 < n && commandLine[i + 1] == u'"') {
                current += u'"';
                i += 2;
            } else {
                inQuotes = !inQuotes;
                ++i;
            }
            continue;
        }
        current += c;
        ++i;
    }
    if (inArgument)
        arguments << current;
    return arguments;
}

QString QuoteArgument(const QString& argument) {
    QString quoted;
    quoted.reserve(argument.size() + 2);
    quoted += u'"';
    const qsizetype n = argument.size();
    qsizetype i = 0;
    while (i < n) {
        const qsizetype slashes = CountBackslashes(argument, i);
        i += slashes;
        if (i == n) {
            // Doubled, so that the closing quote stays a group quote.
            quoted += QString(slashes * 2, u'\\');
        } else if (argument[i] == u'"') {
            quoted += QString(slashes * 2 + 1, u'\\');
            quoted += u'"';
            ++i;
        } else {
            quoted += QString(slashes, u'\\');
            quoted += argument[i];
            ++i;
        }
    }
    quoted += u'"';
    return quoted;
}

QString JoinCommandLine(const QStringList& arguments) {
    QStringList quoted;
    quoted.reserve(arguments.size());
    for (const QString& argument : arguments)
        quoted << QuoteArgument(argument);
    return quoted.join(u' ');
}
