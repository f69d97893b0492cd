// Converts a short clip with the options text of every shipped profile, built the way the
// converter builds it, and has MediaInfo read each result: a preset the engine cannot carry out,
// or one that gives another container or codec than its format, fails here.
#include "engine_fixture.h"

#include "app/paths.h"
#include "profiles/catalogue.h"
#include "profiles/optiondetails.h"

#include <QFileInfo>
#include <QHash>
#include <QRegularExpression>

#include <ostream>

namespace avtest {
namespace {

struct PresetCase {
    std::string name; // "<folder word>_<profile name>", blanks and signs as "_"
    int formatIndex;
    QString profile;
};
void PrintTo(const PresetCase& c, std::ostream* os) {
    *os << c.name;
}

// What MediaInfo must report for a format: the container (and the start of its profile, where
// containers share a format) of a video format, the codec (and, for MPEG audio, the layer) of an
// audio format.
struct Expected {
    const char* container;
    const char* containerProfile;
    const char* audioFormat;
    const char* audioProfile;
};
Expected ExpectedFor(const QString& folderWord) {
    static const QHash<QString, Expected> table = {
        {"avi", {"AVI", "", "", ""}},
        {"mp4", {"MPEG-4", "", "", ""}},
        {"3gp", {"MPEG-4", "3GPP Media", "", ""}},
        {"mpg", {"MPEG-PS", "", "", ""}},
        {"mov", {"MPEG-4", "QuickTime", "", ""}},
        {"wmv", {"Windows Media", "", "", ""}},
        {"rm", {"RealMedia", "", "", ""}},
        {"swf", {"ShockWave", "", "", ""}},
        {"vob", {"MPEG-PS", "", "", ""}},
        {"asf", {"Windows Media", "", "", ""}},
        {"aac", {"", "", "AAC", ""}},
        {"ac3", {"", "", "AC-3", ""}},
        {"mp2", {"", "", "MPEG Audio", "Layer 2"}},
        {"mp3", {"", "", "MPEG Audio", "Layer 3"}},
        {"amr", {"", "", "AMR", ""}},
        {"wav", {"", "", "PCM", ""}},
        {"mkv", {"Matroska", "", "", ""}},
        {"webm", {"WebM", "", "", ""}},
        {"m4a", {"", "", "", ""}}, // AAC or ALAC, by profile
        {"flac", {"", "", "FLAC", ""}},
        {"opus", {"", "", "Opus", ""}},
        {"ogg", {"", "", "Vorbis", ""}},
    };
    return table.value(folderWord, {"?", "", "?", ""});
}

// Points the profile folders at the source tree's English profiles, as the converter does for
// langs/English.ini beside it.
void UseShippedProfiles() {
    LanguageFileName = QStringLiteral(VARID_SOURCE_DIR "/langs/English.ini");
    InitProfileFolders();
}

// One case per profile file found in the shipped folders at run time.
std::vector<PresetCase> PresetCases() {
    UseShippedProfiles();
    static const QRegularExpression notWordChars(QStringLiteral("[^A-Za-z0-9]+"));
    std::vector<PresetCase> cases;
    for (const TFormatInfo& format : FormatCatalogue()) {
        for (const QString& profile : ProfileNames(format.Index)) {
            QString name = format.FolderWord + '_' + profile;
            name.replace(notWordChars, QStringLiteral("_"));
            if (name.endsWith('_'))
                name.chop(1);
            cases.push_back({name.toStdString(), format.Index, profile});
        }
    }
    if (cases.empty())
        ADD_FAILURE() << "no profile files under " << VARID_SOURCE_DIR "/langs/English_Profile";
    return cases;
}

class EnginePresets : public EngineTest, public ::testing::WithParamInterface<PresetCase> {};

TEST_P(EnginePresets, ConvertToTheirFormat) {
    const PresetCase& c = GetParam();
    UseShippedProfiles();
    const TFormatInfo& format = *FormatInfo(c.formatIndex);
    const QString options = GetProfileOptions(c.formatIndex, c.profile);
    ASSERT_FALSE(options.trimmed().isEmpty());
    const QString output = Out("out" + OutputExtension(c.formatIndex, c.profile));

    const EngineResult run = RunEngine(EngineArgs(Sources::Get().AudioVideo(), options, output));
    ASSERT_EQ(run.exitCode, 0) << options.toStdString() << "\n" << run.text.toStdString();
    EXPECT_TRUE(run.ErrorLines().isEmpty()) << run.text.toStdString();
    ASSERT_GT(QFileInfo(output).size(), 0) << options.toStdString();

    const MediaInfoFacts info = ReadMediaInfo(output);
    ASSERT_TRUE(info.ok) << "MediaInfo could not read the output of " << options.toStdString();
    const Expected expected = ExpectedFor(format.FolderWord);
    if (format.Kind == TFormatKind::Video) {
        EXPECT_EQ(info.general.toStdString(), expected.container) << options.toStdString();
        // A 3GP profile of the 3GPP2 form writes a .3g2 file, which must be one.
        const QString profile = output.endsWith(".3g2") ? "3GPP2 Media" : expected.containerProfile;
        EXPECT_TRUE(profile.isEmpty() || info.generalProfile.startsWith(profile))
            << info.generalProfile.toStdString() << " from " << options.toStdString();
        EXPECT_FALSE(info.video.empty()) << options.toStdString();
    } else {
        ASSERT_EQ(info.audio.size(), 1u) << options.toStdString();
        EXPECT_TRUE(info.audio[0].format.startsWith(expected.audioFormat))
            << info.audio[0].format.toStdString() << " from " << options.toStdString();
        if (*expected.audioProfile) {
            EXPECT_EQ(info.audio[0].profile.toStdString(), expected.audioProfile) << options.toStdString();
        }
        EXPECT_TRUE(info.video.empty()) << options.toStdString();
    }
}

INSTANTIATE_TEST_SUITE_P(Shipped, EnginePresets, ::testing::ValuesIn(PresetCases()),
                         [](const ::testing::TestParamInfo<PresetCase>& info) { return info.param.name; });

} // namespace
} // namespace avtest
