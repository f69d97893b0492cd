#include "ui/main/splashwnd.h"

#include "app/paths.h"

#include <QLabel>
#include <QPixmap>
#include <QTimer>
#include <QVBoxLayout>

TfrmSplash::TfrmSplash(QWidget* parent) : QDialog(parent, Qt::SplashScreen | Qt::FramelessWindowHint) {
    setObjectName(QStringLiteral("frmSplash"));
    setAttribute(Qt::WA_TranslucentBackground);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    auto* image = new QLabel(this);
    image->setObjectName(QStringLiteral("imgSplash"));
    const QPixmap pixmap(SkinsDir + QStringLiteral("Splash.png"));
    if (pixmap.isNull()) {
        // Without the skin the title stands in for the picture.
        setAttribute(Qt::WA_TranslucentBackground, false);
        image->setText(ApplicationTitle);
        image->setMargin(40);
    } else {
        image->setPixmap(pixmap);
    }
    layout->addWidget(image);
    adjustSize();

    auto* timer = new QTimer(this);
    timer->setObjectName(QStringLiteral("tmrSplash"));
    timer->setSingleShot(true);
    connect(timer, &QTimer::timeout, this, &QDialog::accept);
    timer->start(ShowMs);
}
