// Every frame rate, aspect, size, sample rate, channel and bit-rate choice the profile editors
// offer must give a file that the readers accept, with the value asked for or the nearest one the
// format allows.
#include "engine_fixture.h"

#include <functional>
#include <ostream>

namespace avtest {
namespace {

struct ValueCase {
    std::string name;
    QString extension;
    QString options;
    std::function<QString(const MediaInfoFacts&)> read; // the value to check; null to check readability only
    QString expected;
};
// Test listings and failure messages show the case by its name.
void PrintTo(const ValueCase& c, std::ostream* os) {
    *os << c.name;
}

QString VideoField(const MediaInfoFacts& info, QString Track::*field) {
    return info.video.empty() ? QString() : info.video.back().*field;
}
QString AudioField(const MediaInfoFacts& info, QString Track::*field) {
    return info.audio.empty() ? QString() : info.audio.front().*field;
}

auto Video(QString Track::*field) {
    return [field](const MediaInfoFacts& info) { return VideoField(info, field); };
}
auto Audio(QString Track::*field) {
    return [field](const MediaInfoFacts& info) { return AudioField(info, field); };
}

QString Name(QString text) {
    return text.replace('.', '_').replace(':', 'x');
}

std::vector<ValueCase> Cases() {
    std::vector<ValueCase> cases;
    // The shared frame-rate list, on an AVI codec (kept) and on MPEG-1 video (the nearest MPEG rate).
    const std::vector<std::pair<QString, QString>> rates = {
        {"10", "10.000"},    {"12", "12.000"},     {"14.985", "14.985"}, {"15", "15.000"},
        {"19.98", "19.980"}, {"23.976", "23.976"}, {"24", "24.000"},     {"25", "25.000"},
        {"29.97", "29.970"}, {"30", "30.000"},     {"50", "50.000"},     {"59.94", "59.940"},
        {"60", "60.000"},
    };
    for (const auto& [rate, shown] : rates) {
        cases.push_back({"AviRate" + Name(rate).toStdString(), "avi",
                         "-y -f avi -vcodec msmpeg4 -b 1080k -r " + rate + " -an ", Video(&Track::frameRate),
                         shown});
        cases.push_back({"MpegRate" + Name(rate).toStdString(),
                         "mpg",
                         "-y -vcodec mpeg1video -b 2496k -r " + rate + " -an ",
                         nullptr,
                         {}});
        cases.push_back({"FlvRate" + Name(rate).toStdString(),
                         "avi",
                         "-y -f avi -vcodec flv -b 768k -r " + rate + " -an ",
                         nullptr,
                         {}});
    }
    for (const QString rate : {"19.98", "23.976", "24", "25", "29.97", "30", "50", "59.94", "60"}) {
        cases.push_back({"VobRate" + Name(rate).toStdString(),
                         "vob",
                         "-y -f vob -vcodec mpeg2video -s 720x576 -b 6000k -r " + rate +
                             " -aspect 5:4 -acodec mp2 -ac 2 -ab 384 -ar 48000 ",
                         nullptr,
                         {}});
    }
    // Aspects.
    cases.push_back({"Aspect4x3", "avi", "-y -f avi -vcodec msmpeg4 -b 1080k -r 25 -aspect 4:3 -an ",
                     Video(&Track::displayAspect), "1.333"});
    cases.push_back({"Aspect16x9", "mp4",
                     "-y -f mp4 -vcodec h264 -s 320x240 -b 1200k -r 25 -aspect 16:9 -an ",
                     Video(&Track::displayAspect), "1.778"});
    cases.push_back({"Aspect11x9", "3gp", "-y -f 3gp -vcodec msmpeg4 -b 144k -r 25 -aspect 11:9 -an ",
                     Video(&Track::displayAspect), "1.222"});
    cases.push_back({"DvdAspect1x1", "mpg", "-target pal-dvd -b 6000k -aspect 1:1 -ab 384 ", nullptr, {}});
    // Sizes that the encoders refuse as given get the nearest size they take.
    cases.push_back({"H263SizeNearest", "avi", "-y -f avi -vcodec h263 -s 320x240 -b 1080k -r 25 -an ",
                     Video(&Track::width), "352"});
    cases.push_back({"Rv10SizeMultipleOf16", "rm", "-y -f rm -vcodec rv10 -b 768k -s 330x250 -r 25 -an ",
                     Video(&Track::width), "336"});
    cases.push_back({"H263pSizeMultipleOf4", "avi", "-y -f avi -vcodec h263p -s 322x242 -b 1080k -r 25 -an ",
                     Video(&Track::height), "244"});
    cases.push_back({"H264OddSize", "mp4", "-y -f mp4 -vcodec h264 -s 321x241 -b 1200k -r 25 -an ",
                     Video(&Track::width), "322"});
    // Sample rates: the eight-value list, the four-value list, the Flash list.
    for (const QString rate : {"11025", "12000", "16000", "22050", "24000", "32000", "44100", "48000"}) {
        cases.push_back({"AacRate" + rate.toStdString(), "aac",
                         "-y -f aac -vn -acodec aac -ac 2 -ab 128 -ar " + rate + " ",
                         Audio(&Track::samplingRate), rate});
        cases.push_back({"MovAlawRate" + rate.toStdString(), "mov",
                         "-y -f mov -vcodec svq1 -b 1200k -r 25 -acodec pcm_alaw -ac 2 -ar " + rate + " ",
                         Audio(&Track::samplingRate), rate});
    }
    for (const QString rate : {"22050", "24000", "44100", "48000"}) {
        cases.push_back({"Mp2Rate" + rate.toStdString(), "mp2",
                         "-y -f mp2 -vn -acodec mp2 -ac 2 -ab 384 -ar " + rate + " ",
                         Audio(&Track::samplingRate), rate});
        cases.push_back({"Mp3Rate" + rate.toStdString(), "mp3",
                         "-y -f mp3 -vn -acodec mp3 -ac 2 -ab 320 -ar " + rate + " ",
                         Audio(&Track::samplingRate), rate});
        // AC-3 has no rate below 32 kHz: the nearest one it has is used.
        cases.push_back({"Ac3Rate" + rate.toStdString(), "ac3",
                         "-y -f ac3 -vn -acodec ac3 -ac 1 -ar " + rate + " -ab 448 ",
                         Audio(&Track::samplingRate), rate.toInt() < 32000 ? "32000" : rate});
    }
    for (const QString rate : {"11025", "22050", "44100"}) {
        cases.push_back({"SwfRate" + rate.toStdString(), "swf",
                         "-y -vcodec flv -b 768k -r 25 -acodec mp3 -ac 2 -ab 160 -ar " + rate + " ",
                         Audio(&Track::samplingRate), rate});
    }
    // Channels.
    cases.push_back({"Mp3Mono", "mp3", "-y -f mp3 -vn -acodec mp3 -ac 1 -ab 128 -ar 44100 ",
                     Audio(&Track::channels), "1"});
    cases.push_back({"Ac3SixLowRate", "ac3", "-y -f ac3 -vn -acodec ac3 -ac 5:1 -ar 48000 -ab 32 ",
                     Audio(&Track::channels), "6"});
    cases.push_back(
        {"AmrStereoAsked", "amr", "-y -f amr -vn -acodec amr_nb -ab 12 ", Audio(&Track::channels), "1"});
    // The AMR bit-rate tables of the editors.
    for (const QString rate : {"8", "9", "10", "11", "12", "13"}) {
        cases.push_back({"AmrNbRate" + rate.toStdString(),
                         "amr",
                         "-y -f amr -vn -acodec amr_nb -ac 1 -ar 8000 -ab " + rate + " ",
                         nullptr,
                         {}});
    }
    for (const QString rate : {"7", "9", "13", "16", "18", "20", "24"}) {
        cases.push_back({"AmrWbRate" + rate.toStdString(),
                         "amr",
                         "-y -f amr -vn -acodec amr_wb -ac 1 -ar 16000 -ab " + rate + " ",
                         nullptr,
                         {}});
    }
    // The modern codecs: both ends and the middle of the speed list, the ends of the quality scales,
    // the smallest picture AV1 takes, FLAC's sample sizes and Opus's own sample rate.
    for (const QString codec : {"hevc", "av1", "vp9"}) {
        for (const QString speed : {"ultrafast", "medium", "veryslow"}) {
            cases.push_back({(codec + "Speed" + speed).toStdString(),
                             "mkv",
                             "-y -f matroska -vcodec " + codec + " -crf 30 -preset " + speed + " -an ",
                             nullptr,
                             {}});
        }
        for (const QString crf : {"0", codec == "hevc" ? "51" : "63"}) {
            cases.push_back({(codec + "Crf" + crf).toStdString(),
                             "mkv",
                             "-y -f matroska -vcodec " + codec + " -crf " + crf + " -preset ultrafast -an ",
                             nullptr,
                             {}});
        }
    }
    cases.push_back({"Av1SmallestPicture", "mkv",
                     "-y -f matroska -vcodec av1 -s 32x32 -crf 35 -preset ultrafast -an ",
                     Video(&Track::width), "64"});
    cases.push_back({"Vp9OddSize", "webm", "-y -f webm -vcodec vp9 -s 321x241 -crf 33 -preset ultrafast -an ",
                     Video(&Track::width), "322"});
    cases.push_back({"H265FullHd", "mp4",
                     "-y -f mp4 -vcodec hevc -s 1920x1080 -crf 45 -preset ultrafast -an ",
                     Video(&Track::height), "1080"});
    for (const QString bits : {"16", "24"}) {
        cases.push_back({"FlacBits" + bits.toStdString(), "flac",
                         "-y -f flac -vn -acodec flac -compression_level 0 -abits " + bits + " ",
                         Audio(&Track::bitDepth), bits});
        cases.push_back({"AlacBits" + bits.toStdString(), "m4a",
                         "-y -f ipod -vn -acodec alac -abits " + bits + " ", Audio(&Track::bitDepth), bits});
    }
    cases.push_back({"OpusRateIsItsOwn", "opus", "-y -f opus -vn -acodec opus -ab 96 -ar 44100 ",
                     Audio(&Track::samplingRate), "48000"});
    for (const QString rate : {"8000", "96000"}) {
        cases.push_back(
            {"MkvAacRate" + rate.toStdString(), "mkv",
             "-y -f matroska -vcodec h264 -crf 30 -preset ultrafast -acodec aac -ab 128 -ar " + rate + " ",
             Audio(&Track::samplingRate), rate});
    }
    cases.push_back(
        {"VorbisSurround", "ogg", "-y -f ogg -vn -acodec vorbis -ac 6 -aq 3 ", Audio(&Track::channels), "6"});
    return cases;
}

class EngineValues : public EngineTest, public ::testing::WithParamInterface<ValueCase> {};

TEST_P(EngineValues, GiveAFileTheReadersAccept) {
    const ValueCase& c = GetParam();
    const QString output = Out("out." + c.extension);
    const EngineResult run = RunEngine(EngineArgs(Sources::Get().AudioVideo(), c.options, output));
    ASSERT_EQ(run.exitCode, 0) << run.text.toStdString();
    EXPECT_TRUE(run.ErrorLines().isEmpty()) << run.text.toStdString();
    const MediaInfoFacts info = ReadMediaInfo(output);
    ASSERT_TRUE(info.ok);
    if (c.read) {
        EXPECT_EQ(c.read(info), c.expected);
    }
    if (c.extension != "swf") { // GStreamer has no Flash reader
        const GstFacts gst = Discover(output);
        EXPECT_TRUE(gst.ok) << gst.output.toStdString();
        EXPECT_LE(gst.video.size(), 1) << gst.output.toStdString();
        EXPECT_FALSE(gst.video.isEmpty() && gst.audio.isEmpty()) << gst.output.toStdString();
    }
}

INSTANTIATE_TEST_SUITE_P(Choices, EngineValues, ::testing::ValuesIn(Cases()),
                         [](const ::testing::TestParamInfo<ValueCase>& info) { return info.param.name; });

} // namespace
} // namespace avtest
