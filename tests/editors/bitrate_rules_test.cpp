// Track bars over bitrate tables, the ranges that sample rates and the AC3 channels set, and the
// "Configure" value entry.
#include "editor_fixture.h"

namespace {

using S = QString;

struct StoredBitrate {
    const char* Name;
    int Format;
    const char* Key;
    const char* Stored;
    const char* Track;
    int Position;
    const char* Label;
};

// A stored value searches the table (the last equal entry wins); a value not in the table keeps
// the start position (video 2, audio 4, DVD 6), and a position past the range is shown at its end.
const StoredBitrate StoredBitrates[] = {
    {"AviVideoNotInTable", 0, "VideoBitRatePresetDivX", "1000", "TrackBarVideoBitrateDivX", 2, "128"},
    {"AviVideoInTable", 0, "VideoBitRatePresetDivX", "4600", "TrackBarVideoBitrateDivX", 11, "4600"},
    {"AviMp3NotInTable", 0, "AudioBitRatePresetMp3", "100", "TrackBarAudioBitrateMp3", 4, "64"},
    {"TgpVideoPastRange", 2, "VideoBitRatePresetDivX", "4600", "TrackBarVideoBitrateDivX", 10, "2496"},
    {"AmrNarrowNotInTable", 14, "AudioBitRatePresetArmnb", "7", "TrackBarAudioBitrateArmnb", 4, "11"},
    {"AmrWideNotInTable", 14, "AudioBitRatePresetArmwb", "8", "TrackBarAudioBitrateArmwb", 4, "16"},
    {"DvdVideo", 3, "DVDVideoBitRatePreset", "6000", "TrackBarDVDVideoBitrate", 12, "6000"},
    {"DvdAudioNotInTable", 3, "DVDAudioBitRatePreset", "384", "TrackBarDVDAudioBitrate", 6, "160"},
    {"DvdAudioTwiceInTable", 3, "DVDAudioBitRatePreset", "128", "TrackBarDVDAudioBitrate", 5, "128"},
    {"SwfFlashTableEnd", 7, "VideoBitRatePresetFlv", "3600", "TrackBarVideoBitrateFlv", 11, "3600"},
    {"WmvWindowsTableHasNo9600", 5, "VideoBitRatePresetWmv7", "9600", "TrackBarVideoBitrateWmv7", 2, "128"},
};

void PrintTo(const StoredBitrate& c, std::ostream* os) {
    *os << c.Name;
}

class StoredBitrateTest : public EditorTest, public ::testing::WithParamInterface<StoredBitrate> {};

TEST_P(StoredBitrateTest, ShowsThePositionAndSavesItsEntry) {
    const StoredBitrate& c = GetParam();
    auto model = Open(c.Format, {{S::fromLatin1(c.Key), S::fromLatin1(c.Stored)}});
    const TControl& track = model->C(S::fromLatin1(c.Track));
    EXPECT_EQ(track.Position, c.Position);
    const TControl* label = nullptr;
    for (const TControl& control : model->Controls()) {
        if (control.Buddy == track.Name)
            label = &control;
    }
    ASSERT_NE(label, nullptr);
    // The label beside "Current bitrate:" shows the entry.
    const auto siblings = model->Children(track.Parent);
    const auto value = std::find_if(siblings.begin(), siblings.end(), [&](const TControl* c) {
        return c->Row == label->Row && c->Kind == TControlKind::Label && c->Name != label->Name &&
               c->Text != QStringLiteral("kbps");
    });
    ASSERT_NE(value, siblings.end());
    EXPECT_EQ((*value)->Text, S::fromLatin1(c.Label));
    EXPECT_EQ(Save(*model, c.Format).at(S::fromLatin1(c.Key)), S::fromLatin1(c.Label));
}

INSTANTIATE_TEST_SUITE_P(Tables, StoredBitrateTest, ::testing::ValuesIn(StoredBitrates),
                         [](const auto& info) { return std::string(info.param.Name); });

struct RateRange {
    const char* Name;
    int Format;
    std::map<QString, QString> Stored;
    const char* RateList;
    int RateIndex; // chosen by the user
    const char* Track;
    int Min, Max;
    const char* Key;   // the preset bitrate key
    const char* Saved; // its value after saving
};

const RateRange RateRanges[] = {
    {"AviMp3LowRateCutsTo160",
     0,
     {{"AudioBitRatePresetMp3", "320"}},
     "ComboBoxSampleRateMp3",
     1,
     "TrackBarAudioBitrateMp3",
     1,
     8,
     "AudioBitRatePresetMp3",
     "160"},
    {"AviMp3HighRate",
     0,
     {{"AudioBitRatePresetMp3", "320"}, {"AudioSampleRateMp3", "3"}},
     "ComboBoxSampleRateMp3",
     3,
     "TrackBarAudioBitrateMp3",
     1,
     12,
     "AudioBitRatePresetMp3",
     "320"},
    {"Mp2At24000",
     12,
     {{"AudioBitRatePresetMp2", "384"}},
     "ComboBoxSampleRateMp2",
     1,
     "TrackBarAudioBitrateMp2",
     1,
     8,
     "AudioBitRatePresetMp2",
     "160"},
    {"Mp2At48000",
     12,
     {{"AudioBitRatePresetMp2", "384"}},
     "ComboBoxSampleRateMp2",
     3,
     "TrackBarAudioBitrateMp2",
     1,
     13,
     "AudioBitRatePresetMp2",
     "384"},
    {"AacAt16000",
     10,
     {{"AudioBitRatePresetAACMP4", "256"}},
     "ComboBoxSampleRateAACMp4",
     2,
     "TrackBarAudioBitrateAACMp4",
     1,
     6,
     "AudioBitRatePresetAACMP4",
     "96"},
    {"AacAt32000",
     10,
     {{"AudioBitRatePresetAACMP4", "256"}},
     "ComboBoxSampleRateAACMp4",
     5,
     "TrackBarAudioBitrateAACMp4",
     1,
     10,
     "AudioBitRatePresetAACMP4",
     "192"},
    {"Mp4AacAt11025",
     1,
     {{"AudioBitRatePresetAACMP4", "128"}},
     "ComboBoxSampleRateAACMp4",
     0,
     "TrackBarAudioBitrateAACMp4",
     1,
     5,
     "AudioBitRatePresetAACMP4",
     "64"},
    {"SwfMp3At11025",
     7,
     {{"AudioBitRatePresetMp3", "320"}},
     "ComboBoxSampleRateMp3",
     0,
     "TrackBarAudioBitrateMp3",
     1,
     8,
     "AudioBitRatePresetMp3",
     "160"},
    {"SwfMp3At44100",
     7,
     {{"AudioBitRatePresetMp3", "320"}, {"AudioSampleRateMp3", "2"}},
     "ComboBoxSampleRateMp3",
     2,
     "TrackBarAudioBitrateMp3",
     1,
     12,
     "AudioBitRatePresetMp3",
     "320"},
    {"Ac3HighRateRaisesTheLowEnd",
     11,
     {{"AudioBitRatePresetAC3", "32"}},
     "ComboBoxSampleRateAC3",
     3,
     "TrackBarAudioBitrateAC3",
     2,
     14,
     "AudioBitRatePresetAC3",
     "48"},
};

void PrintTo(const RateRange& c, std::ostream* os) {
    *os << c.Name;
}

// Widening the range later does not move the position back.
TEST_F(EditorTest, WiderRangeKeepsThePosition) {
    auto model = Open(0, {{S("AudioBitRatePresetMp3"), S("320")}, {S("AudioSampleRateMp3"), S("0")}});
    model->UserSelect(S("ComboBoxSampleRateMp3"), 3);
    EXPECT_EQ(model->C(S("TrackBarAudioBitrateMp3")).Max, 12);
    EXPECT_EQ(model->C(S("LabelAudioBitrateMp3")).Text, S("160"));
}

class RateRangeTest : public EditorTest, public ::testing::WithParamInterface<RateRange> {};

TEST_P(RateRangeTest, SampleRateSetsTheRangeAndMovesThePosition) {
    const RateRange& c = GetParam();
    auto model = Open(c.Format, c.Stored);
    model->UserSelect(S::fromLatin1(c.RateList), c.RateIndex);
    const TControl& track = model->C(S::fromLatin1(c.Track));
    EXPECT_EQ(track.Min, c.Min);
    EXPECT_EQ(track.Max, c.Max);
    EXPECT_EQ(Save(*model, c.Format).at(S::fromLatin1(c.Key)), S::fromLatin1(c.Saved));
}

INSTANTIATE_TEST_SUITE_P(Tables, RateRangeTest, ::testing::ValuesIn(RateRanges),
                         [](const auto& info) { return std::string(info.param.Name); });

TEST_F(EditorTest, RangeRuleAppliesOnShowing) {
    // A stored Mp3 bitrate of 320 at 22050 is shown at 160 before the user touches anything.
    auto model = Open(0, {{S("AudioBitRatePresetMp3"), S("320")}, {S("AudioSampleRateMp3"), S("0")}});
    EXPECT_EQ(model->C(S("TrackBarAudioBitrateMp3")).Max, 8);
    EXPECT_EQ(model->C(S("LabelAudioBitrateMp3")).Text, S("160"));
}

TEST_F(EditorTest, Ac3SixChannelsShowFixedRateAndNarrowTheRange) {
    auto model = Open(11, {{S("AudioBitRatePresetAC3"), S("64")},
                           {S("AudioSampleRateAC3"), S("0")},
                           {S("AudioChannelsAC3"), S("1")}});
    ASSERT_EQ(model->C(S("LabelAudioBitrateAC3")).Text, S("64"));
    model->UserSelect(S("ComboBoxAudioChannelsAC3"), 2);
    const TControl& track = model->C(S("TrackBarAudioBitrateAC3"));
    EXPECT_EQ(track.Min, 6);
    EXPECT_EQ(track.Max, 14);
    EXPECT_EQ(model->C(S("LabelAudioBitrateAC3")).Text, S("112"));
    EXPECT_TRUE(model->C(S("GroupBoxSampleRateAC3_6Channels")).Front);
    EXPECT_FALSE(model->C(S("GroupBoxSampleRateAC3")).Front);
    EXPECT_EQ(model->C(S("lab48000kHzAC3")).Text, S("48000"));

    // Back to stereo at 22050: the list is in front again and the range is 32..320.
    model->UserSelect(S("ComboBoxAudioChannelsAC3"), 1);
    EXPECT_TRUE(model->C(S("GroupBoxSampleRateAC3")).Front);
    EXPECT_EQ(track.Min, 1);
    EXPECT_EQ(track.Max, 12);

    // With 5.1 chosen the hidden list's index is still what is stored.
    model->UserSelect(S("ComboBoxAudioChannelsAC3"), 2);
    const auto saved = Save(*model, 11);
    EXPECT_EQ(saved.at(S("AudioChannelsAC3")), S("2"));
    EXPECT_EQ(saved.at(S("AudioSampleRateAC3")), S("0"));
}

TEST_F(EditorTest, Ac3SixChannelsStoredAreShownOnOpening) {
    auto model = Open(0, {{S("AudioChannelsAC3"), S("2")}, {S("AudioBitRatePresetAC3"), S("32")}});
    EXPECT_TRUE(model->C(S("GroupBoxSampleRateAC3_6Channels")).Front);
    EXPECT_EQ(model->C(S("TrackBarAudioBitrateAC3")).Min, 6);
    EXPECT_EQ(model->C(S("LabelAudioBitrateAC3")).Text, S("112"));
}

TEST_F(EditorTest, ConfigureAsksWithinTheTableAndShowsTheAnswer) {
    auto model = Open(0);
    std::vector<TValueRequest> asked;
    int answer = 2000;
    model->InputValue = [&](const TValueRequest& request) {
        asked.push_back(request);
        return answer;
    };
    model->UserClick(S("RadioButtonVideoSpecifyDivX"));
    model->UserClick(S("ButtonVideoBitrateConfigureDivX"));
    ASSERT_EQ(asked.size(), 1u);
    EXPECT_EQ(asked[0].Title, S("Enter value"));
    EXPECT_EQ(asked[0].Prompt, S("Please enter video bitrate"));
    EXPECT_EQ(asked[0].Current, 1080);
    EXPECT_EQ(asked[0].Minimum, 64);
    EXPECT_EQ(asked[0].Maximum, 9600);
    EXPECT_EQ(model->C(S("LabelBitrateSpecifyDivX")).Text, S("2000"));

    // The Windows and Flash tables give their own ranges.
    auto wmv = Open(5);
    wmv->InputValue = [&](const TValueRequest& request) {
        asked.push_back(request);
        return request.Current; // cancelled
    };
    wmv->UserClick(S("RadioButtonVideoSpecifyWmv8"));
    wmv->UserClick(S("ButtonVideoBitrateConfigureWmv8"));
    EXPECT_EQ(asked.back().Maximum, 6000);
    EXPECT_EQ(wmv->C(S("LabelBitrateSpecifyWmv8")).Text, S("768"));

    EXPECT_EQ(Save(*model, 0).at(S("VideoBitRateSpecifyDivX")), S("2000"));
    EXPECT_EQ(Save(*model, 0).at(S("VideoBitRateUsePresertDivX")), S("0"));
}

TEST_F(EditorTest, BitrateModesEnableTheirControls) {
    auto model = Open(0);
    EXPECT_TRUE(model->C(S("TrackBarVideoBitrateDivX")).Enabled);
    EXPECT_FALSE(model->C(S("ButtonVideoBitrateConfigureDivX")).Enabled);
    model->UserClick(S("RadioButtonVideoSpecifyDivX"));
    EXPECT_FALSE(model->C(S("RadioButtonVideoPresertDivX")).Checked);
    EXPECT_FALSE(model->C(S("TrackBarVideoBitrateDivX")).Enabled);
    EXPECT_FALSE(model->C(S("LabelKbps2DivX")).Enabled);
    EXPECT_TRUE(model->C(S("ButtonVideoBitrateConfigureDivX")).Enabled);
    EXPECT_TRUE(model->C(S("LabelBitrateSpecifyDivX")).Enabled);

    // "Auto set audio bitrate" disables the audio track bar and its labels.
    ASSERT_TRUE(model->C(S("TrackBarAudioBitrateMp3")).Enabled);
    model->UserClick(S("CheckBoxAutoSetAudioBitrateMp3"));
    EXPECT_FALSE(model->C(S("TrackBarAudioBitrateMp3")).Enabled);
    EXPECT_FALSE(model->C(S("labKbpsMp3")).Enabled);
    EXPECT_TRUE(model->C(S("CheckBoxAutoSetAudioBitrateMp3")).Enabled);
    EXPECT_EQ(Save(*model, 0).at(S("AudioBitRateUseAutoSetMp3")), S("1"));
}

} // namespace
