// Time fields, video sizes, H263 sizes and aspects, frame rates and list indexes.
#include "editor_fixture.h"

namespace {

using S = QString;

struct TimeCase {
    const char* Name;
    const char* Field; // the field the user types into and leaves
    const char* Typed;
    const char* Start;
    const char* End;
    const char* Duration;
};

// Start 0:00:10, duration 0:00:20 (end 0:00:30) before each case.
const TimeCase TimeCases[] = {
    {"StartAfterEndMovesEnd", "EditStartTime", "0:01:00.000", "0:01:00.000", "0:01:00.000", "0:00:00.000"},
    {"StartBeforeEndKeepsEnd", "EditStartTime", "5", "0:00:05.000", "0:00:30.000", "0:00:25.000"},
    {"StartUnreadableIsRestored", "EditStartTime", "abc", "0:00:10.000", "0:00:30.000", "0:00:20.000"},
    {"StartPastLimitIsRestored", "EditStartTime", "200:00:00.001", "0:00:10.000", "0:00:30.000",
     "0:00:20.000"},
    {"StartAtLimit", "EditStartTime", "200:00:00.000", "200:00:00.000", "200:00:00.000", "0:00:00.000"},
    {"EndEqualToStart", "EditEndTime", "0:00:10", "0:00:10.000", "0:00:10.000", "0:00:00.000"},
    {"EndBeforeStartIsRestored", "EditEndTime", "0:00:05", "0:00:10.000", "0:00:30.000", "0:00:20.000"},
    {"EndUnreadableIsRestored", "EditEndTime", "xyz", "0:00:10.000", "0:00:30.000", "0:00:20.000"},
    {"EndLater", "EditEndTime", "1:00:00", "0:00:10.000", "1:00:00.000", "0:59:50.000"},
    {"DurationSetsEnd", "EditDuration", "1:00", "0:00:10.000", "0:01:10.000", "0:01:00.000"},
    {"DurationUnreadableIsRestored", "EditDuration", "abc", "0:00:10.000", "0:00:30.000", "0:00:20.000"},
    {"DurationPastLimitIsRestored", "EditDuration", "201:00:00", "0:00:10.000", "0:00:30.000", "0:00:20.000"},
};

void PrintTo(const TimeCase& c, std::ostream* os) {
    *os << c.Name;
}

class TimeFieldTest : public EditorTest, public ::testing::WithParamInterface<TimeCase> {};

TEST_P(TimeFieldTest, LeavingAFieldAppliesTheTimeRules) {
    const TimeCase& c = GetParam();
    auto model = Open(0, {{S("StartTime"), S("0:00:10.000")},
                          {S("Duration"), S("0:00:20.000")},
                          {S("EnableTimeControl"), S("1")}});
    ASSERT_EQ(model->C(S("EditEndTime")).Text, S("0:00:30.000"));
    const QString field = S::fromLatin1(c.Field);
    model->UserEnter(field);
    model->UserType(field, S::fromLatin1(c.Typed));
    model->UserExit(field);
    EXPECT_EQ(model->C(S("EditStartTime")).Text, S::fromLatin1(c.Start));
    EXPECT_EQ(model->C(S("EditEndTime")).Text, S::fromLatin1(c.End));
    EXPECT_EQ(model->C(S("EditDuration")).Text, S::fromLatin1(c.Duration));
}

INSTANTIATE_TEST_SUITE_P(Tables, TimeFieldTest, ::testing::ValuesIn(TimeCases),
                         [](const auto& info) { return std::string(info.param.Name); });

TEST_F(EditorTest, SavingLeavesTheFieldFirstSoARestoredTextIsSaved) {
    auto model = Open(0, {{S("StartTime"), S("0:00:10.000")}});
    model->UserEnter(S("EditStartTime"));
    model->UserType(S("EditStartTime"), S("abc"));
    model->UserSave();
    EXPECT_EQ(Save(*model, 0).at(S("StartTime")), S("0:00:10.000"));
}

TEST_F(EditorTest, TimeControlEnablesTheTimeFields) {
    auto model = Open(0);
    EXPECT_FALSE(model->C(S("EditStartTime")).Enabled);
    EXPECT_FALSE(model->C(S("LabelTimeLabel")).Enabled);
    model->UserClick(S("CheckBoxEnableTimeControl"));
    for (const char* name : {"LabelTimeLabel", "LabelStartTime", "EditStartTime", "LabelEndTime",
                             "EditEndTime", "LabelDuration", "EditDuration"})
        EXPECT_TRUE(model->C(S::fromLatin1(name)).Enabled) << name;
    EXPECT_EQ(Save(*model, 0).at(S("EnableTimeControl")), S("1"));
}

TEST_F(EditorTest, AacEditorHasItsOwnNamesAndTheSameTimeRules) {
    auto model = Open(10, {{S("StartTime"), S("0:00:10.000")}, {S("Duration"), S("0:00:20.000")}});
    for (const char* name : {"lblDescription",
                             "txtDescription",
                             "pageOptions",
                             "tabGeneral",
                             "TabSheetAudio",
                             "grpTimeControl",
                             "chkEnableTimeControl",
                             "lblTime",
                             "lblStartTime",
                             "txtStartTime",
                             "lblEndTime",
                             "txtEndTime",
                             "lblDuration",
                             "txtDuration",
                             "grpAudioCodec",
                             "cmbAudioCodec",
                             "pageAudioCodec",
                             "tabAACMp4",
                             "lblAACMp4",
                             "grpChannelsAACMp4",
                             "ComboBoxAudioChannelsAACMp4",
                             "grpSampleRateAACMp4",
                             "ComboBoxSampleRateAACMp4",
                             "grpAudioBitrateAACMp4",
                             "chkAutoSetAudioBitrateAACMp4",
                             "TrackBarAudioBitrateAACMp4",
                             "lblCurrentAudioBitrateAACMp4",
                             "lblAudioBitrateAACMp4",
                             "lblkbpsAACMp4",
                             "lblAudioSmallAACMp4",
                             "lblAudioLargeAACMp4"})
        EXPECT_TRUE(model->Has(S::fromLatin1(name))) << name;
    model->UserEnter(S("txtDuration"));
    model->UserType(S("txtDuration"), S("0:01:00"));
    model->UserExit(S("txtDuration"));
    EXPECT_EQ(model->C(S("txtEndTime")).Text, S("0:01:10.000"));
    EXPECT_EQ(model->C(S("pageAudioCodec")).ActivePage, S("tabAACMp4"));
}

// ---- Video sizes ------------------------------------------------------------------------------

TEST_F(EditorTest, SizeFieldsAndPresetsFollowEachOther) {
    auto model = Open(0, {{S("VideoSizeUseSourceDivX"), S("0")}});
    const S width = S("EditVideoWidthDivX"), height = S("EditVideoHeightDivX"),
            list = S("ComboBoxVideoSizeDivX");
    EXPECT_EQ(model->C(list).Items.value(model->C(list).ItemIndex), S("640x480"));
    EXPECT_TRUE(model->C(width).Enabled);

    model->UserSetPosition(width, 720);
    model->UserSetPosition(height, 576);
    EXPECT_EQ(model->C(list).Items.value(model->C(list).ItemIndex), S("720x576"));
    model->UserSetPosition(width, 722);
    EXPECT_EQ(model->C(list).ItemIndex, 13);

    // "..." keeps the size; a preset sets both fields.
    model->UserSelect(list, 13);
    EXPECT_EQ(model->C(width).Position, 722);
    model->UserSelect(list, 0);
    EXPECT_EQ(model->C(width).Position, 320);
    EXPECT_EQ(model->C(height).Position, 240);

    // Leaving a field makes an odd size even.
    model->UserEnter(width);
    model->UserSetPosition(width, 721);
    model->UserExit(width);
    EXPECT_EQ(model->C(width).Position, 722);
    const auto saved = Save(*model, 0);
    EXPECT_EQ(saved.at(S("VideoWidthDivX")), S("722"));
    EXPECT_EQ(saved.at(S("VideoHeightDivX")), S("240"));
    EXPECT_EQ(saved.at(S("VideoSizeUseSourceDivX")), S("0"));
}

TEST_F(EditorTest, KeepingSourceSizeDisablesTheSizeControls) {
    auto model = Open(0, {{S("VideoSizeUseSourceDivX"), S("1")}});
    for (const char* name : {"EditVideoWidthDivX", "EditVideoHeightDivX", "LabelVideoWidthDivX", "LabelXDivX",
                             "LabelVideoDimensionsDivX", "ComboBoxVideoSizeDivX"})
        EXPECT_FALSE(model->C(S::fromLatin1(name)).Enabled) << name;
    model->UserClick(S("RadioButtonChangVideoSizeDivX"));
    EXPECT_TRUE(model->C(S("ComboBoxVideoSizeDivX")).Enabled);
    EXPECT_FALSE(model->C(S("RadioButtonKeepSourceSizeDivX")).Checked);
}

struct SizeCase {
    const char* Name;
    int Format;
    const char* Suffix;
    int Width, Height;
    const char* Entry; // the preset list shows
};

const SizeCase SizeCases[] = {
    {"RmHasNo1280x720", 6, "Rm10", 1280, 720, "..."},
    {"StandardHas1280x720", 0, "H264", 1280, 720, "1280x720"},
    {"Mp4NamedEntry", 1, "H264", 368, 208, "368x208 (PSP Full Screen)"},
    {"Mp4iPod", 1, "DivX", 320, 240, "320x240 (Apple iPod)"},
    {"MobileList", 2, "XviD", 220, 176, "220x176"},
    {"MpegOddPair", 3, "Mpeg1", 160, 320, "160 x 320"},
    {"MpegDvd", 3, "Mpeg2", 720, 576, "720 x 576 (DVD PAL)"},
    {"WmvStandard", 5, "Wmv8", 704, 480, "704x480"},
};

void PrintTo(const SizeCase& c, std::ostream* os) {
    *os << c.Name;
}

class SizeListTest : public EditorTest, public ::testing::WithParamInterface<SizeCase> {};

TEST_P(SizeListTest, StoredSizeSelectsItsEntry) {
    const SizeCase& c = GetParam();
    const S suffix = S::fromLatin1(c.Suffix);
    const S key = suffix == S("Mpeg1") || suffix == S("Mpeg2") ? suffix.toUpper() : suffix;
    auto model = Open(c.Format, {{S("VideoWidth") + key, QString::number(c.Width)},
                                 {S("VideoHeight") + key, QString::number(c.Height)}});
    const TControl& list = model->C(S("ComboBoxVideoSize") + suffix);
    EXPECT_EQ(list.Items.value(list.ItemIndex), S::fromLatin1(c.Entry));
    EXPECT_EQ(list.Items.last(), S("..."));
}

INSTANTIATE_TEST_SUITE_P(Tables, SizeListTest, ::testing::ValuesIn(SizeCases),
                         [](const auto& info) { return std::string(info.param.Name); });

TEST_F(EditorTest, MpegKeepsOddSizesAndItsPresetsSetBothFields) {
    auto model = Open(3, {{S("VideoSizeUseSourceMPEG1"), S("0")}});
    model->UserEnter(S("EditVideoWidthMpeg1"));
    model->UserSetPosition(S("EditVideoWidthMpeg1"), 721);
    model->UserExit(S("EditVideoWidthMpeg1"));
    EXPECT_EQ(model->C(S("EditVideoWidthMpeg1")).Position, 721);
    model->UserSelect(S("ComboBoxVideoSizeMpeg1"), 3);
    EXPECT_EQ(model->C(S("EditVideoWidthMpeg1")).Position, 160);
    EXPECT_EQ(model->C(S("EditVideoHeightMpeg1")).Position, 320);
    EXPECT_EQ(model->C(S("ComboBoxVideoSizeMpeg1")).ItemIndex, 3);
}

TEST_F(EditorTest, SizeOutsideTheSpinRangeIsKept) {
    auto model = Open(0, {{S("VideoWidthDivX"), S("1920")}, {S("VideoHeightDivX"), S("1080")}});
    EXPECT_EQ(model->C(S("EditVideoWidthDivX")).Position, 1920);
    EXPECT_EQ(Save(*model, 0).at(S("VideoWidthDivX")), S("1920"));
}

// ---- H263 sizes and aspects -----------------------------------------------------------------------

struct H263Case {
    const char* Name;
    int Format;
    const char* Width;
    const char* Height;
    const char* Checked;
    const char* SavedWidth;
    const char* SavedHeight;
};

const H263Case H263Cases[] = {
    {"AviStoredSize", 0, "176", "144", "RadioButtonVideoSize176_144H263", "176", "144"},
    {"AviSmallest", 0, "128", "96", "RadioButtonVideoSize128_96H263", "128", "96"},
    {"AviUnknownSizeFallsBackTo352", 0, "640", "480", "RadioButtonVideoSize352_288H263", "352", "288"},
    {"TgpStoredSize", 2, "128", "96", "RadioButtonVideoSize128_96H263", "128", "96"},
    {"MovUnknownSize", 4, "176", "145", "RadioButtonVideoSize352_288H263", "352", "288"},
};

void PrintTo(const H263Case& c, std::ostream* os) {
    *os << c.Name;
}

class H263SizeTest : public EditorTest, public ::testing::WithParamInterface<H263Case> {};

TEST_P(H263SizeTest, StoredSizeChecksItsButton) {
    const H263Case& c = GetParam();
    auto model = Open(c.Format, {{S("VideoWidthH263"), S::fromLatin1(c.Width)},
                                 {S("VideoHeightH263"), S::fromLatin1(c.Height)}});
    EXPECT_TRUE(model->C(S::fromLatin1(c.Checked)).Checked);
    EXPECT_FALSE(model->Has(S("RadioButtonKeepSourceSizeH263")));
    const auto saved = Save(*model, c.Format);
    EXPECT_EQ(saved.at(S("VideoWidthH263")), S::fromLatin1(c.SavedWidth));
    EXPECT_EQ(saved.at(S("VideoHeightH263")), S::fromLatin1(c.SavedHeight));
    EXPECT_FALSE(saved.count(S("VideoSizeUseSourceH263")));
}

INSTANTIATE_TEST_SUITE_P(Tables, H263SizeTest, ::testing::ValuesIn(H263Cases),
                         [](const auto& info) { return std::string(info.param.Name); });

struct AspectCase {
    const char* Key;
    const char* Stored;
    const char* Checked;
    const char* Saved;
};

const AspectCase AspectCases[] = {
    {"VideoAspectH263", "0", "RadioButtonAutoSetAspectH263", "0"},
    {"VideoAspectH263", "1", "RadioButtonAspect11H263", "1"},
    {"VideoAspectH263", "2", "RadioButtonAspect43H263", "2"},
    {"VideoAspectH263", "3", "RadioButtonAspect119H263", "3"},
    {"VideoAspectH263", "4", "RadioButtonAspect169H263", "4"},
    {"VideoAspectDivX", "2", "RadioButtonAspect169DivX", "2"},
    {"VideoAspectDivX", "5", "RadioButtonAutoSetAspectDivX", "0"}, // no such button: Auto stays
};

TEST_F(EditorTest, AspectCodesCheckTheirButtons) {
    for (const AspectCase& c : AspectCases) {
        SCOPED_TRACE(std::string(c.Key) + "=" + c.Stored);
        auto model = Open(0, {{S::fromLatin1(c.Key), S::fromLatin1(c.Stored)}});
        EXPECT_TRUE(model->C(S::fromLatin1(c.Checked)).Checked);
        EXPECT_EQ(Save(*model, 0).at(S::fromLatin1(c.Key)), S::fromLatin1(c.Saved));
    }
}

// ---- Lists: frame rates and indexes outside a list ----------------------------------------------

TEST_F(EditorTest, VobFrameRateListStartsAt1998) {
    for (const auto& [stored, shown] :
         {std::pair{"3", "25"}, std::pair{"8", "60"}, std::pair{"0", "19.98"}}) {
        auto model = Open(8, {{S("VideoFrameRateMPEG2"), S::fromLatin1(stored)}});
        const TControl& list = model->C(S("ComboBoxVideoFrameRateMpeg2"));
        EXPECT_EQ(list.Items.size(), 9);
        EXPECT_EQ(list.Items.value(list.ItemIndex), S::fromLatin1(shown));
    }
    auto avi = Open(0);
    const TControl& list = avi->C(S("ComboBoxVideoFrameRateDivX"));
    EXPECT_EQ(list.Items.size(), 13);
    EXPECT_EQ(list.Items.value(list.ItemIndex), S("25"));
    EXPECT_FALSE(list.Enabled); // "Auto" frame rate
}

struct OutOfList {
    int Format;
    const char* Key;
    const char* Stored;
    const char* List;
};

const OutOfList OutOfLists[] = {
    {0, "VideoCodec", "12", "ComboBoxVideoCodec"},
    {0, "AudioCodec", "5", "ComboBoxAudioCodec"},
    {0, "VideoFrameRateDivX", "13", "ComboBoxVideoFrameRateDivX"},
    {8, "VideoFrameRateMPEG2", "9", "ComboBoxVideoFrameRateMpeg2"},
    {14, "AudioChannelsArmnb", "5", "ComboBoxAudioChannelsArmnb"},
    {4, "AudioChannelsArmnb", "1", "ComboBoxAudioChannelsArmnb"}, // MOV's AMR list is mono only
    {3, "PresetType", "3", "RadioGroupPresetType"},
    {2, "TGPFormat", "3", "ComboBox3GPFormat"},
};

TEST_F(EditorTest, IndexOutsideTheListShowsNoSelectionAndIsStoredAs255) {
    for (const OutOfList& c : OutOfLists) {
        SCOPED_TRACE(c.Key);
        auto model = Open(c.Format, {{S::fromLatin1(c.Key), S::fromLatin1(c.Stored)}});
        EXPECT_EQ(model->C(S::fromLatin1(c.List)).ItemIndex, -1);
        EXPECT_EQ(Save(*model, c.Format).at(S::fromLatin1(c.Key)), S("255"));
    }
}

TEST_F(EditorTest, VideoCodecWithoutEntryShowsAnEmptyVideoPage) {
    auto model = Open(0, {{S("VideoCodec"), S("12")}});
    EXPECT_EQ(model->C(S("PageControlVCodec")).ActivePage, S(""));
    // The pages without list entry still pass their keys through.
    EXPECT_TRUE(model->Has(S("TrackBarVideoBitrateDV")));
    EXPECT_EQ(model->C(S("labDV")).Text, S("DV format properties"));
    EXPECT_EQ(model->C(S("labMsmpeg4v2")).Text, S("Ms-mpeg4v2 format properties"));
    EXPECT_TRUE(model->Has(S("TrackBarVideoBitrateMsMpeg4v2")));
}

} // namespace
