#include "ui/main/shutdownwnd.h"

#include "app/utils.h"
#include "lang/strings.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QStyle>
#include <QVBoxLayout>

TfrmShutdown::TfrmShutdown(QWidget* owner) : QDialog(owner) {
    setObjectName(QStringLiteral("frmShutdown"));
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint);
    lblWarning = new QLabel(this);
    lblWarning->setObjectName(QStringLiteral("lblWarning"));
    QFont big = lblWarning->font();
    big.setBold(true);
    big.setPointSizeF(big.pointSizeF() * 1.4);
    lblWarning->setFont(big);
    lblShutdownDescription = new QLabel(this);
    lblShutdownDescription->setObjectName(QStringLiteral("lblShutdownDescription"));
    lblShutdownDescription->setWordWrap(true);
    lblTimeOut = new QLabel(this);
    lblTimeOut->setObjectName(QStringLiteral("lblTimeOut"));
    btnCancel = new QPushButton(this);
    btnCancel->setObjectName(QStringLiteral("btnCancel"));
    btnCancel->setDefault(true);
    tmrShutdown = new QTimer(this);
    tmrShutdown->setObjectName(QStringLiteral("tmrShutdown"));
    tmrShutdown->setInterval(1000);

    m_icon = new QLabel(this);
    m_icon->setPixmap(style()->standardIcon(QStyle::SP_MessageBoxWarning).pixmap(48, 48));
    auto* root = new QVBoxLayout(this);
    auto* head = new QHBoxLayout;
    head->addWidget(m_icon, 0, Qt::AlignTop);
    auto* texts = new QVBoxLayout;
    texts->addWidget(lblWarning);
    texts->addWidget(lblShutdownDescription);
    texts->addWidget(lblTimeOut);
    head->addLayout(texts, 1);
    root->addLayout(head);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(btnCancel);
    buttons->addStretch(1);
    root->addLayout(buttons);
    setMinimumWidth(380);

    connect(btnCancel, &QPushButton::clicked, this, &QDialog::reject);
    connect(tmrShutdown, &QTimer::timeout, this, &TfrmShutdown::Tick);
    ApplyCaptions();
    tmrShutdown->start();
}

void TfrmShutdown::ApplyCaptions() {
    setWindowTitle(Str(Ids::IDS_SHUTDOWN_FORM_Caption));
    m_icon->setAccessibleName(Str(Ids::IDS_SHUTDOWN_FORM_Caption));
    lblWarning->setText(Str(Ids::IDS_SHUTDOWN_LABEL_Warning));
    lblShutdownDescription->setText(Str(Ids::IDS_SHUTDOWN_LABEL_WarningDetail));
    lblTimeOut->setText(FormatStr(Str(Ids::IDS_SHUTDOWN_LABEL_TimeLeft), {QString::number(m_counter)}));
    btnCancel->setText(Str(Ids::IDS_SHUTDOWN_BUTTON_Cancel));
}

void TfrmShutdown::Tick() {
    --m_counter;
    if (m_counter < 0) {
        tmrShutdown->stop();
        accept();
        return;
    }
    lblTimeOut->setText(FormatStr(Str(Ids::IDS_SHUTDOWN_LABEL_TimeLeft), {QString::number(m_counter)}));
}
