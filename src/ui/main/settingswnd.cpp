#include "ui/main/settingswnd.h"

#include "app/options.h"
#include "app/paths.h"
#include "app/utils.h"
#include "engine/batch_driver.h"
#include "lang/strings.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QTabWidget>
#include <QVBoxLayout>

#include <array>

namespace {

constexpr std::array<Ids, 4> kPriorityItems = {
    Ids::IDS_SETTINGS_COMBOBOX_Idle, Ids::IDS_SETTINGS_COMBOBOX_Normal, Ids::IDS_SETTINGS_COMBOBOX_High,
    Ids::IDS_SETTINGS_COMBOBOX_Realtime};
constexpr std::array<Ids, 6> kShutdownItems = {
    Ids::IDS_SETTINGS_COMBOBOX_Close,     Ids::IDS_SETTINGS_COMBOBOX_ShutDown,
    Ids::IDS_SETTINGS_COMBOBOX_LogOff,    Ids::IDS_SETTINGS_COMBOBOX_Restart,
    Ids::IDS_SETTINGS_COMBOBOX_Hibernate, Ids::IDS_SETTINGS_COMBOBOX_Suspend};

// Refills a list with the current texts, keeping the chosen entry.
template <size_t N> void FillList(QComboBox* box, const std::array<Ids, N>& items) {
    const int index = box->currentIndex();
    box->clear();
    for (Ids id : items)
        box->addItem(FormatStr(Str(id), {ApplicationTitle}));
    box->setCurrentIndex(index);
}

// The list entry of a stored value; none (-1) for a value outside the list.
int EntryOf(uint8_t value, int count) {
    return value < count ? int(value) : -1;
}

} // namespace

