// The main window's body: the source list with its actions, buttons and context menus, the
// media panel and the output panel.
#include "app/dialogs.h"
#include "app/options.h"
#include "app/utils.h"
#include "lang/multilanguages.h"
#include "lang/strings.h"
#include "media/fileinfo.h"
#include "ui/main/batchwindow.h"
#include "ui/main/donebar.h"
#include "ui/main/mainwnd.h"
#include "ui/main/mediapanel.h"
#include "ui/main/sourcelistview.h"

#include <QAction>
#include <QApplication>
#include <QFileInfo>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QMenu>
#include <QPushButton>
#include <QToolButton>
#include <QVBoxLayout>

#include <array>
#include <functional>

namespace {

struct ActionEntry {
    const char* name;
    Ids caption;
    QKeyCombination key; // the shortcut, or Qt::Key_unknown
    const char* icon;    // the desktop theme's icon name, or nullptr
};

// Every action of the main window with its caption, shortcut and icon.
const std::array<ActionEntry, 13> kActions = {{
    {"actOpen", Ids::IDS_MAIN_BUTTON_Open, Qt::Key_unknown, "document-open"},
    {"actAdd", Ids::IDS_MAIN_ARBUTTON_Add, Qt::CTRL | Qt::Key_N, "list-add"},
    {"actDelete", Ids::IDS_MAIN_ARBUTTON_Delete, Qt::Key_Delete, "list-remove"},
    {"actClearList", Ids::IDS_MAIN_ARBUTTON_Clear, Qt::SHIFT | Qt::Key_Delete, "edit-clear"},
    {"actSelectAll", Ids::IDS_MAIN_MENUITEM_SelectAll, Qt::CTRL | Qt::Key_A, "edit-select-all"},
    {"actMoveUp", Ids::IDS_MAIN_ARBUTTON_Up, Qt::Key_unknown, "go-up"},
    {"actMoveDown", Ids::IDS_MAIN_ARBUTTON_Down, Qt::Key_unknown, "go-down"},
    {"actPlaySource", Ids::IDS_MAIN_MENUITEM_PlaySource, Qt::Key_F5, "media-playback-start"},
    {"actOpenDestinationFolder", Ids::IDS_MAIN_MENUITEM_OpenDes, Qt::Key_unknown, "folder-open"},
    {"actSettingsExecute", Ids::IDS_MAIN_MENUITEM_Setting, Qt::CTRL | Qt::Key_E, "preferences-system"},
    {"actOutputSetting", Ids::IDS_MAIN_ARBUTTON_OutputSetting, Qt::Key_unknown, "document-properties"},
    {"actMore", Ids::IDS_MAIN_LABEL_More, Qt::Key_unknown, nullptr},
    {"actConvert", Ids::IDS_MAIN_ARBUTTON_Convert, Qt::Key_unknown, "media-record"},
}};

// The list buttons above the list, in order, and the action each runs.
const std::array<std::pair<const char*, const char*>, 6> kListButtons = {{
    {"btnOpen", "actOpen"},
    {"btnAdd", "actAdd"},
    {"btnDelete", "actDelete"},
    {"btnClear", "actClearList"},
    {"btnUp", "actMoveUp"},
    {"btnDown", "actMoveDown"},
}};

struct MenuItemEntry {
    const char* name;   // nullptr: a separator
    const char* action; // the action the item runs
    Ids caption;
};

const std::array<MenuItemEntry, 9> kHaveFileMenu = {{
    {"miPlaySource", "actPlaySource", Ids::IDS_MAIN_MENUITEM_PlaySource},
    {"miOpenDestinationFolder", "actOpenDestinationFolder", Ids::IDS_MAIN_MENUITEM_OpenDes},
    {nullptr, nullptr, Ids::IDS_None},
    {"miDelete", "actDelete", Ids::IDS_MAIN_MENUITEM_Delete},
    {"miClearList", "actClearList", Ids::IDS_MAIN_MENUITEM_ClearList},
    {nullptr, nullptr, Ids::IDS_None},
    {"miAddFiles2", "actAdd", Ids::IDS_MAIN_MENUITEM_AddFiles},
    {nullptr, nullptr, Ids::IDS_None},
    {"miSelectAll", "actSelectAll", Ids::IDS_MAIN_MENUITEM_SelectAll},
}};

const std::array<MenuItemEntry, 5> kNoFileMenu = {{
    {"miAddFiles", "actAdd", Ids::IDS_MAIN_MENUITEM_AddFiles},
    {nullptr, nullptr, Ids::IDS_None},
    {"miSettings", "actSettingsExecute", Ids::IDS_MAIN_MENUITEM_Setting},
    {nullptr, nullptr, Ids::IDS_None},
    {"miHelp", "actHelpContent", Ids::IDS_MAIN_MENUITEM_HelpContent},
}};

// Between two files of a long add the window paints and takes commands at about this interval.
constexpr qint64 kPumpIntervalMs = 40;

} // namespace

