#include "app/errors.h"
#include "lang/strings.h"
#include "media/fileinfo.h"
#include "media/probe.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <clocale>
#include <locale.h>
#include <optional>

namespace {

const QString kMedia = QStringLiteral(VARID_MEDIA_DIR "/");

QString None() {
    return Str(Ids::IDS_None);
}

// The sixteen probed fields in probe order, for comparing whole records at once.
QStringList Probed(const TFileItem& i) {
    return {i.CompleteName, i.FileSize,     i.Format,   i.PlayTime,     i.AudioCount,  i.VideoCount,
            i.VideoCodec,   i.Width,        i.Height,   i.VideoBitrate, i.AspectRatio, i.FrameRate,
            i.AudioCodec,   i.AudioBitrate, i.Channels, i.SamplingRate};
}

struct ProbeCase {
    const char* file;
    // FileSize .. SamplingRate; "-" stands for the "<None>" text.
    std::vector<const char*> expected;
};

class ProbeRealFiles : public testing::TestWithParam<ProbeCase> {};

TEST_P(ProbeRealFiles, ReadsTheFactsOfTheFirstStreams) {
    const ProbeCase& c = GetParam();
    const QString path = kMedia + QString::fromUtf8(c.file);
    const TFileItem item = ProbeFileItem(path);
    EXPECT_EQ(item.FileName, QString::fromUtf8(c.file));
    EXPECT_EQ(item.FilePath, kMedia);
    QStringList expected = {path};
    for (const char* v : c.expected)
        expected << (QByteArray(v) == "-" ? None() : QString::fromUtf8(v));
    EXPECT_EQ(Probed(item), expected);
    EXPECT_TRUE(IsDescribed(item));
}

// Codecs and the video bit rate come from the names the library answers today when the old ones
// ("Codec/String", "Bitrate") give nothing.
INSTANTIATE_TEST_SUITE_P(
    SampleMedia, ProbeRealFiles,
    testing::Values(ProbeCase{"rabbit320.mp4",
                              {"834563", "MPEG-4", "00:00:07.800", "1", "1", "AVC", "320", "240", "595922",
                               "1.333", "30.000", "AAC", "256000", "2", "44100"}},
                    ProbeCase{"viper.mp3",
                              {"1314238", "MPEG Audio", "00:00:41.038", "1", "-", "-", "-", "-", "-", "-",
                               "-", "MPEG Audio", "256000", "2", "44100"}},
                    ProbeCase{"again.mkv",
                              {"205376", "Matroska", "00:00:02.600", "-", "1", "AVC", "640", "480", "619351",
                               "1.333", "30.000", "-", "-", "-", "-"}},
                    ProbeCase{"rabbit320.webm",
                              {"330618", "WebM", "00:00:07.800", "1", "1", "VP8", "320", "240", "156807",
                               "1.333", "30.000", "Vorbis", "160000", "2", "44100"}}),
    [](const testing::TestParamInfo<ProbeCase>& info) {
        return QString::fromUtf8(info.param.file).replace(QLatin1Char('.'), QLatin1Char('_')).toStdString();
    });

TEST(Probe, MissingFileGivesNoneEverywhere) {
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("gone.mp4"));
    const TFileItem item = ProbeFileItem(path);
    EXPECT_EQ(item.FileName, QStringLiteral("gone.mp4"));
    EXPECT_EQ(Probed(item), QStringList(16, None()));
    EXPECT_FALSE(IsDescribed(item));
    EXPECT_TRUE(MediaInfoReport(path).isEmpty());
}

TEST(Probe, FilesWithoutMediaAreNotDescribed) {
    QTemporaryDir dir;
    for (const QByteArray& content :
         {QByteArray("just some text\n"), QByteArray(4096, '\x5a'), QByteArray()}) {
        const QString path = dir.filePath(QStringLiteral("clip.mp4"));
        QFile f(path);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
        f.write(content);
        f.close();
        const TFileItem item = ProbeFileItem(path);
        EXPECT_EQ(item.Format, None()) << content.size();
        EXPECT_EQ(item.VideoCount, None());
        EXPECT_FALSE(IsDescribed(item)) << content.size();
    }
}

