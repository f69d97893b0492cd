// The shipped profiles: every one loads, holds exactly its format's keys and builds the options
// listed here, so that a changed preset shows in review.
#include "profile_fixture.h"
#include "profiles/optiondetails.h"
#include "profiles/profiles.h"
#include "support/program_folder.h"

#include <QDir>

namespace {

struct Shipped {
    int Format;
    const char* Name;
    const char* Options;
};

// By format, then by name as the chooser lists them.
const Shipped ShippedProfiles[] = {
    {0, "Default", "-y -f avi -vcodec msmpeg4 -b 1080k -r 25 -acodec mp3 -ac 2 -ab 96 -ar 22050 "},
    {0, "H.264 AVI 640x480",
     "-y -f avi -vcodec h264 -s 640x480 -b 1200k -r 25 -acodec mp3 -ac 2 -ab 128 -ar 44100 "},
    {0, "MJPEG Editing", "-y -f avi -vcodec mjpeg -b 9600k -r 25 -acodec pcm_s16le -ac 2 -ar 44100 "},
    {0, "XviD DVD Rip with AC3",
     "-y -f avi -vcodec xvid -b 1200k -r 25 -acodec ac3 -ac 2 -ar 48000 -ab 192 "},
    {0, "XviD High Quality", "-y -f avi -vcodec xvid -b 1500k -r 25 -acodec mp3 -ac 2 -ab 192 -ar 44100 "},
    {0, "XviD Portable Player 320x240",
     "-y -f avi -vcodec xvid -s 320x240 -b 768k -r 25 -acodec mp3 -ac 2 -ab 128 -ar 44100 "},
    {1, "Apple iPod 320x240",
     "-y -f mp4 -vcodec h264 -s 320x240 -b 768k -r 25 -acodec aac -ac 2 -ab 128 -ar 44100 "},
    {1, "Default", "-y -f mp4 -vcodec h264 -s 320x240 -b 1200k -r 25 -acodec aac -ac 2 -ab 64 -ar 22050 "},
    {1, "H.265 (HEVC) Constant Quality",
     "-y -f mp4 -vcodec hevc -crf 28 -preset faster -acodec aac -ac 2 -ab 128 -ar 44100 "},
    {1, "Mobile Phone 176x144",
     "-y -f mp4 -vcodec h264 -s 176x144 -b 256k -r 15 -acodec aac -ac 1 -ab 64 -ar 22050 "},
    {1, "MP4 High Quality 640x480",
     "-y -f mp4 -vcodec h264 -s 640x480 -b 1500k -r 25 -acodec aac -ac 2 -ab 160 -ar 44100 "},
    {1, "Sony PSP Full Screen",
     "-y -f psp -vcodec h264 -s 368x208 -b 768k -r 25 -acodec aac -ac 2 -ab 128 -ar 48000 "},
    {2, "Default",
     "-y -f 3gp -vcodec h263 -s 176x144 -b 144k -r 12.5 -aspect 11:9 -acodec amr_nb -ac 1 -ar 8000 -ab 13 "},
    {2, "Nokia MPEG-4 with AAC",
     "-y -f 3gp -vcodec msmpeg4 -s 176x144 -b 144k -r 25 -aspect 11:9 -acodec aac -ac 2 -ab 64 -ar 22050 "},
    {2, "Phone 128x96 Low Bit Rate",
     "-y -f 3gp -vcodec h263 -s 128x96 -b 64k -r 12.5 -aspect 11:9 -acodec amr_nb -ac 1 -ar 8000 -ab 12 "},
    {2, "Sony Ericsson 3G2",
     "-y -f 3gp -vcodec msmpeg4 -s 176x144 -b 256k -r 25 -aspect 11:9 -acodec aac -ac 2 -ab 64 -ar 22050 "},
    {2, "Sony Ericsson 3GP",
     "-y -f 3gp -vcodec msmpeg4 -s 176x144 -b 256k -r 25 -aspect 11:9 -acodec aac -ac 2 -ab 64 -ar 22050 "},
    {3, "Default", "-y -vcodec mpeg2video -b 2496k -r 25 -acodec ac3 -ac 2 -ar 48000 -ab 256 "},
    {3, "DVD NTSC", "-target ntsc-dvd -b 6000k -ab 384 "},
    {3, "DVD PAL", "-target pal-dvd -b 6000k -ab 384 "},
    {3, "MPEG-1 352x288",
     "-y -vcodec mpeg1video -s 352x288 -b 1152k -r 25 -acodec mp2 -ac 2 -ab 224 -ar 44100 "},
    {3, "SVCD NTSC", "-target ntsc-svcd "},
    {3, "SVCD PAL", "-target pal-svcd "},
    {3, "VCD NTSC", "-target ntsc-vcd "},
    {3, "VCD PAL", "-target pal-vcd "},
    {4, "Default", "-y -f mov -vcodec h264 -b 1200k -r 25 -ac 2 -ab 64 -ar 22050 "},
    {4, "H.265 (HEVC) for Apple", "-y -f mov -vcodec hevc -crf 28 -preset faster -ac 2 -ab 128 -ar 44100 "},
    {4, "QuickTime H.264 640x480",
     "-y -f mov -vcodec h264 -s 640x480 -b 1500k -r 25 -ac 2 -ab 128 -ar 44100 "},
    {4, "QuickTime MPEG-4 320x240",
     "-y -f mov -vcodec msmpeg4 -s 320x240 -b 768k -r 25 -ac 2 -ab 96 -ar 44100 "},
    {4, "QuickTime Sorenson 320x240",
     "-y -f mov -vcodec svq1 -s 320x240 -b 768k -r 25 -ac 2 -ab 96 -ar 44100 "},
    {5, "Default", "-y -vcodec wmv2 -b 768k -r 25 -acodec mp3 -ac 2 -ar 22050 "},
    {5, "WMV7 Low Bit Rate 320x240",
     "-y -vcodec wmv1 -s 320x240 -b 256k -r 25 -acodec mp3 -ac 1 -ab 64 -ar 22050 "},
    {5, "WMV8 High Quality 640x480",
     "-y -vcodec wmv2 -s 640x480 -b 1500k -r 25 -acodec mp3 -ac 2 -ab 192 -ar 44100 "},
    {6, "Default", "-y -f rm -vcodec rv10 -b 768k -r 25 -acodec ac3 -ac 2 -ar 48000 -ab 256 "},
    {6, "RealVideo 320x240 Low Bit Rate",
     "-y -f rm -vcodec rv10 -b 256k -s 320x240 -r 25 -acodec ac3 -ac 2 -ar 48000 -ab 96 "},
    {7, "Default", "-y -vcodec flv -b 768k -r 25 -acodec mp3 -ac 2 -ar 22050 "},
    {7, "Flash Video High Quality 640x480",
     "-y -vcodec flv -s 640x480 -b 1200k -r 25 -acodec mp3 -ac 2 -ab 128 -ar 44100 "},
    {7, "Flash Video Web 320x240",
     "-y -vcodec flv -s 320x240 -b 512k -r 25 -acodec mp3 -ac 2 -ab 64 -ar 22050 "},
    {8, "Default",
     "-y -f vob -vcodec mpeg2video -s 720x576 -b 6000k -r 25 -aspect 5:4 -acodec ac3 -ac 2 -ar 48000 -ab "
     "384 "},
    {8, "DVD NTSC 720x480",
     "-y -f vob -vcodec mpeg2video -s 720x480 -b 6000k -r 29.97 -aspect 4:3 -acodec ac3 -ac 2 -ar 48000 -ab "
     "384 "},
    {8, "DVD PAL Widescreen",
     "-y -f vob -vcodec mpeg2video -s 720x576 -b 6000k -r 25 -aspect 16:9 -acodec ac3 -ac 2 -ar 48000 -ab "
     "384 "},
    {9, "ASF Streaming 320x240",
     "-y -f asf -vcodec msmpeg4v2 -s 320x240 -b 256k -r 25 -acodec mp3 -ac 1 -ab 64 -ar 22050 "},
    {9, "Default", "-y -f asf -vcodec msmpeg4 -b 768k -r 25 -acodec mp3 -ac 2 -ab 64 -ar 22050 "},
    {10, "Default", "-y -f aac -vn -acodec aac -ac 2 -ab 128 -ar 44100 "},
    {10, "High Quality 256 kbps", "-y -f aac -vn -acodec aac -ac 2 -ab 256 -ar 48000 "},
    {10, "Low Quality 64 kbps Mono", "-y -f aac -vn -acodec aac -ac 1 -ab 64 -ar 22050 "},
    {11, "Default", "-y -f ac3 -vn -acodec ac3 -ac 2 -ar 48000 -ab 384 "},
    {11, "Stereo 192 kbps", "-y -f ac3 -vn -acodec ac3 -ac 2 -ar 48000 -ab 192 "},
    {11, "Surround 5.1 448 kbps", "-y -f ac3 -vn -acodec ac3 -ac 5:1 -ar 48000 -ab 448 "},
    {12, "Default", "-y -f mp2 -vn -acodec mp2 -ac 2 -ab 160 -ar 44100 "},
    {12, "High Quality 384 kbps", "-y -f mp2 -vn -acodec mp2 -ac 2 -ab 384 -ar 48000 "},
    {12, "Low Quality 64 kbps Mono", "-y -f mp2 -vn -acodec mp2 -ac 1 -ab 64 -ar 22050 "},
    {13, "Default", "-y -f mp3 -vn -acodec mp3 -ac 2 -ab 128 -ar 44100 "},
    {13, "High Quality 320 kbps", "-y -f mp3 -vn -acodec mp3 -ac 2 -ab 320 -ar 44100 "},
    {13, "Low Quality 64 kbps Mono", "-y -f mp3 -vn -acodec mp3 -ac 1 -ab 64 -ar 22050 "},
    {13, "Standard 192 kbps", "-y -f mp3 -vn -acodec mp3 -ac 2 -ab 192 -ar 44100 "},
    {13, "Voice 32 kbps Mono", "-y -f mp3 -vn -acodec mp3 -ac 1 -ab 32 -ar 22050 "},
    {14, "Default", "-y -f amr -vn -acodec amr_nb -ac 1 -ar 8000 -ab 13 "},
    {14, "Narrow-Band 12 kbps", "-y -f amr -vn -acodec amr_nb -ac 1 -ar 8000 -ab 12 "},
    {14, "Wide-Band 24 kbps", "-y -f amr -vn -acodec amr_wb -ac 1 -ar 16000 -ab 24 "},
    {15, "Default", "-y -f wav -vn -acodec pcm_s16le -ac 2 -ar 44100 "},
    {15, "DVD Quality 48000 Hz", "-y -f wav -vn -acodec pcm_s16le -ac 2 -ar 48000 "},
    {15, "Voice 8 bit Mono 11025 Hz", "-y -f wav -vn -acodec pcm_u8 -ac 1 -ar 11025 "},
    {16, "AV1 with Opus", "-y -f matroska -vcodec av1 -crf 35 -preset faster -acodec opus -ab 128 "},
    {16, "Default", "-y -f matroska -vcodec h264 -crf 23 -preset fast -acodec aac -ab 192 "},
    {16, "H.265 Archive with FLAC",
     "-y -f matroska -vcodec hevc -crf 22 -preset medium -acodec flac -compression_level 5 "},
    {17, "AV1 with Opus", "-y -f webm -vcodec av1 -crf 35 -preset faster -acodec opus -ab 128 "},
    {17, "Default", "-y -f webm -vcodec vp9 -crf 33 -preset faster -acodec opus -ab 128 "},
    {17, "Web 720p", "-y -f webm -vcodec vp9 -s 1280x720 -crf 32 -preset faster -acodec opus -ac 2 -ab 96 "},
    {18, "AAC 256 kbps", "-y -f ipod -vn -acodec aac -ab 256 "},
    {18, "Apple Lossless (ALAC)", "-y -f ipod -vn -acodec alac "},
    {18, "Default", "-y -f ipod -vn -acodec aac -ab 192 "},
    {19, "Default", "-y -f flac -vn -acodec flac -compression_level 5 "},
    {19, "Stereo CD Quality 16 bit 44100 Hz",
     "-y -f flac -vn -acodec flac -ac 2 -compression_level 8 -abits 16 -ar 44100 "},
    {20, "Default", "-y -f opus -vn -acodec opus -ab 128 "},
    {20, "Music 192 kbps", "-y -f opus -vn -acodec opus -ab 192 "},
    {20, "Voice 32 kbps Mono", "-y -f opus -vn -acodec opus -ac 1 -ab 32 "},
    {21, "Bitrate 128 kbps", "-y -f ogg -vn -acodec vorbis -ac 2 -ab 128 -ar 44100 "},
    {21, "Default", "-y -f ogg -vn -acodec vorbis -aq 5 "},
    {21, "High Quality 8", "-y -f ogg -vn -acodec vorbis -aq 8 "},
};

class ShippedProfilesTest : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_TRUE(m_program.isValid());
        ResetStringTable();
        Options = TOptions();
        InitProfileFolders();
    }
    TProgramFolder m_program;
};

} // namespace

