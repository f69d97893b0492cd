#pragma once
// The check of the value-entry dialog: a whole number typed as text, within a range.
#include <QString>

#include <optional>

// Reads a signed 32-bit integer by the usual integer text rules: leading blanks, an optional sign,
// then decimal digits, or hexadecimal digits after "$" or "0x"; nothing may follow. The result is
// the number, or the 1-based position of the first character that could not be read (1 for an
// empty text; one past the end when the text stops too early).
struct TIntegerText {
    std::optional<int> Value;
    int ErrorPosition = 0;
};
TIntegerText ReadIntegerText(const QString& text);

// The verdict on a typed value: the number when it is valid and within minimum..maximum, else the
// message and caption to show.
struct TValueCheck {
    std::optional<int> Value;
    QString Message;
    QString Caption;
};
TValueCheck CheckEnteredValue(const QString& text, int minimum, int maximum);