// This thread runs under the plain "C" locale (ASCII only) while alive.
class TCLocaleScope {
  public:
    TCLocaleScope() : m_c(newlocale(LC_ALL_MASK, "C", nullptr)), m_previous(uselocale(m_c)) {}
    ~TCLocaleScope() {
        uselocale(m_previous);
        freelocale(m_c);
    }
    TCLocaleScope(const TCLocaleScope&) = delete;
    TCLocaleScope& operator=(const TCLocaleScope&) = delete;

  private:
    locale_t m_c;
    locale_t m_previous;
};

// Paths cross the library's narrow interface as UTF-8, both ways, whatever the locale.
TEST(Probe, NonAsciiNamesWithBlanks) {
    QTemporaryDir dir;
    const QString folder = dir.filePath(QStringLiteral("Übung ñ"));
    ASSERT_TRUE(QDir().mkpath(folder));
    const QString path = folder + QStringLiteral("/Häschen über Öl – 兔子 1.mp4");
    ASSERT_TRUE(QFile::copy(kMedia + QStringLiteral("rabbit320.mp4"), path));
    for (const bool asciiLocale : {false, true}) {
        std::optional<TCLocaleScope> cLocale;
        if (asciiLocale)
            cLocale.emplace();
        const TFileItem item = ProbeFileItem(path);
        EXPECT_EQ(item.CompleteName, path) << asciiLocale;
        EXPECT_EQ(item.FileSize, QStringLiteral("834563"));
        EXPECT_EQ(item.VideoCodec, QStringLiteral("AVC"));
        EXPECT_TRUE(MediaInfoReport(path).contains(QStringLiteral("Häschen über Öl – 兔子 1.mp4")));
    }
}

// Phones store the picture as the sensor sees it and the turn that shows it upright: the panel
// shows the picture's size as it is shown, the report names the turn.
TEST(Probe, TurnedPhoneVideoIsDescribedAsShown) {
    QTemporaryDir dir;
    const QString stored = dir.filePath(QStringLiteral("stored.mp4"));
    const QString turned = dir.filePath(QStringLiteral("phone.mp4"));
    for (const QStringList& args :
         {QStringList{"-f", "lavfi", "-i", "color=size=640x360:duration=0.2", "-c:v", "libx264", "-preset",
                      "ultrafast", "-pix_fmt", "yuv420p", stored},
          QStringList{"-i", stored, "-c", "copy", "-metadata:s:v:0", "rotate=90", turned}}) {
        QProcess ffmpeg;
        ffmpeg.start(QStringLiteral("ffmpeg"),
                     QStringList{"-hide_banner", "-loglevel", "error", "-nostdin", "-y"} + args);
        ASSERT_TRUE(ffmpeg.waitForFinished(60000) && ffmpeg.exitCode() == 0)
            << ffmpeg.readAllStandardError().toStdString();
    }
    const TFileItem item = ProbeFileItem(turned);
    EXPECT_EQ(item.Width, QStringLiteral("360"));
    EXPECT_EQ(item.Height, QStringLiteral("640"));
    EXPECT_EQ(item.AspectRatio, QStringLiteral("0.562"));
    const QString report = MediaInfoReport(turned);
    for (const char* line :
         {"Width +: 360 pixels", "Height +: 640 pixels", "Display aspect ratio +: 9:16", "Rotation +: 2?70"})
        EXPECT_TRUE(report.contains(QRegularExpression(QString::fromLatin1(line)))) << line << "\n"
                                                                                    << report.toStdString();
    // A picture stored as shown keeps its figures.
    const TFileItem plain = ProbeFileItem(stored);
    EXPECT_EQ(plain.Width, QStringLiteral("640"));
    EXPECT_EQ(plain.AspectRatio, QStringLiteral("1.778"));
    EXPECT_TRUE(MediaInfoReport(stored).contains(QRegularExpression(QStringLiteral("Width +: 640 pixels"))));
}

