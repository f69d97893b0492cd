// The main window's source list: add dialog, keys and buttons with their selection rules, context
// menus, drops, the media panel and playing a source.
#include "main_fixture.h"
#include "media/fileinfo.h"
#include "support/program_folder.h"
#include "ui/main/mediapanel.h"
#include "ui/main/sourcelistview.h"

#include <QDropEvent>
#include <QMenu>
#include <QMimeData>
#include <QTimer>
#include <QToolButton>
#include <QUrl>

namespace {

using Kind = TScriptedDialogs::Kind;

class MainListTest : public MainFixture {
  protected:
    // Adds copies a.mkv, b.mkv, ... and returns their paths.
    QStringList AddCopies(int count) {
        QStringList files;
        for (int i = 0; i < count; ++i)
            files << Media(QString(QChar('a' + i)) + QStringLiteral(".mkv"));
        AddThroughDialog(files);
        return files;
    }
    QList<int> Selected() { return Main().SourceList().SelectedRows(); }
    // Selects exactly these rows, as a user does in the list.
    void Select(const QList<int>& rows) {
        auto* view = Child<TSourceListView>("lsvFileName");
        view->clearSelection();
        for (int row : rows)
            view->selectionModel()->select(view->model()->index(row, 0), QItemSelectionModel::Select);
    }
    void Drop(QWidget* target, const QStringList& paths) {
        QMimeData data;
        QList<QUrl> urls;
        for (const QString& path : paths)
            urls << QUrl::fromLocalFile(path);
        data.setUrls(urls);
        const QPointF at(10, 10);
        QDragEnterEvent enter(at.toPoint(), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
        enter.ignore();
        QApplication::sendEvent(target, &enter);
        ASSERT_TRUE(enter.isAccepted());
        QDropEvent drop(at, Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(target, &drop);
    }
    // The captions of a menu in order ("-" for a separator), without the shortcut column.
    static QStringList Items(const QMenu* menu) {
        QStringList items;
        for (const QAction* a : menu->actions())
            items << (a->isSeparator() ? QStringLiteral("-")
                                       : a->objectName() + QLatin1Char('=') + a->text());
        return items;
    }
};

TEST_F(MainListTest, AddDialogAddsSelectsLastAndRemembersTheFolder) {
    Main();
    Options.LastInputOpenDir = folder.path();
    AddCopies(3);
    ASSERT_EQ(dialogs.shown.size(), 1);
    EXPECT_EQ(dialogs.shown[0].kind, Kind::OpenFiles);
    EXPECT_EQ(dialogs.shown[0].text, folder.path()); // opened in the last folder
    EXPECT_EQ(dialogs.shown[0].buttonCaptions.value(0), BuildOpenFilter(InputFilters));
    EXPECT_EQ(Names(), (QStringList{"a.mkv", "b.mkv", "c.mkv"}));
    EXPECT_EQ(Selected(), QList<int>{2});
    EXPECT_EQ(Text("lblStatus"), QStringLiteral("Summary: 3 files"));
    // Ctrl+N opens the same dialog.
    QTest::keyClick(&Main(), Qt::Key_N, Qt::ControlModifier);
    EXPECT_EQ(dialogs.shown.size(), 2);
    EXPECT_EQ(Options.LastInputOpenDir, folder.file(QStringLiteral("media")));

    // Open empties the list first; a cancelled dialog changes nothing.
    dialogs.openFiles.enqueue({Media(QStringLiteral("x.mkv"))});
    Act("actOpen")->trigger();
    EXPECT_EQ(Names(), QStringList{"x.mkv"});
    EXPECT_EQ(Text("lblStatus"), QStringLiteral("Summary: One file"));
    Act("actOpen")->trigger();
    EXPECT_EQ(Names(), QStringList{"x.mkv"});
}

// A stored folder that is gone (a fresh home without its documents folder): Add and Open open in
// the nearest folder that exists, so that no missing name stands in the dialog's name field.
TEST_F(MainListTest, AddAndOpenStartInTheNearestExistingFolder) {
    Main();
    Options.LastInputOpenDir = folder.file(QStringLiteral("gone/Documents"));
    Act("actAdd")->trigger();
    Act("actOpen")->trigger();
    ASSERT_EQ(dialogs.shown.size(), 2);
    for (const auto& shown : dialogs.shown) {
        EXPECT_EQ(shown.kind, Kind::OpenFiles);
        EXPECT_EQ(QDir::cleanPath(shown.text), QDir::cleanPath(folder.path()));
    }
    EXPECT_EQ(Options.LastInputOpenDir,
              folder.file(QStringLiteral("gone/Documents"))); // kept: nothing chosen
}

TEST_F(MainListTest, DeleteClearSelectAllAndMoveKeepTheSelectionRules) {
    AddCopies(5);
    // Rows 2 and 4 (from 1) go; the row now second is selected.
    Select({1, 3});
    QTest::keyClick(&Main(), Qt::Key_Delete);
    EXPECT_EQ(Names(), (QStringList{"a.mkv", "c.mkv", "e.mkv"}));
    EXPECT_EQ(Selected(), QList<int>{1});
    // Deleting the last rows selects the new last row.
    Select({1, 2});
    Child<QToolButton>("btnDelete")->click();
    EXPECT_EQ(Names(), QStringList{"a.mkv"});
    EXPECT_EQ(Selected(), QList<int>{0});
    // Delete with nothing selected does nothing.
    Select({});
    QTest::keyClick(&Main(), Qt::Key_Delete);
    EXPECT_EQ(Names(), QStringList{"a.mkv"});

    AddThroughDialog({Media(QStringLiteral("f.mkv")), Media(QStringLiteral("g.mkv"))});
    QTest::keyClick(&Main(), Qt::Key_A, Qt::ControlModifier);
    EXPECT_EQ(Selected(), (QList<int>{0, 1, 2}));

    // Up and Down move the first selected row; the ends stay put.
    Select({2});
    Child<QToolButton>("btnDown")->click();
    EXPECT_EQ(Names(), (QStringList{"a.mkv", "f.mkv", "g.mkv"}));
    Child<QToolButton>("btnUp")->click();
    EXPECT_EQ(Names(), (QStringList{"a.mkv", "g.mkv", "f.mkv"}));
    EXPECT_EQ(Selected(), QList<int>{1});
    Select({1});
    Child<QToolButton>("btnDown")->click();
    EXPECT_EQ(Names(), (QStringList{"a.mkv", "f.mkv", "g.mkv"}));
    EXPECT_EQ(Selected(), QList<int>{2});
    Select({0});
    Child<QToolButton>("btnUp")->click();
    EXPECT_EQ(Names(), (QStringList{"a.mkv", "f.mkv", "g.mkv"}));

    // Dragging within the list moves the focused row before the row under the mouse, or to the end.
    auto* view = Child<TSourceListView>("lsvFileName");
    view->setCurrentIndex(view->model()->index(0, 0));
    view->MoveFocusedRowTo(2);
    EXPECT_EQ(Names(), (QStringList{"f.mkv", "a.mkv", "g.mkv"}));
    view->setCurrentIndex(view->model()->index(0, 0));
    view->MoveFocusedRowTo(-1);
    EXPECT_EQ(Names(), (QStringList{"a.mkv", "g.mkv", "f.mkv"}));

    QTest::keyClick(&Main(), Qt::Key_Delete, Qt::ShiftModifier);
    EXPECT_TRUE(Names().isEmpty());
    EXPECT_EQ(Text("lblStatus"), QStringLiteral("Summary: No files"));
    EXPECT_TRUE(Selected().isEmpty());
}

TEST_F(MainListTest, ContextMenusHoldTheirItemsInOrderAndShowByTheSelection) {
    folder.writeFile(QStringLiteral("langs/English.ini"),
                     "[VaridAVI_Convert]\nIDS_MAIN_MENUITEM_Delete=&Remove\n"
                     "[VaridAVI_AVSExt]\n1=.avs\n[VaridAVI_Filters]\nVideo=*.mkv\n");
    ASSERT_TRUE(LoadLanguage());
    auto* have = Child<QMenu>("mnuListViewHaveFile");
    auto* none = Child<QMenu>("mnuListViewNoFile");
    // The captions stay as the language gives them ("&" is no accelerator); keys in their column.
    EXPECT_EQ(Items(have),
              (QStringList{"miPlaySource=Play Source\tF5", "miOpenDestinationFolder=Open Destination Folder",
                           "-", "miDelete=&&Remove\tDel", "miClearList=Clear List\tShift+Del", "-",
                           "miAddFiles2=Add Files\tCtrl+N", "-", "miSelectAll=Select All\tCtrl+A"}));
    EXPECT_EQ(Items(none), (QStringList{"miAddFiles=Add Files\tCtrl+N", "-", "miSettings=Setting\tCtrl+E",
                                        "-", "miHelp=Help Content\tF1"}));

    auto* view = Child<TSourceListView>("lsvFileName");
    emit view->customContextMenuRequested(QPoint(5, 5));
    QTRY_VERIFY(none->isVisible());
    EXPECT_FALSE(have->isVisible());
    none->hide();

    AddCopies(1);
    emit view->customContextMenuRequested(QPoint(5, 5));
    QTRY_VERIFY(have->isVisible());
    have->hide();

    // The items run their actions.
    Child<QAction>("miSelectAll")->trigger();
    Child<QAction>("miDelete")->trigger();
    EXPECT_TRUE(Names().isEmpty());
    Child<QAction>("miHelp")->trigger();
    ASSERT_FALSE(dialogs.shown.isEmpty());
    EXPECT_EQ(dialogs.shown.last().kind, Kind::ShellOpen);
    EXPECT_EQ(dialogs.shown.last().text, HelpFileName);
}

TEST_F(MainListTest, DropsAddFilesWholeAndSkipFolders) {
    const QString clip = Media(QStringLiteral("clip.mkv"));
    // A path far past 255 characters is taken whole.
    QString deep = QStringLiteral("media");
    while (deep.size() < 300)
        deep += QStringLiteral("/a-rather-long-folder-name-for-a-deep-path");
    const QString longPath = folder.file(deep + QStringLiteral("/long.mkv"));
    QDir().mkpath(QFileInfo(longPath).path());
    ASSERT_TRUE(QFile::copy(QStringLiteral(VARID_MEDIA_DIR "/again.mkv"), longPath));
    const QString folderLikeMedia = folder.file(QStringLiteral("media/folder.mkv"));
    QDir().mkpath(folderLikeMedia);

    Drop(Child<TSourceListView>("lsvFileName"), {folderLikeMedia, clip, longPath});
    EXPECT_EQ(Main().SourceList().Captions(), (QStringList{clip, longPath}));
    EXPECT_EQ(Selected(), QList<int>{1});

    // A drop elsewhere on the window, and the slot other parts call by name, add the same way.
    const QString other = Media(QStringLiteral("other.mkv"), QStringLiteral("viper.mp3"));
    const QString third = Media(QStringLiteral("third.mkv"));
    Drop(&Main(), {other});
    ASSERT_TRUE(QMetaObject::invokeMethod(&Main(), "AddDroppedFiles", Q_ARG(QStringList, {third})));
    EXPECT_EQ(Names(), (QStringList{"clip.mkv", "long.mkv", "other.mkv", "third.mkv"}));
    EXPECT_EQ(Selected(), QList<int>{3});
    EXPECT_EQ(Text("lblStatus"), QStringLiteral("Summary: 4 files"));
}

TEST_F(MainListTest, MediaPanelFollowsTheSelectionAndHidesWithAnEmptyList) {
    auto* panel = Child<TMediaPanel>("pnlMediaInfo");
    EXPECT_FALSE(panel->isVisible());
    EXPECT_EQ(Text("lblWidthText"), QStringLiteral("..."));

    AddThroughDialog(
        {Media(QStringLiteral("clip.mkv")), Media(QStringLiteral("song.mp3"), QStringLiteral("viper.mp3"))});
    EXPECT_TRUE(panel->isVisible());
    // The audio file is selected: its video facts are missing.
    const TFileItem& song = Main().SourceList().Row(1).Item;
    EXPECT_EQ(Text("lblCompleteNameText"), song.CompleteName);
    EXPECT_EQ(Text("lblCodecsText"), song.AudioCodec);
    EXPECT_EQ(Text("lblSamplingRateText"), song.SamplingRate);
    for (const char* video : {"lblCodecText", "lblWidthText", "lblHeightText", "lblBitratesText",
                              "lblAspectRatioText", "lblFrameRateText"})
        EXPECT_EQ(Text(video), QStringLiteral("<None>")) << video;

    Select({0});
    const TFileItem& clip = Main().SourceList().Row(0).Item;
    const QStringList values = MediaPanelValues(&clip);
    const char* names[] = {"lblCompleteNameText", "lblPlayTimeText",   "lblFormatText",
                           "lblAudioCountText",   "lblVideoCountText", "lblCodecText",
                           "lblWidthText",        "lblHeightText",     "lblBitratesText",
                           "lblAspectRatioText",  "lblFrameRateText",  "lblCodecsText",
                           "lblBitrateText",      "lblChannelsText",   "lblSamplingRateText"};
    for (int i = 0; i < 15; ++i)
        EXPECT_EQ(Text(names[i]), values[i]) << names[i];
    EXPECT_NE(Text("lblWidthText"), QStringLiteral("<None>"));

    // Rows but no selection: every value reads "<None>" and the panel stays.
    Select({});
    EXPECT_TRUE(panel->isVisible());
    for (const char* name : names)
        EXPECT_EQ(Text(name), QStringLiteral("<None>")) << name;

    Act("actClearList")->trigger();
    EXPECT_FALSE(panel->isVisible());
}

TEST_F(MainListTest, ALongAddLetsTheWindowWorkBetweenFiles) {
    QStringList files;
    for (int i = 0; i < 4; ++i)
        files << Media(QStringLiteral("f%1.mkv").arg(i));
    Main();
    // An event queued before the add runs while the add is still going on.
    bool ran = false;
    QTimer::singleShot(0, [&] { ran = true; });
    QList<bool> seen;
    // Converting cannot start from between two files of an add: Convert is off while each file
    // is added, and a press on it starts nothing.
    QList<bool> convertEnabled;
    QObject::connect(&Main().SourceList(), &TSourceList::addingFile, [&] {
        seen << ran;
        convertEnabled << Act("actConvert")->isEnabled();
        QTest::mouseClick(Child<QToolButton>("btnConvert"), Qt::LeftButton);
    });
    AddThroughDialog(files);
    ASSERT_EQ(seen.size(), 4);
    EXPECT_TRUE(seen.last());
    EXPECT_EQ(Names().size(), 4);
    EXPECT_EQ(convertEnabled, QList<bool>(4, false));
    EXPECT_EQ(dialogs.shown.size(), 1) << dialogs.messages().join(QLatin1Char('\n')).toStdString();
    // And it can again afterwards.
    EXPECT_TRUE(Act("actConvert")->isEnabled());
}

TEST_F(MainListTest, RowsShowTheErrorMarkAfterAFailedBatch) {
    AddCopies(2);
    auto* view = Child<TSourceListView>("lsvFileName");
    Main().SourceList().SetImageIndex(1, 1);
    const QIcon normal = view->model()->index(0, 0).data(Qt::DecorationRole).value<QIcon>();
    const QIcon marked = view->model()->index(1, 0).data(Qt::DecorationRole).value<QIcon>();
    EXPECT_EQ(normal.cacheKey(), TSourceListModel::RowIcon(0).cacheKey());
    EXPECT_EQ(marked.cacheKey(), TSourceListModel::RowIcon(1).cacheKey());
    EXPECT_NE(normal.cacheKey(), marked.cacheKey());
}

TEST_F(MainListTest, DoubleClickAndF5PlayTheSelectedSource) {
    const QStringList files = AddCopies(2);
    auto* view = Child<TSourceListView>("lsvFileName");
    emit view->doubleClicked(view->model()->index(1, 0));
    Select({0});
    QTest::keyClick(&Main(), Qt::Key_F5);
    Select({});
    QTest::keyClick(&Main(), Qt::Key_F5); // nothing selected: nothing opened
    QStringList opened;
    for (const auto& shown : dialogs.shown) {
        if (shown.kind == Kind::ShellOpen)
            opened << shown.text;
    }
    EXPECT_EQ(opened, (QStringList{files[1], files[0]}));
}

} // namespace
