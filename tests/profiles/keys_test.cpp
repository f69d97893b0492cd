// Profile files: key names and order, defaults, and the load and save rules.
#include "app/errors.h"
#include "profile_fixture.h"
#include "profiles/profiles.h"

#include <QDir>

namespace {

// The expected key list of a format: its header keys, its key groups and its trailing keys.
struct KeyLayout {
    int Format;
    QStringList Head;
    QStringList VideoGroups;
    QStringList AudioGroups;
    QStringList Tail;
    int Count;
};

// A video group's keys; a suffix marked "*" is a modern codec's, with constant quality and speed.
QStringList VideoKeys(QString suffix) {
    QStringList prefixes = {"VideoBitRateUsePresert", "VideoBitRatePreset", "VideoBitRateSpecify",
                            "VideoSizeUseSource",     "VideoWidth",         "VideoHeight",
                            "VideoKeepFrameRate",     "VideoFrameRate",     "VideoAspect"};
    if (suffix.endsWith('*')) {
        suffix.chop(1);
        prefixes << "VideoConstantQuality"
                 << "VideoQuality"
                 << "VideoSpeed";
    }
    if (suffix == "H263")
        prefixes.removeAll("VideoSizeUseSource");
    if (suffix == "Rm10")
        prefixes.move(0, 2);
    QStringList keys;
    for (const QString& prefix : prefixes)
        keys << prefix + suffix;
    return keys;
}

QStringList Expand(const KeyLayout& layout) {
    QStringList keys = layout.Head;
    for (const QString& suffix : layout.VideoGroups)
        keys << VideoKeys(suffix);
    for (const QString& suffix : layout.AudioGroups) {
        QStringList prefixes = {"AudioBitRateUseAutoSet", "AudioBitRatePreset", "AudioSampleRate",
                                "AudioChannels"};
        if (suffix.startsWith("Pcm") || suffix == "Alaw" || suffix == "Alac")
            prefixes = prefixes.mid(2);
        if (suffix == "Opus")
            prefixes.removeAll("AudioSampleRate");
        if (suffix == "Vorbis")
            prefixes = {"AudioBitRateUseAutoSet", "AudioBitRatePreset", "AudioUseQuality",
                        "AudioQuality",           "AudioSampleRate",    "AudioChannels"};
        if (suffix == "Flac")
            prefixes = {"AudioCompression", "AudioBits", "AudioSampleRate", "AudioChannels"};
        for (const QString& prefix : prefixes)
            keys << prefix + suffix;
    }
    return keys + layout.Tail;
}

const QStringList Common = {"Description", "EnableTimeControl", "Duration", "StartTime"};
const QStringList VideoHeader =
    Common + QStringList{"VideoCodec", "VideoSameQuality", "AudioCodec", "AudioDisableAudio"};
const QStringList AudioHeader = Common + QStringList{"AudioCodec"};

const KeyLayout Layouts[] = {
    {0,
     VideoHeader,
     {"DivX", "XviD", "MsMPEG4", "MsMPEG4v2", "H263", "H263P", "H264", "DV", "huffYUV", "Mjpeg", "MPEG1",
      "MPEG2", "Svq1", "Flv"},
     {"AC3", "Mp2", "Mp3", "Pcm16le", "Pcmu8"},
     {},
     149},
    {1,
     {"Description", "Format", "EnableTimeControl", "Duration", "StartTime", "VideoCodec", "VideoSameQuality",
      "AudioCodec", "AudioDisableAudio"},
     {"DivX", "XviD", "H264"},
     {"AACMP4", "AACPsp"},
     VideoKeys("H265*"),
     56},
    {2,
     {"Description", "TGPFormat", "EnableTimeControl", "Duration", "StartTime", "VideoCodecNokia",
      "VideoCodecSony", "VideoSameQuality", "AudioCodecNokia", "AudioCodecSony", "AudioDisableAudio"},
     {"DivX", "XviD", "H263"},
     {"AACMP4", "Armnb", "Armwb"},
     {},
     49},
    {3,
     {"Description", "TargetFormat", "PresetType", "UsePresetFormats", "EnableTimeControl", "Duration",
      "StartTime", "VideoCodec", "VideoSameQuality", "AudioCodecMPEG1", "AudioCodecMPEG2",
      "AudioDisableAudio"},
     {"MPEG1", "MPEG2"},
     {"AC3", "Mp2", "Mp3"},
     {"DVDVideoBitRateUsePresert", "DVDVideoBitRatePreset", "DVDVideoBitRateSpecify", "DVDVideoKeepAspect",
      "DVDVideoAspect", "DVDAudioBitRateUseAutoSet", "DVDAudioBitRatePreset"},
     49},
    {4,
     VideoHeader,
     {"DivX", "XviD", "H263", "H264", "Svq1"},
     {"AACMP4", "Alaw", "Armnb", "Pcm16le", "Pcm16be"},
     VideoKeys("H265*"),
     78},
    {5, VideoHeader, {"MsMPEG4", "MsMPEG4v2", "Wmv7", "Wmv8"}, {"Mp3"}, {}, 48},
    {6,
     Common + QStringList{"AudioCodec", "AudioDisableAudio", "VideoCodec", "VideoSameQuality"},
     {"Rm10"},
     {"AC3"},
     {},
     21},
    {7, VideoHeader, {"Flv"}, {"Mp3"}, {}, 21},
    {8, VideoHeader, {"MPEG2"}, {"AC3", "Mp2"}, {}, 25},
    {9, VideoHeader, {"MsMPEG4", "MsMPEG4v2"}, {"Mp3"}, {}, 30},
    {10, AudioHeader, {}, {"AACMP4"}, {}, 9},
    {11, AudioHeader, {}, {"AC3"}, {}, 9},
    {12, AudioHeader, {}, {"Mp2"}, {}, 9},
    {13, AudioHeader, {}, {"Mp3"}, {}, 9},
    {14, AudioHeader, {}, {"Armnb", "Armwb"}, {}, 13},
    {15, AudioHeader, {}, {"Pcm16le", "Pcmu8"}, {}, 9},
    {16, VideoHeader, {"H264*", "H265*", "AV1*", "VP9*"}, {"AAC", "Opus", "Flac", "AC3", "Mp3"}, {}, 75},
    {17, VideoHeader, {"VP9*", "AV1*"}, {"Opus", "Vorbis"}, {}, 41},
    {18, AudioHeader, {}, {"AAC", "Alac"}, {}, 11},
    {19, AudioHeader, {}, {"Flac"}, {}, 9},
    {20, AudioHeader, {}, {"Opus"}, {}, 8},
    {21, AudioHeader, {}, {"Vorbis"}, {}, 11},
};

// The defaults of the key groups, as stored: the values of the group's keys in file order.
struct GroupDefaults {
    int Format;
    QStringList Groups;
    const char* Values;
};

const GroupDefaults GroupDefaultsTable[] = {
    {0,
     {"DivX", "XviD", "MsMPEG4", "MsMPEG4v2", "H263P", "H264", "DV", "huffYUV", "Mjpeg", "MPEG1", "MPEG2",
      "Svq1", "Flv"},
     "1 1080 1080 1 640 480 1 7 0"},
    {0, {"H263"}, "1 1080 1080 352 288 1 7 0"},
    {0, {"AC3", "Mp2", "Mp3"}, "0 96 0 1"},
    {0, {"Pcm16le", "Pcmu8"}, "3 1"},
    {1, {"DivX", "XviD", "H264"}, "1 1200 1200 0 320 240 1 7 0"},
    {1, {"AACMP4"}, "0 64 3 1"},
    {1, {"AACPsp"}, "0 64 0 1"},
    {2, {"DivX"}, "1 144 144 0 176 144 1 7 0"},
    {2, {"XviD"}, "1 96 96 0 176 144 1 7 0"},
    {2, {"H263"}, "1 144 144 176 144 1 1 0"},
    {2, {"AACMP4"}, "0 56 3 1"},
    {2, {"Armnb", "Armwb"}, "0 13 0 0"},
    {3, {"MPEG1"}, "1 1152 1152 1 640 480 1 7 0"},
    {3, {"MPEG2"}, "1 2496 2496 1 640 480 1 8 0"},
    {3, {"AC3"}, "0 256 3 1"},
    {3, {"Mp2", "Mp3"}, "0 160 2 1"},
    {4, {"DivX", "XviD", "H264", "Svq1"}, "1 1200 1200 1 640 480 1 7 0"},
    {4, {"H263"}, "1 1200 1200 352 288 1 7 0"},
    {4, {"AACMP4"}, "0 64 3 1"},
    {4, {"Alaw", "Pcm16le", "Pcm16be"}, "3 1"},
    {4, {"Armnb"}, "0 8 0 0"},
    {5, {"MsMPEG4", "MsMPEG4v2", "Wmv7", "Wmv8"}, "1 768 768 1 640 480 1 7 0"},
    {5, {"Mp3"}, "1 64 0 1"},
    {6, {"Rm10"}, "768 768 1 1 320 240 1 7 0"},
    {6, {"AC3"}, "0 256 3 1"},
    {7, {"Flv"}, "1 768 768 1 640 480 1 7 0"},
    {7, {"Mp3"}, "1 64 1 1"},
    {8, {"MPEG2"}, "1 6000 6000 0 720 576 1 3 0"},
    {8, {"AC3"}, "0 384 3 1"},
    {8, {"Mp2"}, "0 320 3 1"},
    {9, {"MsMPEG4", "MsMPEG4v2"}, "1 768 768 1 640 480 1 7 0"},
    {9, {"Mp3"}, "0 64 0 1"},
    {10, {"AACMP4"}, "0 128 6 1"},
    {11, {"AC3"}, "0 384 3 1"},
    {12, {"Mp2"}, "0 160 2 1"},
    {13, {"Mp3"}, "0 128 2 1"},
    {14, {"Armnb", "Armwb"}, "0 13 0 0"},
    {15, {"Pcm16le", "Pcmu8"}, "6 1"},
    // Modern codecs: the source's size and frame rate, constant quality and a speed by index
    // (3 faster, 4 fast); modern audio keeps the source's sample rate and channels (index 0).
    {1, {"H265"}, "1 5000 5000 1 1920 1080 1 7 0 1 28 3"},
    {4, {"H265"}, "1 5000 5000 1 1920 1080 1 7 0 1 28 3"},
    {16, {"H264"}, "1 5000 5000 1 1920 1080 1 7 0 1 23 4"},
    {16, {"H265"}, "1 5000 5000 1 1920 1080 1 7 0 1 28 3"},
    {16, {"AV1"}, "1 5000 5000 1 1920 1080 1 7 0 1 35 3"},
    {16, {"VP9"}, "1 5000 5000 1 1920 1080 1 7 0 1 33 3"},
    {16, {"AAC", "Mp3"}, "0 192 0 0"},
    {16, {"Opus"}, "0 128 0"},
    {16, {"Flac"}, "5 0 0 0"},
    {16, {"AC3"}, "0 384 0 0"},
    {17, {"VP9"}, "1 5000 5000 1 1920 1080 1 7 0 1 33 3"},
    {17, {"AV1"}, "1 5000 5000 1 1920 1080 1 7 0 1 35 3"},
    {17, {"Opus"}, "0 128 0"},
    {17, {"Vorbis"}, "0 192 1 5 0 0"},
    {18, {"AAC"}, "0 192 0 0"},
    {18, {"Alac"}, "0 0"},
    {19, {"Flac"}, "5 0 0 0"},
    {20, {"Opus"}, "0 128 0"},
    {21, {"Vorbis"}, "0 192 1 5 0 0"},
};

// The defaults of the other keys (common keys are checked once for all formats).
const std::pair<int, const char*> HeaderDefaults[] = {
    {0, "VideoCodec=0 VideoSameQuality=0 AudioCodec=1 AudioDisableAudio=0"},
    {1, "Format=3 VideoCodec=0 VideoSameQuality=0 AudioCodec=0 AudioDisableAudio=0"},
    {2,
     "TGPFormat=0 VideoCodecNokia=0 VideoCodecSony=0 VideoSameQuality=0 AudioCodecNokia=0 AudioCodecSony=0 "
     "AudioDisableAudio=0"},
    {3, "TargetFormat=0 PresetType=0 UsePresetFormats=0 VideoCodec=1 VideoSameQuality=0 AudioCodecMPEG1=0 "
        "AudioCodecMPEG2=0 AudioDisableAudio=0 DVDVideoBitRateUsePresert=1 DVDVideoBitRatePreset=6000 "
        "DVDVideoBitRateSpecify=6000 DVDVideoKeepAspect=1 DVDVideoAspect=1 DVDAudioBitRateUseAutoSet=0 "
        "DVDAudioBitRatePreset=384"},
    {4, "VideoCodec=4 AudioCodec=0"},
    {5, "VideoCodec=3 AudioCodec=0"},
    {6, "AudioCodec=0 AudioDisableAudio=0 VideoCodec=0 VideoSameQuality=0"},
    {7, "VideoCodec=0 AudioCodec=0"},
    {8, "VideoCodec=0 AudioCodec=1"},
    {9, "VideoCodec=0 AudioCodec=0"},
    {14, "AudioCodec=0"},
    {15, "AudioCodec=0"},
    {16, "VideoCodec=0 VideoSameQuality=0 AudioCodec=0 AudioDisableAudio=0"},
    {17, "VideoCodec=0 VideoSameQuality=0 AudioCodec=0 AudioDisableAudio=0"},
    {18, "AudioCodec=0"},
};

class ProfileKeysTest : public ProfileFolderTest {
  protected:
    // Saves the defaults of a format to a new file and returns the file.
    TIniFile SavedDefaults(int format) {
        const TFormatInfo& info = *FormatInfo(format);
        const QString file = ProfileFileName(format, QStringLiteral("Defaults"));
        info.Defaults();
        info.Save(file);
        return TIniFile(file);
    }
};

QString Values(const TIniFile& ini, const QString& suffix) {
    QStringList values;
    for (const QString& key : ini.ReadSection(ProfileSection)) {
        if (key.endsWith(suffix) && (key.startsWith("Video") || key.startsWith("Audio")) &&
            !key.startsWith("AudioCodec") && !key.startsWith("VideoCodec") && key != "VideoSameQuality" &&
            key != "AudioDisableAudio")
            values << ini.ReadString(ProfileSection, key, QString());
    }
    return values.join(' ');
}

} // namespace

