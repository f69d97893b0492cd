// What an editor saves is what the next conversion uses: an edited profile converts real media
// through varid-convert and the engine, and the output has the edited size and sample rate.
#include "editor_fixture.h"

#include "media/fileitem.h"
#include "media/probe.h"

#include <QProcess>

namespace {

using S = QString;

class SavedProfileConversionTest : public EditorTest {
  protected:
    void SetUp() override {
        EditorTest::SetUp();
        ASSERT_TRUE(folder.copyExecutable(S("varid-convert")));
        ASSERT_TRUE(folder.copyExecutable(S("avcore.dll")));
    }
    // Stores the controls into the format's Default profile file.
    void SaveDefault(TEditorModel& model, int format) {
        model.UserSave();
        model.ControlsToProfile();
        FormatInfo(format)->Save(ProfileFileName(format, S("Default")));
    }
    // Converts a sample with the format's Default profile; the output file.
    QString Convert(const char* format, const char* sample, const char* output) {
        QProcess p;
        p.start(folder.file(S("varid-convert")),
                {S("--format"), S::fromLatin1(format), S("--profile"), S("Default"), S("--output"),
                 folder.file(S("out")), S(VARID_MEDIA_DIR "/") + S::fromLatin1(sample)});
        EXPECT_TRUE(p.waitForFinished(300000));
        EXPECT_EQ(p.exitCode(), 0) << p.readAllStandardError().toStdString();
        return folder.file(S("out/") + S::fromLatin1(output));
    }
};

TEST_F(SavedProfileConversionTest, EditedVideoSizeReachesTheConvertedFile) {
    auto model = Open(0, {{S("VideoCodec"), S("1")}}); // XviD
    model->UserClick(S("RadioButtonChangVideoSizeXviD"));
    model->UserSelect(S("ComboBoxVideoSizeXviD"), 0); // 320x240
    SaveDefault(*model, 0);
    const TFileItem item = ProbeFileItem(Convert("AVI", "again.mkv", "again.avi"));
    EXPECT_EQ(item.Width, S("320"));
    EXPECT_EQ(item.Height, S("240"));
}

TEST_F(SavedProfileConversionTest, EditedSampleRateReachesTheConvertedFile) {
    auto model = Open(13);
    model->UserSelect(S("ComboBoxSampleRateMp3"), 0);    // 22050
    model->UserSelect(S("ComboBoxAudioChannelsMp3"), 0); // mono
    SaveDefault(*model, 13);
    const TFileItem item = ProbeFileItem(Convert("MP3", "viper.ogg", "viper.mp3"));
    EXPECT_EQ(item.SamplingRate, S("22050"));
    EXPECT_EQ(item.Channels, S("1"));
}

// The modern formats likewise: a codec, a constant quality and a sample size chosen in the editor
// reach the converted file.
TEST_F(SavedProfileConversionTest, EditedModernVideoProfileReachesTheConvertedFile) {
    auto model = Open(16);                             // MKV
    model->UserSelect(S("ComboBoxVideoCodec"), 1);     // H.265
    model->UserSelect(S("ComboBoxVideoSpeedH265"), 0); // ultrafast
    model->UserSelect(S("ComboBoxAudioCodec"), 2);     // FLAC
    model->UserSelect(S("ComboBoxSampleRateFlac"), 4); // 22050
    SaveDefault(*model, 16);
    const TFileItem item = ProbeFileItem(Convert("MKV", "rabbit320.mp4", "rabbit320.mkv"));
    EXPECT_EQ(item.Format, S("Matroska"));
    EXPECT_EQ(item.VideoCodec, S("HEVC"));
    EXPECT_EQ(item.AudioCodec, S("FLAC"));
    EXPECT_EQ(item.SamplingRate, S("22050"));
}

TEST_F(SavedProfileConversionTest, EditedModernAudioProfileReachesTheConvertedFile) {
    auto model = Open(21);                                  // OGG
    model->UserClick(S("CheckBoxUseQualityVorbis"));        // by bitrate
    model->UserSelect(S("ComboBoxAudioChannelsVorbis"), 1); // mono
    SaveDefault(*model, 21);
    const TFileItem item = ProbeFileItem(Convert("OGG", "viper.mp3", "viper.ogg"));
    EXPECT_EQ(item.AudioCodec, S("Vorbis"));
    EXPECT_EQ(item.Channels, S("1"));
}

} // namespace
