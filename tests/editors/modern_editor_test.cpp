// The editors of the modern formats and the H.265 pages of MP4 and MOV: codec lists and pages,
// constant quality beside the bitrate, encoder speed, sizes up to 4K, values kept as the source's,
// Vorbis quality and FLAC compression, and every shipped profile saved unchanged.
#include "editor_fixture.h"

namespace {

using S = QString;

QString ActivePage(const TEditorModel& m, const char* pageControl) {
    return m.C(S::fromLatin1(pageControl)).ActivePage;
}

// Every shipped profile of the modern formats, and the H.265 profiles of MP4 and MOV, opened in its
// editor and saved without a change keeps every key value.
TEST_F(EditorTest, EveryShippedModernProfileSavesUnchanged) {
    std::vector<std::pair<int, QString>> profiles = {{1, S("H.265 (HEVC) Constant Quality")},
                                                     {4, S("H.265 (HEVC) for Apple")}};
    for (int format = 16; format < FormatCount; ++format) {
        for (const QString& name : ProfileNames(format))
            profiles.emplace_back(format, name);
    }
    ASSERT_GE(profiles.size(), 2u + 6 * 2);
    for (const auto& [format, name] : profiles) {
        SCOPED_TRACE((FormatInfo(format)->Format + S(" ") + name).toStdString());
        const QString file = ProfileFileName(format, name);
        const auto before = Values(file);
        FormatInfo(format)->Load(file);
        auto model = BuildEditorModel(format);
        model->ProfileToControls();
        model->Show();
        EXPECT_EQ(Save(*model, format), before);
    }
}

TEST_F(EditorTest, ModernCodecListsChooseTheirPages) {
    struct Case {
        int format;
        QStringList video, audio; // list texts in order
        QStringList videoPages, audioPages;
    };
    const Case cases[] = {
        {16,
         {S("H264"), S("H.265 (HEVC)"), S("AV1"), S("VP9")},
         {S("AAC"), S("Opus"), S("FLAC (lossless)"), S("AC3"), S("Mp3")},
         {S("TabSheetH264"), S("TabSheetH265"), S("TabSheetAV1"), S("TabSheetVP9")},
         {S("TabSheetAAC"), S("TabSheetOpus"), S("TabSheetFlac"), S("TabSheetAC3"), S("TabSheetMp3")}},
        {17,
         {S("VP9"), S("AV1")},
         {S("Opus"), S("Vorbis")},
         {S("TabSheetVP9"), S("TabSheetAV1")},
         {S("TabSheetOpus"), S("TabSheetVorbis")}},
        {18, {}, {S("AAC"), S("ALAC (Apple Lossless)")}, {}, {S("TabSheetAAC"), S("TabSheetAlac")}},
        {19, {}, {S("FLAC (lossless)")}, {}, {S("TabSheetFlac")}},
        {20, {}, {S("Opus")}, {}, {S("TabSheetOpus")}},
        {21, {}, {S("Vorbis")}, {}, {S("TabSheetVorbis")}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.format);
        auto model = Open(c.format);
        EXPECT_EQ(model->Caption, FormatInfo(c.format)->Format + S(" Profile Editor"));
        EXPECT_EQ(model->Has(S("TabSheetVideo")), !c.video.isEmpty());
        if (!c.video.isEmpty()) {
            EXPECT_EQ(model->C(S("ComboBoxVideoCodec")).Items, c.video);
            for (int i = 0; i < c.video.size(); ++i) {
                model->UserSelect(S("ComboBoxVideoCodec"), i);
                EXPECT_EQ(ActivePage(*model, "PageControlVCodec"), c.videoPages[i]);
            }
        }
        EXPECT_EQ(model->C(S("ComboBoxAudioCodec")).Items, c.audio);
        for (int i = 0; i < c.audio.size(); ++i) {
            model->UserSelect(S("ComboBoxAudioCodec"), i);
            EXPECT_EQ(ActivePage(*model, "PageControlACodec"), c.audioPages[i]);
        }
        const auto saved = Save(*model, c.format);
        EXPECT_EQ(saved.at(S("AudioCodec")), S::number(c.audio.size() - 1));
        if (!c.video.isEmpty()) {
            EXPECT_EQ(saved.at(S("VideoCodec")), S::number(c.video.size() - 1));
        }
    }
}

// H.265 is the second entry of MP4's video list and the sixth of MOV's; the existing entries keep
// their places.
TEST_F(EditorTest, Mp4AndMovOfferH265) {
    for (const auto& [format, index, before] : {std::tuple{1, 1, S("H264")}, std::tuple{4, 5, S("H264")}}) {
        SCOPED_TRACE(format);
        auto model = Open(format);
        const QStringList items = model->C(S("ComboBoxVideoCodec")).Items;
        ASSERT_EQ(items.size(), index + 1);
        EXPECT_EQ(items[index - 1], before);
        EXPECT_EQ(items[index], S("H.265 (HEVC)"));
        model->UserSelect(S("ComboBoxVideoCodec"), index);
        EXPECT_EQ(ActivePage(*model, "PageControlVCodec"), S("TabSheetH265"));
        model->UserSelect(S("ComboBoxVideoSpeedH265"), 0);
        const auto saved = Save(*model, format);
        EXPECT_EQ(saved.at(S("VideoCodec")), S::number(index));
        EXPECT_EQ(saved.at(S("VideoSpeedH265")), S("0"));
    }
}

// Constant quality replaces the bitrate: while it is checked the bitrate group is off, the CRF
// track bar runs from the worst quality (left) to the best (right).
TEST_F(EditorTest, ConstantQualityAndSpeedOfAModernCodec) {
    auto model = Open(16, {{S("VideoCodec"), S("2")}}); // AV1: CRF 63..0
    const TControl& track = model->C(S("TrackBarVideoQualityAV1"));
    EXPECT_EQ(track.Min, 1);
    EXPECT_EQ(track.Max, 64);
    EXPECT_TRUE(model->C(S("CheckBoxConstantQualityAV1")).Checked);
    EXPECT_EQ(model->C(S("LabelQualityAV1")).Text, S("35"));
    EXPECT_FALSE(model->C(S("GroupBoxVideoBitrateAV1")).Enabled);
    EXPECT_TRUE(model->C(S("TrackBarVideoQualityAV1")).Enabled);
    EXPECT_EQ(
        model->C(S("ComboBoxVideoSpeedAV1")).Items.value(model->C(S("ComboBoxVideoSpeedAV1")).ItemIndex),
        S("faster"));

    model->UserSetPosition(S("TrackBarVideoQualityAV1"), 64);
    EXPECT_EQ(model->C(S("LabelQualityAV1")).Text, S("0"));
    model->UserSelect(S("ComboBoxVideoSpeedAV1"), 8);
    auto saved = Save(*model, 16);
    EXPECT_EQ(saved.at(S("VideoQualityAV1")), S("0"));
    EXPECT_EQ(saved.at(S("VideoSpeedAV1")), S("8"));

    model->UserClick(S("CheckBoxConstantQualityAV1"));
    EXPECT_TRUE(model->C(S("GroupBoxVideoBitrateAV1")).Enabled);
    EXPECT_FALSE(model->C(S("TrackBarVideoQualityAV1")).Enabled);
    EXPECT_TRUE(model->C(S("ComboBoxVideoSpeedAV1")).Enabled); // the speed serves both
    saved = Save(*model, 16);
    EXPECT_EQ(saved.at(S("VideoConstantQualityAV1")), S("0"));
    EXPECT_EQ(saved.at(S("VideoBitRatePresetAV1")), S("5000"));
}

// Modern pages offer frame sizes up to 4K and take sizes beyond the classic pages' 1600.
TEST_F(EditorTest, ModernSizesReach4K) {
    auto model = Open(17); // WebM VP9
    const QStringList sizes = model->C(S("ComboBoxVideoSizeVP9")).Items;
    for (const char* size : {"854x480", "1280x720", "1920x1080", "3840x2160"})
        EXPECT_TRUE(sizes.contains(S::fromLatin1(size))) << size;
    model->UserClick(S("RadioButtonChangVideoSizeVP9"));
    model->UserSelect(S("ComboBoxVideoSizeVP9"), static_cast<int>(sizes.indexOf(S("3840x2160"))));
    EXPECT_EQ(model->C(S("EditVideoWidthVP9")).Max, 7680);
    model->UserSetPosition(S("EditVideoHeightVP9"), 4320);
    model->UserSetPosition(S("EditVideoWidthVP9"), 7680);
    const auto saved = Save(*model, 17);
    EXPECT_EQ(saved.at(S("VideoSizeUseSourceVP9")), S("0"));
    EXPECT_EQ(saved.at(S("VideoWidthVP9")), S("7680"));
    EXPECT_EQ(saved.at(S("VideoHeightVP9")), S("4320"));
}

// The modern audio pages keep the source's sample rate and channels unless told; Opus has no
// sample rate of its own choosing; MP3 has no 5.1.
TEST_F(EditorTest, ModernAudioListsStartWithAsSource) {
    auto mkv = Open(16);
    for (const char* suffix : {"AAC", "Flac", "AC3", "Mp3"}) {
        SCOPED_TRACE(suffix);
        const TControl& rates = mkv->C(S("ComboBoxSampleRate") + S::fromLatin1(suffix));
        EXPECT_EQ(rates.Items.value(0), S("As source"));
        EXPECT_EQ(rates.ItemIndex, 0);
        const TControl& channels = mkv->C(S("ComboBoxAudioChannels") + S::fromLatin1(suffix));
        EXPECT_EQ(channels.Items.value(0), S("As source"));
        EXPECT_EQ(channels.Items.size(), S::fromLatin1(suffix) == S("Mp3") ? 3 : 4);
    }
    EXPECT_EQ(mkv->C(S("ComboBoxAudioChannelsOpus")).Items,
              (QStringList{S("As source"), S("1 (mono)"), S("2 (stereo)"), S("6 (5.1)")}));
    EXPECT_FALSE(mkv->Has(S("ComboBoxSampleRateOpus")));
    EXPECT_EQ(mkv->C(S("ComboBoxSampleRateFlac")).Items.last(), S("192000"));

    mkv->UserSelect(S("ComboBoxAudioChannelsAAC"), 2);
    mkv->UserSelect(S("ComboBoxSampleRateAAC"), 6);
    const auto saved = Save(*mkv, 16);
    EXPECT_EQ(saved.at(S("AudioChannelsAAC")), S("2"));
    EXPECT_EQ(saved.at(S("AudioSampleRateAAC")), S("6"));
}

TEST_F(EditorTest, VorbisQualityReplacesItsBitrate) {
    auto model = Open(21);
    EXPECT_TRUE(model->C(S("CheckBoxUseQualityVorbis")).Checked);
    EXPECT_FALSE(model->C(S("GroupBoxAudioBitrateVorbis")).Enabled);
    EXPECT_EQ(model->C(S("LabelQualityVorbis")).Text, S("5"));
    model->UserSetPosition(S("TrackBarAudioQualityVorbis"), 1);
    EXPECT_EQ(model->C(S("LabelQualityVorbis")).Text, S("-1"));
    EXPECT_EQ(Save(*model, 21).at(S("AudioQualityVorbis")), S("-1"));

    model->UserClick(S("CheckBoxUseQualityVorbis"));
    EXPECT_TRUE(model->C(S("GroupBoxAudioBitrateVorbis")).Enabled);
    EXPECT_FALSE(model->C(S("TrackBarAudioQualityVorbis")).Enabled);
    EXPECT_EQ(Save(*model, 21).at(S("AudioUseQualityVorbis")), S("0"));
}

TEST_F(EditorTest, FlacCompressionAndSampleSize) {
    auto model = Open(19);
    EXPECT_EQ(model->C(S("LabelCompressionFlac")).Text, S("5"));
    EXPECT_EQ(model->C(S("ComboBoxSampleSizeFlac")).Items,
              (QStringList{S("As source"), S("16 bit"), S("24 bit")}));
    EXPECT_FALSE(model->Has(S("TrackBarAudioBitrateFlac")));
    model->UserSetPosition(S("TrackBarCompressionFlac"), 9);
    model->UserSelect(S("ComboBoxSampleSizeFlac"), 2);
    const auto saved = Save(*model, 19);
    EXPECT_EQ(saved.at(S("AudioCompressionFlac")), S("8"));
    EXPECT_EQ(saved.at(S("AudioBitsFlac")), S("2"));
}

} // namespace
