// Which codec pages, tabs and codec groups each editor shows.
#include "editor_fixture.h"

#include "profiles/profiles.h"

namespace {

using S = QString;

QString VideoPage(const TEditorModel& m) {
    return m.C(S("PageControlVCodec")).ActivePage;
}
QString AudioPage(const TEditorModel& m) {
    return m.C(S("PageControlACodec")).ActivePage;
}

TEST_F(EditorTest, NewAviProfileShowsDivXAndMp3) {
    DefaultAVISettings();
    auto model = BuildEditorModel(0);
    model->ProfileToControls();
    model->Show();
    EXPECT_EQ(model->Caption, S("AVI Profile Editor"));
    EXPECT_EQ(VideoPage(*model), S("TabSheetDivX"));
    EXPECT_EQ(AudioPage(*model), S("TabSheetMp3"));
    EXPECT_EQ(model->C(S("TrackBarVideoBitrateDivX")).Position, 6);
    EXPECT_EQ(model->C(S("LabelBitrateDivX")).Text, S("1080"));
    EXPECT_EQ(model->C(S("LabelBitrateSpecifyDivX")).Text, S("1080"));
    const TControl& sizes = model->C(S("ComboBoxVideoSizeDivX"));
    EXPECT_EQ(sizes.Items.value(sizes.ItemIndex), S("640x480"));
    const TControl& rates = model->C(S("ComboBoxVideoFrameRateDivX"));
    EXPECT_EQ(rates.Items.value(rates.ItemIndex), S("25"));
    EXPECT_EQ(model->C(S("ComboBoxVideoCodec")).Items.size(), 11);
    EXPECT_EQ(model->C(S("ComboBoxAudioCodec")).Items.size(), 5);
    for (const TControl* page : model->Children(S("PageControlVCodec")))
        EXPECT_FALSE(page->Visible) << page->Name.toStdString(); // codec tabs are hidden
    EXPECT_EQ(model->Children(S("PageControlVCodec")).size(), 14u);
}

TEST_F(EditorTest, CodecListsChooseTheCodecPages) {
    auto model = Open(4); // MOV: Svq1, Divx, Xvid, H263, H264; AAC, ALaw, AMR-NB, PCM le, PCM be
    model->UserSelect(S("ComboBoxVideoCodec"), 3);
    EXPECT_EQ(VideoPage(*model), S("TabSheetH263"));
    model->UserSelect(S("ComboBoxAudioCodec"), 4);
    EXPECT_EQ(AudioPage(*model), S("TabSheetPcm16be"));
    model->UserSelect(S("ComboBoxAudioCodec"), 2);
    EXPECT_EQ(AudioPage(*model), S("TabSheetArmnb"));
    EXPECT_EQ(model->C(S("ComboBoxAudioChannelsArmnb")).Items, QStringList{S("1 (mono)")});
    const auto saved = Save(*model, 4);
    EXPECT_EQ(saved.at(S("VideoCodec")), S("3"));
    EXPECT_EQ(saved.at(S("AudioCodec")), S("2"));
}

TEST_F(EditorTest, DisableAudioHidesTheAudioTabAndKeepsTheAudioKeys) {
    auto model = Open(0, {{S("AudioCodec"), S("4")}});
    model->UserClick(S("CheckBoxDisableAudio"));
    EXPECT_FALSE(model->C(S("TabSheetAudio")).Visible);
    EXPECT_FALSE(model->C(S("ComboBoxAudioCodec")).Enabled);
    EXPECT_FALSE(model->C(S("GroupBoxAudioCodec")).Enabled);
    const auto saved = Save(*model, 0);
    EXPECT_EQ(saved.at(S("AudioDisableAudio")), S("1"));
    EXPECT_EQ(saved.at(S("AudioCodec")), S("4"));
    EXPECT_EQ(saved.at(S("AudioBitRatePresetAC3")), S("96"));
    model->UserClick(S("CheckBoxDisableAudio"));
    EXPECT_TRUE(model->C(S("TabSheetAudio")).Visible);
}

TEST_F(EditorTest, StoredDisabledAudioHidesTheTabOnOpening) {
    for (int format : {0, 2, 4, 5}) {
        auto model = Open(format, {{S("AudioDisableAudio"), S("1")}});
        EXPECT_FALSE(model->C(S("TabSheetAudio")).Visible) << format;
    }
}

TEST_F(EditorTest, Mp4TypeChoosesTheAacPage) {
    auto model = Open(1, {{S("Format"), S("3")}});
    EXPECT_EQ(AudioPage(*model), S("TabSheetAACMp4"));
    model->UserSelect(S("ComboBoxMp4Format"), 1); // Sony PSP
    EXPECT_EQ(AudioPage(*model), S("TabSheetAACPsp"));
    EXPECT_EQ(model->C(S("ComboBoxAudioCodec")).ItemIndex, 0);
    EXPECT_EQ(model->C(S("ComboBoxSampleRateAACPsp")).Items, QStringList{S("48000")});
    EXPECT_EQ(model->C(S("ComboBoxMp4Format")).Items,
              (QStringList{S("Apple iPod"), S("Sony PSP"), S("Mobile Movie"), S("Mp4")}));
    EXPECT_EQ(VideoPage(*model), S("TabSheetH264"));
    const auto saved = Save(*model, 1);
    EXPECT_EQ(saved.at(S("Format")), S("1"));
    EXPECT_TRUE(saved.count(S("AudioBitRatePresetAACPsp")));
    EXPECT_TRUE(saved.count(S("AudioBitRatePresetAACMP4")));
}

TEST_F(EditorTest, TgpTypeChoosesCodecGroupsAndPages) {
    auto model = Open(2, {{S("TGPFormat"), S("0")},
                          {S("VideoCodecNokia"), S("1")},
                          {S("AudioCodecNokia"), S("1")},
                          {S("VideoCodecSony"), S("1")},
                          {S("AudioCodecSony"), S("0")}});
    EXPECT_TRUE(model->C(S("GroupBoxVideoCodeNokia")).Front);
    EXPECT_FALSE(model->C(S("GroupBoxVideoCodeSony")).Front);
    EXPECT_EQ(VideoPage(*model), S("TabSheetDivX"));
    EXPECT_EQ(AudioPage(*model), S("TabSheetArmwb"));

    model->UserSelect(S("ComboBox3GPFormat"), 1); // Sony Ericsson
    EXPECT_TRUE(model->C(S("GroupBoxVideoCodeSony")).Front);
    EXPECT_TRUE(model->C(S("GroupBoxAudioCodeSony")).Front);
    EXPECT_FALSE(model->C(S("GroupBoxAudioCodeNokia")).Front);
    EXPECT_EQ(VideoPage(*model), S("TabSheetXviD"));
    EXPECT_EQ(AudioPage(*model), S("TabSheetAAC"));
    model->UserSelect(S("ComboBoxVideoCodecSony"), 0);
    EXPECT_EQ(VideoPage(*model), S("TabSheetDivX"));

    const auto saved = Save(*model, 2);
    EXPECT_EQ(saved.at(S("TGPFormat")), S("1"));
    EXPECT_EQ(saved.at(S("VideoCodecNokia")), S("1"));
    EXPECT_EQ(saved.at(S("AudioCodecNokia")), S("1"));
    EXPECT_EQ(saved.at(S("VideoCodecSony")), S("0"));

    // Back to Nokia: its choices show their pages again.
    model->UserSelect(S("ComboBox3GPFormat"), 0);
    EXPECT_TRUE(model->C(S("GroupBoxVideoCodeNokia")).Front);
    EXPECT_EQ(AudioPage(*model), S("TabSheetArmwb"));
    model->UserSelect(S("ComboBoxVideoCodecNokia"), 0);
    EXPECT_EQ(VideoPage(*model), S("TabSheetH263"));

    model->UserClick(S("CheckBoxDisableAudio"));
    for (const char* name : {"GroupBoxAudioCodeNokia", "GroupBoxAudioCodeSony", "ComboBoxAudioCodeNokia",
                             "ComboBoxAudioCodeSony"})
        EXPECT_FALSE(model->C(S::fromLatin1(name)).Enabled) << name;
    EXPECT_FALSE(model->C(S("TabSheetAudio")).Visible);
}

TEST_F(EditorTest, MpegNewProfileShowsTheDvdDefaults) {
    DefaultMPEGSettings();
    auto model = BuildEditorModel(3);
    model->ProfileToControls();
    model->Show();
    EXPECT_EQ(model->C(S("TrackBarDVDVideoBitrate")).Position, 12);
    EXPECT_EQ(model->C(S("LabelDVDBitrate")).Text, S("6000"));
    EXPECT_EQ(model->C(S("TrackBarDVDAudioBitrate")).Position, 6);
    EXPECT_EQ(model->C(S("LabelDVDAudioBitrate")).Text, S("160"));
    EXPECT_FALSE(model->C(S("ComboBoxDVDVideoAspect")).Enabled);
    EXPECT_FALSE(model->C(S("TabSheetDVD")).Visible);
    EXPECT_FALSE(model->C(S("RadioGroupPresetType")).Enabled);
    EXPECT_EQ(VideoPage(*model), S("TabSheetMpeg2"));
    EXPECT_EQ(AudioPage(*model), S("TabSheetAC3"));
}

struct PresetCase {
    const char* Name;
    bool UsePresets;
    int Type;
    bool AudioOff;
    bool Video, Audio, Dvd; // tabs shown
};

const PresetCase PresetCases[] = {
    {"NoPresets", false, 2, false, true, true, false},
    {"NoPresetsAudioOff", false, 2, true, true, false, false},
    {"Vcd", true, 0, false, false, false, false},
    {"Svcd", true, 1, false, false, false, false},
    {"Dvd", true, 2, false, false, false, true},
};

TEST_F(EditorTest, MpegPresetRuleShowsTabsAndGroups) {
    for (const PresetCase& c : PresetCases) {
        SCOPED_TRACE(c.Name);
        auto model = Open(3, {{S("UsePresetFormats"), S::number(c.UsePresets)},
                              {S("PresetType"), S::number(c.Type)},
                              {S("AudioDisableAudio"), S::number(c.AudioOff)}});
        EXPECT_EQ(model->C(S("TabSheetVideo")).Visible, c.Video);
        EXPECT_EQ(model->C(S("TabSheetAudio")).Visible, c.Audio);
        EXPECT_EQ(model->C(S("TabSheetDVD")).Visible, c.Dvd);
        EXPECT_EQ(model->C(S("RadioGroupPresetType")).Enabled, c.UsePresets);
        EXPECT_EQ(model->C(S("GroupBoxVideoCode")).Visible, !c.UsePresets);
        EXPECT_EQ(model->C(S("GroupBoxDisableAudio")).Visible, !c.UsePresets);
        EXPECT_EQ(model->C(S("ComboBoxAudioCodecMpeg2")).Enabled, !c.AudioOff);
    }
}

TEST_F(EditorTest, MpegUserChoicesApplyThePresetRule) {
    auto model = Open(3);
    model->UserClick(S("CheckBoxUsePressetFormat"));
    model->UserSelect(S("RadioGroupPresetType"), 2);
    EXPECT_TRUE(model->C(S("TabSheetDVD")).Visible);
    EXPECT_FALSE(model->C(S("TabSheetVideo")).Visible);
    model->UserSelect(S("RadioGroupPresetType"), 1);
    EXPECT_FALSE(model->C(S("TabSheetDVD")).Visible);
    model->UserSelect(S("RadioGroupPresetTargetFormat"), 2);
    const auto saved = Save(*model, 3);
    EXPECT_EQ(saved.at(S("UsePresetFormats")), S("1"));
    EXPECT_EQ(saved.at(S("PresetType")), S("1"));
    EXPECT_EQ(saved.at(S("TargetFormat")), S("2"));
}

TEST_F(EditorTest, MpegVideoCodecChoosesTheAudioList) {
    auto model =
        Open(3, {{S("VideoCodec"), S("0")}, {S("AudioCodecMPEG1"), S("1")}, {S("AudioCodecMPEG2"), S("0")}});
    EXPECT_TRUE(model->C(S("GroupBoxAudioCodecMpeg1")).Front);
    EXPECT_FALSE(model->C(S("GroupBoxAudioCodecMpeg2")).Front);
    EXPECT_EQ(VideoPage(*model), S("TabSheetMpeg1"));
    EXPECT_EQ(AudioPage(*model), S("TabSheetMp3"));
    model->UserSelect(S("ComboBoxVideoCodec"), 1);
    EXPECT_TRUE(model->C(S("GroupBoxAudioCodecMpeg2")).Front);
    EXPECT_EQ(AudioPage(*model), S("TabSheetAC3"));
    model->UserSelect(S("ComboBoxAudioCodecMpeg2"), 2);
    EXPECT_EQ(AudioPage(*model), S("TabSheetMp3"));
    model->UserSelect(S("ComboBoxVideoCodec"), 0);
    model->UserSelect(S("ComboBoxAudioCodecMpeg1"), 0);
    EXPECT_EQ(AudioPage(*model), S("TabSheetMp2"));
}

TEST_F(EditorTest, MpegDvdControlsFollowTheirButtons) {
    auto model = Open(3);
    model->UserClick(S("RadioButtonDVDVideoSpecify"));
    EXPECT_FALSE(model->C(S("TrackBarDVDVideoBitrate")).Enabled);
    EXPECT_TRUE(model->C(S("ButtonDVDVideoBitrateConfigure")).Enabled);
    model->UserClick(S("RadioButtonDVDChangeAspect"));
    EXPECT_TRUE(model->C(S("ComboBoxDVDVideoAspect")).Enabled);
    model->UserSetPosition(S("TrackBarDVDAudioBitrate"), 10);
    EXPECT_EQ(model->C(S("LabelDVDAudioBitrate")).Text, S("320"));
    const auto saved = Save(*model, 3);
    EXPECT_EQ(saved.at(S("DVDVideoBitRateUsePresert")), S("0"));
    EXPECT_EQ(saved.at(S("DVDVideoKeepAspect")), S("0"));
    EXPECT_EQ(saved.at(S("DVDAudioBitRatePreset")), S("320"));
}

TEST_F(EditorTest, AudioEditorsListTheirPages) {
    auto amr = Open(14);
    EXPECT_EQ(AudioPage(*amr), S("TabSheetArmnb"));
    amr->UserSelect(S("ComboBoxAudioCodec"), 1);
    EXPECT_EQ(AudioPage(*amr), S("TabSheetArmwb"));
    EXPECT_EQ(amr->C(S("ComboBoxSampleRateArmwb")).Items, QStringList{S("16000")});
    EXPECT_FALSE(amr->Has(S("TabSheetVideo")));
    EXPECT_EQ(Save(*amr, 14).at(S("AudioCodec")), S("1"));

    for (const auto& [stored, shown] : {std::pair{"6", "44100"}, std::pair{"7", "48000"}}) {
        auto wav = Open(15, {{S("AudioSampleRatePcm16le"), S::fromLatin1(stored)}});
        const TControl& rates = wav->C(S("ComboBoxSampleRatePcm16le"));
        EXPECT_EQ(rates.Items.value(rates.ItemIndex), S::fromLatin1(shown));
        EXPECT_FALSE(wav->Has(S("TrackBarAudioBitratePcm16le")));
    }
    EXPECT_EQ(Open(12)->C(S("ComboBoxAudioCodec")).Items, QStringList{S("MP2")});
    EXPECT_EQ(Open(11)->C(S("ComboBoxAudioChannelsAC3")).Items.size(), 3);
}

} // namespace
