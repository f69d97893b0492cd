#include "ui/editors/entervaluewnd.h"

#include "app/dialogs.h"
#include "lang/strings.h"
#include "profiles/editor/valueentry.h"
#include "ui/centre.h"

#include <QDialogButtonBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

TfrmEnterValue::TfrmEnterValue(QWidget* owner) : QDialog(owner) {
    setObjectName(QStringLiteral("frmEnterValue"));
    setWindowTitle(Str(Ids::IDS_NAME_FORM_Title));
    auto* layout = new QVBoxLayout(this);
    lblDisplayMessage = new QLabel(Str(Ids::IDS_NAME_LABEL_LabelDisplayMessage), this);
    lblDisplayMessage->setObjectName(QStringLiteral("lblDisplayMessage"));
    txtValue = new QLineEdit(this);
    txtValue->setObjectName(QStringLiteral("txtValue"));
    lblDisplayMessage->setBuddy(txtValue);
    auto* buttons = new QDialogButtonBox(this);
    btnOK = buttons->addButton(Str(Ids::IDS_FILEINFORMATION_BUTTON_OK), QDialogButtonBox::AcceptRole);
    btnOK->setObjectName(QStringLiteral("btnOK"));
    btnOK->setDefault(true);
    btnCancel = buttons->addButton(Str(Ids::IDS_SHUTDOWN_BUTTON_Cancel), QDialogButtonBox::RejectRole);
    btnCancel->setObjectName(QStringLiteral("btnCancel"));
    layout->addWidget(lblDisplayMessage);
    layout->addWidget(txtValue);
    layout->addWidget(buttons);
    layout->setSizeConstraint(QLayout::SetFixedSize);
    txtValue->setMinimumWidth(260);
    connect(btnOK, &QPushButton::clicked, this, &TfrmEnterValue::btnOKClick);
    connect(btnCancel, &QPushButton::clicked, this, &QDialog::reject);
}

void TfrmEnterValue::btnOKClick() {
    const TValueCheck check = CheckEnteredValue(txtValue->text(), Minimum, Maximum);
    if (!check.Value) {
        Confirmed = false;
        Dialogs().MessageBox(check.Message, check.Caption, TMsgDlgType::mtWarning,
                             static_cast<unsigned>(TMsgDlgBtn::mbOK));
        txtValue->setFocus();
        txtValue->selectAll();
        return;
    }
    m_value = *check.Value;
    Confirmed = true;
    accept();
}

int InputValue(QWidget* owner, const QString& title, const QString& prompt, int current, int maximum,
               int minimum) {
    TfrmEnterValue dialog(owner);
    dialog.setWindowTitle(title);
    dialog.lblDisplayMessage->setText(prompt);
    dialog.txtValue->setAccessibleName(prompt);
    dialog.Maximum = maximum;
    dialog.Minimum = minimum;
    dialog.adjustSize();
    CentreOverOwner(&dialog, owner);
    dialog.exec();
    return dialog.Confirmed ? dialog.Value() : current;
}
