#include "ui/main/progresswnd.h"

#include "app/options.h"
#include "app/utils.h"
#include "lang/strings.h"
#include "ui/centre.h"
#include "ui/main/convertanimation.h"

#include <QCheckBox>
#include <QEvent>
#include <QFileInfo>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QResizeEvent>
#include <QTreeWidget>
#include <QVBoxLayout>

#include <algorithm>

namespace {

const QString kZeroTime = QStringLiteral("0:00:00");

QLabel* makeLabel(QWidget* parent, const char* name, Qt::Alignment align = Qt::AlignLeft | Qt::AlignVCenter) {
    auto* label = new QLabel(parent);
    label->setObjectName(QLatin1String(name));
    label->setAlignment(align);
    return label;
}

// A file's name in its row: cut in the middle where the row is too narrow, so that its start and
// its extension stay readable; the whole name is in the tooltip.
class TFileNameLabel final : public QLabel {
  public:
    using QLabel::QLabel;
    void SetName(const QString& name) {
        m_name = name;
        showName();
    }

  protected:
    void resizeEvent(QResizeEvent* event) override {
        QLabel::resizeEvent(event);
        showName();
    }

  private:
    void showName() { setText(fontMetrics().elidedText(m_name, Qt::ElideMiddle, std::max(width(), 1))); }
    QString m_name;
};

QProgressBar* makeBar(QWidget* parent, const char* name) {
    auto* bar = new QProgressBar(parent);
    bar->setObjectName(QLatin1String(name));
    bar->setRange(0, 100);
    bar->setTextVisible(false);
    return bar;
}

QString zeroStatus() {
    return Str(Ids::IDS_CONVERTING_Status) + QStringLiteral("0%");
}

} // namespace

