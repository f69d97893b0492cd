// The format catalogue, the profile folders, the profile lists and the output extension.
#include "profile_fixture.h"
#include "profiles/profiles.h"

#include <QDir>

TEST(Catalogue, RowsByFormatIndex) {
    const char* const rows[] = {
        "AVI video avi avo .avi TAVISettings cmbAVI TfrmAVIProfile",
        "MP4 video mp4 mpo .mp4 TMP4Settings cmbMP4 TfrmMp4Profile",
        "3GP video 3gp 3go .3gp TTGPSettings cmb3GP TfrmTGPProfile",
        "MPEG video mpg mpo .mpg TMPEGSettings cmbMPEG TfrmMPEGProfile",
        "MOV video mov moo .mov TMovSettings cmbMOV TfrmMovProfile",
        "WMV video wmv wmo .wmv TWmvSettings cmbWMV TfrmWmvProfile",
        "RM video rm rmo .rm TRmSettings cmbRM TfrmRMProfile",
        "SWF_(Flash_video) video swf swo .swf TSwfSettings cmbSWF TfrmSwfProfile",
        "VOB video vob voo .vob TVobSettings cmbVOB TfrmVobProfile",
        "ASF video asf aso .asf TAsfSettings cmbASF TfrmAsfProfile",
        "AAC audio aac aao .aac TAacSettings cmbAAC TfrmAacProfile",
        "AC3 audio ac3 aco .ac3 TAc3Settings cmbAC3 TfrmAc3Profile",
        "MP2 audio mp2 mpo .mp2 TMp2Settings cmbMP2 TfrmMp2Profile",
        "MP3 audio mp3 mpo .mp3 TMp3Settings cmbMP3 TfrmMp3Profile",
        "AMR audio amr amo .amr TAmrSettings cmbAMR TfrmAmrProfile",
        "WAV audio wav wao .wav TWavSettings cmbWAV TfrmWavProfile",
        "MKV video mkv mko .mkv TMkvSettings cmbMKV TfrmMkvProfile",
        "WebM video webm weo .webm TWebmSettings cmbWEBM TfrmWebmProfile",
        "M4A audio m4a m4o .m4a TM4aSettings cmbM4A TfrmM4aProfile",
        "FLAC audio flac flo .flac TFlacSettings cmbFLAC TfrmFlacProfile",
        "Opus audio opus opo .opus TOpusSettings cmbOPUS TfrmOpusProfile",
        "OGG audio ogg ogo .ogg TOggSettings cmbOGG TfrmOggProfile",
    };
    static_assert(std::size(rows) == FormatCount);
    for (int index = 0; index < FormatCount; ++index) {
        const TFormatInfo& f = *FormatInfo(index);
        const QStringList row = QString::fromLatin1(rows[index]).split(' ');
        EXPECT_EQ(f.Index, index);
        EXPECT_EQ(f.Format, QString(row[0]).replace('_', ' '));
        EXPECT_EQ(f.Kind, row[1] == "video" ? TFormatKind::Video : TFormatKind::Audio);
        EXPECT_EQ((QStringList{f.FolderWord, f.ProfileExtension, f.OutputExtension, f.Record, f.ChooserList,
                               f.Editor}),
                  row.mid(2));
    }
    EXPECT_EQ(FormatInfo(-1), nullptr);
    EXPECT_EQ(FormatInfo(22), nullptr);
    EXPECT_EQ(ProfileExtension(QStringLiteral("rm")), QStringLiteral("rmo"));
}

using ProfileFolders = ProfileFolderTest;

TEST_F(ProfileFolders, RootFollowsTheLanguageFile) {
    EXPECT_EQ(Options.ProfileRoot, ProgramDir() + QStringLiteral("langs/English_Profile/"));
    EXPECT_EQ(Options.ProfileFolders[8], Options.ProfileRoot + QStringLiteral("vob/"));
    for (const TFormatInfo& f : FormatCatalogue())
        EXPECT_TRUE(QFileInfo(Options.ProfileFolders[f.Index]).isDir()) << f.FolderWord.toStdString();

    // The language file's extension is cut, whatever its length; a name without one is kept whole.
    for (const auto& [language, root] : {std::pair{"W.ini", "langs/W_Profile/"},
                                         {"Deutsch.lng", "langs/Deutsch_Profile/"},
                                         {"Polski.i", "langs/Polski_Profile/"},
                                         {"Nederlands", "langs/Nederlands_Profile/"},
                                         {"Eesti.keel.ini", "langs/Eesti.keel_Profile/"}}) {
        QFile config(ProgramDir() + QStringLiteral("config.ini"));
        ASSERT_TRUE(config.open(QIODevice::WriteOnly));
        config.write(QByteArray("[VaridAVI_Form]\nLanguageFile=") + language + "\n");
        config.close();
        InitPathsFor(ProgramDir());
        InitProfileFolders();
        EXPECT_EQ(Options.ProfileRoot, ProgramDir() + QLatin1String(root));
        EXPECT_EQ(ProfileFileName(13, QStringLiteral("x")), ProgramDir() + QLatin1String(root) + "mp3/x.mpo");
    }
}

TEST_F(ProfileFolders, CreationStopsAtTheFirstFolderThatCannotBeMade) {
    // A file in place of the mov folder: avi..mpg exist, wmv and the later ones are not made.
    Options.ProfileRoot = ProgramDir() + QStringLiteral("other/");
    for (const TFormatInfo& f : FormatCatalogue())
        Options.ProfileFolders[f.Index] = Options.ProfileRoot + f.FolderWord + QLatin1Char('/');
    ASSERT_TRUE(QDir().mkpath(Options.ProfileRoot));
    QFile blocker(Options.ProfileRoot + QStringLiteral("mov"));
    ASSERT_TRUE(blocker.open(QIODevice::WriteOnly));
    blocker.close();
    EXPECT_FALSE(CreateProfileFolders());
    EXPECT_TRUE(QFileInfo(Options.ProfileFolders[3]).isDir());
    EXPECT_FALSE(QFileInfo::exists(Options.ProfileFolders[5]));

    ASSERT_TRUE(blocker.remove());
    EXPECT_TRUE(CreateProfileFolders());
    EXPECT_TRUE(QFileInfo(Options.ProfileFolders[9]).isDir());
}

