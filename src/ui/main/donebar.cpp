#include "ui/main/donebar.h"

#include "app/dialogs.h"
#include "app/utils.h"
#include "engine/progress_view.h"
#include "lang/strings.h"

#include <QHBoxLayout>
#include <QIcon>
#include <QLabel>
#include <QPushButton>
#include <QStyle>
#include <QToolButton>

TBatchDoneBar::TBatchDoneBar(QWidget* parent) : QFrame(parent) {
    setObjectName(QStringLiteral("pnlBatchDone"));
    setFrameShape(QFrame::StyledPanel);
    setAutoFillBackground(true);
    QPalette tinted = palette();
    tinted.setColor(QPalette::Window, QColor(0xe3, 0xf4, 0xe1));
    tinted.setColor(QPalette::WindowText, QColor(0x1b, 0x3d, 0x1a));
    setPalette(tinted);
    auto* row = new QHBoxLayout(this);
    row->setContentsMargins(8, 6, 4, 6);
    imgBatchDone = new QLabel(this);
    imgBatchDone->setObjectName(QStringLiteral("imgBatchDone"));
    const int size = style()->pixelMetric(QStyle::PM_SmallIconSize);
    imgBatchDone->setPixmap(QIcon::fromTheme(QStringLiteral("emblem-default"),
                                             style()->standardIcon(QStyle::SP_DialogApplyButton))
                                .pixmap(size, size));
    row->addWidget(imgBatchDone);
    lblBatchDone = new QLabel(this);
    lblBatchDone->setObjectName(QStringLiteral("lblBatchDone"));
    lblBatchDone->setTextFormat(Qt::PlainText);
    lblBatchDone->setTextInteractionFlags(Qt::TextSelectableByMouse);
    // A long line (where the sources went, in a long language) wraps in a narrow window.
    lblBatchDone->setWordWrap(true);
    row->addWidget(lblBatchDone, 1);
    btnOpenOutput = new QPushButton(this);
    btnOpenOutput->setObjectName(QStringLiteral("btnOpenOutput"));
    btnOpenOutput->setIcon(QIcon::fromTheme(QStringLiteral("folder-open")));
    connect(btnOpenOutput, &QPushButton::clicked, this,
            [this] { Dialogs().ShellOpen(m_success.outputFolder); });
    row->addWidget(btnOpenOutput);
    btnCloseMessage = new QToolButton(this);
    btnCloseMessage->setObjectName(QStringLiteral("btnCloseMessage"));
    btnCloseMessage->setAutoRaise(true);
    btnCloseMessage->setIcon(QIcon::fromTheme(QStringLiteral("window-close"),
                                              style()->standardIcon(QStyle::SP_TitleBarCloseButton)));
    connect(btnCloseMessage, &QToolButton::clicked, this, &QWidget::hide);
    row->addWidget(btnCloseMessage);
    setVisible(false);
    ApplyCaptions();
}

void TBatchDoneBar::ShowSuccess(const TBatchSuccess& success) {
    m_success = success;
    ApplyCaptions();
    show();
}

void TBatchDoneBar::ApplyCaptions() {
    QString text = m_success.converted == 1 ? Str(Ids::IDS_MAIN_LABEL_DoneOne)
                                            : FormatStr(Str(Ids::IDS_MAIN_LABEL_DoneFiles),
                                                        {QString::number(m_success.converted)});
    if (const QString sources = SourcesNote(m_success.trashed, m_success.deleted, m_success.notRemoved);
        !sources.isEmpty())
        text += QLatin1Char('\n') + sources;
    lblBatchDone->setText(text);
    // The check mark says what the first line says.
    imgBatchDone->setAccessibleName(text.section(QLatin1Char('\n'), 0, 0));
    btnOpenOutput->setText(Str(Ids::IDS_MAIN_MENUITEM_OpenDes));
    btnCloseMessage->setToolTip(Str(Ids::IDS_MAIN_BUTTON_CloseMessage));
    btnCloseMessage->setAccessibleName(Str(Ids::IDS_MAIN_BUTTON_CloseMessage));
}