TfrmSettings::TfrmSettings(QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("frmSettings"));
    auto* layout = new QVBoxLayout(this);
    PageControlOptions = new QTabWidget(this);
    PageControlOptions->setObjectName(QStringLiteral("PageControlOptions"));
    TabSheetGeneral = new QWidget(PageControlOptions);
    TabSheetGeneral->setObjectName(QStringLiteral("TabSheetGeneral"));
    PageControlOptions->addTab(TabSheetGeneral, QString());
    layout->addWidget(PageControlOptions);

    auto* page = new QVBoxLayout(TabSheetGeneral);
    GroupBoxPriority = new QGroupBox(TabSheetGeneral);
    GroupBoxPriority->setObjectName(QStringLiteral("GroupBoxPriority"));
    auto* priority = new QVBoxLayout(GroupBoxPriority);
    // Inside its titled group the list is labelled by the group for screen readers.
    ComboBoxPriority = new QComboBox(GroupBoxPriority);
    ComboBoxPriority->setObjectName(QStringLiteral("ComboBoxPriority"));
    priority->addWidget(ComboBoxPriority);
    page->addWidget(GroupBoxPriority);

    // How many files at once: the program's own choice first, then 1 to 16.
    LabelFilesAtOnce = new QLabel(TabSheetGeneral);
    LabelFilesAtOnce->setObjectName(QStringLiteral("LabelFilesAtOnce"));
    ComboBoxFilesAtOnce = new QComboBox(TabSheetGeneral);
    ComboBoxFilesAtOnce->setObjectName(QStringLiteral("ComboBoxFilesAtOnce"));
    LabelFilesAtOnce->setBuddy(ComboBoxFilesAtOnce);
    page->addWidget(LabelFilesAtOnce);
    page->addWidget(ComboBoxFilesAtOnce);
    page->addSpacing(4);

    GroupBoxDirectShow = new QGroupBox(TabSheetGeneral);
    GroupBoxDirectShow->setObjectName(QStringLiteral("GroupBoxDirectShow"));
    auto* directShow = new QVBoxLayout(GroupBoxDirectShow);
    CheckBoxDirectShow = new QCheckBox(GroupBoxDirectShow);
    CheckBoxDirectShow->setObjectName(QStringLiteral("CheckBoxDirectShow"));
    directShow->addWidget(CheckBoxDirectShow);
    page->addWidget(GroupBoxDirectShow);

    LabelShutDown = new QLabel(TabSheetGeneral);
    LabelShutDown->setObjectName(QStringLiteral("LabelShutDown"));
    ComboBoxShutdownFlag = new QComboBox(TabSheetGeneral);
    ComboBoxShutdownFlag->setObjectName(QStringLiteral("ComboBoxShutdownFlag"));
    LabelShutDown->setBuddy(ComboBoxShutdownFlag);
    page->addSpacing(4);
    page->addWidget(LabelShutDown);
    page->addWidget(ComboBoxShutdownFlag);
    page->addStretch();

    m_buttons = new QDialogButtonBox(this);
    QPushButton* ok = m_buttons->addButton(QString(), QDialogButtonBox::AcceptRole);
    ok->setObjectName(QStringLiteral("ButtonOK"));
    ok->setDefault(true);
    QPushButton* cancel = m_buttons->addButton(QString(), QDialogButtonBox::RejectRole);
    cancel->setObjectName(QStringLiteral("ButtonCancel"));
    layout->addWidget(m_buttons);
    connect(m_buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(m_buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

    ApplyCaptions();
    ComboBoxPriority->setCurrentIndex(EntryOf(Options.Priority, int(kPriorityItems.size())));
    ComboBoxShutdownFlag->setCurrentIndex(EntryOf(Options.ShutdownFlag, int(kShutdownItems.size())));
    ComboBoxFilesAtOnce->setCurrentIndex(EntryOf(Options.FilesAtOnce, MaxFilesAtOnce + 1));
    CheckBoxDirectShow->setChecked(Options.UseDirectShow);
    setMinimumWidth(340);
    adjustSize();
}

void TfrmSettings::ApplyCaptions() {
    setWindowTitle(Str(Ids::IDS_SETTINGS_FORM_Title));
    PageControlOptions->setTabText(0, Str(Ids::IDS_PROFILE_PAGECONTROL_General));
    GroupBoxPriority->setTitle(Str(Ids::IDS_SETTINGS_GROUPBOX_ThreadPriority));
    GroupBoxDirectShow->setTitle(Str(Ids::IDS_SETTINGS_GROUPBOX_DirectShow));
    CheckBoxDirectShow->setText(Str(Ids::IDS_SETTINGS_CHECKBOX_UseDirectShow));
    LabelShutDown->setText(Str(Ids::IDS_SETTINGS_LABEL_ShutDown));
    FillList(ComboBoxPriority, kPriorityItems);
    FillList(ComboBoxShutdownFlag, kShutdownItems);
    LabelFilesAtOnce->setText(Str(Ids::IDS_SETTINGS_LABEL_FilesAtOnce));
    const int filesAtOnce = ComboBoxFilesAtOnce->currentIndex();
    ComboBoxFilesAtOnce->clear();
    ComboBoxFilesAtOnce->addItem(Str(Ids::IDS_SETTINGS_COMBOBOX_Automatic));
    for (int n = 1; n <= MaxFilesAtOnce; ++n)
        ComboBoxFilesAtOnce->addItem(QString::number(n));
    ComboBoxFilesAtOnce->setCurrentIndex(filesAtOnce);
    m_buttons->findChild<QPushButton*>(QStringLiteral("ButtonOK"))->setText(Str(Ids::IDS_OK));
    m_buttons->findChild<QPushButton*>(QStringLiteral("ButtonCancel"))->setText(Str(Ids::IDS_Cancel));
}

void TfrmSettings::StoreOptions() const {
    if (ComboBoxPriority->currentIndex() >= 0)
        Options.Priority = static_cast<uint8_t>(ComboBoxPriority->currentIndex());
    if (ComboBoxShutdownFlag->currentIndex() >= 0)
        Options.ShutdownFlag = static_cast<uint8_t>(ComboBoxShutdownFlag->currentIndex());
    if (ComboBoxFilesAtOnce->currentIndex() >= 0)
        Options.FilesAtOnce = static_cast<uint8_t>(ComboBoxFilesAtOnce->currentIndex());
    Options.UseDirectShow = CheckBoxDirectShow->isChecked();
    SaveOptions();
}