TEST_F(ProfileKeysTest, FreshDefaultProfileListsEveryKeyInTableOrder) {
    for (const KeyLayout& layout : Layouts) {
        SCOPED_TRACE(layout.Format);
        const TIniFile ini = SavedDefaults(layout.Format);
        EXPECT_EQ(ini.ReadSections(), QStringList{"General"});
        const QStringList keys = ini.ReadSection(ProfileSection);
        EXPECT_EQ(keys, Expand(layout));
        EXPECT_EQ(keys.size(), layout.Count);
        EXPECT_EQ(FormatInfo(layout.Format)->KeyNames(), keys);
    }
    const QStringList avi = SavedDefaults(0).ReadSection(ProfileSection);
    EXPECT_EQ(avi.first(), "Description");
    EXPECT_EQ(avi.last(), "AudioChannelsPcmu8");
}

TEST_F(ProfileKeysTest, DefaultsOfEveryFormat) {
    for (int format = 0; format < FormatCount; ++format) {
        SCOPED_TRACE(format);
        const TIniFile ini = SavedDefaults(format);
        EXPECT_EQ(ini.ReadString(ProfileSection, "Description", "?"), "No Description");
        EXPECT_EQ(ini.ReadString(ProfileSection, "EnableTimeControl", "?"), "0");
        EXPECT_EQ(ini.ReadString(ProfileSection, "Duration", "?"), "0:00:00.000");
        EXPECT_EQ(ini.ReadString(ProfileSection, "StartTime", "?"), "0:00:00.000");
    }
    for (const GroupDefaults& row : GroupDefaultsTable) {
        const TIniFile ini = SavedDefaults(row.Format);
        for (const QString& group : row.Groups) {
            SCOPED_TRACE(QStringLiteral("format %1 group %2").arg(row.Format).arg(group).toStdString());
            EXPECT_EQ(Values(ini, group), QString::fromLatin1(row.Values));
        }
    }
    for (const auto& [format, pairs] : HeaderDefaults) {
        const TIniFile ini = SavedDefaults(format);
        for (const QString& pair : QString::fromLatin1(pairs).split(' ')) {
            SCOPED_TRACE(QStringLiteral("format %1 %2").arg(format).arg(pair).toStdString());
            const QStringList kv = pair.split('=');
            EXPECT_EQ(ini.ReadString(ProfileSection, kv[0], "?"), kv[1]);
        }
    }
}

