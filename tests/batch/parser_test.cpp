// The engine-output parser: line joining across blocks, the values it reads, the failure lines,
// the percentages and the time estimates.
#include "app/utils.h"
#include "engine/engine_parser.h"
#include "lang/strings.h"
#include "recording_view.h"

#include <QFile>
#include <gtest/gtest.h>

namespace {

constexpr int64_t MB = 1024 * 1024;

// The file status label: the string table's "Status= " text and the percentage.
QString status(int percent) {
    return Str(Ids::IDS_CONVERTING_Status) + QString::number(percent) + QLatin1Char('%');
}

class ParserTest : public ::testing::Test {
  protected:
    TBatchRunState run;
    TRecordingView view;
    TFakeClock clock;
    TEngineOutputParser parser{run, view, clock};

    void SetUp() override {
        parser.SetActive(true);
        run.BatchStartTime = clock.now;
        run.FileStartTime = clock.now;
        run.TotalCount = 1;
        parser.BeginFile(QStringLiteral("-y -f avi "));
    }
    void feed(const QByteArray& block, bool ended = false) {
        parser.ParseEngineOutput(block.constData(), block.size(), ended);
    }
};

TEST_F(ParserTest, ProgressLineSplitAcrossBlocksIsParsedOnceComplete) {
    feed("  Duration: 00:00:08.00, start: 0.000000, bitrate: 1205 kb/s\r\n");
    const int writesBefore = view.fileStatusWrites;
    feed("frame=  100 fps= 51 q=2.0 size=  512kB ti");
    EXPECT_EQ(run.TimeMs, 0);
    EXPECT_EQ(view.fileStatusWrites, writesBefore);
    EXPECT_EQ(run.PartialLine, QStringLiteral("frame=  100 fps= 51 q=2.0 size=  512kB ti"));
    feed("me=4.00 bitrate= 838.9kbits/s\n");
    EXPECT_EQ(run.TimeMs, 4000);
    EXPECT_EQ(view.fileStatusWrites, writesBefore + 1);
    EXPECT_EQ(view.fileStatus, status(50));
    EXPECT_TRUE(run.PartialLine.isEmpty());
}

TEST_F(ParserTest, TextWithoutLineBreakWaitsForFinalDrainOrFlush) {
    feed("  Duration: 00:00:10.00, start: 0.0\n");
    feed("size= 1kB time=5.00 bitrate=1.0kbits/s");
    EXPECT_EQ(run.TimeMs, 0);
    parser.ParseEngineOutput(nullptr, 0, true); // the final drain, empty and without a buffer
    EXPECT_EQ(run.TimeMs, 5000);

    feed("Error while opening encoder");
    EXPECT_FALSE(run.FileFailed);
    parser.FlushEngineOutput();
    EXPECT_TRUE(run.FileFailed);
    EXPECT_TRUE(run.PartialLine.isEmpty());
}

TEST_F(ParserTest, LoneCarriageReturnsAndZeroBytesEndTextAsSpecified) {
    feed("  Duration: 00:00:10.00, start: 0.0\rsize= 1kB time=1.00 bitrate=1\rsize= 2kB time=2.00 "
         "bitrate=1\r");
    EXPECT_EQ(run.TimeMs, 2000);
    const QByteArray withZero("size= 3kB time=3.00 bitrate=1\n\0size= 4kB time=9.00 bitrate=1\n", 60);
    feed(withZero);
    EXPECT_EQ(run.TimeMs, 3000);
}

TEST_F(ParserTest, NamesAreReadAndNonAsciiCharactersSurviveASplitBlock) {
    const QByteArray line = QStringLiteral("Input #0, avi, from '/in/Grüße a.avi':\n").toUtf8();
    const qsizetype split = line.indexOf("\xc3") + 1; // inside the two bytes of "ü"
    feed(line.left(split));
    feed(line.mid(split));
    feed("Output #0, avi, to '/out/Grüße a.avi':\n");
    EXPECT_EQ(run.EngineInputName, QStringLiteral("/in/Grüße a.avi"));
    EXPECT_EQ(view.working, QStringLiteral("Working on file 1 of 1: Grüße a.avi"));
    EXPECT_EQ(view.output, QStringLiteral("Output file: Grüße a.avi"));
    feed("Input #0, avi, from 'N/A':\n");
    EXPECT_EQ(run.EngineInputName, QStringLiteral("/in/Grüße a.avi"));
}

TEST_F(ParserTest, ScriptInputShowsTheSourceName) {
    run.CurrentInput = QStringLiteral("/media/clip.mkv");
    feed("Input #0, avs, from '/prog/langs/DirectShow.avs':\n");
    EXPECT_EQ(run.EngineInputName, QStringLiteral("/media/clip.mkv"));
    EXPECT_EQ(view.working, QStringLiteral("Working on file 1 of 1: clip.mkv"));
}

TEST_F(ParserTest, DurationValues) {
    feed("  Duration: 00:01:23.45, start: 0.000000, bitrate: 1205 kb/s\n");
    EXPECT_EQ(run.DurationMs, 83450);
    feed("  Duration: N/A, start: 0.000000\n");
    EXPECT_EQ(run.DurationMs, 83450);
    feed("  Duration: garbage, start: 0\n");
    EXPECT_EQ(run.DurationMs, 83450);
    feed("   Duration: 00:00:01.00, indented too far\n");
    EXPECT_EQ(run.DurationMs, 83450);
}

TEST_F(ParserTest, WithoutDurationNoPercentageIsShown) {
    feed("size= 1kB time=5.00 bitrate=1\n");
    EXPECT_EQ(run.TimeMs, 5000);
    EXPECT_EQ(view.fileStatusWrites, 0);
    EXPECT_EQ(view.batchPercent, -1);
}

TEST_F(ParserTest, TimeWindowLimitsTheDuration) {
    struct Case {
        const char* options;
        int expected;
    };
    const Case cases[] = {
        {"-y -f avi  -t 0:01:00.000 -ss 0:00:30.000 -vcodec xvid ", 60000},
        {"-y -f avi  -t 0:01:00.000 -ss 0:09:30.000 -vcodec xvid ", 600000},
        {"-y -f avi -vcodec xvid ", 600000},
    };
    for (const Case& c : cases) {
        run.DurationMs = 0;
        parser.BeginFile(QString::fromLatin1(c.options));
        feed("  Duration: 00:10:00.00, start: 0.0\n");
        feed("size= 1kB time=1.00 bitrate=1\n");
        EXPECT_EQ(run.DurationMs, c.expected) << c.options;
    }
}

TEST_F(ParserTest, TimeValues) {
    feed("  Duration: 00:10:00.00, start: 0.0\n");
    feed("size= 1kB time=12.3456 bitrate=1\n");
    EXPECT_EQ(run.TimeMs, 12346);
    feed("size= 1kB time=N/A bitrate=1\n");
    EXPECT_EQ(run.TimeMs, 12346);
    feed("size= 1kB time=abc bitrate=1\n");
    EXPECT_EQ(run.TimeMs, 12346);
    feed("size= 1kB time=10000000000.0 bitrate=1\n");
    EXPECT_EQ(run.TimeMs, 0);
    feed("size= 1kB time=0.0625 bitrate=1\n"); // 62.5 ms: ties to even
    EXPECT_EQ(run.TimeMs, 62);
}

// A progress line with a time before the start (as FFmpeg reports before the first frame of some
// sources) is no position yet, so the file's percentage never goes below zero.
TEST_F(ParserTest, ATimeBeforeTheStartIsNoPosition) {
    feed("  Duration: 00:10:00.00, start: -2.6\n");
    feed("size= 1kB time=6.00 bitrate=1\n");
    EXPECT_EQ(view.filePercent, 1);
    feed("size= 1kB time=-2.60 bitrate=1\n");
    EXPECT_EQ(run.TimeMs, 0);
    EXPECT_EQ(view.filePercent, 1);
    EXPECT_GE(run.FilePercent, 0);
}

TEST_F(ParserTest, FilePercentIsCappedAt100) {
    feed("  Duration: 00:10:00.00, start: 0.0\n");
    feed("size= 1kB time=700.00 bitrate=1\n");
    EXPECT_EQ(run.FilePercent, 100);
    EXPECT_EQ(view.fileStatus, status(100));
    EXPECT_EQ(view.filePercent, 100);
}

TEST(ParserFailureLines, OnlyTheEngineFailureShapesFailAFile) {
    struct Case {
        const char* line;
        bool fails;
    };
    const Case cases[] = {
        {"Error while decoding stream #0.0", false},
        {"Error opening input file /x/a.avi", true},
        {"[mp4 @ 0x1] Could not open codec", true},
        {"  Error", false},
        {"No audio or video streams available", true},
        {"output: I/O error occured", true},
        {"Errorless", true},
        {"frame= 1 size= 1kB time=1.00 bitrate=1", false},
    };
    for (const Case& c : cases)
        EXPECT_EQ(TEngineOutputParser::IsFailureLine(QString::fromLatin1(c.line)), c.fails) << c.line;
}

TEST_F(ParserTest, EveryFailureLineIsShownOnItsOwn) {
    feed("Error while decoding stream #0.0\nError opening input file\n\nCould not open codec\n");
    EXPECT_TRUE(run.FileFailed);
    EXPECT_EQ(view.errors, QStringList({QStringLiteral("Error opening input file"),
                                        QStringLiteral("Could not open codec")}));
    EXPECT_EQ(parser.FirstFailureLine(), QStringLiteral("Error opening input file"));
}

TEST_F(ParserTest, InactiveParserSkipsEverything) {
    parser.SetActive(false);
    feed("Error opening input file\n  Duration: 00:00:10.00, start: 0\n");
    EXPECT_FALSE(run.FileFailed);
    EXPECT_EQ(run.DurationMs, 0);
    EXPECT_TRUE(view.errors.isEmpty());
}

TEST_F(ParserTest, RemainingTimesFollowTheClock) {
    run.TotalBytes = 100 * MB;
    run.CurrentBytes = 100 * MB;
    feed("  Duration: 00:00:20.00, start: 0.0\n");
    clock.advance(10000);
    feed("size= 1kB time=5.00 bitrate=1\n");
    EXPECT_EQ(view.fileStatus, status(25));
    EXPECT_EQ(view.fileRemaining, QStringLiteral("0:00:30")); // 40 s expected, 10 s gone
    EXPECT_EQ(view.batchElapsed, QStringLiteral("0:00:10"));
    EXPECT_EQ(view.batchStatus, QStringLiteral("Batch=25%"));
    EXPECT_EQ(view.batchEstimated, QStringLiteral("0:00:40"));
    EXPECT_EQ(view.batchRemaining, QStringLiteral("0:00:30"));
    EXPECT_EQ(view.trayHint, QStringLiteral(": 25%"));
    EXPECT_EQ(view.animationStarts, 1);
    feed("size= 1kB time=6.00 bitrate=1\n");
    EXPECT_EQ(view.animationStarts, 1);
}

TEST_F(ParserTest, BatchPercentByBytesAcrossFiles) {
    // Three files of 100, 100 and 200 MB.
    run.TotalCount = 3;
    run.TotalBytes = 400 * MB;
    run.CurrentBytes = 100 * MB;
    parser.UpdateBatchProgressAtFileEnd();
    EXPECT_EQ(view.batchStatus, QStringLiteral("Batch=25%"));
    EXPECT_EQ(run.DoneBytes, 100 * MB);

    run.DoneCount = 1;
    feed("  Duration: 00:00:10.00, start: 0.0\n");
    feed("size= 1kB time=5.00 bitrate=1\n");
    EXPECT_EQ(run.ProcessedBytes, 150 * MB);
    EXPECT_EQ(view.batchStatus, QStringLiteral("Batch=38%")); // 37.5 rounds to even
    EXPECT_EQ(view.working, QStringLiteral("Working on file 2 of 3: "));
}

// Recorded engine runs replayed in blocks of several sizes: every split gives the same result.
TEST(ParserReplay, RecordedRunsGiveTheSameResultWhateverTheBlocks) {
    struct Case {
        const char* file;
        const char* input;
        const char* output;
        int duration;
        bool failed;
    };
    const Case cases[] = {
        {"convert_ok.txt", "/media/again.mkv", "/out/again.avi", 2600, false},
        {"input_missing.txt", "", "", 0, true},
    };
    for (const Case& c : cases) {
        QFile f(QStringLiteral(VARID_TEST_DATA_DIR "/engine/") + QString::fromLatin1(c.file));
        ASSERT_TRUE(f.open(QIODevice::ReadOnly)) << c.file;
        const QByteArray recording = f.readAll();
        for (const qsizetype block : {qsizetype(1), qsizetype(7), qsizetype(64), recording.size()}) {
            SCOPED_TRACE(std::string(c.file) + " in blocks of " + std::to_string(block));
            TBatchRunState run;
            TRecordingView view;
            TFakeClock clock;
            TEngineOutputParser parser(run, view, clock);
            parser.SetActive(true);
            run.BatchStartTime = run.FileStartTime = clock.now;
            run.TotalCount = 1;
            run.CurrentInput = QStringLiteral("/media/again.mkv");
            parser.BeginFile(QStringLiteral("-y -f avi "));
            for (qsizetype at = 0; at < recording.size(); at += block) {
                const QByteArray part = recording.mid(at, block);
                parser.ParseEngineOutput(part.constData(), part.size(), false);
            }
            parser.ParseEngineOutput("", 0, true);
            parser.FlushEngineOutput();
            EXPECT_EQ(run.EngineInputName, QString::fromLatin1(c.input));
            EXPECT_EQ(run.EngineOutputName, QString::fromLatin1(c.output));
            EXPECT_EQ(run.DurationMs, c.duration);
            EXPECT_EQ(run.FileFailed, c.failed);
            EXPECT_EQ(view.errors.size(), c.failed ? 1 : 0);
            if (!c.failed) {
                EXPECT_EQ(run.TimeMs, 2600);
                EXPECT_EQ(view.filePercent, 100);
                EXPECT_EQ(view.output, QStringLiteral("Output file: again.avi"));
            }
        }
    }
}

TEST(DurationText, FormatsHoursMinutesSecondsAndShowsTheHoursPastADay) {
    EXPECT_EQ(DurationText(0), QStringLiteral("0:00:00"));
    EXPECT_EQ(DurationText(3661999), QStringLiteral("1:01:01"));
    EXPECT_EQ(DurationText(25 * 3600000LL), QStringLiteral("25:00:00"));
    EXPECT_EQ(DurationText(100 * 3600000LL + 59000), QStringLiteral("100:00:59"));
    EXPECT_EQ(DurationText(-5000), QStringLiteral("0:00:00"));
}

TEST(FormatStr, FillsPlaceholdersInOrderAndNeverOverruns) {
    EXPECT_EQ(FormatStr(QStringLiteral("%s: %d%%"), {QStringLiteral("a.avi"), QStringLiteral("5")}),
              QStringLiteral("a.avi: 5%"));
    EXPECT_EQ(FormatStr(QStringLiteral("Working on file %d of %d: %s %s"), {QStringLiteral("1")}),
              QStringLiteral("Working on file 1 of :  "));
    EXPECT_EQ(FormatStr(QStringLiteral("%.2d|%x|%"), {QStringLiteral("7")}), QStringLiteral("7|%x|%"));
}

} // namespace
