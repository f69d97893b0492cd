#include "ui/chooser/convertwnd.h"

#include "app/dialogs.h"
#include "app/errors.h"
#include "app/options.h"
#include "app/paths.h"
#include "app/utils.h"
#include "engine/output_folder.h"
#include "lang/strings.h"
#include "profiles/catalogue.h"
#include "profiles/optiondetails.h"
#include "profiles/profile_manager.h"
#include "ui/centre.h"
#include "ui/chooser/namewnd.h"
#include "ui/chooser/profile_forms.h"

#include <QAction>
#include <QButtonGroup>
#include <QCloseEvent>
#include <QComboBox>
#include <QCompleter>
#include <QCoreApplication>
#include <QCursor>
#include <QFrame>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QIcon>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QRadioButton>
#include <QStackedWidget>
#include <QThread>
#include <QToolButton>
#include <QVBoxLayout>

namespace {

// The chooser's control of each format, by format index: a radio button in a grid of three
// columns, or an item of the Others menu.
struct TFormatControl {
    const char* action;
    const char* control;
    Ids caption;
    int row = -1; // grid place of the radio button; -1 for an Others menu item
    int column = -1;
};

constexpr std::array<TFormatControl, FormatCount> kFormats = {{
    {"actAVI", "rdoAVI", Ids::IDS_MAIN_RADIOBUTTON_ToAVI, 1, 2},
    {"actMP4", "rdoMP4", Ids::IDS_MAIN_RADIOBUTTON_ToMP4, 0, 2},
    {"act3GP", "rdo3GP", Ids::IDS_MAIN_RADIOBUTTON_To3GP, 0, 0},
    {"actMPEG", "rdoMPEG", Ids::IDS_MAIN_RADIOBUTTON_ToMPEG, 2, 0},
    {"actMOV", "rdoMOV", Ids::IDS_MAIN_RADIOBUTTON_ToMOV, 1, 0},
    {"actWMV", "rdoWMV", Ids::IDS_MAIN_RADIOBUTTON_ToWMV, 0, 1},
    {"actRM", "rdoRM", Ids::IDS_MAIN_RADIOBUTTON_ToRM, 2, 1},
    {"actSWF", "rdoSWF", Ids::IDS_MAIN_RADIOBUTTON_ToSWF, 1, 1},
    {"actVOB", "miVOB", Ids::IDS_MAIN_MENUITEM_ToVOB},
    {"actASF", "miASF", Ids::IDS_MAIN_MENUITEM_ToASF},
    {"actAAC", "miAAC", Ids::IDS_MAIN_MENUITEM_ToAAC},
    {"actAC3", "miAC3", Ids::IDS_MAIN_MENUITEM_ToAC3},
    {"actMP2", "miMP2", Ids::IDS_MAIN_MENUITEM_ToMP2},
    {"actMP3", "miMP3", Ids::IDS_MAIN_MENUITEM_ToMP3},
    {"actAMR", "miAMR", Ids::IDS_MAIN_MENUITEM_ToAMR},
    {"actWAV", "miWAV", Ids::IDS_MAIN_MENUITEM_ToWAV},
    {"actMKV", "miMKV", Ids::IDS_MAIN_MENUITEM_ToMKV},
    {"actWebM", "miWebM", Ids::IDS_MAIN_MENUITEM_ToWebM},
    {"actM4A", "miM4A", Ids::IDS_MAIN_MENUITEM_ToM4A},
    {"actFLAC", "miFLAC", Ids::IDS_MAIN_MENUITEM_ToFLAC},
    {"actOpus", "miOpus", Ids::IDS_MAIN_MENUITEM_ToOpus},
    {"actOGG", "miOGG", Ids::IDS_MAIN_MENUITEM_ToOGG},
}};

// The Others menu lists its formats in this order: the classic ones, then, after a line, the
// modern ones.
constexpr std::array<int, 14> kOthersMenuOrder = {10, 11, 12, 13, 14, 15, 8, 9, 16, 17, 18, 19, 20, 21};
constexpr int kFirstModernFormat = 16;

// Radio buttons sit in rows 0..2; the Others button below "To AVI".
constexpr int kOthersRow = 2;
constexpr int kOthersColumn = 2;

bool isOtherFormat(int formatIndex) {
    return kFormats[formatIndex].row < 0;
}

// Menus show every caption literally: no accelerator characters.
QString literalMenuText(const QString& text) {
    return QString(text).replace(QLatin1Char('&'), QStringLiteral("&&"));
}

QAction* newAction(QWidget* window, const char* name, const QKeySequence& shortcut = {}) {
    auto* action = new QAction(window);
    action->setObjectName(QLatin1String(name));
    action->setShortcut(shortcut);
    action->setShortcutContext(Qt::WindowShortcut);
    window->addAction(action);
    return action;
}

// A menu item that mirrors an action (text, shortcut, enabled, check mark) and runs it.
QAction* linkedItem(QMenu* menu, const char* name, QAction* action) {
    QAction* item = menu->addAction(QString());
    item->setObjectName(QLatin1String(name));
    const auto sync = [item, action] {
        item->setText(literalMenuText(action->text()));
        item->setShortcut(action->shortcut());
        item->setEnabled(action->isEnabled());
        item->setCheckable(action->isCheckable());
        item->setChecked(action->isChecked());
    };
    sync();
    QObject::connect(action, &QAction::changed, item, sync);
    QObject::connect(item, &QAction::triggered, action, [action, sync] {
        action->trigger();
        sync();
    });
    return item;
}

QIcon themeIcon(std::initializer_list<const char*> names) {
    for (const char* name : names) {
        const QIcon icon = QIcon::fromTheme(QLatin1String(name));
        if (!icon.isNull())
            return icon;
    }
    return {};
}

} // namespace