TEST_F(ProfileKeysTest, FreshMp3ProfileText) {
    const QString file = ProfileFileName(13, QStringLiteral("New"));
    DefaultMp3Settings();
    SaveMp3Settings(file);
    EXPECT_EQ(ReadFile(file),
              "[General]\nDescription=No Description\nEnableTimeControl=0\nDuration=0:00:00.000\n"
              "StartTime=0:00:00.000\nAudioCodec=0\nAudioBitRateUseAutoSetMp3=0\n"
              "AudioBitRatePresetMp3=128\nAudioSampleRateMp3=2\nAudioChannelsMp3=1\n");
}

// The description default is the text of the language loaded when the defaults run.
TEST_F(ProfileKeysTest, DescriptionDefaultFollowsTheLanguage) {
    SetStr(Ids::IDS_NO_DESCRIPTION, QStringLiteral("Keine Beschreibung"));
    const QString file = WriteProfile(14, QStringLiteral("Bare"), "[General]\n");
    LoadAmrSettings(file);
    EXPECT_EQ(AmrSettings.Description, QStringLiteral("Keine Beschreibung"));
    TAmrSettings defaults = DefaultRecord<TAmrSettings>();
    EXPECT_TRUE(SameFields(AmrSettings, defaults));
}

// Every field gets a value of its own, is saved and read back: no key is lost, mistyped in kind or
// shares a field with another key.
template <class R> void ExpectRoundTrip(R& current, const QString& file) {
    DefaultSettings(current);
    std::vector<TKeyValue> written;
    int n = 0;
    for (const TKeyDef<R>& key : KeyTable<R>()) {
        ++n;
        std::visit(
            [&](auto* field) {
                using T = std::remove_pointer_t<decltype(field)>;
                if constexpr (std::is_same_v<T, QString>)
                    *field = QStringLiteral("text %1").arg(n);
                else if constexpr (std::is_same_v<T, bool>)
                    *field = !*field;
                else if constexpr (std::is_same_v<T, uint8_t>)
                    *field = static_cast<uint8_t>(n * 7 + 1);
                else
                    *field = n * 1000 - 77777;
            },
            key.Field(current));
        written.push_back(std::visit([](auto* field) { return TKeyValue(*field); }, key.Field(current)));
    }
    SaveSettings(current, file);
    R loaded;
    LoadSettings(loaded, file);
    size_t i = 0;
    for (const TKeyDef<R>& key : KeyTable<R>()) {
        SCOPED_TRACE(key.Name.toStdString());
        EXPECT_TRUE(std::visit([](auto* field) { return TKeyValue(*field); }, key.Field(loaded)) ==
                    written[i]);
        ++i;
    }
}

