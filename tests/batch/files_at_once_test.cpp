// How many files a batch converts at once: the setting when it names a number, else the automatic
// choice from the format's kind, the processors and the memory available.
#include "batch/batch_setup.h"
#include "sources/sourcelist.h"

#include <gtest/gtest.h>

namespace {

constexpr int64_t MiB = 1LL << 20;

TEST(FilesAtOnce, AutomaticKeepsTheProcessorsBusyWithinTheMemory) {
    struct Case {
        const char* what;
        TFormatKind kind;
        int processors;
        int64_t available;
        int files;
    };
    const Case cases[] = {
        {"sound: one file a processor", TFormatKind::Audio, 2, -1, 2},
        {"sound on eight processors", TFormatKind::Audio, 8, -1, 8},
        {"sound never past the most at once", TFormatKind::Audio, 64, -1, 16},
        {"one processor: one file", TFormatKind::Audio, 1, -1, 1},
        {"no processor count: one file", TFormatKind::Audio, 0, -1, 1},
        {"video on two processors: two", TFormatKind::Video, 2, -1, 2},
        {"video: half the processors", TFormatKind::Video, 6, -1, 3},
        {"video: at most four", TFormatKind::Video, 32, -1, 4},
        {"video on one processor", TFormatKind::Video, 1, -1, 1},
        {"memory for three sound files", TFormatKind::Audio, 8, 3 * 128 * MiB + 1, 3},
        {"memory for one video file", TFormatKind::Video, 8, 600 * MiB, 1},
        {"memory for none: still one", TFormatKind::Video, 8, 10 * MiB, 1},
    };
    for (const Case& c : cases)
        EXPECT_EQ(AutomaticFilesAtOnce(c.kind, c.processors, c.available), c.files) << c.what;
}

// A 4K film converted at its size takes some 1.6 GiB: fewer such files fit in the memory than
// full HD or smaller ones, while a sound output of the same film takes no picture at all.
TEST(FilesAtOnce, ALargerPictureLeavesRoomForFewerVideoFiles) {
    constexpr int64_t uhd = 3840 * 2160;
    constexpr int64_t fullHd = 1920 * 1080;
    constexpr int64_t small = 320 * 240;
    EXPECT_EQ(AutomaticFilesAtOnce(TFormatKind::Video, 8, 4096 * MiB, uhd), 2);
    EXPECT_EQ(AutomaticFilesAtOnce(TFormatKind::Video, 8, 4096 * MiB, fullHd), 4);
    EXPECT_EQ(AutomaticFilesAtOnce(TFormatKind::Video, 8, 4096 * MiB, small), 4);
    EXPECT_EQ(AutomaticFilesAtOnce(TFormatKind::Video, 8, 1536 * MiB, fullHd), 2);
    EXPECT_EQ(AutomaticFilesAtOnce(TFormatKind::Video, 8, 1536 * MiB, small), 3);
    EXPECT_EQ(AutomaticFilesAtOnce(TFormatKind::Video, 8, -1, uhd), 4);
    EXPECT_EQ(AutomaticFilesAtOnce(TFormatKind::Audio, 8, 4096 * MiB, uhd), 8);
}

TEST(FilesAtOnce, TheLargestPictureIsTheLargestAmongTheListedSources) {
    const QString media = QStringLiteral(VARID_MEDIA_DIR "/");
    TSourceList list;
    list.SetInputFilters({QStringLiteral("Media=*.mp4;*.mp3")});
    ASSERT_EQ(list.AddSourceFile(media + QStringLiteral("viper.mp3")), TAddResult::Added);
    EXPECT_EQ(LargestPicture(list), 0);
    for (const char* name : {"rabbit320.mp4", "frog.mp4", "bottle-detection.mp4"})
        ASSERT_EQ(list.AddSourceFile(media + QString::fromLatin1(name)), TAddResult::Added) << name;
    EXPECT_EQ(LargestPicture(list), 720 * 480);
}

TEST(FilesAtOnce, ANumberedSettingIsTakenAsItStandsUpToTheMost) {
    for (const TFormatKind kind : {TFormatKind::Audio, TFormatKind::Video}) {
        EXPECT_EQ(FilesAtOnceFor(1, kind), 1);
        EXPECT_EQ(FilesAtOnceFor(5, kind), 5);
        EXPECT_EQ(FilesAtOnceFor(16, kind), 16);
        EXPECT_EQ(FilesAtOnceFor(200, kind), 16);
        EXPECT_GE(FilesAtOnceFor(0, kind), 1);
    }
}

} // namespace
