// The INI reader and writer on any file content: every section and key reads without harm, a read
// value is at most 2047 characters, and a value written, saved and read again comes back as one
// line (line breaks as blanks, outer blanks trimmed).
#include "app/inifile.h"
#include "fuzz_support.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const QString path = FuzzProgramFolder() + QStringLiteral("fuzz.ini");
    WriteFuzzFile(path, data, size);
    TIniFile ini(path);
    for (const QString& section : ini.ReadSections()) {
        FUZZ_CHECK(ini.SectionExists(section) || section != section.trimmed());
        for (const auto& [key, value] : ini.ReadSectionValues(section)) {
            FUZZ_CHECK(value.size() <= TIniFile::MaxValueLength);
            ini.ReadInteger(section, key, 0);
        }
    }
    // The first line of the input, as a value written into a section the input may also hold.
    const QString text = QString::fromUtf8(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    QString value = text.left(200);
    if (!value.isEmpty() && value.back().isHighSurrogate())
        value.chop(1); // not cut inside a character
    ini.WriteString(QStringLiteral("Fuzz"), QStringLiteral("Key"), value);
    ini.UpdateFile();
    QString expected = value;
    expected.replace(QLatin1Char('\r'), QLatin1Char(' ')).replace(QLatin1Char('\n'), QLatin1Char(' '));
    expected = expected.trimmed();
    const QString reread =
        TIniFile(path).ReadString(QStringLiteral("Fuzz"), QStringLiteral("Key"), QString());
    FUZZ_CHECK(reread == expected);
    return 0;
}
