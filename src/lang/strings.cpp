#include "lang/strings.h"

#include <array>

namespace {

struct Entry {
    const char* key;
    const char* text;
};

constexpr std::array<Entry, IdsCount> kEntries = {{
#define X(id, key, text) {key, text},
#include "lang/string_keys.inc"
#undef X
}};

std::array<QString, IdsCount>& table() {
    static std::array<QString, IdsCount> texts = [] {
        std::array<QString, IdsCount> t;
        for (int i = 0; i < IdsCount; ++i)
            t[i] = QString::fromUtf8(kEntries[i].text);
        return t;
    }();
    return texts;
}

} // namespace

const QString& Str(Ids id) {
    return table()[static_cast<int>(id)];
}

void SetStr(Ids id, const QString& text) {
    table()[static_cast<int>(id)] = text;
}

QString StrKeyName(Ids id) {
    return QString::fromUtf8(kEntries[static_cast<int>(id)].key);
}

QString StrDefault(Ids id) {
    return QString::fromUtf8(kEntries[static_cast<int>(id)].text);
}

void ResetStringTable() {
    for (int i = 0; i < IdsCount; ++i)
        table()[i] = QString::fromUtf8(kEntries[i].text);
}
