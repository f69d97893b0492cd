#include "ui/main/mainwnd.h"

#include "app/dialogs.h"
#include "app/errors.h"
#include "app/options.h"
#include "app/paths.h"
#include "app/utils.h"
#include "lang/kelmultilanguages.h"
#include "lang/multilanguages.h"
#include "lang/strings.h"
#include "ui/chooser/convertwnd.h"
#include "ui/main/aboutwnd.h"
#include "ui/main/batchwindow.h"
#include "ui/main/donebar.h"
#include "ui/main/fileinfownd.h"
#include "ui/main/settingswnd.h"
#include "ui/main/sourcelistview.h"
#include "ui/toolkit_language.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QLabel>
#include <QMenu>
#include <QMimeData>
#include <QScreen>
#include <QToolButton>
#include <QVBoxLayout>

QString LiteralMenuText(const QString& text) {
    return QString(text).replace(QLatin1Char('&'), QStringLiteral("&&"));
}

TfrmMain::TfrmMain(QWidget* parent) : QWidget(parent, Qt::Window), m_list(this) {
    setObjectName(QStringLiteral("frmMain"));
    setMinimumSize(600, 520);
    setStyleSheet(QStringLiteral("#pnlStatus { border-top: 1px solid palette(mid); }"
                                 "#pnlOutput { border-top: 1px solid palette(mid); }"));
    auto* root = new QVBoxLayout(this);
    root->setContentsMargins(0, 0, 0, 0);
    root->setSpacing(0);

    auto* body = new QWidget(this);
    body->setObjectName(QStringLiteral("pnlBody"));
    m_body = new QVBoxLayout(body);
    root->addWidget(body, 1);

    auto* status = new QWidget(this);
    status->setObjectName(QStringLiteral("pnlStatus"));
    auto* statusLayout = new QHBoxLayout(status);
    statusLayout->setContentsMargins(8, 3, 8, 3);
    lblStatus = new QLabel(status);
    lblStatus->setObjectName(QStringLiteral("lblStatus"));
    statusLayout->addWidget(lblStatus);
    statusLayout->addStretch();
    root->addWidget(status);

    actExit = new QAction(this);
    actExit->setObjectName(QStringLiteral("actExit"));
    connect(actExit, &QAction::triggered, this, [this] {
        RunShowingFailure(SaveOptions);
        close();
    });
    actHelpContent = new QAction(this);
    actHelpContent->setObjectName(QStringLiteral("actHelpContent"));
    actHelpContent->setShortcut(QKeySequence(Qt::Key_F1));
    actHelpContent->setShortcutContext(Qt::WindowShortcut);
    connect(actHelpContent, &QAction::triggered, this,
            [] { Dialogs().ShellOpen(HelpFileFor(LanguageFileName)); });
    addAction(actHelpContent);

    // Creation steps, in order: options, language menu, captions, title, drop target, file count.
    RunShowingFailure(LoadOptions);
    m_batch = std::make_unique<TBatchWindow>(this, m_list);
    buildActions();
    buildBody();
    buildContextMenus();
    buildHelpMenu();
    buildLanguageMenu();
    ApplyMainCaptions();
    setWindowTitle(ApplicationTitle);
    setAcceptDrops(true);
    UpdateSummary();
    restorePlacement();
}

TfrmMain::~TfrmMain() = default;

void TfrmMain::buildHelpButton(QHBoxLayout* row) {
    btnHelp = new QToolButton(this);
    btnHelp->setObjectName(QStringLiteral("btnHelp"));
    btnHelp->setText(QStringLiteral("?"));
    btnHelp->setMinimumWidth(32);
    QFont bold = btnHelp->font();
    bold.setBold(true);
    btnHelp->setFont(bold);
    row->addWidget(btnHelp);
    // The help button opens its menu on a left press and as its context menu.
    btnHelp->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(btnHelp, &QToolButton::pressed, this, &TfrmMain::showHelpMenu);
    connect(btnHelp, &QWidget::customContextMenuRequested, this, &TfrmMain::showHelpMenu);
}

void TfrmMain::restorePlacement() {
    // The stored size, else a roomy one; never larger than the screen.
    const TWindowPlacement placement = LoadWindowPlacement();
    QSize size(820, 720);
    if (placement.width > 0 && placement.height > 0)
        size = QSize(placement.width, placement.height);
    if (const QScreen* screen = this->screen()) {
        const QSize room = placement.width > 0 ? screen->availableGeometry().size()
                                               : screen->availableGeometry().size() * 0.9;
        size = size.boundedTo(room);
    }
    resize(size.expandedTo(minimumSize()));
    if (placement.maximized)
        setWindowState(windowState() | Qt::WindowMaximized);
}

void TfrmMain::savePlacement() const {
    const QSize size = isMaximized() ? normalGeometry().size() : this->size();
    try {
        SaveWindowPlacement({size.width(), size.height(), isMaximized()});
    } catch (const EVaridError&) {
        // The window's size is no option of the user's: not keeping it is no reason for a message.
    }
}

