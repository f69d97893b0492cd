#include "profiles/profiles.h"

#include "profiles/keytable.h"

QString ProfileTextValue(const QString& text) {
    QString value = text;
    value.replace(QLatin1String("\r\n"), QLatin1String(" "));
    value.replace(QLatin1Char('\r'), QLatin1Char(' '));
    value.replace(QLatin1Char('\n'), QLatin1Char(' '));
    return value;
}

// The current record of each format and its three procedures, thin entries over the generic
// defaults, load and save of keytable.h.
#define VARID_DEFINE_PROFILE_PROCEDURES(W)                                                                   \
    T##W##Settings W##Settings;                                                                              \
    void Default##W##Settings() {                                                                            \
        DefaultSettings(W##Settings);                                                                        \
    }                                                                                                        \
    void Load##W##Settings(const QString& fileName) {                                                        \
        LoadSettings(W##Settings, fileName);                                                                 \
    }                                                                                                        \
    void Save##W##Settings(const QString& fileName) {                                                        \
        SaveSettings(W##Settings, fileName);                                                                 \
    }

VARID_PROFILE_FORMATS(VARID_DEFINE_PROFILE_PROCEDURES)