TfrmConvert::TfrmConvert(QWidget* owner) : QWidget(owner, Qt::Dialog) {
    setObjectName(QStringLiteral("frmConvert"));
    buildActions();
    auto* layout = new QVBoxLayout(this);
    // Every row is one line high: the window grows in width only.
    layout->setSizeConstraint(QLayout::SetMinAndMaxSize);
    buildFormats();
    // Two rows of label, field and buttons, the fields aligned in one column.
    auto* fields = new QGridLayout;
    fields->setColumnStretch(1, 1);
    buildProfileRow(fields);
    buildFolderRow(fields);
    layout->addLayout(fields);
    buildButtons();
    buildTabOrder();

    // Opening, in order: the format and folder in use (the options in memory: options.ini is only
    // written when the program ends, so reading it would undo this session's choices), the
    // captions, the profile folders and lists, and the format shown with its first profile.
    const int stored = Options.OutputFormat < FormatCount ? Options.OutputFormat : 0;
    txtOutputDir->setText(Options.LastOutputOpenDir);
    ApplyCaptions();
    InitProfileFolders();
    if (!CreateProfileFolders()) {
        Dialogs().MessageBox(Str(Ids::IDS_MESSAGEBOX_CreateDirError), Str(Ids::IDS_MESSAGEBOX_Error),
                             TMsgDlgType::mtWarning, static_cast<unsigned>(TMsgDlgBtn::mbOK));
        // The program cannot work without its profile folders. Outside a running event loop
        // (tests) exit() would only make the next loop return at once, so it is left out there.
        if (QThread::currentThread()->loopLevel() > 0)
            QCoreApplication::exit(1);
    }
    m_listFolders = Options.ProfileFolders;
    for (int i = 0; i < FormatCount; ++i)
        fillProfileList(i, QString());
    chooseFormat(stored);
    layout->activate();
    resize(sizeHint().expandedTo(QSize(480, 0)));
}

TfrmConvert::~TfrmConvert() = default;