TEST_F(ProfileKeysTest, EveryKeyRoundTripsThroughItsOwnField) {
#define VARID_ROUND_TRIP(W) ExpectRoundTrip(W##Settings, ProgramDir() + QStringLiteral(#W ".ini"));
    VARID_PROFILE_FORMATS(VARID_ROUND_TRIP)
#undef VARID_ROUND_TRIP
}

TEST_F(ProfileKeysTest, LoadKeepsTheLowByteAndDefaultsForUnreadableValues) {
    const QString file = WriteProfile(0, QStringLiteral("Odd"),
                                      "[general]\n"
                                      "videocodec=258\n"
                                      "AudioCodec=abc\n"
                                      "EnableTimeControl=2\n"
                                      "VideoSameQuality=yes\n"
                                      "AudioDisableAudio=0x1\n"
                                      "VideoAspectDivX=-1\n"
                                      "VideoWidthDivX=$100\n"
                                      "VideoHeightDivX=12.5\n"
                                      "VideoBitRatePresetDivX= -300 \n"
                                      "Duration=  1:00:00.000  \n"
                                      "VideoSizeUseSourceH263=1\n");
    LoadAVISettings(file);
    EXPECT_EQ(AVISettings.VideoCodec, 2);
    EXPECT_EQ(AVISettings.AudioCodec, 1);
    EXPECT_TRUE(AVISettings.EnableTimeControl);
    EXPECT_FALSE(AVISettings.VideoSameQuality);
    EXPECT_TRUE(AVISettings.AudioDisableAudio);
    EXPECT_EQ(AVISettings.DivX.VideoAspect, 255);
    EXPECT_EQ(AVISettings.DivX.VideoWidth, 256);
    EXPECT_EQ(AVISettings.DivX.VideoHeight, 480);
    EXPECT_EQ(AVISettings.DivX.VideoBitRatePreset, -300);
    EXPECT_EQ(AVISettings.Duration, QStringLiteral("1:00:00.000"));
    EXPECT_EQ(AVISettings.Description, QStringLiteral("No Description"));
    // The H.263 group has no size-from-source key: a stray line changes nothing.
    EXPECT_FALSE(AVISettings.H263.VideoSizeUseSource);

    // A load starts from the defaults, not from what the record held.
    WriteProfile(0, QStringLiteral("Other"), "[General]\nVideoCodec=256\n");
    LoadAVISettings(ProfileFileName(0, QStringLiteral("Other")));
    TAVISettings defaults = DefaultRecord<TAVISettings>();
    EXPECT_TRUE(SameFields(AVISettings, defaults));
}

