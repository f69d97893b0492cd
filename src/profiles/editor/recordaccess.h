#pragma once
// The fields of a format's current settings record, reached by their profile key names through
// the format's key table. The editors bind controls to key names; this is the only place that
// knows which record a format index stands for.
#include "profiles/keytable.h"

#include <QString>

#include <map>

class TRecordAccess {
  public:
    // The current record of a format; throws EVaridError for an unknown format.
    explicit TRecordAccess(int formatIndex);

    bool Has(const QString& key) const { return m_fields.count(key.toLower()) != 0; }
    QString Text(const QString& key) const;
    bool Bool(const QString& key) const;
    // Index and integer fields; an index reads 0..255.
    int Int(const QString& key) const;

    void SetText(const QString& key, const QString& value);
    void SetBool(const QString& key, bool value);
    // An index field keeps the low byte, so an empty selection (-1) is stored as 255.
    void SetInt(const QString& key, int value);

  private:
    TFieldRef Field(const QString& key) const;
    std::map<QString, TFieldRef> m_fields; // by lower-case key name
};
