#include "app/scripted_dialogs.h"
#include "app/scripted_power.h"
#include "app/utils.h"

#include <QDir>
#include <QFile>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <stdexcept>

TEST(PathUtils, TrailingSeparatorAndNames) {
    EXPECT_EQ(AddTrailingBackslash(QStringLiteral("/out")), QStringLiteral("/out/"));
    EXPECT_EQ(AddTrailingBackslash(QStringLiteral("/out/")), QStringLiteral("/out/"));
    EXPECT_EQ(AddTrailingBackslash(QStringLiteral("/")), QStringLiteral("/"));
    EXPECT_EQ(AddTrailingBackslash(QString()), QStringLiteral("/"));

    const struct {
        const char* path;
        const char* withoutExt;
        const char* replaced; // ReplaceFileName(path, "new")
    } cases[] = {
        {"/a.b/c", "c", "/a.b/new"},
        {"x.tar.gz", "x.tar", "new.gz"},
        {"name", "name", "new"},
        {"/media/clip.avi", "clip", "/media/new.avi"},
        {"/media/.hidden", "", "/media/new.hidden"},
        {"/folder/", "", "/folder/new"},
        {"English.ini", "English", "new.ini"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(FileNameWithoutExt(QString::fromUtf8(c.path)), QString::fromUtf8(c.withoutExt)) << c.path;
        EXPECT_EQ(ReplaceFileName(QString::fromUtf8(c.path), QStringLiteral("new")),
                  QString::fromUtf8(c.replaced))
            << c.path;
    }
}

TEST(PathUtils, FileNamesAndCharacterSets) {
    EXPECT_TRUE(IsValidFileName(QStringLiteral("My profile")));
    for (const char* bad : {"", "a/b", "a\\b", "c:", "*", "what?", "\"q\"", "<x>", "a|b"})
        EXPECT_FALSE(IsValidFileName(QString::fromUtf8(bad))) << bad;
    EXPECT_TRUE(HasAnyChar(QStringLiteral("xyz"), QStringLiteral("abcz")));
    EXPECT_FALSE(HasAnyChar(QStringLiteral("xyz"), QStringLiteral("abc")));
    EXPECT_FALSE(HasAnyChar(QString(), QStringLiteral("abc")));
}

TEST(PathUtils, FileSizeAndDeleteIfEmpty) {
    QTemporaryDir dir;
    const QString empty = dir.filePath(QStringLiteral("empty.avi"));
    const QString full = dir.filePath(QStringLiteral("full.avi"));
    QFile(empty).open(QIODevice::WriteOnly);
    {
        QFile f(full);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write("12345");
    }
    EXPECT_EQ(GetFileSize64(full), 5);
    EXPECT_EQ(GetFileSize64(empty), 0);
    EXPECT_EQ(GetFileSize64(dir.filePath(QStringLiteral("missing"))), -1);
    EXPECT_EQ(GetFileSize64(QString()), -1);

    EXPECT_FALSE(DeleteIfEmpty(full));
    EXPECT_TRUE(QFile::exists(full));
    EXPECT_FALSE(DeleteIfEmpty(dir.path())); // a folder is never deleted
    EXPECT_FALSE(DeleteIfEmpty(dir.filePath(QStringLiteral("missing"))));
    EXPECT_TRUE(DeleteIfEmpty(empty));
    EXPECT_FALSE(QFile::exists(empty));
}

// A picker opens in the stored folder, or in the nearest folder above it that exists.
TEST(PathUtils, NearestExistingFolder) {
    QTemporaryDir dir;
    const QString base = dir.path();
    ASSERT_TRUE(QDir(base).mkpath(QStringLiteral("a/b")));
    QFile(base + QStringLiteral("/a/file.txt")).open(QIODevice::WriteOnly);
    const struct {
        QString given;
        QString expected;
    } cases[] = {
        {base + QStringLiteral("/a/b"), base + QStringLiteral("/a/b")},
        {base + QStringLiteral("/a/b/"), base + QStringLiteral("/a/b/")}, // an existing folder as given
        {base + QStringLiteral("/Documents"), base},
        {base + QStringLiteral("/a/missing/deeper/still"), base + QStringLiteral("/a")},
        {base + QStringLiteral("/a/file.txt"), base + QStringLiteral("/a")},
        {base + QStringLiteral("/a/file.txt/x"), base + QStringLiteral("/a")},
        {QString(), QDir::homePath()},
        {QStringLiteral("  "), QDir::homePath()},
        {QStringLiteral("/no such top folder/x"), QStringLiteral("/")},
    };
    for (const auto& c : cases)
        EXPECT_EQ(NearestExistingFolder(c.given), c.expected) << c.given.toStdString();
}

TEST(PathUtils, DocumentsFolderFromStandardLocations) {
    EXPECT_EQ(GetShellFolder(QStringLiteral("Personal")),
              QStandardPaths::standardLocations(QStandardPaths::DocumentsLocation).value(0));
    EXPECT_TRUE(GetShellFolder(QStringLiteral("No Such Folder")).isEmpty());
}

TEST(TextUtils, SplitCountExtract) {
    EXPECT_EQ(SplitText(QStringLiteral("a:b:"), QStringLiteral(":")),
              (QStringList{QStringLiteral("a"), QStringLiteral("b"), QString()}));
    EXPECT_EQ(SplitText(QStringLiteral("a::b"), QStringLiteral(":")),
              (QStringList{QStringLiteral("a"), QString(), QStringLiteral("b")}));
    EXPECT_EQ(SplitText(QString(), QStringLiteral(":")), QStringList{QString()});
    EXPECT_EQ(CountOf(QStringLiteral("1:2:3.4"), QLatin1Char(':')), 2);

    const QString line = QStringLiteral("size=    1024kB time=4.00 bitrate=2097.2kbits/s");
    const struct {
        QString text, start, end, expected;
    } cases[] = {
        {line, QStringLiteral("size="), QStringLiteral("kB "), QStringLiteral("1024")},
        {line, QStringLiteral(" time="), QStringLiteral(" "), QStringLiteral("4.00")},
        {line, QStringLiteral(" bitrate="), QStringLiteral("kbits/s"), QStringLiteral("2097.2")},
        {QStringLiteral("abc"), QStringLiteral("x"), QStringLiteral("c"), QStringLiteral("ab")},
        {line, QStringLiteral("size="), QStringLiteral("absent"), QString()},
        {QStringLiteral("Duration: 00:01:23.45, start"), QStringLiteral("Duration: "), QStringLiteral(","),
         QStringLiteral("00:01:23.45")},
    };
    for (const auto& c : cases)
        EXPECT_EQ(ExtractBetween(c.text, c.start, c.end), c.expected) << c.text.toStdString();
}

TEST(TextUtils, LineBreakMarker) {
    EXPECT_EQ(ConvertLineBreaks(QStringLiteral("  Line1#13Line2 \t"), true), QStringLiteral("Line1\nLine2"));
    // The marker is decoded after the blanks are removed, so a leading marker stays a line break.
    EXPECT_EQ(ConvertLineBreaks(QStringLiteral(" #13x"), true), QStringLiteral("\nx"));
    EXPECT_EQ(ConvertLineBreaks(QStringLiteral("a\r\n\r\nb"), false), QStringLiteral("a#13#13b"));
    EXPECT_EQ(ConvertLineBreaks(QStringLiteral("a\n\nb"), false), QStringLiteral("a#13#13b"));
    EXPECT_EQ(ConvertLineBreaks(QStringLiteral("a\n\rb"), false), QStringLiteral("a#13#13b"));
    EXPECT_EQ(ConvertLineBreaks(QStringLiteral(" Status= "), false), QStringLiteral("Status="));
    // Texts with line breaks survive a write and a read.
    for (const QString& t : {QStringLiteral("a\n\nb"), QStringLiteral("Low quality,\nsmall size")})
        EXPECT_EQ(ConvertLineBreaks(ConvertLineBreaks(t, false), true), t);
}

TEST(TimeUtils, MsToTextAndBack) {
    const struct {
        int64_t ms;
        const char* text;
    } cases[] = {{0, "0:00:00.000"},
                 {300000, "0:05:00.000"},
                 {3723004, "1:02:03.004"},
                 {90000000, "25:00:00.000"},
                 {43201250, "12:00:01.250"},
                 {999, "0:00:00.999"},
                 {3600000LL * 1000, "1000:00:00.000"}};
    for (const auto& c : cases) {
        EXPECT_EQ(MsToTimeText(c.ms), QString::fromUtf8(c.text));
        EXPECT_EQ(TimeTextToMs(MsToTimeText(c.ms)), c.ms) << c.text;
    }
    const TSplitTime t = SplitMs(3723004);
    EXPECT_EQ(t.hours, 1);
    EXPECT_EQ(t.minutes, 2);
    EXPECT_EQ(t.seconds, 3);
    EXPECT_EQ(t.milliseconds, 4);
}

TEST(TimeUtils, TimeTextShapes) {
    const struct {
        const char* text;
        int64_t ms;
    } cases[] = {
        {"90", 90000},
        {"1:30", 90000},
        {"1:30.5", 90005},
        {"0:01:30", 90000},
        {"1.5", 1005},
        {"1.500", 1500},
        {"0:00:01.250", 1250},
        {":30", 30000},
        {"1:2:3", 3723000},
        {"1.2.3", -1},
        {"1:2:3:4", -1},
        {"", -1},
        {" 1:30", -1},
        {"1:30 ", -1},
        {"1.2:3", -1},
        {"abc", -1},
        {"1:2:3.4:5", -1},
        {"0:00:00.000", 0},
        {"-5", -1},
        {".5", 5},
        {"999:00:00", 3596400000LL},
    };
    for (const auto& c : cases)
        EXPECT_EQ(TimeTextToMs(QString::fromUtf8(c.text)), c.ms) << c.text;
}

TEST(TimeUtils, ClockTextAndRounding) {
    const struct {
        const char* text;
        int64_t ms;
    } cases[] = {
        {"00:01:23.45", 83450}, {"1:00:00", 3600000}, {"00:00:04.005", 4005}, {"00:00:00.0625", 62},
        {"00:00:00.5", 500},    {"xx:01:02", 62000},  {"00:00:bad", 0},       {"", 0},
        {"83.5", 83500},        {"1:23.5", 83500},    {"00:00:1e400", 0},
    };
    for (const auto& c : cases)
        EXPECT_EQ(ClockTextToMs(QString::fromUtf8(c.text)), c.ms) << c.text;
    EXPECT_EQ(HmsToMs(0, 0, 0.0625), 62);
    EXPECT_EQ(HmsToMs(1, 2, 3.5), 3723500);
    EXPECT_EQ(HmszToMs(1000, 0, 0, 0), 3600000000LL);
}

TEST(DialogUtils, QuestionsAndFolderPickerGoThroughTheDialogs) {
    TScriptedDialogs dialogs;
    dialogs.results.enqueue(mrYesToAll);
    const QStringList captions{QStringLiteral("Yes"), QStringLiteral("No"), QStringLiteral("Yes To All")};
    EXPECT_EQ(MessageDlgCaptions(QStringLiteral("Overwrite?"), QStringLiteral("Title"),
                                 TMsgDlgType::mtConfirmation, captions,
                                 TMsgDlgBtn::mbYes | TMsgDlgBtn::mbNo | TMsgDlgBtn::mbYesToAll),
              mrYesToAll);
    ASSERT_EQ(dialogs.shown.size(), 1);
    EXPECT_EQ(dialogs.shown[0].buttonCaptions, captions);
    EXPECT_EQ(dialogs.shown[0].caption, QStringLiteral("Title"));

    QString folder = QStringLiteral("/before");
    dialogs.folders.enqueue(QString());
    EXPECT_FALSE(BrowseForFolder(folder, QStringLiteral("Pick")));
    EXPECT_EQ(folder, QStringLiteral("/before"));
    dialogs.folders.enqueue(QStringLiteral("/after"));
    EXPECT_TRUE(BrowseForFolder(folder, QStringLiteral("Pick")));
    EXPECT_EQ(folder, QStringLiteral("/after"));
}

TEST(DialogUtils, BusyCursorNests) {
    TScriptedDialogs dialogs;
    EndBusy(); // without BeginBusy: nothing changes
    EXPECT_EQ(BusyDepth(), 0);
    EXPECT_EQ(dialogs.busyDepthChanges, 0);
    BeginBusy();
    BeginBusy();
    EXPECT_TRUE(dialogs.busy);
    EndBusy();
    EXPECT_TRUE(dialogs.busy);
    EndBusy();
    EXPECT_FALSE(dialogs.busy);
    EXPECT_EQ(BusyDepth(), 0);
    // A scope restores the cursor also when the work fails.
    try {
        TBusyScope busy;
        throw std::runtime_error("work failed");
    } catch (const std::runtime_error&) {
    }
    EXPECT_FALSE(dialogs.busy);
    EXPECT_EQ(BusyDepth(), 0);
}

TEST(ShutdownActionTest, ActsOnlyWhenAllowed) {
    const struct {
        int n;
        TPowerAction action;
    } machine[] = {{1, TPowerAction::PowerOff},
                   {2, TPowerAction::EndSession},
                   {3, TPowerAction::Reboot},
                   {4, TPowerAction::Hibernate},
                   {5, TPowerAction::Suspend}};
    for (const auto& c : machine) {
        TScriptedPower power;
        ShutdownAction(c.n); // not allowed: asked, nothing done
        EXPECT_EQ(power.checked, QList<TPowerAction>{c.action}) << c.n;
        EXPECT_TRUE(power.performed.isEmpty()) << c.n;
        power.allowed << c.action;
        ShutdownAction(c.n);
        EXPECT_EQ(power.performed, QList<TPowerAction>{c.action}) << c.n;
        EXPECT_EQ(power.endProgramCalls, 0);
    }
    TScriptedPower power;
    power.allowed << TPowerAction::PowerOff << TPowerAction::EndSession << TPowerAction::Reboot
                  << TPowerAction::Hibernate << TPowerAction::Suspend;
    ShutdownAction(0);
    EXPECT_EQ(power.endProgramCalls, 1);
    for (int other : {-1, 6, 255})
        ShutdownAction(other);
    EXPECT_TRUE(power.performed.isEmpty());
    EXPECT_TRUE(power.checked.isEmpty());
    EXPECT_EQ(power.endProgramCalls, 1);
}