TEST(Probe, ProbeTextUsesTheCurrentNoneText) {
    EXPECT_EQ(ProbeText(QString()), QStringLiteral("<None>"));
    EXPECT_EQ(ProbeText(QStringLiteral("")), QStringLiteral("<None>"));
    EXPECT_EQ(ProbeText(QStringLiteral(" 0 ")), QStringLiteral(" 0 "));
    SetStr(Ids::IDS_None, QStringLiteral("<Keine>"));
    EXPECT_EQ(ProbeText(QString()), QStringLiteral("<Keine>"));
    EXPECT_EQ(ProbeFileItem(QStringLiteral("/nonexistent/x.avi")).Width, QStringLiteral("<Keine>"));
    ResetStringTable();
}

TEST(FileInformation, CaptionAndStandardReport) {
    TFileItem item = NewFileItem(kMedia + QStringLiteral("rabbit320.mp4"));
    const auto info = FileInformation(item);
    ASSERT_TRUE(info.has_value());
    EXPECT_EQ(info->caption, QStringLiteral("File Information - rabbit320.mp4"));
    for (const char* text : {"General", "MPEG-4", "AVC", "AAC", "320 pixels"})
        EXPECT_TRUE(info->report.contains(QString::fromUtf8(text))) << text;
}

TEST(FileInformation, NothingForAFileDeletedMeanwhile) {
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("a.mp3"));
    ASSERT_TRUE(QFile::copy(kMedia + QStringLiteral("viper.mp3"), path));
    const TFileItem item = ProbeFileItem(path);
    ASSERT_TRUE(QFile::remove(path));
    EXPECT_FALSE(FileInformation(item).has_value());
}

TEST(FileInformation, SavesTheReportLineByLine) {
    QTemporaryDir dir;
    const QString name = FileInfoSaveName(dir.filePath(QStringLiteral("File Info")));
    EXPECT_EQ(name, dir.filePath(QStringLiteral("File Info.txt")));
    EXPECT_EQ(FileInfoSaveName(QStringLiteral("/x/report.log")), QStringLiteral("/x/report.log"));
    EXPECT_EQ(FileInfoSaveFilter(), QStringLiteral("Text Files (*.txt);;All Files (*)"));

    SaveFileInfoReport(name, QStringLiteral("General\r\nFormat : MPEG-4\rÜber\n"));
    QFile f(name);
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    EXPECT_EQ(f.readAll(), QByteArray("General\nFormat : MPEG-4\n\xc3\x9c"
                                      "ber\n"));
    f.close();

    SaveFileInfoReport(name, QStringLiteral("second"));
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    EXPECT_EQ(f.readAll(), QByteArray("second\n"));
}

TEST(FileInformation, SaveIntoAMissingFolderNamesTheFile) {
    QTemporaryDir dir;
    const QString name = dir.filePath(QStringLiteral("no such folder/File Info.txt"));
    try {
        SaveFileInfoReport(name, QStringLiteral("x"));
        FAIL() << "no error";
    } catch (const EVaridError& e) {
        EXPECT_TRUE(e.message().contains(name));
    }
}

TEST(MediaPanel, ValuesOfARecordOrNoneWithoutOne) {
    EXPECT_EQ(MediaPanelValues(nullptr), QStringList(15, None()));
    const TFileItem item = ProbeFileItem(kMedia + QStringLiteral("viper.mp3"));
    const QStringList values = MediaPanelValues(&item);
    ASSERT_EQ(values.size(), 15);
    EXPECT_EQ(values.first(), item.CompleteName);
    EXPECT_FALSE(values.contains(item.FileSize)); // the size is not shown
    for (size_t i = 0; i < kMediaPanelFields.size(); ++i) {
        if (kMediaPanelFields[i].group == TPanelGroup::Video) {
            EXPECT_EQ(values[static_cast<int>(i)], None()) << i;
        }
    }
}

} // namespace
