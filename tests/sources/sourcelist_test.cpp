#include "app/scripted_dialogs.h"
#include "engine/batch_command.h"
#include "lang/multilanguages.h"
#include "lang/strings.h"
#include "sources/sourcelist.h"
#include "support/processes.h"

#include <QDir>
#include <QFile>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <csignal>
#include <fcntl.h>
#include <unistd.h>

namespace {

const QString kMedia = QStringLiteral(VARID_MEDIA_DIR "/");
const QStringList kFilters = {QStringLiteral("Video Files=*.avi;*.MP4;*.mkv;*.webm"),
                              QStringLiteral("Audio Files (mp3, wav)=*.mp3;*.wav")};

TEST(SourceRules, ExtractFileExt) {
    const std::pair<const char*, const char*> cases[] = {
        {"/a/clip.mp4", ".mp4"},   {"/a/x.tar.GZ", ".GZ"}, {"/a.b/noext", ""},
        {"/a/.hidden", ".hidden"}, {"/a/trailing.", "."},  {"name", ""},
    };
    for (const auto& [path, ext] : cases)
        EXPECT_EQ(ExtractFileExt(QString::fromUtf8(path)), QString::fromUtf8(ext)) << path;
}

TEST(SourceRules, IsAcceptedExtensionIsASubstringTestOfThePatterns) {
    const std::tuple<const char*, QStringList, bool> cases[] = {
        {".mp4", kFilters, true},
        {".MKV", kFilters, true},
        {".mp", kFilters, true}, // inside *.mp4
        {"", kFilters, false},
        {".txt", kFilters, false},
        {".files", kFilters, false}, // the description does not count
        {".avi", {}, false},
        {".avi", {QStringLiteral("*.avi")}, true}, // a line without "=" is all patterns
    };
    for (const auto& [ext, filters, accepted] : cases)
        EXPECT_EQ(IsAcceptedExtension(QString::fromUtf8(ext), filters), accepted) << ext;
}

TEST(SourceRules, BuildOpenFilter) {
    EXPECT_EQ(BuildOpenFilter(kFilters),
              QStringLiteral("Video Files (*.avi *.MP4 *.mkv *.webm);;Audio Files (mp3, "
                             "wav) (*.mp3 *.wav);;All Files (*)"));
    EXPECT_EQ(BuildOpenFilter({}), QStringLiteral("All Files (*)"));
}

TEST(SourceRules, SummaryText) {
    EXPECT_EQ(SummaryText(0), Str(Ids::IDS_MAIN_LABEL_SummaryNoFile));
    EXPECT_EQ(SummaryText(1), Str(Ids::IDS_MAIN_LABEL_SummaryOneFile));
    EXPECT_EQ(SummaryText(7), QStringLiteral("Summary: 7 files"));
}

// A list over copies of a small real clip in a temporary folder.
class SourceListTest : public testing::Test {
  protected:
    void SetUp() override {
        ASSERT_TRUE(m_dir.isValid());
        list.SetInputFilters(kFilters);
    }
    QString Copy(const QString& name, const QString& sample = QStringLiteral("again.mkv")) {
        const QString path = m_dir.filePath(name);
        QDir().mkpath(QFileInfo(path).path());
        EXPECT_TRUE(QFile::copy(kMedia + sample, path)) << name.toStdString();
        return path;
    }
    // Adds copies named n1, n2, ... and returns their paths.
    QStringList AddCopies(const QStringList& names) {
        QStringList paths;
        for (const QString& name : names) {
            paths << Copy(name);
            EXPECT_EQ(list.AddSourceFile(paths.last()), TAddResult::Added);
        }
        return paths;
    }
    QStringList Names() const {
        QStringList names;
        for (const QString& caption : list.Captions())
            names << QFileInfo(caption).fileName();
        return names;
    }
    QString Folder() const { return m_dir.path() + QLatin1Char('/'); }