TEST_F(ShippedProfilesTest, EveryProfileBuildsItsListedOptions) {
    QList<std::pair<int, QString>> listed;
    for (const Shipped& s : ShippedProfiles)
        listed.append({s.Format, QString::fromUtf8(s.Name)});
    QList<std::pair<int, QString>> found;
    for (const TFormatInfo& f : FormatCatalogue()) {
        for (const QString& name : ProfileNames(f.Index))
            found.append({f.Index, name});
    }
    EXPECT_EQ(found, listed);

    for (const Shipped& s : ShippedProfiles) {
        SCOPED_TRACE(QStringLiteral("%1 %2").arg(s.Format).arg(s.Name).toStdString());
        EXPECT_EQ(GetProfileOptions(s.Format, QString::fromUtf8(s.Name)).toStdString(), s.Options);
    }
}

// The MP4 and MOV profiles shipped before H.265 joined those formats stay as they were, without
// its keys, like the copies in users' own profile folders; every other profile holds every key.
TEST_F(ShippedProfilesTest, ProfilesHoldExactlyTheirFormatsKeys) {
    for (const Shipped& s : ShippedProfiles) {
        SCOPED_TRACE(QStringLiteral("%1 %2").arg(s.Format).arg(s.Name).toStdString());
        const TIniFile ini(ProfileFileName(s.Format, QString::fromUtf8(s.Name)));
        EXPECT_EQ(ini.ReadSections(), QStringList{ProfileSection});
        QStringList keys = FormatInfo(s.Format)->KeyNames();
        const bool predatesH265 =
            (s.Format == 1 || s.Format == 4) && !QString::fromUtf8(s.Name).contains("H.265");
        if (predatesH265)
            keys.removeIf([](const QString& key) { return key.endsWith("H265"); });
        EXPECT_EQ(ini.ReadSection(ProfileSection), keys);
    }
}

