#pragma once
// The countdown before the completion action: 30 seconds, one tick a second; it closes with OK
// when the count has passed 0, with Cancel when the user cancels (and then nothing happens).
#include <QDialog>
#include <QTimer>

class QLabel;
class QPushButton;

class TfrmShutdown : public QDialog {
    Q_OBJECT
  public:
    explicit TfrmShutdown(QWidget* owner);

    void ApplyCaptions();
    int Counter() const { return m_counter; }
    // One second has passed (the timer's handler; tests call it to steer the countdown).
    void Tick();

  private:
    QLabel* m_icon;
    QLabel* lblWarning;
    QLabel* lblShutdownDescription;
    QLabel* lblTimeOut;
    QPushButton* btnCancel;
    QTimer* tmrShutdown;
    int m_counter = 30;
};