void TfrmMain::buildActions() {
    const std::array<std::function<void()>, kActions.size()> work = {
        [this] { addFiles(true); },
        [this] { addFiles(false); },
        [this] { m_list.DeleteSelectedRows(); },
        [this] { m_list.Clear(); },
        [this] { m_list.SelectAll(); },
        [this] { m_list.MoveSourceRow(TMoveDirection::Up); },
        [this] { m_list.MoveSourceRow(TMoveDirection::Down); },
        [this] { playSource(); },
        [this] { openDestinationFolder(); },
        [this] { showSettings(); },
        [this] { openOutputSetting(); },
        [this] { showFileInfo(); },
        [this] { convert(); },
    };
    for (size_t i = 0; i < kActions.size(); ++i) {
        const ActionEntry& entry = kActions[i];
        auto* act = new QAction(this);
        act->setObjectName(QLatin1String(entry.name));
        if (entry.key.key() != Qt::Key_unknown)
            act->setShortcut(QKeySequence(entry.key));
        act->setShortcutContext(Qt::WindowShortcut);
        if (entry.icon)
            act->setIcon(QIcon::fromTheme(QLatin1String(entry.icon)));
        connect(act, &QAction::triggered, this, work[i]);
        addAction(act);
        m_actions.insert(act->objectName(), act);
    }
    m_actions.insert(actHelpContent->objectName(), actHelpContent);
    connect(&m_list, &TSourceList::summaryChanged, lblStatus, &QLabel::setText);
    connect(&m_list, &TSourceList::addingFile, this, &TfrmMain::keepResponsive);
}