// "Default" of every format is the format's defaults, key for key: saved again after loading it
// gives the file the defaults save (a key the shipped file lacks loads as its default).
TEST_F(ShippedProfilesTest, DefaultProfileOfEveryFormatHoldsTheDefaults) {
    for (const TFormatInfo& f : FormatCatalogue()) {
        SCOPED_TRACE(f.Format.toStdString());
        const QString shipped = ProfileFileName(f.Index, QStringLiteral("Default"));
        ASSERT_TRUE(QFileInfo::exists(shipped));
        const QString fresh = m_program.file(QStringLiteral("fresh.ini"));
        const QString resaved = m_program.file(QStringLiteral("resaved.ini"));
        QFile::remove(fresh);
        QFile::remove(resaved);
        f.Defaults();
        f.Save(fresh);
        f.Load(shipped);
        f.Save(resaved);
        EXPECT_EQ(ReadFile(resaved), ReadFile(fresh));
        // Only keys a shipped file lacks are filled in; those it holds are the defaults as stored.
        EXPECT_TRUE(ReadFile(fresh).startsWith(ReadFile(shipped)));
    }
}

TEST_F(ShippedProfilesTest, AviSynthTemplateHoldsTheInputPlaceholder) {
    const QByteArray script = ReadFile(Options.ProfileRoot + QStringLiteral("DirectShow.avs"));
    EXPECT_TRUE(script.contains("DirectShowSource(\"<%InputFile%>\")")) << script.constData();
}
