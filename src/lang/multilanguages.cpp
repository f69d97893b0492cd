#include "lang/multilanguages.h"

#include "app/dialogs.h"
#include "app/errors.h"
#include "app/inifile.h"
#include "app/paths.h"
#include "app/utils.h"
#include "lang/kelmultilanguages.h"
#include "lang/strings.h"

#include <QFileInfo>

QStringList AvsExtensions;
QStringList InputFilters;

namespace {

void plainMessage(Ids text) {
    Dialogs().MessageBox(Str(text), ApplicationTitle, TMsgDlgType::mtCustom,
                         static_cast<unsigned>(TMsgDlgBtn::mbOK));
}

} // namespace

void WriteDefaultLanguage() {
    TIniFile ini(LanguageFileName);
    for (int i = 0; i < IdsCount; ++i) {
        const Ids id = static_cast<Ids>(i);
        ini.WriteString(LanguageSection, StrKeyName(id), ConvertLineBreaks(Str(id), false));
    }
    try {
        ini.UpdateFile();
    } catch (const EVaridError&) {
        // A language file that cannot be written is not reported; the load that follows finds no
        // extension list and says so.
    }
}

bool LoadLanguage() {
    if (!QFileInfo::exists(LanguageFileName))
        WriteDefaultLanguage();
    const TIniFile ini(LanguageFileName);

    // The AviSynth extensions: keys 1, 2, 3, ... up to the first missing one (or one holding the
    // "<None>" text).
    const QString none = Str(Ids::IDS_None);
    AvsExtensions.clear();
    for (int n = 1;; ++n) {
        const QString value = ini.ReadString(AvsExtSection, QString::number(n), none);
        if (value == none)
            break;
        AvsExtensions << value;
    }
    if (AvsExtensions.isEmpty()) {
        plainMessage(Ids::IDS_NoAVSExtersionAllow);
        return false;
    }

    InputFilters.clear();
    for (const auto& [key, value] : ini.ReadSectionValues(FiltersSection))
        InputFilters << key + QLatin1Char('=') + value;
    if (InputFilters.isEmpty()) {
        plainMessage(Ids::IDS_NoInputFilesAllow);
        return false;
    }

    for (int i = 0; i < IdsCount; ++i) {
        const Ids id = static_cast<Ids>(i);
        SetStr(id, ConvertLineBreaks(ini.ReadString(LanguageSection, StrKeyName(id), Str(id)), true));
    }
    return true;
}

bool SwitchLanguage(TKelMultiLanguages& languages, const QString& caption) {
    for (int i = 0; i < languages.Count; ++i) {
        if (languages.LanguageNameAt(i).compare(caption, Qt::CaseInsensitive) == 0)
            languages.SelectLanguage(i);
    }
    if (languages.Count > 0)
        LanguageFileName = languages.LanguageFileAt(languages.SelectedIndex);
    try {
        TIniFile config(ConfigFileName);
        config.WriteString(ConfigSection, LanguageFileKey, QFileInfo(LanguageFileName).fileName());
        config.UpdateFile();
    } catch (const EVaridError& e) {
        Dialogs().MessageBox(e.message(), ApplicationTitle, TMsgDlgType::mtError,
                             static_cast<unsigned>(TMsgDlgBtn::mbOK));
        return false;
    }
    LoadLanguage();
    return true;
}