TfrmProgress::TfrmProgress(QWidget* owner) : QDialog(owner) {
    setObjectName(QStringLiteral("frmProgress"));
    // A dialog with a close box only.
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint);

    anmConvert = new TConvertAnimation(this);
    anmConvert->setObjectName(QStringLiteral("anmConvert"));
    lblCovnerting = makeLabel(this, "lblCovnerting");
    lblStatusRemainingSingle = makeLabel(this, "lblStatusRemainingSingle");
    lblStatusRemaining = makeLabel(this, "lblStatusRemaining");
    lblStatus = makeLabel(this, "lblStatus", Qt::AlignRight | Qt::AlignVCenter);
    prgStatus = makeBar(this, "prgStatus");
    prgBatch = makeBar(this, "prgBatch");
    lblBatch = makeLabel(this, "lblBatch", Qt::AlignRight | Qt::AlignVCenter);
    lblRemaining = makeLabel(this, "lblRemaining");
    lblBatchRemaining = makeLabel(this, "lblBatchRemaining");
    lblElapsed = makeLabel(this, "lblElapsed");
    lblBatchElapsed = makeLabel(this, "lblBatchElapsed");
    lblEstimated = makeLabel(this, "lblEstimated");
    lblBatchEstimated = makeLabel(this, "lblBatchEstimated");
    lblWorking = makeLabel(this, "lblWorking");
    lblOutput = makeLabel(this, "lblOutput");
    for (QLabel* l : {lblWorking, lblOutput})
        l->setTextFormat(Qt::PlainText);
    lblStopWhenDone = makeLabel(this, "lblStopWhenDone", Qt::AlignCenter);
    QFont bold = lblStopWhenDone->font();
    bold.setBold(true);
    lblStopWhenDone->setFont(bold);
    lblStopWhenDone->hide();
    // The files in flight when several run at once, in place of the current file's displays.
    pnlFiles = new QWidget(this);
    pnlFiles->setObjectName(QStringLiteral("pnlFiles"));
    m_filesGrid = new QGridLayout(pnlFiles);
    m_filesGrid->setContentsMargins(0, 0, 0, 0);
    m_filesGrid->setHorizontalSpacing(10);
    lblFiles = makeLabel(pnlFiles, "lblFiles");
    lblFilesRemaining = makeLabel(pnlFiles, "lblFilesRemaining");
    m_filesGrid->addWidget(lblFiles, 0, 0, 1, 3);
    m_filesGrid->addWidget(lblFilesRemaining, 0, 3);
    m_filesGrid->setColumnStretch(0, 1);
    pnlFiles->hide();
    lblErrors = makeLabel(this, "lblErrors");
    lsvErrors = new QTreeWidget(this);
    lsvErrors->setObjectName(QStringLiteral("lsvErrors"));
    lsvErrors->setHeaderHidden(true);
    lsvErrors->setColumnCount(1);
    lsvErrors->setRootIsDecorated(true);
    lsvErrors->setMinimumHeight(120);
    lblErrors->setBuddy(lsvErrors);
    lblErrors->hide();
    lsvErrors->hide();
    chkDelSource = new QCheckBox(this);
    chkDelSource->setObjectName(QStringLiteral("chkDelSource"));
    chkShutdown = new QCheckBox(this);
    chkShutdown->setObjectName(QStringLiteral("chkShutdown"));
    btnTray = new QPushButton(this);
    btnTray->setObjectName(QStringLiteral("btnTray"));
    btnTray->setMinimumWidth(110);
    btnTray->setAutoDefault(false);
    btnCancel = new QPushButton(this);
    btnCancel->setObjectName(QStringLiteral("btnCancel"));
    btnCancel->setDefault(true);
    // The bars and the animation are named by the labels beside them.
    lblStatus->setBuddy(prgStatus);
    lblBatch->setBuddy(prgBatch);
    lblCovnerting->setBuddy(anmConvert);
    // Each time caption names the value beside it.
    lblStatusRemainingSingle->setBuddy(lblStatusRemaining);
    lblRemaining->setBuddy(lblBatchRemaining);
    lblElapsed->setBuddy(lblBatchElapsed);
    lblEstimated->setBuddy(lblBatchEstimated);

    auto* root = new QVBoxLayout(this);
    auto* top = new QHBoxLayout;
    top->addWidget(anmConvert);
    top->addWidget(lblCovnerting, 1);
    root->addLayout(top);
    auto* fileRow = new QHBoxLayout;
    fileRow->addWidget(lblStatusRemainingSingle);
    fileRow->addWidget(lblStatusRemaining);
    fileRow->addStretch(1);
    fileRow->addWidget(lblStatus);
    root->addLayout(fileRow);
    root->addWidget(prgStatus);
    root->addWidget(pnlFiles);
    root->addWidget(prgBatch);
    root->addWidget(lblBatch);
    auto* times = new QGridLayout;
    const QList<QPair<QLabel*, QLabel*>> timeRows = {
        {lblRemaining, lblBatchRemaining}, {lblElapsed, lblBatchElapsed}, {lblEstimated, lblBatchEstimated}};
    for (int i = 0; i < timeRows.size(); ++i) {
        times->addWidget(timeRows[i].first, i, 0);
        times->addWidget(timeRows[i].second, i, 1);
    }
    times->setColumnStretch(2, 1);
    root->addLayout(times);
    root->addWidget(lblWorking);
    root->addWidget(lblOutput);
    root->addWidget(lblStopWhenDone);
    root->addWidget(lblErrors);
    root->addWidget(lsvErrors, 1);
    root->addWidget(chkDelSource);
    root->addWidget(chkShutdown);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(btnTray);
    buttons->addWidget(btnCancel);
    root->addLayout(buttons);
    setMinimumWidth(520);

    // Toggles, not clicks: an assistive tool's toggle action changes the box without a click.
    connect(chkDelSource, &QCheckBox::toggled, this, &TfrmProgress::deleteSourceToggled);
    connect(chkShutdown, &QCheckBox::toggled, this, &TfrmProgress::shutdownToggled);
    connect(btnTray, &QPushButton::clicked, this, &TfrmProgress::sendToTrayClicked);
    connect(btnCancel, &QPushButton::clicked, this, &TfrmProgress::reject);

    m_caption = Str(Ids::IDS_CONVERTING_FORM_Caption);
    ApplyCaptions();
    ResetDisplays();
    chkDelSource->setChecked(Options.DeleteFileAfterProcessing);
    chkShutdown->setChecked(Options.ShutdownWindowsWhenDone);
}

void TfrmProgress::ApplyCaptions() {
    lblStatusRemainingSingle->setText(Str(Ids::IDS_CONVERTING_LABEL_RemainingTime));
    lblRemaining->setText(Str(Ids::IDS_CONVERTING_LABEL_RemainingTime));
    lblElapsed->setText(Str(Ids::IDS_CONVERTING_LABEL_ElapsedTime));
    lblEstimated->setText(Str(Ids::IDS_CONVERTING_LABEL_EstiamtedTime));
    lblErrors->setText(Str(Ids::IDS_CONVERTING_LABEL_Errors));
    lblFiles->setText(Str(Ids::IDS_CONVERTING_LABEL_Files));
    lblFilesRemaining->setText(Str(Ids::IDS_CONVERTING_LABEL_RemainingTime));
    chkDelSource->setText(Str(Ids::IDS_CONVERTING_CHECK_Delete));
    chkDelSource->setToolTip(Str(Ids::IDS_CONVERTING_DelSourceHint));
    chkShutdown->setText(Str(Ids::IDS_CONVERTING_CHECK_Shutdown));
    btnTray->setText(Str(Ids::IDS_CONVERTING_BUTTON_SendToTray));
    btnCancel->setText(Str(Ids::IDS_CONVERTING_Cancel));
    prgStatus->setAccessibleName(Str(Ids::IDS_CONVERTING_FileProgress));
    prgBatch->setAccessibleName(Str(Ids::IDS_CONVERTING_BatchProgress));
    anmConvert->setAccessibleName(Str(Ids::IDS_CONVERTING_Animation));
    // The two "Remaining time:" captions read alike; their names tell them apart.
    lblStatusRemainingSingle->setAccessibleName(Str(Ids::IDS_CONVERTING_FileRemainingName));
    lblRemaining->setAccessibleName(Str(Ids::IDS_CONVERTING_BatchRemainingName));
    updateTitle();
}