    QTemporaryDir m_dir;
    TScriptedDialogs dialogs;
    TSourceList list;
};

TEST_F(SourceListTest, AddSourceFileRules) {
    const QString clip = Copy(QStringLiteral("clip one.mkv"));
    const QString upper = Copy(QStringLiteral("CLIP ONE.MKV"));
    const QString noExt = Copy(QStringLiteral("clip"));
    const QString text = Copy(QStringLiteral("clip.txt"));
    QFile junk(m_dir.filePath(QStringLiteral("junk.mp4")));
    ASSERT_TRUE(junk.open(QIODevice::WriteOnly));
    junk.write(QByteArray(3000, 'j'));
    junk.close();
    QDir().mkpath(m_dir.filePath(QStringLiteral("folder.mkv")));

    QSignalSpy summaries(&list, &TSourceList::summaryChanged);
    const std::pair<QString, TAddResult> cases[] = {
        {clip, TAddResult::Added},
        {clip, TAddResult::Duplicate},
        {upper, TAddResult::Added}, // letter case makes another file
        {noExt, TAddResult::NotAccepted},
        {text, TAddResult::NotAccepted},
        {m_dir.filePath(QStringLiteral("missing.mkv")), TAddResult::NotFound},
        {m_dir.filePath(QStringLiteral("folder.mkv")), TAddResult::NotRegularFile},
        {QStringLiteral("/dev/null"), TAddResult::NotRegularFile},
        {junk.fileName(), TAddResult::NotMedia},
    };
    for (const auto& [path, result] : cases)
        EXPECT_EQ(list.AddSourceFile(path), result) << path.toStdString();

    EXPECT_EQ(list.Captions(), (QStringList{clip, upper}));
    const TSourceRow& row = list.Row(0);
    EXPECT_EQ(row.ImageIndex, 0);
    EXPECT_FALSE(row.Selected);
    EXPECT_EQ(row.Item.FileName, QStringLiteral("clip one.mkv"));
    EXPECT_EQ(row.Item.FilePath, Folder());
    EXPECT_EQ(row.Item.CompleteName, clip);
    EXPECT_EQ(list.TotalBytes(), 2 * 205376);

    // Only the file the library cannot describe gets a message.
    ASSERT_EQ(dialogs.shown.size(), 1);
    EXPECT_EQ(dialogs.shown[0].text,
              QStringLiteral("An error occurred while adding file:\n\nThe file \"%1\" is damaged or the "
                             "format is not supported.")
                  .arg(junk.fileName()));
    EXPECT_EQ(dialogs.shown[0].caption, QStringLiteral("Error"));
    ASSERT_EQ(summaries.size(), 2);
    EXPECT_EQ(summaries.last().at(0).toString(), QStringLiteral("Summary: 2 files"));
}

TEST_F(SourceListTest, AddAndSelectReplacesOrAppendsAndSelectsTheLastRow) {
    const QStringList first = {Copy(QStringLiteral("a.mkv")), Copy(QStringLiteral("b.mkv"))};
    const QString c = Copy(QStringLiteral("c.mkv"));
    list.AddAndSelect(first, true);
    list.AddAndSelect({c, m_dir.path()}, false); // a folder is skipped
    EXPECT_EQ(list.Captions(), (QStringList{first[0], first[1], c}));
    EXPECT_EQ(list.SelectedRows(), QList<int>{2});
    EXPECT_EQ(list.AddAndSelect({first[1]}, true), QList<TAddResult>{TAddResult::Added});
    EXPECT_EQ(list.Captions(), QStringList{first[1]});
    EXPECT_EQ(list.SelectedRows(), QList<int>{0});
    EXPECT_FALSE(dialogs.busy);
    EXPECT_EQ(dialogs.busyDepthChanges, 6);
}

TEST_F(SourceListTest, WithoutFiltersOfItsOwnTheLanguagesListDecides) {
    const QStringList saved = InputFilters;
    InputFilters = {QStringLiteral("Audio=*.mp3")};
    TSourceList languageList;
    const QString mp3 = Copy(QStringLiteral("a.mp3"), QStringLiteral("viper.mp3"));
    EXPECT_EQ(languageList.AddSourceFile(Copy(QStringLiteral("a.mkv"))), TAddResult::NotAccepted);
    EXPECT_EQ(languageList.AddSourceFile(mp3), TAddResult::Added);
    InputFilters = saved;
}

TEST_F(SourceListTest, AddSourceFilesReportsEachFileBeforeProbingIt) {
    const QStringList paths = {Copy(QStringLiteral("a.mkv")), m_dir.filePath(QStringLiteral("gone.mkv")),
                               Copy(QStringLiteral("b.mp3"), QStringLiteral("viper.mp3"))};
    QSignalSpy adding(&list, &TSourceList::addingFile);
    EXPECT_EQ(list.AddSourceFiles(paths),
              (QList<TAddResult>{TAddResult::Added, TAddResult::NotFound, TAddResult::Added}));
    ASSERT_EQ(adding.size(), 3);
    EXPECT_EQ(adding[1].at(0).toString(), paths[1]);
    EXPECT_EQ(adding[1].at(2).toInt(), 3);
    EXPECT_EQ(Names(), (QStringList{QStringLiteral("a.mkv"), QStringLiteral("b.mp3")}));
}

TEST_F(SourceListTest, AddingManyFilesAtOnceMatchesAddingThemOneByOne) {
    // Probed on worker threads, appended in the order given: every answer, row, record and message
    // is the one of adding the files one after another, duplicates and failures included.
    const QString listed = Copy(QStringLiteral("listed.mkv"));
    ASSERT_EQ(list.AddSourceFile(listed), TAddResult::Added);
    QFile junk(m_dir.filePath(QStringLiteral("junk.mkv")));
    ASSERT_TRUE(junk.open(QIODevice::WriteOnly));
    junk.write(QByteArray(3000, 'j'));
    junk.close();
    QStringList paths;
    for (int i = 0; i < 40; ++i)
        paths << Copy(QStringLiteral("clip %1.mkv").arg(i),
                      i % 2 ? QStringLiteral("viper.ogg") : QStringLiteral("again.mkv"));
    paths.insert(5, listed);
    paths.insert(9, paths[3]);
    paths.insert(12, junk.fileName());
    paths.insert(20, junk.fileName());
    paths.insert(25, m_dir.filePath(QStringLiteral("gone.mkv")));
    paths.insert(30, Copy(QStringLiteral("notes.txt")));
    paths.insert(31, m_dir.path());

    TSourceList oneByOne;
    oneByOne.SetInputFilters(kFilters);
    ASSERT_EQ(oneByOne.AddSourceFile(listed), TAddResult::Added);
    QList<TAddResult> expected;
    for (const QString& path : std::as_const(paths))
        expected << oneByOne.AddSourceFile(path);
    const QStringList expectedMessages = dialogs.messages();

    QSignalSpy adding(&list, &TSourceList::addingFile);
    EXPECT_EQ(list.AddSourceFiles(paths), expected);
    EXPECT_EQ(adding.size(), paths.size());
    EXPECT_EQ(list.Captions(), oneByOne.Captions());
    for (int i = 0; i < list.Count(); ++i) {
        EXPECT_EQ(list.Row(i).Item.Format, oneByOne.Row(i).Item.Format);
        EXPECT_EQ(list.Row(i).Item.PlayTime, oneByOne.Row(i).Item.PlayTime);
    }
    EXPECT_EQ(dialogs.messages().mid(expectedMessages.size()), expectedMessages);
}

// The probing children killed part-way: new ones take over, and the list comes out as when the
// files are added one by one. Names of some 3,000 characters make each child's answers more than
// a pipe holds, so every child still waits to hand its answers over when it is killed; that is
// once each of them (there are at most eight) has handed over its first answer.
TEST_F(SourceListTest, ProbeChildrenKilledPartWayAreReplaced) {
    QString deep = m_dir.path();
    while (deep.size() < 3000)
        deep += QLatin1Char('/') + QString(200, QLatin1Char('d'));
    ASSERT_TRUE(QDir().mkpath(deep));
    const QString sample = Copy(QStringLiteral("sample.mkv"));
    int ends[2];
    ASSERT_EQ(::pipe(ends), 0);
    const int pipeSize = ::fcntl(ends[0], F_GETPIPE_SZ);
    ::close(ends[0]);
    ::close(ends[1]);
    ASSERT_GT(pipeSize, 0);
    // More than a pipe's worth of answers for each of up to eight children.
    const int count = 8 * (pipeSize / (2 * static_cast<int>(deep.size())) + 3);
    QStringList paths;
    for (int i = 0; i < count; ++i) {
        paths << deep + QStringLiteral("/clip %1.mkv").arg(i);
        ASSERT_EQ(::link(QFile::encodeName(sample).constData(), QFile::encodeName(paths.last()).constData()),
                  0);
    }
    paths.insert(7, m_dir.filePath(QStringLiteral("gone.mkv")));
    TSourceList oneByOne;
    oneByOne.SetInputFilters(kFilters);
    QList<TAddResult> expected;
    for (const QString& path : std::as_const(paths))
        expected << oneByOne.AddSourceFile(path);

    bool childrenRead = false;
    int killed = 0;
    QObject::connect(&list, &TSourceList::addingFile, [&](const QString&, int index, int) {
        if (index != 8)
            return;
        QFile children(QStringLiteral("/proc/self/task/%1/children").arg(::gettid()));
        childrenRead = children.open(QIODevice::ReadOnly);
        for (const QByteArray& field : children.readAll().split(' ')) {
            const pid_t pid = field.trimmed().toInt();
            if (pid > 0 && ProcessRunning(pid)) {
                ::kill(pid, SIGKILL);
                ++killed;
            }
        }
    });
    EXPECT_EQ(list.AddSourceFiles(paths), expected);
    EXPECT_EQ(list.Captions(), oneByOne.Captions());
    ASSERT_TRUE(childrenRead) << "the children of this thread cannot be read";
    EXPECT_GT(killed, 0) << "no probing child was running";
}

// The batch converts the top row each time: converted rows leave, a failed one goes to the end.
TEST_F(SourceListTest, BatchBookingLeavesTheFailedFilesMarked) {
    const QStringList paths =
        AddCopies({QStringLiteral("1.mkv"), QStringLiteral("2.mkv"), QStringLiteral("3.mkv")});
    EXPECT_TRUE(list.MoveSourceRowToEnd(list.Row(0).Caption));
    EXPECT_EQ(Names(),
              (QStringList{QStringLiteral("2.mkv"), QStringLiteral("3.mkv"), QStringLiteral("1.mkv")}));
    EXPECT_EQ(list.Row(2).Item.FileName, QStringLiteral("1.mkv")); // the record moved with its row
    EXPECT_TRUE(list.RemoveSourceRow(list.Row(0).Caption));
    EXPECT_TRUE(list.RemoveSourceRow(list.Row(0).Caption));
    list.SetAllImageIndexes(1);
    ASSERT_EQ(list.Count(), 1);
    EXPECT_EQ(list.Row(0).Caption, paths[0]);
    EXPECT_EQ(list.Row(0).ImageIndex, 1);

    EXPECT_FALSE(list.RemoveSourceRow(paths[1]));
    EXPECT_FALSE(list.MoveSourceRowToEnd(paths[0].toUpper()));
    EXPECT_EQ(list.Count(), 1);
}

TEST_F(SourceListTest, MoveSourceRow) {
    AddCopies(
        {QStringLiteral("a.mkv"), QStringLiteral("b.mkv"), QStringLiteral("c.mkv"), QStringLiteral("d.mkv")});
    struct Case {
        int selected; // -1: none
        TMoveDirection direction;
        const char* order;
    };
    const Case cases[] = {
        {2, TMoveDirection::Down, "abdc"}, // second to last becomes last
        {3, TMoveDirection::Down, "abcd"}, // the last stays
        {0, TMoveDirection::Up, "abcd"},   // the first stays
        {1, TMoveDirection::Up, "bacd"},    {0, TMoveDirection::Down, "bacd"},
        {-1, TMoveDirection::Down, "abcd"},
    };
    for (const Case& c : cases) {
        // Back to a, b, c, d without a selection.
        for (const char* name : {"a", "b", "c", "d"})
            list.MoveSourceRowToEnd(Folder() + QString::fromUtf8(name) + QStringLiteral(".mkv"));
        for (int i = 0; i < list.Count(); ++i)
            list.SetSelected(i, false);
        if (c.selected >= 0)
            list.SetSelected(c.selected, true);
        list.MoveSourceRow(c.direction);
        QString order;
        for (const QString& name : Names())
            order += name.at(0);
        EXPECT_EQ(order, QString::fromUtf8(c.order)) << c.selected;
        if (c.selected >= 0) {
            // The moved row stays selected and becomes the current row.
            ASSERT_EQ(list.SelectedRows().size(), 1);
            EXPECT_EQ(list.Row(list.SelectedRows().first()).Caption.at(Folder().size()),
                      QChar::fromLatin1("abcd"[c.selected]));
        }
    }
}

TEST_F(SourceListTest, MovingTheFirstSelectedRowKeepsTheOthersSelected) {
    AddCopies({QStringLiteral("a.mkv"), QStringLiteral("b.mkv"), QStringLiteral("c.mkv")});
    list.SetSelected(1, true);
    list.SetSelected(2, true);
    QSignalSpy current(&list, &TSourceList::currentRowChanged);
    list.MoveSourceRow(TMoveDirection::Up);
    EXPECT_EQ(Names(),
              (QStringList{QStringLiteral("b.mkv"), QStringLiteral("a.mkv"), QStringLiteral("c.mkv")}));
    EXPECT_EQ(list.SelectedRows(), (QList<int>{0, 2}));
    EXPECT_EQ(list.CurrentRow(), 0);
    ASSERT_EQ(current.size(), 1);
    EXPECT_EQ(current[0].at(0).toInt(), 0);
}

TEST_F(SourceListTest, DeleteSelectedRowsSelectsTheRowInTheFirstFreedPlace) {
    struct Case {
        QList<int> selected;
        const char* remaining;
        int nowSelected; // -1: none
    };
    const Case cases[] = {
        {{1, 3}, "ace", 1},        // rows 2 and 4 of five: the row now second
        {{3, 4}, "abc", 2},        // the last rows: the new last row
        {{0, 1, 2, 3, 4}, "", -1}, // all rows: nothing selected
        {{}, "abcde", -1},         // nothing selected: nothing happens
    };
    for (const Case& c : cases) {
        list.Clear();
        AddCopies({QStringLiteral("a.mkv"), QStringLiteral("b.mkv"), QStringLiteral("c.mkv"),
                   QStringLiteral("d.mkv"), QStringLiteral("e.mkv")});
        for (const int i : c.selected)
            list.SetSelected(i, true);
        QSignalSpy summaries(&list, &TSourceList::summaryChanged);
        list.DeleteSelectedRows();
        QString remaining;
        for (const QString& name : Names())
            remaining += name.at(0);
        EXPECT_EQ(remaining, QString::fromUtf8(c.remaining));
        EXPECT_EQ(list.SelectedRows(), c.nowSelected < 0 ? QList<int>() : QList<int>{c.nowSelected});
        EXPECT_EQ(list.SelectedItem() != nullptr, c.nowSelected >= 0);
        if (!c.selected.isEmpty()) {
            ASSERT_EQ(summaries.size(), 1);
            EXPECT_EQ(summaries[0].at(0).toString(), list.Summary());
        }
        for (const char* name : {"a", "b", "c", "d", "e"})
            QFile::remove(Folder() + QString::fromUtf8(name) + QStringLiteral(".mkv"));
    }
    EXPECT_EQ(list.Summary(), SummaryText(5));
}

TEST_F(SourceListTest, SelectSourceRowPastTheEndSelectsTheLast) {
    list.SelectSourceRow(0); // empty list: nothing
    EXPECT_EQ(list.CurrentRow(), -1);
    AddCopies({QStringLiteral("a.mkv"), QStringLiteral("b.mkv")});
    list.SelectAll();
    list.SelectSourceRow(list.Count());
    EXPECT_EQ(list.SelectedRows(), QList<int>{1});
    EXPECT_EQ(list.CurrentRow(), 1);
    EXPECT_EQ(list.SelectedItem()->FileName, QStringLiteral("b.mkv"));
}

TEST_F(SourceListTest, InputAndOutputMustDiffer) {
    AddCopies({QStringLiteral("a.mkv"), QStringLiteral("b.mkv")});
    const auto into = [](const QString& folder, const char* ext) {
        return
            [=](const QString& source) { return EngineOutputPath(folder, source, QString::fromUtf8(ext)); };
    };
    EXPECT_TRUE(list.CheckInputOutputDiffer(into(Folder(), ".mp4")));
    EXPECT_TRUE(dialogs.shown.isEmpty());
    // The same folder spelt differently is still the same file.
    for (const QString& folder : {Folder(), m_dir.path() + QStringLiteral("/./sub/..")}) {
        dialogs.shown.clear();
        EXPECT_FALSE(list.CheckInputOutputDiffer(into(folder, ".mkv")));
        ASSERT_EQ(dialogs.shown.size(), 1);
        EXPECT_EQ(dialogs.shown[0].text,
                  QStringLiteral("Input file and output file must be different!\n\nPlease correct this for "
                                 "\"%1\".")
                      .arg(into(folder, ".mkv")(list.Row(0).Caption)));
        EXPECT_EQ(dialogs.shown[0].caption, QStringLiteral("Error!"));
    }
}

TEST_F(SourceListTest, TwoSourcesWithTheSameOutputRefuseTheBatch) {
    const QString mkv = AddCopies({QStringLiteral("a.mkv")}).first();
    const QString webm = Copy(QStringLiteral("a.webm"), QStringLiteral("rabbit320.webm"));
    ASSERT_EQ(list.AddSourceFile(webm), TAddResult::Added);
    const QString other = AddCopies({QStringLiteral("b.mkv")}).first();
    const auto toMp4 = [&](const QString& source) {
        return EngineOutputPath(m_dir.filePath(QStringLiteral("out")), source, QStringLiteral(".mp4"));
    };
    EXPECT_FALSE(list.CheckOutputsDistinct(toMp4));
    ASSERT_EQ(dialogs.shown.size(), 1);
    const QString text = dialogs.shown[0].text;
    EXPECT_TRUE(text.contains(QStringLiteral("\"%1\"").arg(toMp4(mkv)))) << text.toStdString();
    EXPECT_TRUE(text.contains(QStringLiteral("\"%1\"").arg(mkv)));
    EXPECT_TRUE(text.contains(QStringLiteral("\"%1\"").arg(webm)));
    EXPECT_FALSE(text.contains(other));

    list.RemoveSourceRow(webm);
    dialogs.shown.clear();
    EXPECT_TRUE(list.CheckOutputsDistinct(toMp4));
    EXPECT_TRUE(dialogs.shown.isEmpty());
}

TEST_F(SourceListTest, ConfirmOverwrite) {
    AddCopies({QStringLiteral("a.mkv"), QStringLiteral("b.mkv"), QStringLiteral("c.mkv")});
    const QString out = m_dir.filePath(QStringLiteral("out"));
    const auto toMkv = [&](const QString& source) {
        return EngineOutputPath(out, source, QStringLiteral(".mkv"));
    };
    EXPECT_TRUE(list.ConfirmOverwrite(toMkv)); // no output exists yet: no question
    EXPECT_TRUE(dialogs.shown.isEmpty());

    QDir().mkpath(out);
    for (const char* name : {"a", "c"})
        QFile(out + QLatin1Char('/') + QString::fromUtf8(name) + QStringLiteral(".mkv"))
            .open(QIODevice::WriteOnly);

    struct Case {
        QList<int> answers;
        bool result;
        int questions;
    };
    const Case cases[] = {
        {{mrYes, mrYes}, true, 2},
        {{mrYes, mrNo}, false, 2},
        {{mrNo}, false, 1},
        {{mrCancel}, false, 1},
        {{mrNone}, false, 1},           // the box was closed
        {{mrYesToAll, mrYes}, true, 2}, // the remaining rows are not looked at
        {{mrYesToAll, mrNo}, false, 2}, // "Yes To All" then "No" does not start
        {{mrYesToAll, mrCancel}, false, 2},
    };
    for (const Case& c : cases) {
        dialogs.shown.clear();
        dialogs.results.clear();
        for (const int a : c.answers)
            dialogs.results.enqueue(a);
        EXPECT_EQ(list.ConfirmOverwrite(toMkv), c.result) << c.answers.first();
        EXPECT_EQ(dialogs.shown.size(), c.questions) << c.answers.first();
    }

    // The first question and the second one after "Yes To All".
    const TScriptedDialogs::Shown& first = dialogs.shown[0];
    EXPECT_EQ(first.kind, TScriptedDialogs::Kind::Question);
    EXPECT_EQ(first.text,
              QStringLiteral("File \"%1\" already exists.\n\nAre you sure you want to overwrite it?")
                  .arg(out + QStringLiteral("/a.mkv")));
    EXPECT_EQ(first.caption, QStringLiteral("Overwrite file?"));
    EXPECT_EQ(first.type, TMsgDlgType::mtConfirmation);
    EXPECT_EQ(first.buttons,
              TMsgDlgBtn::mbYes | TMsgDlgBtn::mbNo | TMsgDlgBtn::mbCancel | TMsgDlgBtn::mbYesToAll);
    EXPECT_EQ(first.buttonCaptions,
              (QStringList{QStringLiteral("Yes"), QStringLiteral("No"), Str(Ids::IDS_SHUTDOWN_BUTTON_Cancel),
                           QStringLiteral("Yes To All")}));
    const TScriptedDialogs::Shown& second = dialogs.shown[1];
    EXPECT_EQ(second.text, QStringLiteral("Are you sure to overwrite all existing files?"));
    EXPECT_EQ(second.buttons, TMsgDlgBtn::mbYes | TMsgDlgBtn::mbNo | TMsgDlgBtn::mbCancel);
    // Enter answers No to both: an existing file is replaced only by choice.
    EXPECT_EQ(first.defaultButton, TMsgDlgBtn::mbNo);
    EXPECT_EQ(second.defaultButton, TMsgDlgBtn::mbNo);
}

// The conversion replaces whatever is at the output name, so a link there is asked about like a
// file, also a link whose target is missing.
TEST_F(SourceListTest, ConfirmOverwriteAsksAboutLinksAtTheOutputName) {
    AddCopies({QStringLiteral("a.mkv")});
    const QString out = m_dir.filePath(QStringLiteral("out"));
    QDir().mkpath(out);
    const auto toMkv = [&](const QString& source) {
        return EngineOutputPath(out, source, QStringLiteral(".mkv"));
    };
    const QString target = m_dir.filePath(QStringLiteral("elsewhere.mkv"));
    for (const bool targetExists : {true, false}) {
        QFile::remove(target);
        if (targetExists)
            QFile(target).open(QIODevice::WriteOnly);
        QFile::remove(out + QStringLiteral("/a.mkv"));
        ASSERT_TRUE(QFile::link(target, out + QStringLiteral("/a.mkv")));
        dialogs.shown.clear();
        dialogs.results.clear();
        dialogs.results.enqueue(mrNo);
        EXPECT_FALSE(list.ConfirmOverwrite(toMkv)) << "target exists: " << targetExists;
        EXPECT_EQ(dialogs.shown.size(), 1) << "target exists: " << targetExists;
    }
}

} // namespace
