#pragma once
// The profile name dialog: one field for the name, OK that accepts only a valid profile name.
#include <QDialog>

class QLabel;
class QLineEdit;
class QPushButton;

class TfrmName : public QDialog {
    Q_OBJECT
  public:
    // The field starts with name (empty for a new profile, the current name for a rename).
    explicit TfrmName(QWidget* owner, const QString& name = QString());

    // True once OK accepted the name; false again whenever a name is refused.
    bool Confirmed() const { return m_confirmed; }
    // The name as typed (outer blanks included).
    QString FileName() const;

  private:
    void okClicked();

    QLabel* lblName = nullptr;
    QLineEdit* txtFileName = nullptr;
    QPushButton* btnOK = nullptr;
    QPushButton* btnCancel = nullptr;
    bool m_confirmed = false;
};
