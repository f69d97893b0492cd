#include "profiles/editor/valueentry.h"

#include "app/utils.h"
#include "lang/strings.h"

#include <cstdint>

namespace {

int DigitValue(QChar c, int base) {
    int digit = -1;
    if (c >= QLatin1Char('0') && c <= QLatin1Char('9'))
        digit = c.unicode() - '0';
    else if (base == 16 && c.toLower() >= QLatin1Char('a') && c.toLower() <= QLatin1Char('f'))
        digit = c.toLower().unicode() - 'a' + 10;
    return digit;
}

} // namespace

TIntegerText ReadIntegerText(const QString& text) {
    const int n = static_cast<int>(text.size());
    if (n == 0)
        return {std::nullopt, 1};
    int i = 0;
    while (i < n && text[i] == QLatin1Char(' '))
        ++i;
    bool negative = false;
    if (i < n && (text[i] == QLatin1Char('-') || text[i] == QLatin1Char('+')))
        negative = text[i++] == QLatin1Char('-');
    int base = 10;
    if (i < n && text[i] == QLatin1Char('$')) {
        base = 16;
        ++i;
    } else if (i + 1 < n && text[i] == QLatin1Char('0') && text[i + 1].toLower() == QLatin1Char('x')) {
        base = 16;
        i += 2;
    }
    if (i >= n)
        return {std::nullopt, i + 1};
    // Decimal numbers must fit a signed 32-bit integer; hexadecimal ones its 32 bits.
    const uint64_t limit = base == 16 ? 0xFFFFFFFFull : (negative ? 2147483648ull : 2147483647ull);
    uint64_t value = 0;
    for (; i < n; ++i) {
        const int digit = DigitValue(text[i], base);
        if (digit < 0)
            return {std::nullopt, i + 1};
        value = value * base + digit;
        if (value > limit)
            return {std::nullopt, i + 1};
    }
    const auto bits = static_cast<uint32_t>(value);
    const int32_t number = static_cast<int32_t>(negative ? 0u - bits : bits);
    return {number, 0};
}

TValueCheck CheckEnteredValue(const QString& text, int minimum, int maximum) {
    const TIntegerText read = ReadIntegerText(text);
    if (!read.Value)
        return {std::nullopt, FormatStr(Str(Ids::IDS_INVAILD_VALUE), {QString::number(read.ErrorPosition)}),
                Str(Ids::IDS_INVAILD_VALUE_TITLE)};
    if (*read.Value < minimum || *read.Value > maximum)
        return {std::nullopt,
                FormatStr(Str(Ids::IDS_INVAILD_VALUE_BETWEEN),
                          {QString::number(minimum), QString::number(maximum)}),
                Str(Ids::IDS_INVAILD_VALUE_BETWEEN_TITLE)};
    return {read.Value, {}, {}};
}