void TfrmMain::buildBody() {
    // A batch's success where the desktop could not show it.
    pnlBatchDone = new TBatchDoneBar(this);
    m_body->addWidget(pnlBatchDone);
    connect(m_batch.get(), &TBatchWindow::succeededUnannounced, pnlBatchDone, &TBatchDoneBar::ShowSuccess);

    // The list buttons with the help button at their end, the list and the media panel.
    auto* buttons = new QHBoxLayout;
    buttons->setSpacing(4);
    for (const auto& [name, act] : kListButtons) {
        auto* button = new QToolButton(this);
        button->setObjectName(QLatin1String(name));
        button->setDefaultAction(action(act));
        button->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
        button->setIconSize(QSize(16, 16));
        button->setMinimumWidth(72);
        buttons->addWidget(button);
        // Gaps between the groups: filling, removing, ordering.
        if (qstrcmp(name, "btnAdd") == 0 || qstrcmp(name, "btnClear") == 0)
            buttons->addSpacing(12);
    }
    buttons->addStretch();
    buildHelpButton(buttons);
    m_body->addLayout(buttons);

    lsvFileName = new TSourceListView(m_list, this);
    lsvFileName->setObjectName(QStringLiteral("lsvFileName"));
    lsvFileName->setMinimumHeight(120);
    m_body->addWidget(lsvFileName, 1);
    connect(lsvFileName, &TSourceListView::filesDropped, this, &TfrmMain::AddDroppedFiles);
    connect(lsvFileName, &QAbstractItemView::doubleClicked, action("actPlaySource"), &QAction::trigger);
    connect(lsvFileName, &QWidget::customContextMenuRequested, this, &TfrmMain::showListMenu);

    pnlMediaInfo = new TMediaPanel(this);
    pnlMediaInfo->setVisible(false);
    m_body->addWidget(pnlMediaInfo);
    connect(pnlMediaInfo->MoreButton(), &QPushButton::clicked, action("actMore"), &QAction::trigger);
    connect(&m_list, &TSourceList::rowsChanged, this, &TfrmMain::refreshMediaPanel);
    connect(&m_list, &TSourceList::selectionChanged, this, &TfrmMain::refreshMediaPanel);

    // The output choice: three caption and value pairs, and the two buttons beside them.
    auto* output = new QWidget(this);
    output->setObjectName(QStringLiteral("pnlOutput"));
    output->setAttribute(Qt::WA_StyledBackground);
    auto* grid = new QGridLayout(output);
    grid->setContentsMargins(0, 8, 0, 0);
    grid->setHorizontalSpacing(10);
    const std::array<std::pair<QLabel**, const char*>, 6> labels = {{
        {&lblOutput, "lblOutput"},
        {&lblOutputFormat, "lblOutputFormat"},
        {&lblProFile, "lblProFile"},
        {&lblProfileText, "lblProfileText"},
        {&lblOutputDir, "lblOutputDir"},
        {&lblOutputDirectory, "lblOutputDirectory"},
    }};
    for (size_t i = 0; i < labels.size(); ++i) {
        auto* label = new QLabel(output);
        label->setObjectName(QLatin1String(labels[i].second));
        if (i % 2 == 1) {
            label->setTextInteractionFlags(Qt::TextSelectableByMouse);
            label->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);
            QFont bold = label->font();
            bold.setBold(true);
            label->setFont(bold);
        }
        grid->addWidget(label, int(i / 2), int(i % 2));
        *labels[i].first = label;
    }
    grid->setColumnStretch(1, 1);
    auto* setting = new QToolButton(output);
    setting->setObjectName(QStringLiteral("btnOutputSetting"));
    setting->setDefaultAction(action("actOutputSetting"));
    setting->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
    setting->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
    auto* convert = new QToolButton(output);
    convert->setObjectName(QStringLiteral("btnConvert"));
    convert->setDefaultAction(action("actConvert"));
    convert->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
    convert->setIconSize(QSize(22, 22));
    convert->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Expanding);
    QFont big = convert->font();
    big.setBold(true);
    big.setPointSizeF(big.pointSizeF() * 1.2);
    convert->setFont(big);
    grid->addWidget(setting, 0, 2);
    grid->addWidget(convert, 1, 2, 2, 1);
    grid->setColumnMinimumWidth(2, 160);
    m_body->addWidget(output);

    // Keyboard focus follows the window from top to bottom.
    QWidget* previous = nullptr;
    for (QWidget* w : std::initializer_list<QWidget*>{
             findChild<QWidget*>(QStringLiteral("btnOpen")), findChild<QWidget*>(QStringLiteral("btnAdd")),
             findChild<QWidget*>(QStringLiteral("btnDelete")),
             findChild<QWidget*>(QStringLiteral("btnClear")), findChild<QWidget*>(QStringLiteral("btnUp")),
             findChild<QWidget*>(QStringLiteral("btnDown")), btnHelp, lsvFileName, pnlMediaInfo->MoreButton(),
             setting, convert}) {
        if (previous)
            setTabOrder(previous, w);
        previous = w;
    }
}

void TfrmMain::buildContextMenus() {
    const auto build = [this](QMenu* menu, const char* name, auto& items) {
        menu->setObjectName(QLatin1String(name));
        for (const MenuItemEntry& entry : items) {
            if (!entry.name) {
                menu->addSeparator();
                continue;
            }
            QAction* item = menu->addAction(QString());
            item->setObjectName(QLatin1String(entry.name));
            item->setIcon(action(entry.action)->icon());
            item->setProperty("caption", int(entry.caption));
            item->setProperty("runs", QLatin1String(entry.action));
            QAction* runs = action(entry.action);
            connect(item, &QAction::triggered, runs, &QAction::trigger);
            m_menuItems << item;
        }
    };
    mnuListViewHaveFile = new QMenu(this);
    build(mnuListViewHaveFile, "mnuListViewHaveFile", kHaveFileMenu);
    mnuListViewNoFile = new QMenu(this);
    build(mnuListViewNoFile, "mnuListViewNoFile", kNoFileMenu);
}

