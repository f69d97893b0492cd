#include "app/errors.h"
#include "app/inifile.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <csignal>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {

class IniFileTest : public ::testing::Test {
  protected:
    QTemporaryDir dir;
    QString path = dir.filePath(QStringLiteral("a.ini"));

    void write(const QByteArray& text) {
        QFile f(path);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
        f.write(text);
    }
    QByteArray read() {
        QFile f(path);
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    }
};

const QString G = QStringLiteral("General");

} // namespace

TEST_F(IniFileTest, ReadsCaseInsensitiveTrimmedFirstWins) {
    write("; comment\n[General]\n  Key One  =  value  \nkey "
          "one=second\n;Hidden=1\nNum=$1F\n[general]\nOther=x\n");
    TIniFile ini(path);
    EXPECT_EQ(ini.ReadString(QStringLiteral("general"), QStringLiteral("KEY ONE"), {}),
              QStringLiteral("value"));
    EXPECT_EQ(ini.ReadString(G, QStringLiteral("Hidden"), QStringLiteral("d")), QStringLiteral("d"));
    EXPECT_EQ(ini.ReadInteger(G, QStringLiteral("num"), 0), 31);
    // The first of duplicate sections is the one that is read.
    EXPECT_EQ(ini.ReadString(G, QStringLiteral("Other"), QStringLiteral("d")), QStringLiteral("d"));
    EXPECT_EQ(ini.ReadString(QStringLiteral("Missing"), QStringLiteral("x"), QStringLiteral("def")),
              QStringLiteral("def"));
}

TEST_F(IniFileTest, IntegersDecimalOrHexElseDefault) {
    const struct {
        const char* text;
        int expected;
    } cases[] = {{"42", 42},          {"-7", -7},          {"$ff", 255}, {"0x10", 16}, {"0X1a", 26},
                 {"$FFFFFFFF", -1},   {"12abc", 99},       {"", 99},     {"1.5", 99},  {"$", 99},
                 {"99999999999", 99}, {"0x123456789", 99}, {"$1G", 99},  {"+5", 5}};
    for (const auto& c : cases) {
        write(QByteArray("[General]\nV=") + c.text + "\n");
        EXPECT_EQ(TIniFile(path).ReadInteger(G, QStringLiteral("V"), 99), c.expected) << c.text;
    }
    write("[General]\nB=0\nC=2\n");
    TIniFile ini(path);
    EXPECT_FALSE(ini.ReadBool(G, QStringLiteral("B"), true));
    EXPECT_TRUE(ini.ReadBool(G, QStringLiteral("C"), false));
    EXPECT_TRUE(ini.ReadBool(G, QStringLiteral("Missing"), true));
}

TEST_F(IniFileTest, ValueReadIsAtMost2047Characters) {
    write("[General]\nLong=" + QByteArray(3000, 'a') + "\n");
    EXPECT_EQ(TIniFile(path).ReadString(G, QStringLiteral("Long"), {}).size(), 2047);
}

TEST_F(IniFileTest, WritesKeepLinesAndCommentsAndAppendMissingKeysAndSections) {
    write("; top comment\r\n[General]\r\nA = 1 \r\n; keep me\r\nB=2\r\n\r\n[Other]\r\nC=3\r\n");
    TIniFile ini(path);
    ini.WriteString(QStringLiteral("general"), QStringLiteral("b"), QStringLiteral(" two "));
    ini.WriteInteger(G, QStringLiteral("New"), 5);
    ini.WriteBool(QStringLiteral("Added"), QStringLiteral("Flag"), true);
    ini.UpdateFile();
    EXPECT_EQ(read(), QByteArray("; top comment\r\n[General]\r\nA = 1 \r\n; keep me\r\nB=two\r\nNew=5\r\n\r\n"
                                 "[Other]\r\nC=3\r\n[Added]\r\nFlag=1\r\n"));
    // And what was written reads back.
    TIniFile again(path);
    EXPECT_EQ(again.ReadString(G, QStringLiteral("B"), {}), QStringLiteral("two"));
    EXPECT_EQ(again.ReadInteger(QStringLiteral("ADDED"), QStringLiteral("flag"), 0), 1);
}

