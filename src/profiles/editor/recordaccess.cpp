#include "profiles/editor/recordaccess.h"

#include "app/errors.h"
#include "profiles/profiles.h"

namespace {

template <class R> std::map<QString, TFieldRef> FieldsOf(R& record) {
    std::map<QString, TFieldRef> fields;
    for (const TKeyDef<R>& key : KeyTable<R>())
        fields.emplace(key.Name.toLower(), key.Field(record));
    return fields;
}

std::map<QString, TFieldRef> FieldsOfFormat(int formatIndex) {
    int index = 0;
#define VARID_FIELDS_OF(W)                                                                                   \
    if (index++ == formatIndex)                                                                              \
        return FieldsOf(W##Settings);
    VARID_PROFILE_FORMATS(VARID_FIELDS_OF)
#undef VARID_FIELDS_OF
    throw EVaridError(QStringLiteral("No output format %1").arg(formatIndex));
}

} // namespace

TRecordAccess::TRecordAccess(int formatIndex) : m_fields(FieldsOfFormat(formatIndex)) {}

TFieldRef TRecordAccess::Field(const QString& key) const {
    const auto found = m_fields.find(key.toLower());
    if (found == m_fields.end())
        throw EVaridError(QStringLiteral("No profile key %1").arg(key));
    return found->second;
}

QString TRecordAccess::Text(const QString& key) const {
    return *std::get<QString*>(Field(key));
}

bool TRecordAccess::Bool(const QString& key) const {
    return *std::get<bool*>(Field(key));
}

int TRecordAccess::Int(const QString& key) const {
    const TFieldRef field = Field(key);
    if (auto* index = std::get_if<uint8_t*>(&field))
        return **index;
    return *std::get<int32_t*>(field);
}

void TRecordAccess::SetText(const QString& key, const QString& value) {
    *std::get<QString*>(Field(key)) = value;
}

void TRecordAccess::SetBool(const QString& key, bool value) {
    *std::get<bool*>(Field(key)) = value;
}

void TRecordAccess::SetInt(const QString& key, int value) {
    const TFieldRef field = Field(key);
    if (auto* index = std::get_if<uint8_t*>(&field))
        **index = static_cast<uint8_t>(value & 0xFF);
    else
        *std::get<int32_t*>(field) = value;
}
