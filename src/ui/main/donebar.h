#pragma once
// The success of a batch shown in the main window when the desktop has neither a tray nor
// notifications: "3 files converted." with where the sources went, a button that opens the output
// folder and one that closes the message. It blocks nothing and stays until it is closed or the
// next batch starts.
#include "ui/main/batchwindow.h"

#include <QFrame>

class QLabel;
class QPushButton;
class QToolButton;

class TBatchDoneBar : public QFrame {
    Q_OBJECT
  public:
    explicit TBatchDoneBar(QWidget* parent = nullptr);

    void ShowSuccess(const TBatchSuccess& success);
    // Re-applies the captions and the message from the string table (after a language switch).
    void ApplyCaptions();

  private:
    TBatchSuccess m_success;
    QLabel* imgBatchDone = nullptr;
    QLabel* lblBatchDone = nullptr;
    QPushButton* btnOpenOutput = nullptr;
    QToolButton* btnCloseMessage = nullptr;
};
