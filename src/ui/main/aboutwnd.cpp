#include "ui/main/aboutwnd.h"

#include "app/paths.h"
#include "app/utils.h"
#include "lang/strings.h"

#include <QFile>
#include <QHBoxLayout>
#include <QLabel>
#include <QPixmap>
#include <QPushButton>
#include <QVBoxLayout>

#include <algorithm>

TfrmAbout::TfrmAbout(QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("frmAbout"));
    setWindowTitle(Str(Ids::IDS_ABOUT_FORM_Caption));
    auto* layout = new QVBoxLayout(this);

    const QString imageFile = QFile::exists(SkinsDir + QStringLiteral("imgAbout.png"))
                                  ? QStringLiteral("imgAbout.png")
                                  : QStringLiteral("Splash.png");
    const QPixmap pixmap(SkinsDir + imageFile);
    if (!pixmap.isNull()) {
        auto* image = new QLabel(this);
        image->setObjectName(QStringLiteral("imgAbout"));
        image->setPixmap(pixmap);
        image->setAlignment(Qt::AlignCenter);
        layout->addWidget(image);
    }
    auto* title = new QLabel(ApplicationTitle, this);
    title->setObjectName(QStringLiteral("lblTitle"));
    QFont big = title->font();
    big.setPointSize(big.pointSize() + 4);
    big.setBold(true);
    title->setFont(big);
    layout->addWidget(title);

    auto* version =
        new QLabel(FormatStr(Str(Ids::IDS_ABOUT_LABEL_Version), {QStringLiteral(VARID_VERSION)}), this);
    version->setObjectName(QStringLiteral("lblVersion"));
    layout->addWidget(version);

    auto* warning = new QLabel(Str(Ids::IDS_ABOUT_LABEL_Warning), this);
    warning->setObjectName(QStringLiteral("lblWarning"));
    warning->setWordWrap(true);
    layout->addWidget(warning);

    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    auto* ok = new QPushButton(Str(Ids::IDS_ABOUT_BUTTON_OK), this);
    ok->setObjectName(QStringLiteral("btnOK"));
    ok->setDefault(true);
    connect(ok, &QPushButton::clicked, this, &QDialog::accept);
    buttons->addWidget(ok);
    layout->addLayout(buttons);
    setFixedWidth(std::max(420, sizeHint().width()));
}