void TfrmProgress::ResetDisplays() {
    for (QLabel* l : {lblStatusRemaining, lblBatchRemaining, lblBatchElapsed, lblBatchEstimated})
        l->setText(kZeroTime);
    lblStatus->setText(zeroStatus());
    lblBatch->setText(zeroStatus());
    prgStatus->setValue(0);
    prgBatch->setValue(0);
    m_batchPercent = 0;
    lblWorking->setText(Str(Ids::IDS_CONVERTING_PleaseWait));
    lblOutput->clear();
    lblCovnerting->setText(Str(Ids::IDS_CONVERTING_Preparing));
    anmConvert->Reset();
    for (const TFileRow& row : std::as_const(m_fileRows))
        showFileRow(row, false);
    updateTitle();
}

void TfrmProgress::ResetFileDisplays() {
    lblStatus->setText(zeroStatus());
    prgStatus->setValue(0);
    lblStatusRemaining->setText(kZeroTime);
}

void TfrmProgress::updateTitle() {
    setWindowTitle(
        FormatStr(Str(Ids::IDS_CONVERTING_TitlePercent), {QString::number(m_batchPercent), m_caption}));
}

void TfrmProgress::SetCaptionText(const QString& text) {
    m_caption = text;
    updateTitle();
}

void TfrmProgress::SetFileStatus(const QString& text, int percent) {
    lblStatus->setText(text);
    prgStatus->setValue(std::clamp(percent, 0, 100));
}

void TfrmProgress::SetFileRemaining(const QString& duration) {
    lblStatusRemaining->setText(duration);
}

void TfrmProgress::SetBatchStatus(const QString& text, int percent) {
    lblBatch->setText(text);
    prgBatch->setValue(std::clamp(percent, 0, 100));
    m_batchPercent = std::clamp(percent, 0, 100);
    updateTitle();
}

void TfrmProgress::SetBatchElapsed(const QString& duration) {
    lblBatchElapsed->setText(duration);
}

void TfrmProgress::SetBatchEstimated(const QString& duration) {
    lblBatchEstimated->setText(duration);
}

void TfrmProgress::SetBatchRemaining(const QString& duration) {
    lblBatchRemaining->setText(duration);
}

void TfrmProgress::SetWorking(const QString& text) {
    lblWorking->setText(text);
}

void TfrmProgress::SetOutput(const QString& text) {
    lblOutput->setText(text);
}

void TfrmProgress::StartAnimation(const QString& label) {
    anmConvert->Start();
    lblCovnerting->setText(label);
}

void TfrmProgress::SetStopWhenDoneText(const QString& text) {
    lblStopWhenDone->setText(text);
}

void TfrmProgress::AddFailure(const QString& source, const QString& line) {
    QTreeWidgetItem* file = nullptr;
    for (int i = 0; i < lsvErrors->topLevelItemCount(); ++i) {
        if (lsvErrors->topLevelItem(i)->text(0) == source)
            file = lsvErrors->topLevelItem(i);
    }
    if (!file) {
        file = new QTreeWidgetItem(lsvErrors, {source});
        file->setIcon(0, QIcon::fromTheme(QStringLiteral("dialog-error")));
    }
    auto* item = new QTreeWidgetItem(file, {TrimControls(line)});
    item->setToolTip(0, item->text(0));
    file->setToolTip(0, source);
    file->setExpanded(true);
    lsvErrors->scrollToItem(file->child(file->childCount() - 1));
    if (lsvErrors->isHidden()) {
        lblErrors->show();
        lsvErrors->show();
        // Room for the list below the displays.
        resize(width(), std::max(height(), sizeHint().height()));
    }
}