void TfrmConvert::buildActions() {
    for (int i = 0; i < FormatCount; ++i) {
        QAction* action = newAction(this, kFormats[i].action);
        action->setCheckable(isOtherFormat(i));
        connect(action, &QAction::triggered, this, [this, i] { chooseFormat(i); });
        m_formatActions[i] = action;
    }
    actOthers = newAction(this, "actOthers");
    actBrowse = newAction(this, "actBrowse");
    connect(actBrowse, &QAction::triggered, this, &TfrmConvert::browse);
    actEditProfile = newAction(this, "actEditProfile");
    connect(actEditProfile, &QAction::triggered, this, [this] {
        runProfileAction(
            [this](IProfileForms& forms) { return EditProfile(forms, m_format, CurrentProfile()); });
    });
    actAddNewProfile = newAction(this, "actAddNewProfile", QKeySequence(Qt::CTRL | Qt::Key_Z));
    connect(actAddNewProfile, &QAction::triggered, this, [this] {
        runProfileAction([this](IProfileForms& forms) { return AddProfile(forms, m_format); });
    });
    actRenameProfile = newAction(this, "actRenameProfile", QKeySequence(Qt::Key_F2));
    connect(actRenameProfile, &QAction::triggered, this, [this] {
        runProfileAction(
            [this](IProfileForms& forms) { return RenameProfile(forms, m_format, CurrentProfile()); });
    });
    actDeleteProfile = newAction(this, "actDeleteProfile", QKeySequence(Qt::CTRL | Qt::Key_Delete));
    connect(actDeleteProfile, &QAction::triggered, this, [this] {
        runProfileAction([this](IProfileForms&) {
            return DeleteProfile(m_format, CurrentProfile(), m_lists[m_format]->count());
        });
    });
    actCancel = newAction(this, "actCancel", QKeySequence(Qt::Key_Escape));
    connect(actCancel, &QAction::triggered, this, &TfrmConvert::cancel);
}

void TfrmConvert::buildFormats() {
    auto* grid = new QGridLayout;
    grid->setHorizontalSpacing(24);
    m_radioGroup = new QButtonGroup(this);
    for (int i = 0; i < FormatCount; ++i) {
        if (isOtherFormat(i))
            continue;
        auto* radio = new QRadioButton(this);
        radio->setObjectName(QLatin1String(kFormats[i].control));
        m_radioGroup->addButton(radio, i);
        grid->addWidget(radio, kFormats[i].row, kFormats[i].column);
        // Checking a radio button runs its action while the action is enabled (not yet current).
        connect(radio, &QRadioButton::toggled, this, [this, i](bool on) {
            if (on && m_formatActions[i]->isEnabled())
                m_formatActions[i]->trigger();
        });
        m_radios[i] = radio;
    }

    mnuOthers = new QMenu(this);
    mnuOthers->setObjectName(QStringLiteral("mnuOthers"));
    for (int i : kOthersMenuOrder) {
        if (i == kFirstModernFormat)
            mnuOthers->addSeparator();
        m_menuItems[i] = linkedItem(mnuOthers, kFormats[i].control, m_formatActions[i]);
    }
    btnOther = new QToolButton(this);
    btnOther->setObjectName(QStringLiteral("btnOther"));
    btnOther->setAutoRaise(true);
    btnOther->setCheckable(true);
    btnOther->setMenu(mnuOthers);
    btnOther->setPopupMode(QToolButton::InstantPopup);
    btnOther->setToolButtonStyle(Qt::ToolButtonTextOnly);
    // Shown pressed while one of its formats is current; a click only opens the menu.
    const auto markOthers = [this] {
        const QSignalBlocker block(btnOther);
        btnOther->setChecked(!actOthers->isEnabled());
    };
    connect(actOthers, &QAction::changed, btnOther, markOthers);
    connect(btnOther, &QToolButton::toggled, btnOther, markOthers);
    grid->addWidget(btnOther, kOthersRow, kOthersColumn, Qt::AlignLeft);
    grid->setColumnStretch(3, 1);
    static_cast<QVBoxLayout*>(layout())->addLayout(grid);

    auto* line = new QFrame(this);
    line->setFrameShape(QFrame::HLine);
    line->setFrameShadow(QFrame::Sunken);
    static_cast<QVBoxLayout*>(layout())->addWidget(line);
}