TEST_F(IniFileTest, ReadsAndWritesOfOneObjectSeeItsEarlierWrites) {
    // A key added to the first section moves every line after it: the later section's keys must
    // still be found where they now stand, and a second write of a new key must not add it twice.
    write("[General]\nA=1\n[Other]\nC=3\n[other]\nC=dup\n");
    TIniFile ini(path);
    ini.WriteString(G, QStringLiteral("New"), QStringLiteral("x"));
    ini.WriteString(QStringLiteral("OTHER"), QStringLiteral("c"), QStringLiteral("4"));
    ini.WriteString(G, QStringLiteral("new"), QStringLiteral("y"));
    ini.WriteString(QStringLiteral("Added"), QStringLiteral("K"), QStringLiteral("1"));
    EXPECT_EQ(ini.ReadString(G, QStringLiteral("NEW"), {}), QStringLiteral("y"));
    EXPECT_EQ(ini.ReadString(QStringLiteral("other"), QStringLiteral("C"), {}), QStringLiteral("4"));
    EXPECT_EQ(ini.ReadString(QStringLiteral("added"), QStringLiteral("k"), {}), QStringLiteral("1"));
    EXPECT_EQ(ini.Text(),
              QStringLiteral("[General]\nA=1\nNew=y\n[Other]\nC=4\n[other]\nC=dup\n[Added]\nK=1\n"));
}

TEST_F(IniFileTest, AWrittenValueStaysOneLine) {
    // A folder name holding line breaks must not add keys or sections to the file.
    write("[General]\nPath=/old\nPriority=1\n");
    TIniFile ini(path);
    ini.WriteString(G, QStringLiteral("Path"), QStringLiteral("/tmp/a\nPriority=3\r\n[Evil]\rX=1"));
    ini.UpdateFile();
    const TIniFile again(path);
    EXPECT_EQ(again.ReadString(G, QStringLiteral("Path"), {}),
              QStringLiteral("/tmp/a Priority=3  [Evil] X=1"));
    EXPECT_EQ(again.ReadInteger(G, QStringLiteral("Priority"), -1), 1);
    EXPECT_EQ(again.ReadSections(), QStringList{G});
    EXPECT_EQ(read(), QByteArray("[General]\nPath=/tmp/a Priority=3  [Evil] X=1\nPriority=1\n"));
}

TEST_F(IniFileTest, SectionListsInFileOrder) {
    write("[Filters]\nVideo Files=*.avi;*.mp4\n; note\nAudio=*.mp3\nVideo Files=dup\n[Next]\nX=1\n");
    TIniFile ini(path);
    const auto values = ini.ReadSectionValues(QStringLiteral("filters"));
    ASSERT_EQ(values.size(), 3);
    EXPECT_EQ(values[0].first, QStringLiteral("Video Files"));
    EXPECT_EQ(values[0].second, QStringLiteral("*.avi;*.mp4"));
    EXPECT_EQ(values[1].second, QStringLiteral("*.mp3"));
    EXPECT_EQ(values[2].second, QStringLiteral("*.avi;*.mp4"));
    EXPECT_EQ(ini.ReadSections(), (QStringList{QStringLiteral("Filters"), QStringLiteral("Next")}));
    EXPECT_TRUE(ini.SectionExists(QStringLiteral("NEXT")));
    EXPECT_FALSE(ini.ValueExists(QStringLiteral("Next"), QStringLiteral("Y")));
}

TEST_F(IniFileTest, MissingFileReadsEmptyAndIsCreatedOnSave) {
    TIniFile ini(path);
    EXPECT_FALSE(ini.Existed());
    ini.WriteString(G, QStringLiteral("K"), QStringLiteral("Grüße"));
    ini.UpdateFile();
    EXPECT_EQ(read(), QByteArray("[General]\nK=Gr\xC3\xBC\xC3\x9F"
                                 "e\n"));
    EXPECT_EQ(TIniFile(path).ReadString(G, QStringLiteral("K"), {}), QStringLiteral("Grüße"));
}

