// Conversions between milliseconds and the program's time texts (h:mm:ss.zzz).
#include "app/utils.h"

#include <QRegularExpression>

#include <algorithm>
#include <cmath>
#include <limits>

namespace {

// A whole decimal integer; 0 when empty or not an integer.
int wholeOr0(const QString& piece) {
    bool ok = false;
    const int v = piece.trimmed().toInt(&ok, 10);
    return ok ? v : 0;
}

bool onlyChars(const QString& text, const QString& allowed) {
    for (QChar c : text) {
        if ((c < QLatin1Char('0') || c > QLatin1Char('9')) && !allowed.contains(c))
            return false;
    }
    return true;
}

} // namespace

int64_t HmsToMs(int hours, int minutes, double seconds) {
    double ms = seconds * 1000.0;
    if (!std::isfinite(ms))
        ms = 0;
    // Round to nearest, ties to even (62.5 ms gives 62), within the 64-bit range.
    const double limit = 9.0e18;
    ms = std::clamp(ms, -limit, limit);
    const int64_t rounded = static_cast<int64_t>(std::nearbyint(ms));
    return int64_t(hours) * 3600000 + int64_t(minutes) * 60000 + rounded;
}

int64_t HmszToMs(int hours, int minutes, int seconds, int milliseconds) {
    // Summed in 64 bits: a 32-bit sum would turn long times (over about 596 hours) negative.
    return int64_t(hours) * 3600000 + int64_t(minutes) * 60000 + int64_t(seconds) * 1000 + milliseconds;
}

TSplitTime SplitMs(int64_t ms) {
    const int64_t s = ms / 1000;
    TSplitTime t;
    t.hours = s / 3600;
    t.minutes = int((s % 3600) / 60);
    t.seconds = int(s % 60);
    t.milliseconds = int(ms % 1000);
    return t;
}

QString MsToTimeText(int64_t ms) {
    const TSplitTime t = SplitMs(ms);
    return QString::asprintf("%.1lld:%.2d:%.2d.%.3d", static_cast<long long>(t.hours), t.minutes, t.seconds,
                             t.milliseconds);
}

int64_t TimeTextToMs(const QString& text) {
    if (text.isEmpty())
        return -1;
    const int colons = CountOf(text, QLatin1Char(':'));
    const int dots = CountOf(text, QLatin1Char('.'));
    const qsizetype dot = text.indexOf(QLatin1Char('.'));
    const qsizetype lastColon = text.lastIndexOf(QLatin1Char(':'));

    // Splits "a:b:c.f" into the colon pieces before the "." and the milliseconds after it.
    const QString beforeDot = dot < 0 ? text : text.left(dot);
    const int fraction = dot < 0 ? 0 : wholeOr0(text.mid(dot + 1));
    const QStringList p = SplitText(beforeDot, QStringLiteral(":"));

    if (onlyChars(text, QStringLiteral(".:")) && dots == 1 && lastColon < dot) {
        if (colons == 2)
            return HmszToMs(wholeOr0(p[0]), wholeOr0(p[1]), wholeOr0(p[2]), fraction);
        if (colons == 1)
            return HmszToMs(0, wholeOr0(p[0]), wholeOr0(p[1]), fraction);
    }
    if (onlyChars(text, QStringLiteral(".")) && dots == 1)
        return HmszToMs(0, 0, wholeOr0(p[0]), fraction);
    if (onlyChars(text, QString()))
        return HmszToMs(0, 0, wholeOr0(text), 0);
    if (onlyChars(text, QStringLiteral(":"))) {
        if (colons == 1)
            return HmszToMs(0, wholeOr0(p[0]), wholeOr0(p[1]), 0);
        if (colons == 2)
            return HmszToMs(wholeOr0(p[0]), wholeOr0(p[1]), wholeOr0(p[2]), 0);
    }
    return -1;
}

bool IsTimeText(const QString& text) {
    static const QRegularExpression shape(
        QStringLiteral("\\A(\\d{1,6}:)?(\\d{1,2}:)?\\d{1,2}(\\.\\d{1,6})?\\z|\\A\\d{1,9}(\\.\\d{1,6})?\\z"));
    return shape.match(text).hasMatch();
}

int64_t ClockTextToMs(const QString& text) {
    const QStringList pieces = SplitText(text, QStringLiteral(":"));
    // Three pieces are hours, minutes and seconds; fewer are read from the right (seconds last).
    const qsizetype n = pieces.size();
    const int offset = n >= 3 ? 0 : int(3 - n);
    auto piece = [&](int i) { return i - offset >= 0 && i - offset < n ? pieces[i - offset] : QString(); };
    bool ok = false;
    double seconds = piece(2).trimmed().toDouble(&ok);
    if (!ok)
        seconds = 0;
    return HmsToMs(wholeOr0(piece(0)), wholeOr0(piece(1)), seconds);
}
