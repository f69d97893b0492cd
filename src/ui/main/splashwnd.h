#pragma once
// The start-up splash: the image skins/Splash.png, closing itself after one second.
#include <QDialog>

class TfrmSplash : public QDialog {
    Q_OBJECT
  public:
    static constexpr int ShowMs = 1000;
    explicit TfrmSplash(QWidget* parent = nullptr);
};
