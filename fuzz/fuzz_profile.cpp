// The profile loader and the options builders on any profile file: the first byte picks the format,
// the rest is the file. Whatever the file holds, the options text the engine gets names no other
// input and stays within what a profile can ask for.
#include "engine/cmdline.h"
#include "fuzz_support.h"
#include "profiles/catalogue.h"
#include "profiles/optiondetails.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size == 0)
        return 0;
    static const bool ready = [] {
        FuzzProgramFolder();
        InitProfileFolders();
        return CreateProfileFolders();
    }();
    FUZZ_CHECK(ready);
    const int format = data[0] % FormatCount;
    WriteFuzzFile(ProfileFileName(format, QStringLiteral("fuzz")), data + 1, size - 1);
    const QString options = GetProfileOptions(format, QStringLiteral("fuzz"));
    for (const QString& argument : SplitCommandLine(options)) {
        FUZZ_CHECK(argument != QLatin1String("-i"));
        FUZZ_CHECK(!argument.contains(QLatin1Char('"')));
    }
    return 0;
}