void TfrmConvert::buildProfileRow(QGridLayout* fields) {
    lblProfile = new QLabel(this);
    lblProfile->setObjectName(QStringLiteral("lblProfile"));
    fields->addWidget(lblProfile, 0, 0);
    m_listStack = new QStackedWidget(this);
    m_listStack->setObjectName(QStringLiteral("pnlProfileLists"));
    for (const TFormatInfo& format : FormatCatalogue()) {
        auto* list = new QComboBox(m_listStack);
        list->setObjectName(format.ChooserList);
        list->setEditable(true);
        list->setInsertPolicy(QComboBox::NoInsert);
        // Completion must not change the letter case of a name being typed.
        list->completer()->setCaseSensitivity(Qt::CaseSensitive);
        list->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
        list->setMinimumContentsLength(24);
        m_listStack->addWidget(list);
        m_lists[format.Index] = list;
    }
    m_listStack->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
    fields->addWidget(m_listStack, 0, 1);

    auto* buttons = new QHBoxLayout;
    btnEdit = new QToolButton(this);
    btnEdit->setObjectName(QStringLiteral("btnEdit"));
    btnEdit->setIcon(themeIcon({"document-edit", "document-edit-symbolic", "document-properties"}));
    btnEdit->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
    connect(btnEdit, &QToolButton::clicked, actEditProfile, &QAction::trigger);
    buttons->addWidget(btnEdit);

    btnProfile = new QToolButton(this);
    btnProfile->setObjectName(QStringLiteral("btnProfile"));
    const QIcon more = themeIcon({"view-more", "view-more-symbolic", "open-menu", "open-menu-symbolic"});
    if (more.isNull())
        btnProfile->setArrowType(Qt::DownArrow);
    else
        btnProfile->setIcon(more);
    connect(btnProfile, &QToolButton::clicked, this, &TfrmConvert::showProfileMenu);
    buttons->addWidget(btnProfile);

    mnuProfileAdditional = new QMenu(this);
    mnuProfileAdditional->setObjectName(QStringLiteral("mnuProfileAdditional"));
    miAddNewOne = linkedItem(mnuProfileAdditional, "miAddNewOne", actAddNewProfile);
    mnuProfileAdditional->addSeparator();
    miDelete2 = linkedItem(mnuProfileAdditional, "miDelete2", actDeleteProfile);
    miRename = linkedItem(mnuProfileAdditional, "miRename", actRenameProfile);
    fields->addLayout(buttons, 0, 2);
}

void TfrmConvert::buildFolderRow(QGridLayout* fields) {
    lblOutputDir = new QLabel(this);
    lblOutputDir->setObjectName(QStringLiteral("lblOutputDir"));
    fields->addWidget(lblOutputDir, 1, 0);
    txtOutputDir = new QLineEdit(this);
    txtOutputDir->setObjectName(QStringLiteral("txtOutputDir"));
    lblOutputDir->setBuddy(txtOutputDir);
    fields->addWidget(txtOutputDir, 1, 1);
    btnOutputDir = new QPushButton(this);
    btnOutputDir->setObjectName(QStringLiteral("btnOutputDir"));
    btnOutputDir->setIcon(themeIcon({"folder-open", "document-open"}));
    connect(btnOutputDir, &QPushButton::clicked, actBrowse, &QAction::trigger);
    fields->addWidget(btnOutputDir, 1, 2);
}

void TfrmConvert::buildButtons() {
    auto* row = new QHBoxLayout;
    row->addStretch();
    btnOK = new QPushButton(this);
    btnOK->setObjectName(QStringLiteral("btnOK"));
    btnOK->setDefault(true);
    connect(btnOK, &QPushButton::clicked, this, &TfrmConvert::accept);
    btnCancel = new QPushButton(this);
    btnCancel->setObjectName(QStringLiteral("btnCancel"));
    connect(btnCancel, &QPushButton::clicked, this, &TfrmConvert::cancel);
    row->addWidget(btnOK);
    row->addWidget(btnCancel);
    static_cast<QVBoxLayout*>(layout())->addSpacing(8);
    static_cast<QVBoxLayout*>(layout())->addLayout(row);
}

void TfrmConvert::buildTabOrder() {
    QList<QWidget*> order;
    for (int column = 0; column < 3; ++column) {
        for (int row = 0; row < 3; ++row) {
            for (int i = 0; i < FormatCount; ++i) {
                if (kFormats[i].row == row && kFormats[i].column == column)
                    order << m_radios[i];
            }
        }
    }
    order << btnOther << m_listStack << btnEdit << btnProfile << txtOutputDir << btnOutputDir << btnOK
          << btnCancel;
    for (qsizetype i = 1; i < order.size(); ++i)
        QWidget::setTabOrder(order[i - 1], order[i]);
}