void TfrmMain::applyListCaptions() {
    for (const ActionEntry& entry : kActions) {
        QAction* act = action(entry.name);
        act->setText(LiteralMenuText(Str(entry.caption)));
        const QString keys = act->shortcut().toString(QKeySequence::NativeText);
        act->setToolTip(keys.isEmpty() ? Str(entry.caption)
                                       : QStringLiteral("%1 (%2)").arg(Str(entry.caption), keys));
    }
    // Menu captions stay as the language gives them; the shortcut shows in the key column only.
    for (QAction* item : m_menuItems) {
        const QAction* runs = action(item->property("runs").toByteArray().constData());
        const QString keys = runs->shortcut().toString(QKeySequence::NativeText);
        QString text = LiteralMenuText(Str(static_cast<Ids>(item->property("caption").toInt())));
        if (!keys.isEmpty())
            text += QLatin1Char('\t') + keys;
        item->setText(text);
    }
    lsvFileName->setAccessibleName(Str(Ids::IDS_MAIN_LIST_SourceFiles));
    pnlMediaInfo->ApplyCaptions();
    lblOutput->setText(Str(Ids::IDS_MAIN_ARBUTTON_OutputFormat));
    lblProFile->setText(Str(Ids::IDS_MAIN_LABEL_ProFile));
    lblOutputDir->setText(Str(Ids::IDS_MAIN_ARBUTTON_OutputDir));
    // Each value is described by its caption for screen readers and tests from outside.
    lblOutputFormat->setAccessibleDescription(lblOutput->text());
    lblProfileText->setAccessibleDescription(lblProFile->text());
    lblOutputDirectory->setAccessibleDescription(lblOutputDir->text());
    m_openFilter = BuildOpenFilter(m_list.AcceptedFilters());
}

void TfrmMain::showListMenu(const QPoint& pos) {
    QMenu* menu = m_list.SelectedRows().isEmpty() ? mnuListViewNoFile : mnuListViewHaveFile;
    menu->popup(lsvFileName->viewport()->mapToGlobal(pos));
}

void TfrmMain::refreshMediaPanel() {
    pnlMediaInfo->setVisible(m_list.Count() > 0);
    pnlMediaInfo->ShowMediaPanel(m_list.SelectedItem());
}

void TfrmMain::keepResponsive() {
    // Each file is probed on this thread: let the window paint and take commands between files,
    // at a steady pace rather than after every file of a long add.
    if (m_pump.isValid() && m_pump.elapsed() < kPumpIntervalMs)
        return;
    QApplication::processEvents();
    m_pump.start();
}

void TfrmMain::addFiles(bool clearFirst) {
    const QString title = Str(clearFirst ? Ids::IDS_MAIN_BUTTON_Open : Ids::IDS_MAIN_MENUITEM_AddFiles);
    const QStringList files =
        Dialogs().GetOpenFileNames(title, NearestExistingFolder(Options.LastInputOpenDir), m_openFilter);
    if (files.isEmpty())
        return;
    Options.LastInputOpenDir = QFileInfo(files.first()).absolutePath();
    addPaths(files, clearFirst);
}

void TfrmMain::AddDroppedFiles(const QStringList& paths) {
    if (!paths.isEmpty())
        addPaths(paths, false);
}

void TfrmMain::addPaths(const QStringList& paths, bool clearFirst) {
    // A batch must not start from between two files of an add.
    ++m_adding;
    action("actConvert")->setEnabled(false);
    m_pump.invalidate();
    m_list.AddAndSelect(paths, clearFirst);
    if (--m_adding == 0)
        action("actConvert")->setEnabled(true);
}

void TfrmMain::playSource() {
    if (const TFileItem* item = m_list.SelectedItem())
        Dialogs().ShellOpen(item->FullPath());
}
