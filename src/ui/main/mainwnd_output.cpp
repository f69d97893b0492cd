// The main window's output choice and the windows it opens: the chooser, the settings dialog, the
// file information window, and the convert command that hands the choice to the batch.
#include "app/dialogs.h"
#include "app/errors.h"
#include "app/options.h"
#include "app/paths.h"
#include "batch/batch_setup.h"
#include "engine/output_folder.h"
#include "lang/multilanguages.h"
#include "lang/strings.h"
#include "profiles/catalogue.h"
#include "profiles/optiondetails.h"
#include "ui/centre.h"
#include "ui/chooser/convertwnd.h"
#include "ui/main/batchwindow.h"
#include "ui/main/donebar.h"
#include "ui/main/fileinfownd.h"
#include "ui/main/mainwnd.h"
#include "ui/main/settingswnd.h"

#include <QAction>
#include <QFileInfo>
#include <QLabel>

#include <array>

namespace {

// The chooser's caption of each format, by format index.
constexpr std::array<Ids, FormatCount> kFormatCaptions = {
    Ids::IDS_MAIN_RADIOBUTTON_ToAVI,  Ids::IDS_MAIN_RADIOBUTTON_ToMP4, Ids::IDS_MAIN_RADIOBUTTON_To3GP,
    Ids::IDS_MAIN_RADIOBUTTON_ToMPEG, Ids::IDS_MAIN_RADIOBUTTON_ToMOV, Ids::IDS_MAIN_RADIOBUTTON_ToWMV,
    Ids::IDS_MAIN_RADIOBUTTON_ToRM,   Ids::IDS_MAIN_RADIOBUTTON_ToSWF, Ids::IDS_MAIN_MENUITEM_ToVOB,
    Ids::IDS_MAIN_MENUITEM_ToASF,     Ids::IDS_MAIN_MENUITEM_ToAAC,    Ids::IDS_MAIN_MENUITEM_ToAC3,
    Ids::IDS_MAIN_MENUITEM_ToMP2,     Ids::IDS_MAIN_MENUITEM_ToMP3,    Ids::IDS_MAIN_MENUITEM_ToAMR,
    Ids::IDS_MAIN_MENUITEM_ToWAV,     Ids::IDS_MAIN_MENUITEM_ToMKV,    Ids::IDS_MAIN_MENUITEM_ToWebM,
    Ids::IDS_MAIN_MENUITEM_ToM4A,     Ids::IDS_MAIN_MENUITEM_ToFLAC,   Ids::IDS_MAIN_MENUITEM_ToOpus,
    Ids::IDS_MAIN_MENUITEM_ToOGG};

void ShowFailure(const EVaridError& e) {
    Dialogs().MessageBox(e.message(), ApplicationTitle, TMsgDlgType::mtError,
                         static_cast<TMsgDlgButtons>(TMsgDlgBtn::mbOK));
}

} // namespace

QString FormatCaption(int formatIndex) {
    if (formatIndex < 0 || formatIndex >= FormatCount)
        return {};
    return Str(kFormatCaptions[size_t(formatIndex)]);
}

TBatchSettings TfrmMain::ConvertSettings() const {
    // The chooser's choice once it was opened, else the stored one.
    TOutputChoice choice = StoredOutputChoice();
    if (m_chooser)
        choice = {m_chooser->CurrentFormat(), m_chooser->CurrentProfile(), m_chooser->OutputFolderText()};
    return BatchSettingsFor(choice, Options.FilesAtOnce, LargestPicture(m_list));
}

void TfrmMain::showStoredChoice() {
    // With a chooser the labels follow its signals; after a language switch they show the
    // format's caption and the chooser's profile in the new language.
    if (m_chooser) {
        lblOutputFormat->setText(FormatCaption(m_chooser->CurrentFormat()));
        lblProfileText->setText(m_chooser->CurrentProfile());
        return;
    }
    // The profile folders belong to the language: look for the first profile in the current one.
    InitProfileFolders();
    const TOutputChoice choice = StoredOutputChoice();
    lblOutputFormat->setText(FormatCaption(choice.formatIndex));
    lblProfileText->setText(choice.profileName);
    lblOutputDirectory->setText(choice.outputFolder);
}

void TfrmMain::convert() {
    if (m_adding > 0 || m_batch->Running())
        return;
    pnlBatchDone->hide(); // the last batch's message
    m_batch->Convert(ConvertSettings());
    // The batch keeps the folder it used; without a chooser the labels show the stored choice.
    if (!m_chooser)
        showStoredChoice();
}

void TfrmMain::openOutputSetting() {
    // One chooser for the session: it opens again with the choice in use, and opening it changes
    // nothing here.
    TfrmConvert* chooser = m_chooser;
    if (!chooser) {
        chooser = new TfrmConvert(this);
        m_chooser = chooser;
        // The chooser chose the format in use while it was created, before these connections.
        lblOutputFormat->setText(FormatCaption(chooser->CurrentFormat()));
        lblProfileText->setText(chooser->CurrentProfile());
        connect(chooser, &TfrmConvert::formatChosen, this,
                [this](const QString& formatCaption, const QString& profileText) {
                    lblOutputFormat->setText(formatCaption);
                    lblProfileText->setText(profileText);
                });
        connect(chooser, &TfrmConvert::accepted, this, [this](const QString& folder) {
            lblOutputDirectory->setText(folder);
            setEnabled(true);
        });
        // Cancel has put the opening choice back in the labels through formatChosen.
        connect(chooser, &TfrmConvert::cancelled, this, [this] { setEnabled(true); });
        // However the chooser goes away (OK, Cancel, its close box), the main window comes back.
        chooser->installEventFilter(this);
        connect(chooser, &QObject::destroyed, this, [this] { setEnabled(true); });
    }
    // The main window waits for OK or Cancel; the chooser, a window of its own, stays usable.
    setEnabled(false);
    chooser->setEnabled(true);
    chooser->adjustSize();
    CentreOverOwner(chooser, this);
    chooser->show();
    chooser->raise();
    chooser->activateWindow();
}

void TfrmMain::openDestinationFolder() {
    const QString folder = m_chooser ? m_chooser->OutputFolderText() : StoredOutputChoice().outputFolder;
    const bool ready = m_chooser ? m_chooser->CheckOutputFolder() : CheckOutputFolder(folder);
    if (ready)
        Dialogs().ShellOpen(folder.trimmed());
}

void TfrmMain::showSettings() {
    TfrmSettings dialog(this);
    m_settings = &dialog;
    CentreOverOwner(&dialog, this);
    const bool confirmed = dialog.exec() == QDialog::Accepted;
    m_settings = nullptr;
    if (!confirmed)
        return;
    try {
        dialog.StoreOptions();
    } catch (const EVaridError& e) {
        ShowFailure(e);
    }
}

void TfrmMain::showFileInfo() {
    const TFileItem* item = m_list.SelectedItem();
    if (!item || !QFileInfo(item->FullPath()).isFile())
        return;
    if (!m_fileInfo)
        m_fileInfo = new TfrmFileInfo(this);
    if (!m_fileInfo->Fill(*item))
        return;
    CentreOverOwner(m_fileInfo, this);
    m_fileInfo->exec();
}
