// Opening a shipped Default profile in its editor and saving it without changes keeps every key
// value, except where the editor's rules change a value it cannot show, and adds the keys the file
// lacks with their defaults.
#include "editor_fixture.h"

namespace {

struct RoundTrip {
    int Format;
    // Keys whose saved value differs from the shipped file, with the value saved.
    std::map<QString, QString> Changed;
};

void PrintTo(const RoundTrip& trip, std::ostream* os) {
    *os << FormatInfo(trip.Format)->Format.toStdString();
}

// A preset bitrate that is not in the track bar's table is shown at the track bar's start
// position and saved as that entry: 3GP video starts at position 2 (128 kbps), the MPEG DVD audio
// track bar at position 6 (160 kbps).
const RoundTrip Tgp{2,
                    {{QStringLiteral("VideoBitRatePresetDivX"), QStringLiteral("128")},
                     {QStringLiteral("VideoBitRatePresetXviD"), QStringLiteral("128")},
                     {QStringLiteral("VideoBitRatePresetH263"), QStringLiteral("128")}}};
const RoundTrip Mpeg{3, {{QStringLiteral("DVDAudioBitRatePreset"), QStringLiteral("160")}}};

class RoundTripTest : public EditorTest, public ::testing::WithParamInterface<RoundTrip> {};

TEST_P(RoundTripTest, SavingUnchangedKeepsTheKeyValues) {
    const RoundTrip& param = GetParam();
    const auto before = Values(ProfileFileName(param.Format, QStringLiteral("Default")));
    auto model = Open(param.Format);
    const auto after = Save(*model, param.Format);
    ASSERT_FALSE(before.empty());
    for (const auto& [key, value] : before) {
        ASSERT_TRUE(after.count(key)) << key.toStdString();
        const auto changed = param.Changed.find(key);
        const QString expected = changed == param.Changed.end() ? value : changed->second;
        EXPECT_EQ(after.at(key), expected) << key.toStdString();
    }
    // Keys the shipped file lacks (MP4's and MOV's H.265 keys, added after their profiles were
    // written) are saved with their defaults, and no other key appears.
    const QString defaults = folder.file(QStringLiteral("defaults.ini"));
    QFile::remove(defaults);
    FormatInfo(param.Format)->Defaults();
    FormatInfo(param.Format)->Save(defaults);
    const auto defaultValues = Values(defaults);
    ASSERT_EQ(after.size(), defaultValues.size());
    for (const auto& [key, value] : after) {
        if (!before.count(key)) {
            EXPECT_EQ(value, defaultValues.at(key)) << key.toStdString();
        }
    }
}

INSTANTIATE_TEST_SUITE_P(EveryFormat, RoundTripTest,
                         ::testing::Values(RoundTrip{0, {}}, RoundTrip{1, {}}, Tgp, Mpeg, RoundTrip{4, {}},
                                           RoundTrip{5, {}}, RoundTrip{6, {}}, RoundTrip{7, {}},
                                           RoundTrip{8, {}}, RoundTrip{9, {}}, RoundTrip{10, {}},
                                           RoundTrip{11, {}}, RoundTrip{12, {}}, RoundTrip{13, {}},
                                           RoundTrip{14, {}}, RoundTrip{15, {}}),
                         [](const auto& info) {
                             return FormatInfo(info.param.Format)->FolderWord.toStdString();
                         });

} // namespace