void TfrmMain::buildHelpMenu() {
    mnuHelp = new QMenu(this);
    mnuHelp->setObjectName(QStringLiteral("mnuHelp"));
    miHelpContent = mnuHelp->addAction(QString());
    miHelpContent->setObjectName(QStringLiteral("miHelpContent"));
    miHelpContent->setShortcut(QKeySequence(Qt::Key_F1));
    connect(miHelpContent, &QAction::triggered, actHelpContent, &QAction::trigger);
    mniLanguages = mnuHelp->addMenu(QString());
    mniLanguages->setObjectName(QStringLiteral("mniLanguages"));
    miSettings2 = mnuHelp->addAction(QString());
    miSettings2->setObjectName(QStringLiteral("miSettings2"));
    miSettings2->setIcon(action("actSettingsExecute")->icon());
    connect(miSettings2, &QAction::triggered, action("actSettingsExecute"), &QAction::trigger);
    mnuHelp->addSeparator();
    miAbout = mnuHelp->addAction(QString());
    miAbout->setObjectName(QStringLiteral("miAbout"));
    connect(miAbout, &QAction::triggered, this, [this] {
        TfrmAbout about(this);
        about.exec();
    });
}

void TfrmMain::showHelpMenu() {
    btnHelp->setDown(false);
    mnuHelp->popup(btnHelp->mapToGlobal(QPoint(0, btnHelp->height())));
}

void TfrmMain::buildLanguageMenu() {
    m_languages = std::make_unique<TKelMultiLanguages>(LanguageFolders(), LanguageNameKey, LanguageSection);
    const QString current = QFileInfo(LanguageFileName).fileName();
    for (int i = 0; i < m_languages->Count; ++i) {
        const QString name = m_languages->LanguageNameAt(i);
        QAction* item = mniLanguages->addAction(LiteralMenuText(name));
        item->setObjectName(QStringLiteral("miLanguage%1").arg(i));
        item->setCheckable(true);
        item->setData(name);
        // The item of the loaded file is ticked. Shipped files are named in English and their
        // LanguageName in the language itself (German.ini holds "Deutsch"), so the file name
        // decides, and a file named after its LanguageName still matches.
        if (QFileInfo(m_languages->LanguageFileAt(i)).fileName() == current ||
            (name + QStringLiteral(".ini")).compare(current, Qt::CaseInsensitive) == 0) {
            item->setChecked(true);
            m_languages->SelectLanguage(i);
        }
        connect(item, &QAction::triggered, this, [this, item] { switchLanguage(item); });
        m_languageItems << item;
    }
}

void TfrmMain::switchLanguage(QAction* item) {
    for (QAction* other : m_languageItems)
        other->setChecked(false);
    item->setChecked(true);
    if (!SwitchLanguage(*m_languages, item->data().toString()))
        return;
    ApplyToolkitLanguage(LanguageFileName);
    ApplyMainCaptions();
}

void TfrmMain::ApplyMainCaptions() {
    // The chooser first: its profile lists follow the language, and the labels show its choice.
    if (m_chooser)
        m_chooser->ApplyLanguage();
    applyListCaptions();
    showStoredChoice();
    if (m_fileInfo)
        m_fileInfo->ApplyCaptions();
    if (m_settings)
        m_settings->ApplyCaptions();
    m_batch->ApplyCaptions();
    miHelpContent->setText(Str(Ids::IDS_MAIN_MENUITEM_HelpContent));
    mniLanguages->setTitle(Str(Ids::IDS_MAIN_MENUITEM_Language));
    // The settings in the help menu too, with their shortcut in the key column.
    miSettings2->setText(LiteralMenuText(Str(Ids::IDS_MAIN_MENUITEM_Settings)) + QLatin1Char('\t') +
                         action("actSettingsExecute")->shortcut().toString(QKeySequence::NativeText));
    miAbout->setText(Str(Ids::IDS_MAIN_MENUITEM_About));
    actExit->setText(Str(Ids::IDS_MAIN_MENUITEM_Exit));
    btnHelp->setToolTip(Str(Ids::IDS_MAIN_MENUITEM_HelpContent));
    // The help button shows a symbol: screen readers and tests from outside read this name.
    btnHelp->setAccessibleName(btnHelp->toolTip());
    pnlBatchDone->ApplyCaptions();
    UpdateSummary();
    emit captionsApplied();
}

void TfrmMain::UpdateSummary() {
    lblStatus->setText(m_list.Summary());
}

void TfrmMain::closeEvent(QCloseEvent* event) {
    // The desktop's close (frame button, close key) comes as a spontaneous event.
    if (event->spontaneous())
        RunShowingFailure(SaveOptions);
    savePlacement();
    QWidget::closeEvent(event);
}

void TfrmMain::dragEnterEvent(QDragEnterEvent* event) {
    if (!event->source() && event->mimeData()->hasUrls())
        event->acceptProposedAction();
}

void TfrmMain::dragMoveEvent(QDragMoveEvent* event) {
    if (!event->source() && event->mimeData()->hasUrls())
        event->acceptProposedAction();
}

void TfrmMain::dropEvent(QDropEvent* event) {
    if (event->source() || !event->mimeData()->hasUrls())
        return;
    event->acceptProposedAction();
    AddDroppedFiles(DroppedPaths(event->mimeData()));
}

bool TfrmMain::eventFilter(QObject* watched, QEvent* event) {
    if (watched == m_chooser && event->type() == QEvent::Hide && !event->spontaneous())
        setEnabled(true);
    return QWidget::eventFilter(watched, event);
}