void TfrmProgress::SetFilesAtOnce(int count) {
    const bool several = count > 1;
    for (QWidget* w : std::initializer_list<QWidget*>{lblStatusRemainingSingle, lblStatusRemaining, lblStatus,
                                                      prgStatus, lblWorking, lblOutput})
        w->setVisible(!several);
    pnlFiles->setVisible(several);
    while (m_fileRows.size() < count) {
        const int n = int(m_fileRows.size()) + 1;
        const auto name = [n](const char* prefix) { return QLatin1String(prefix) + QString::number(n); };
        TFileRow row{new TFileNameLabel(pnlFiles), makeBar(pnlFiles, "prgFile"), new QLabel(pnlFiles),
                     new QLabel(pnlFiles)};
        row.name->setObjectName(name("lblFile"));
        row.name->setTextFormat(Qt::PlainText);
        // A long name is cut rather than widening the window; its tooltip shows it whole.
        row.name->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);
        row.name->setMinimumWidth(200);
        row.bar->setObjectName(name("prgFile"));
        row.bar->setFixedWidth(120);
        row.status->setObjectName(name("lblFileStatus"));
        row.status->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
        row.remaining->setObjectName(name("lblFileRemaining"));
        row.name->setBuddy(row.bar);
        m_filesGrid->addWidget(row.name, n, 0);
        m_filesGrid->addWidget(row.bar, n, 1);
        m_filesGrid->addWidget(row.status, n, 2);
        m_filesGrid->addWidget(row.remaining, n, 3);
        showFileRow(row, false);
        m_fileRows.append(row);
    }
    for (qsizetype i = 0; i < m_fileRows.size(); ++i)
        showFileRow(m_fileRows[i], false);
    adjustSize();
}

void TfrmProgress::showFileRow(const TFileRow& row, bool visible) {
    for (QWidget* w : std::initializer_list<QWidget*>{row.name, row.bar, row.status, row.remaining})
        w->setVisible(visible);
}

void TfrmProgress::SetFileProgress(int place, const TFileProgress& progress) {
    if (place < 0 || place >= m_fileRows.size())
        return;
    const TFileRow& row = m_fileRows[place];
    const QString file = QFileInfo(progress.source).fileName();
    // The row shows the file's name; "Working on file 2 of 8: name" and the output file are in
    // its tooltip and what screen readers say of it.
    static_cast<TFileNameLabel*>(row.name)->SetName(file);
    row.name->setAccessibleName(progress.working);
    row.name->setToolTip(progress.output.isEmpty() ? progress.working
                                                   : progress.working + QLatin1Char('\n') + progress.output);
    row.bar->setValue(std::clamp(progress.percent, 0, 100));
    row.bar->setAccessibleName(FormatStr(Str(Ids::IDS_CONVERTING_FileRowProgress), {file}));
    row.status->setText(progress.status);
    row.remaining->setText(progress.remaining);
    row.remaining->setAccessibleName(FormatStr(Str(Ids::IDS_CONVERTING_FileRowRemaining), {file}));
    showFileRow(row, true);
}

void TfrmProgress::ClearFileProgress(int place) {
    if (place < 0 || place >= m_fileRows.size())
        return;
    const TFileRow& row = m_fileRows[place];
    showFileRow(row, false);
    static_cast<TFileNameLabel*>(row.name)->SetName({});
    row.bar->setValue(0);
    row.status->clear();
    row.remaining->clear();
}

int TfrmProgress::RunModal() {
    if (m_closed)
        return m_result;
    setWindowModality(Qt::ApplicationModal);
    adjustSize();
    CentreOverOwner(this, parentWidget());
    show();
    return m_loop.exec();
}

void TfrmProgress::closeWith(int result) {
    if (m_closed)
        return;
    m_closed = true;
    m_result = result;
    anmConvert->Reset();
    hide();
    m_loop.exit(result);
}

void TfrmProgress::Finish(int result) {
    m_finished = true;
    // While the stop question is open the answer decides nothing more: reject() closes then.
    if (!m_asking)
        closeWith(result);
}

void TfrmProgress::done(int result) {
    closeWith(result);
}

void TfrmProgress::reject() {
    if (m_closed || m_asking)
        return;
    if (m_finished) {
        closeWith(mrCancel);
        return;
    }
    m_asking = true;
    const int answer = MessageDlgCaptions(
        Str(Ids::IDS_CONVERTING_StopEncoding), Str(Ids::IDS_CONVERTING_Question), TMsgDlgType::mtConfirmation,
        {Str(Ids::IDS_CONVERTING_StopNow), Str(Ids::IDS_CONVERTING_Whendone),
         Str(Ids::IDS_CONVERTING_Cancel)},
        TMsgDlgBtn::mbYes | TMsgDlgBtn::mbNo | TMsgDlgBtn::mbCancel);
    m_asking = false;
    if (m_finished || answer == mrYes) {
        closeWith(mrCancel);
        return;
    }
    const bool whenDone = answer == mrNo;
    lblStopWhenDone->setVisible(whenDone);
    emit stopWhenDoneChanged(whenDone);
}

void TfrmProgress::changeEvent(QEvent* event) {
    QDialog::changeEvent(event);
    if (event->type() == QEvent::WindowStateChange && (windowState() & Qt::WindowMinimized))
        emit minimiseRequested();
}