TEST_F(ProfileFolders, ListIsSortedIgnoringCaseAndOpensEveryName) {
    const QString folder = Options.ProfileFolders[0];
    // Other extensions, an extension in other letter case and a folder are not profiles.
    for (const char* name : {"zeta.avo", "Alpha.avo", "beta.avo", "alpha.avo", "my.preset.avo", "upper.AVO",
                             "other.mpo", "noext", "avo"}) {
        QFile f(folder + name);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    }
    ASSERT_TRUE(QDir().mkpath(folder + QStringLiteral("dir.avo")));
    const QStringList expected = {"Alpha", "alpha", "beta", "my.preset", "zeta"};
    EXPECT_EQ(FillProfileList(folder + QStringLiteral("*.avo")), expected);
    EXPECT_EQ(ProfileNames(0), expected);
    for (const QString& name : expected)
        EXPECT_TRUE(QFileInfo::exists(ProfileFileName(0, name)));
    EXPECT_EQ(ProfileNames(1), QStringList());
    EXPECT_EQ(ProfileNames(22), QStringList());
}

// Another language's copy of a profile is found by its settings: the name and the description
// may differ, every other value must agree.
TEST_F(ProfileFolders, MatchingProfileIgnoresNameAndDescriptionOnly) {
    const QString folder = Options.ProfileFolders[0];
    for (const QString& name : ProfileNames(0))
        ASSERT_TRUE(QFile::remove(ProfileFileName(0, name)));
    const auto write = [](const QString& file, const QByteArray& text) {
        QFile f(file);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(text);
    };
    write(folder + QStringLiteral("Fast.avo"),
          "[General]\nDescription=Schnell\nVideoCodec=1\nAudioCodec=2\n");
    write(folder + QStringLiteral("Standard.avo"),
          "[General]\nDescription=Keine\nVideoCodec=0\nAudioCodec=1\n[Extra]\nKey=3\n");
    const QString other = ProgramDir() + QStringLiteral("other/");
    ASSERT_TRUE(QDir().mkpath(other));
    struct Case {
        const char* text;
        const char* match;
    } cases[] = {
        {"[General]\nDescription=None\nAudioCodec=1\nVideoCodec=0\n[Extra]\nKey=3\n", "Standard"},
        {"[General]\nDescription=Quick\nVideoCodec=1\nAudioCodec=2\n", "Fast"},
        {"[General]\nDescription=None\nVideoCodec=0\nAudioCodec=1\n[Extra]\nKey=4\n", ""},
        {"[General]\nDescription=None\nVideoCodec=0\nAudioCodec=1\n", ""},
        {"[General]\nDescription=Only a description\n", ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        write(other + QStringLiteral("Default.avo"), c.text);
        EXPECT_EQ(MatchingProfile(0, other + QStringLiteral("Default.avo")), QLatin1String(c.match));
    }
    EXPECT_EQ(MatchingProfile(0, other + QStringLiteral("missing.avo")), QString());
    EXPECT_EQ(MatchingProfile(22, other + QStringLiteral("Default.avo")), QString());
}

TEST_F(ProfileFolders, SameNameInTheFourMpoFormatsLivesSideBySide) {
    for (int index : {1, 3, 12, 13}) {
        FormatInfo(index)->Defaults();
        FormatInfo(index)->Save(ProfileFileName(index, QStringLiteral("Same")));
    }
    for (int index : {1, 3, 12, 13}) {
        EXPECT_EQ(ProfileNames(index), QStringList{"Same"});
        EXPECT_EQ(TIniFile(ProfileFileName(index, QStringLiteral("Same"))).ReadSection(ProfileSection),
                  FormatInfo(index)->KeyNames());
    }
}

TEST_F(ProfileFolders, OutputExtensionAndThe3gp2Form) {
    for (const TFormatInfo& f : FormatCatalogue())
        EXPECT_EQ(OutputExtension(f.Index, QStringLiteral("none")), f.OutputExtension);
    EXPECT_EQ(OutputExtension(22, QString()), QString());
    EXPECT_EQ(OutputExtension(-1, QString()), QString());

    WriteProfile(2, QStringLiteral("Sony 3g2"), "[General]\nTGPFormat=2\n");
    WriteProfile(2, QStringLiteral("Sony 3gp"), "[General]\nTGPFormat=1\n");
    WriteProfile(2, QStringLiteral("Wrapped"), "[General]\nTGPFormat=258\n");
    EXPECT_EQ(OutputExtension(2, QStringLiteral("Sony 3g2")), QStringLiteral(".3g2"));
    EXPECT_EQ(TGPSettings.TGPFormat, 2);
    EXPECT_EQ(OutputExtension(2, QStringLiteral("Sony 3gp")), QStringLiteral(".3gp"));
    EXPECT_EQ(OutputExtension(2, QStringLiteral("Wrapped")), QStringLiteral(".3g2"));
    EXPECT_EQ(OutputExtension(2, QStringLiteral("missing")), QStringLiteral(".3gp"));
    // Only the 3GP rule looks at a profile.
    EXPECT_EQ(OutputExtension(0, QStringLiteral("Sony 3g2")), QStringLiteral(".avi"));
}
