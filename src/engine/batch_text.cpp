#include "engine/batch_text.h"

QString FormatStr(const QString& format, const QStringList& args) {
    QString out;
    out.reserve(format.size() + 32);
    qsizetype next = 0;
    for (qsizetype i = 0; i < format.size(); ++i) {
        const QChar c = format.at(i);
        if (c != QLatin1Char('%') || i + 1 >= format.size()) {
            out += c;
            continue;
        }
        if (format.at(i + 1) == QLatin1Char('%')) {
            out += QLatin1Char('%');
            ++i;
            continue;
        }
        // Skip flags, width and precision, then take the conversion letter.
        qsizetype j = i + 1;
        while (j < format.size() &&
               (format.at(j).isDigit() || QStringLiteral(".-+ #").contains(format.at(j))))
            ++j;
        if (j < format.size() && (format.at(j) == QLatin1Char('s') || format.at(j) == QLatin1Char('d'))) {
            out += args.value(next++);
            i = j;
            continue;
        }
        out += c;
    }
    return out;
}