void TfrmConvert::ApplyCaptions() {
    setWindowTitle(Str(Ids::IDS_MAIN_ARBUTTON_OutputSetting));
    for (int i = 0; i < FormatCount; ++i) {
        m_formatActions[i]->setText(Str(kFormats[i].caption));
        if (m_radios[i])
            m_radios[i]->setText(Str(kFormats[i].caption));
    }
    btnOther->setText(Str(Ids::IDS_MAIN_RADIOBUTTON_ToOthers));
    lblProfile->setText(Str(Ids::IDS_MAIN_LABEL_ProFile));
    actEditProfile->setText(Str(Ids::IDS_MAIN_ARBUTTON_EditProFile));
    btnEdit->setText(Str(Ids::IDS_MAIN_ARBUTTON_EditProFile));
    btnProfile->setToolTip(Str(Ids::IDS_MAIN_BUTTON_ProfileActions));
    btnProfile->setAccessibleName(Str(Ids::IDS_MAIN_BUTTON_ProfileActions));
    actAddNewProfile->setText(Str(Ids::IDS_MAIN_MENUITEM_Add));
    actDeleteProfile->setText(Str(Ids::IDS_MAIN_MENUITEM_DeleteFile));
    actRenameProfile->setText(Str(Ids::IDS_MAIN_MENUITEM_Rename));
    lblOutputDir->setText(Str(Ids::IDS_MAIN_ARBUTTON_OutputDir));
    btnOutputDir->setText(Str(Ids::IDS_MAIN_ARBUTTON_Browse));
    actBrowse->setText(Str(Ids::IDS_MAIN_ARBUTTON_Browse));
    btnOK->setText(Str(Ids::IDS_ABOUT_BUTTON_OK));
    btnCancel->setText(Str(Ids::IDS_CONVERTING_Cancel));
}

void TfrmConvert::ApplyLanguage() {
    ApplyCaptions();
    InitProfileFolders();
    if (Options.ProfileFolders == m_listFolders)
        return;
    // Missing folders show as empty lists; the chooser reports them when it opens.
    CreateProfileFolders();
    for (int i = 0; i < FormatCount; ++i) {
        const QString shown = m_lists[i]->currentText();
        QString select;
        if (!shown.isEmpty()) {
            const QStringList names = ProfileNames(i);
            if (names.contains(shown))
                select = shown;
            else
                select = MatchingProfile(i, m_listFolders[i] + shown + QLatin1Char('.') +
                                                FormatInfo(i)->ProfileExtension);
        }
        fillProfileList(i, select);
    }
    m_listFolders = Options.ProfileFolders;
}

int TfrmConvert::CurrentFormat() const {
    return m_format;
}

QString TfrmConvert::CurrentProfile() const {
    return m_lists[m_format]->currentText();
}

QString TfrmConvert::OutputFolderText() const {
    return txtOutputDir->text();
}

bool TfrmConvert::CheckOutputFolder() {
    return ::CheckOutputFolder(OutputFolderText());
}

QString TfrmConvert::GetProfileOptions() const {
    return ::GetProfileOptions(m_format, CurrentProfile());
}

QString TfrmConvert::formatCaption(int formatIndex) const {
    return Str(kFormats[formatIndex].caption);
}

void TfrmConvert::chooseFormat(int formatIndex) {
    for (int i = 0; i < FormatCount; ++i) {
        if (isOtherFormat(i))
            m_formatActions[i]->setChecked(false);
        else
            m_formatActions[i]->setEnabled(true);
    }
    actOthers->setEnabled(true);
    if (isOtherFormat(formatIndex)) {
        m_formatActions[formatIndex]->setChecked(true);
        actOthers->setEnabled(false);
        // No radio button stands for the format: none stays checked.
        m_radioGroup->setExclusive(false);
        for (QRadioButton* radio : m_radios) {
            if (radio)
                radio->setChecked(false);
        }
        m_radioGroup->setExclusive(true);
    } else {
        m_formatActions[formatIndex]->setEnabled(false);
        m_radios[formatIndex]->setEnabled(true);
        m_radios[formatIndex]->setChecked(true);
    }
    m_listStack->setCurrentWidget(m_lists[formatIndex]);
    lblProfile->setBuddy(m_lists[formatIndex]);
    m_format = formatIndex;
    Options.OutputFormat = static_cast<uint8_t>(formatIndex);
    notifyFormat();
}

