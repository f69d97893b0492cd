#include "ui/chooser/namewnd.h"

#include "lang/strings.h"
#include "profiles/profile_manager.h"
#include "ui/centre.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

TfrmName::TfrmName(QWidget* owner, const QString& name) : QDialog(owner) {
    setObjectName(QStringLiteral("frmName"));
    setWindowTitle(Str(Ids::IDS_NAME_FORM_ProfileName));

    auto* layout = new QVBoxLayout(this);
    lblName = new QLabel(Str(Ids::IDS_NAME_LABEL_EnterName), this);
    lblName->setObjectName(QStringLiteral("lblName"));
    layout->addWidget(lblName);
    txtFileName = new QLineEdit(name, this);
    txtFileName->setObjectName(QStringLiteral("txtFileName"));
    txtFileName->setMinimumWidth(300);
    lblName->setBuddy(txtFileName);
    layout->addWidget(txtFileName);

    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    btnOK = new QPushButton(Str(Ids::IDS_FILEINFORMATION_BUTTON_OK), this);
    btnOK->setObjectName(QStringLiteral("btnOK"));
    btnOK->setDefault(true);
    btnCancel = new QPushButton(Str(Ids::IDS_SHUTDOWN_BUTTON_Cancel), this);
    btnCancel->setObjectName(QStringLiteral("btnCancel"));
    buttons->addWidget(btnOK);
    buttons->addWidget(btnCancel);
    layout->addLayout(buttons);

    connect(btnOK, &QPushButton::clicked, this, &TfrmName::okClicked);
    connect(btnCancel, &QPushButton::clicked, this, &QDialog::reject);
    txtFileName->selectAll();
    txtFileName->setFocus();
    setFixedSize(sizeHint());
    CentreOverOwner(this, owner);
}

QString TfrmName::FileName() const {
    return txtFileName->text();
}

void TfrmName::okClicked() {
    m_confirmed = ConfirmProfileName(txtFileName->text());
    if (m_confirmed) {
        accept();
        return;
    }
    txtFileName->setFocus();
    txtFileName->selectAll();
}
