// The language loader on any language file: it loads or refuses with its message; a refused file
// leaves the texts as they were, and one without AviSynth extensions also the input filters.
#include "app/scripted_dialogs.h"
#include "fuzz_support.h"
#include "lang/multilanguages.h"
#include "lang/strings.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static TScriptedDialogs dialogs;
    dialogs.shown.clear();
    LanguageFileName = FuzzProgramFolder() + QStringLiteral("langs/Fuzz.ini");
    WriteFuzzFile(LanguageFileName, data, size);
    ResetStringTable();
    AvsExtensions = {QStringLiteral(".avs")};
    InputFilters = {QStringLiteral("Video=*.avi")};
    const QString before = Str(Ids::IDS_None);
    if (LoadLanguage()) {
        FUZZ_CHECK(!AvsExtensions.isEmpty() && !InputFilters.isEmpty());
    } else {
        FUZZ_CHECK(dialogs.shown.size() == 1);
        FUZZ_CHECK(Str(Ids::IDS_None) == before);
        FUZZ_CHECK(!AvsExtensions.isEmpty() || InputFilters == QStringList{QStringLiteral("Video=*.avi")});
    }
    return 0;
}
