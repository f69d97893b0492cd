#pragma once
// Profile key tables: for each settings record, the list of its keys in file order, each with its
// kind, its default and the field it fills. One generic defaults, load and save works over any
// table; the per-format tables are in keytables.cpp.
#include "app/inifile.h"
#include "lang/strings.h"

#include <QString>

#include <cstdint>
#include <functional>
#include <variant>
#include <vector>

// The section that holds every key of a profile file.
inline const QString ProfileSection = QStringLiteral("General");

// Kinds of profile values, in the order of the alternatives of TFieldRef and TKeyValue.
enum class TKeyKind { Text, Boolean, Index, Integer };

// The field a key fills: text, Boolean, one-byte index or 32-bit integer.
using TFieldRef = std::variant<QString*, bool*, uint8_t*, int32_t*>;
using TKeyValue = std::variant<QString, bool, uint8_t, int32_t>;

// Marks the one default that is not fixed: the current language's "No Description" text.
struct TNoDescription {};

template <class R> struct TKeyDef {
    QString Name;
    std::function<TFieldRef(R&)> Field;
    TKeyValue Default;
    bool DefaultIsNoDescription = false;

    TKeyKind Kind() const { return static_cast<TKeyKind>(Default.index()); }
};

template <class R> using TKeyTable = std::vector<TKeyDef<R>>;

// The key table of a record type (specialised for the records in keytables.cpp).
template <class R> const TKeyTable<R>& KeyTable();

// Sets every field to its default.
template <class R> void DefaultSettings(R& record) {
    for (const TKeyDef<R>& key : KeyTable<R>()) {
        std::visit(
            [&](auto* field) {
                using T = std::remove_pointer_t<decltype(field)>;
                if constexpr (std::is_same_v<T, QString>)
                    *field =
                        key.DefaultIsNoDescription ? Str(Ids::IDS_NO_DESCRIPTION) : std::get<T>(key.Default);
                else
                    *field = std::get<T>(key.Default);
            },
            key.Field(record));
    }
}

// Defaults first, then every key of the table read from the file with the field's default as
// fallback. A missing file, a missing key or an unreadable value leaves the default. Indexes keep
// the low byte of the stored integer.
template <class R> void LoadSettings(R& record, const QString& fileName) {
    DefaultSettings(record);
    const TIniFile ini(fileName);
    for (const TKeyDef<R>& key : KeyTable<R>()) {
        std::visit(
            [&](auto* field) {
                using T = std::remove_pointer_t<decltype(field)>;
                if constexpr (std::is_same_v<T, QString>)
                    *field = ini.ReadString(ProfileSection, key.Name, *field);
                else if constexpr (std::is_same_v<T, bool>)
                    *field = ini.ReadBool(ProfileSection, key.Name, *field);
                else if constexpr (std::is_same_v<T, uint8_t>)
                    *field = static_cast<uint8_t>(ini.ReadInteger(ProfileSection, key.Name, *field) & 0xFF);
                else
                    *field = ini.ReadInteger(ProfileSection, key.Name, *field);
            },
            key.Field(record));
    }
}

// A text value written as one line: line breaks would end the value and turn the rest into
// stray lines of the file, so they become blanks.
QString ProfileTextValue(const QString& text);

// Writes every key of the table under "General", in table order, keeping the file's other keys
// and sections, and replaces the file in one step. Raises EVaridError when it cannot be written.
template <class R> void SaveSettings(const R& record, const QString& fileName) {
    TIniFile ini(fileName);
    // The accessors hand out mutable pointers; the fields are only read here.
    R& fields = const_cast<R&>(record);
    for (const TKeyDef<R>& key : KeyTable<R>()) {
        std::visit(
            [&](auto* field) {
                using T = std::remove_pointer_t<decltype(field)>;
                if constexpr (std::is_same_v<T, QString>)
                    ini.WriteString(ProfileSection, key.Name, ProfileTextValue(*field));
                else if constexpr (std::is_same_v<T, bool>)
                    ini.WriteBool(ProfileSection, key.Name, *field);
                else
                    ini.WriteInteger(ProfileSection, key.Name, *field);
            },
            key.Field(fields));
    }
    ini.UpdateFile();
}

// The key names of a record type, in file order.
template <class R> QStringList KeyNames() {
    QStringList names;
    for (const TKeyDef<R>& key : KeyTable<R>())
        names << key.Name;
    return names;
}
