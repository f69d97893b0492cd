#pragma once
// The about box: product title, version and notice.
#include <QDialog>

class TfrmAbout : public QDialog {
    Q_OBJECT
  public:
    explicit TfrmAbout(QWidget* parent = nullptr);
};
