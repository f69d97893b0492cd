#include "ui/main/fileinfownd.h"

#include "app/dialogs.h"
#include "app/errors.h"
#include "app/utils.h"
#include "lang/strings.h"
#include "media/fileinfo.h"

#include <QDir>
#include <QFileInfo>
#include <QFontDatabase>
#include <QHBoxLayout>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTextCursor>
#include <QVBoxLayout>

TfrmFileInfo::TfrmFileInfo(QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("frmFileInfo"));
    setSizeGripEnabled(true);
    setMinimumSize(400, 250);
    resize(620, 520);
    auto* layout = new QVBoxLayout(this);
    mmoInfo = new QPlainTextEdit(this);
    mmoInfo->setObjectName(QStringLiteral("mmoInfo"));
    mmoInfo->setReadOnly(true);
    mmoInfo->setLineWrapMode(QPlainTextEdit::NoWrap);
    mmoInfo->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    mmoInfo->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    // The report lines its values up in columns.
    mmoInfo->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
    layout->addWidget(mmoInfo, 1);

    auto* buttons = new QHBoxLayout;
    btnSave = new QPushButton(this);
    btnSave->setObjectName(QStringLiteral("btnSave"));
    btnSave->setIcon(QIcon::fromTheme(QStringLiteral("document-save-as")));
    btnSave->setAutoDefault(false);
    btnOK = new QPushButton(this);
    btnOK->setObjectName(QStringLiteral("btnOK"));
    btnOK->setDefault(true);
    buttons->addWidget(btnSave);
    buttons->addStretch();
    buttons->addWidget(btnOK);
    layout->addLayout(buttons);
    setTabOrder(mmoInfo, btnSave);
    setTabOrder(btnSave, btnOK);

    connect(btnSave, &QPushButton::clicked, this, &TfrmFileInfo::save);
    connect(btnOK, &QPushButton::clicked, this, &QDialog::accept);
    // Escape closes the window as the OK button does (QDialog's reject).
    m_saveName = Str(Ids::IDS_FILEINFORMATION_SaveDialog_FileName);
    setWindowTitle(Str(Ids::IDS_FILEINFORMATION_FORM_Caption));
    ApplyCaptions();
}

void TfrmFileInfo::ApplyCaptions() {
    btnSave->setText(Str(Ids::IDS_FILEINFORMATION_BUTTTON_SaveFielInfo));
    btnOK->setText(Str(Ids::IDS_FILEINFORMATION_BUTTON_OK));
    if (!m_fileName.isEmpty())
        setWindowTitle(FormatStr(Str(Ids::IDS_LABEL_FileInformation), {m_fileName}));
    else
        setWindowTitle(Str(Ids::IDS_FILEINFORMATION_FORM_Caption));
}

bool TfrmFileInfo::Fill(const TFileItem& item) {
    const std::optional<TFileInformation> info = FileInformation(item);
    if (!info)
        return false;
    m_fileName = item.FileName;
    setWindowTitle(info->caption);
    mmoInfo->setPlainText(info->report);
    mmoInfo->moveCursor(QTextCursor::Start);
    return true;
}

void TfrmFileInfo::save() {
    // The first save starts in the documents folder; later ones where the last one went.
    // In an existing folder, so that only the file name is typed in the name field.
    const QFileInfo last(m_saveName);
    const QString folder = last.isRelative() ? GetShellFolder(QStringLiteral("Personal")) : last.path();
    const QString start = QDir(NearestExistingFolder(folder)).filePath(last.fileName());
    QString title = Str(Ids::IDS_FILEINFORMATION_BUTTTON_SaveFielInfo);
    while (title.endsWith(QLatin1Char('.')))
        title.chop(1);
    const QString chosen = Dialogs().GetSaveFileName(title, start, FileInfoSaveFilter());
    if (chosen.isEmpty())
        return;
    const QString fileName = FileInfoSaveName(chosen);
    // The dialog asked about the name as typed; a name that got ".txt" added is asked about here.
    if (fileName != chosen && QFileInfo::exists(fileName) &&
        Dialogs().MessageBox(FormatStr(Str(Ids::IDS_MESSAGEBOX_FileExists), {fileName}),
                             Str(Ids::IDS_MESSAGEBOX_Overwrite), TMsgDlgType::mtConfirmation,
                             TMsgDlgBtn::mbYes | TMsgDlgBtn::mbNo) != mrYes)
        return;
    m_saveName = fileName;
    // A missing folder or a file that cannot be written fails here with its message.
    try {
        SaveFileInfoReport(fileName, mmoInfo->toPlainText());
    } catch (const EVaridError& e) {
        Dialogs().MessageBox(e.message(), Str(Ids::IDS_MESSAGEBOX_Error), TMsgDlgType::mtError,
                             static_cast<TMsgDlgButtons>(TMsgDlgBtn::mbOK));
    }
}
