#pragma once
// The value-entry dialog: one whole number typed by the user, checked against a range.
#include <QDialog>

class QLabel;
class QLineEdit;
class QPushButton;

class TfrmEnterValue : public QDialog {
    Q_OBJECT
  public:
    explicit TfrmEnterValue(QWidget* owner = nullptr);

    int Maximum = 0;
    int Minimum = 0;
    bool Confirmed = false;
    // The number typed, valid once Confirmed.
    int Value() const { return m_value; }

    QLabel* lblDisplayMessage;
    QLineEdit* txtValue;
    QPushButton* btnOK;
    QPushButton* btnCancel;

  private:
    void btnOKClick();
    int m_value = 0;
};

// Shows the dialog centred over owner with the title and prompt; the confirmed number, or current
// when the user cancels.
int InputValue(QWidget* owner, const QString& title, const QString& prompt, int current, int maximum,
               int minimum);
