#pragma once
// The string table: one text per identifier, English defaults built in, replaced by a language file.
#include <QString>

enum class Ids {
#define X(id, key, text) id,
#include "lang/string_keys.inc"
#undef X
    Count
};

constexpr int IdsCount = static_cast<int>(Ids::Count);

// The current text of an identifier.
const QString& Str(Ids id);
// Replaces the current text of an identifier (language loading).
void SetStr(Ids id, const QString& text);
// The key name of an identifier as stored in language files (may end in a blank).
QString StrKeyName(Ids id);
// The built-in English default of an identifier.
QString StrDefault(Ids id);
// Puts every text back to its English default.
void ResetStringTable();