TEST_F(ProfileKeysTest, MissingFileOrEmptyNameLoadsTheDefaults) {
    MP4Settings.Format = 9;
    LoadMP4Settings(ProfileFileName(1, QString()));
    TMP4Settings defaults = DefaultRecord<TMP4Settings>();
    EXPECT_TRUE(SameFields(MP4Settings, defaults));
    EXPECT_TRUE(ProfileFileName(1, QString()).endsWith(QStringLiteral("/mp4/.mpo")));
}

TEST_F(ProfileKeysTest, SaveKeepsUnknownKeysOtherSectionsAndLineOrder) {
    const QString file = WriteProfile(13, QStringLiteral("Mine"),
                                      "; my notes\n"
                                      "[General]\n"
                                      "AudioChannelsMp3=0\n"
                                      "MyOwnKey=keep me\n"
                                      "description=Old\n"
                                      "[Extra]\n"
                                      "Other=1\n");
    LoadMp3Settings(file);
    EXPECT_EQ(Mp3Settings.Description, QStringLiteral("Old"));
    Mp3Settings.Description = QStringLiteral("New text");
    Mp3Settings.Mp3.AudioBitRatePreset = 320;
    SaveMp3Settings(file);
    EXPECT_EQ(ReadFile(file), "; my notes\n"
                              "[General]\n"
                              "AudioChannelsMp3=0\n"
                              "MyOwnKey=keep me\n"
                              "description=New text\n"
                              "EnableTimeControl=0\n"
                              "Duration=0:00:00.000\n"
                              "StartTime=0:00:00.000\n"
                              "AudioCodec=0\n"
                              "AudioBitRateUseAutoSetMp3=0\n"
                              "AudioBitRatePresetMp3=320\n"
                              "AudioSampleRateMp3=2\n"
                              "[Extra]\n"
                              "Other=1\n");
}

// A description with line breaks stays one value instead of spilling stray lines into the file.
TEST_F(ProfileKeysTest, DescriptionWithLineBreaksStaysOneLine) {
    const QString file = ProfileFileName(15, QStringLiteral("Notes"));
    DefaultWavSettings();
    WavSettings.Description = QStringLiteral("first line\r\nsecond\nthird\rfourth");
    SaveWavSettings(file);
    LoadWavSettings(file);
    EXPECT_EQ(WavSettings.Description, QStringLiteral("first line second third fourth"));
    EXPECT_EQ(TIniFile(file).ReadSection(ProfileSection).size(), 9);
}

TEST_F(ProfileKeysTest, SaveIntoAMissingFolderRaisesAndWritesNothing) {
    const QString file = ProgramDir() + QStringLiteral("nowhere/x.avo");
    DefaultAVISettings();
    try {
        SaveAVISettings(file);
        FAIL() << "no error raised";
    } catch (const EVaridError& e) {
        EXPECT_EQ(e.message(), QStringLiteral("Unable to write to ") + file);
    }
    EXPECT_FALSE(QFileInfo::exists(ProgramDir() + QStringLiteral("nowhere")));
}