// A save replaces the file whole (through a temporary file renamed over it): the file keeps its
// permissions, a link is written through to the file it names, and nothing else is left.
TEST_F(IniFileTest, SaveKeepsPermissionsWritesThroughALinkAndLeavesNoTemporaryFile) {
    write("[General]\nK=old\n");
    ASSERT_EQ(::chmod(QFile::encodeName(path).constData(), 0640), 0);
    const QString link = dir.filePath(QStringLiteral("links/settings.ini"));
    ASSERT_TRUE(QDir().mkpath(QFileInfo(link).path()));
    ASSERT_TRUE(QFile::link(QStringLiteral("../a.ini"), link));

    for (const QString& name : {path, link}) {
        SCOPED_TRACE(name.toStdString());
        TIniFile ini(name);
        ini.WriteString(G, QStringLiteral("K"), name);
        ini.UpdateFile();
        EXPECT_EQ(read().toStdString(), ("[General]\nK=" + QFile::encodeName(name) + "\n").toStdString());
        EXPECT_EQ(QFileInfo(path).permissions(), QFile::ReadOwner | QFile::WriteOwner | QFile::ReadUser |
                                                     QFile::WriteUser | QFile::ReadGroup);
        EXPECT_EQ(QFileInfo(link).symLinkTarget(), QFileInfo(path).absoluteFilePath());
        EXPECT_EQ(
            QDir(dir.path()).entryList(QDir::Files | QDir::Hidden | QDir::System).join('|').toStdString(),
            "a.ini");
        EXPECT_EQ(QDir(QFileInfo(link).path())
                      .entryList(QDir::Files | QDir::Hidden | QDir::System)
                      .join('|')
                      .toStdString(),
                  "settings.ini");
    }
}

TEST_F(IniFileTest, FailedSaveRaisesAndKeepsTheOldFile) {
    // The target's folder is missing: nothing can be written there.
    const QString missing = dir.filePath(QStringLiteral("no/such/folder/a.ini"));
    TIniFile lost(missing);
    lost.WriteString(G, QStringLiteral("K"), QStringLiteral("v"));
    try {
        lost.UpdateFile();
        FAIL() << "no error raised";
    } catch (const EVaridError& e) {
        EXPECT_EQ(e.message(), QStringLiteral("Unable to write to ") + missing);
    }

    // The target is a folder: the save fails and the folder stays as it was.
    const QString folder = dir.filePath(QStringLiteral("folder.ini"));
    ASSERT_TRUE(QDir().mkpath(folder + QStringLiteral("/inner")));
    TIniFile onFolder(folder);
    onFolder.WriteString(G, QStringLiteral("K"), QStringLiteral("v"));
    EXPECT_THROW(onFolder.UpdateFile(), EVaridError);
    EXPECT_TRUE(QDir(folder + QStringLiteral("/inner")).exists());

    // An existing file whose replacement cannot be put in place keeps its old content, and no
    // temporary file is left beside it.
    write("[General]\nK=old\n");
    TIniFile ini(path);
    ini.WriteString(G, QStringLiteral("K"), QStringLiteral("new"));
    ASSERT_TRUE(QFile::rename(path, path + QStringLiteral(".moved")));
    ASSERT_TRUE(QDir().mkdir(path)); // the name is now a folder
    EXPECT_THROW(ini.UpdateFile(), EVaridError);
    ASSERT_TRUE(QDir().rmdir(path));
    ASSERT_TRUE(QFile::rename(path + QStringLiteral(".moved"), path));
    EXPECT_EQ(read(), QByteArray("[General]\nK=old\n"));
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files), QStringList{QStringLiteral("a.ini")});
}

TEST_F(IniFileTest, SaveBeyondAFileSizeLimitRaisesAndKeepsTheOldFile) {
    // A real short write: a child process may write files of at most 1 KiB (as on a full disk,
    // the write fails with an error instead of the signal). The new text is larger than that but
    // small enough to sit in a write buffer until the end.
    write("[General]\nK=old\n");
    const pid_t pid = fork();
    ASSERT_GE(pid, 0);
    if (pid == 0) {
        std::signal(SIGXFSZ, SIG_IGN);
        const rlimit limit{1024, 1024};
        setrlimit(RLIMIT_FSIZE, &limit);
        int code = 1; // no error raised
        try {
            TIniFile ini(path);
            ini.WriteString(G, QStringLiteral("K"), QString(8000, QLatin1Char('x')));
            ini.UpdateFile();
        } catch (const EVaridError& e) {
            code = e.message() == QStringLiteral("Unable to write to ") + path ? 0 : 2;
        }
        _exit(code);
    }
    int status = 0;
    ASSERT_EQ(waitpid(pid, &status, 0), pid);
    ASSERT_TRUE(WIFEXITED(status));
    EXPECT_EQ(WEXITSTATUS(status), 0) << "1: the save reported success, 2: another message";
    EXPECT_EQ(read(), QByteArray("[General]\nK=old\n"));
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files), QStringList{QStringLiteral("a.ini")});
}