void TfrmConvert::notifyFormat() {
    emit formatChosen(formatCaption(m_format), CurrentProfile());
}

void TfrmConvert::fillProfileList(int formatIndex, const QString& select) {
    QComboBox* list = m_lists[formatIndex];
    const QSignalBlocker block(list);
    list->clear();
    list->addItems(ProfileNames(formatIndex));
    if (list->count() == 0)
        return;
    list->setCurrentIndex(
        select.isEmpty() ? 0 : list->findText(select, Qt::MatchExactly | Qt::MatchCaseSensitive));
}

void TfrmConvert::showProfileMenu() {
    // At the mouse when the mouse pressed the button, below the button from the keyboard.
    const QPoint mouse = QCursor::pos();
    const bool underMouse = btnProfile->rect().contains(btnProfile->mapFromGlobal(mouse));
    mnuProfileAdditional->popup(underMouse ? mouse
                                           : btnProfile->mapToGlobal(QPoint(0, btnProfile->height())));
}

void TfrmConvert::browse() {
    QString folder = NearestExistingFolder(Options.LastOutputOpenDir);
    if (!BrowseForFolder(folder, Str(Ids::IDS_SelectFolder), QString()))
        return;
    Options.LastOutputOpenDir = folder;
    txtOutputDir->setText(folder);
}

void TfrmConvert::runProfileAction(const std::function<TProfileListChange(IProfileForms&)>& action) {
    TProfileForms forms(this);
    const TProfileListChange change = action(forms);
    if (change.refill)
        fillProfileList(m_format, change.select);
}

void TfrmConvert::accept() {
    // The main window's labels show the profile that the batch will use, also when another one
    // was picked in the list after the format was chosen.
    notifyFormat();
    const QString folder = TrimControls(OutputFolderText());
    // The folder chosen is the one kept for the next start, as a browsed one is.
    Options.LastOutputOpenDir = folder;
    emit accepted(folder);
    hide();
}

void TfrmConvert::cancel() {
    restoreOpeningChoice();
    emit cancelled();
    hide();
}

void TfrmConvert::restoreOpeningChoice() {
    for (int i = 0; i < FormatCount; ++i) {
        QComboBox* list = m_lists[i];
        const QString& text = m_opening.profiles[i];
        const QSignalBlocker block(list);
        if (!m_opening.listed[i]) {
            list->setEditText(text);
            continue;
        }
        if (const int index = list->findText(text, Qt::MatchExactly | Qt::MatchCaseSensitive); index >= 0)
            list->setCurrentIndex(index);
    }
    txtOutputDir->setText(m_opening.folderText);
    Options.LastOutputOpenDir = m_opening.storedFolder;
    chooseFormat(m_opening.format);
}

void TfrmConvert::changeEvent(QEvent* event) {
    // The owner disables itself while the chooser is open; Qt passes that on to child windows,
    // which would leave nobody to press OK. Only the chooser's own setEnabled(false) counts.
    if (event->type() == QEvent::EnabledChange && !isEnabled() && !testAttribute(Qt::WA_ForceDisabled))
        setEnabled(true);
    QWidget::changeEvent(event);
}

void TfrmConvert::closeEvent(QCloseEvent* event) {
    // Closing the window is Cancel, so that the main window is enabled again.
    if (isVisible()) {
        restoreOpeningChoice();
        emit cancelled();
    }
    QWidget::closeEvent(event);
}

void TfrmConvert::showEvent(QShowEvent* event) {
    if (!event->spontaneous()) {
        CentreOverOwner(this, parentWidget());
        // Opened: what Cancel puts back.
        m_opening.format = m_format;
        for (int i = 0; i < FormatCount; ++i) {
            m_opening.profiles[i] = m_lists[i]->currentText();
            m_opening.listed[i] =
                m_lists[i]->findText(m_opening.profiles[i], Qt::MatchExactly | Qt::MatchCaseSensitive) >= 0;
        }
        m_opening.folderText = txtOutputDir->text();
        m_opening.storedFolder = Options.LastOutputOpenDir;
    }
    // The main window connects after creation: the opening format reaches its labels here.
    if (!m_notifiedOnce) {
        m_notifiedOnce = true;
        notifyFormat();
    }
    QWidget::showEvent(event);
}
