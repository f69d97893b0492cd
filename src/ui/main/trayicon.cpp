#include "ui/main/trayicon.h"

#include "app/paths.h"
#include "lang/strings.h"

#include <QAction>
#include <QApplication>
#include <QDBusConnection>
#include <QDBusMessage>
#include <QMenu>
#include <QStyle>
#include <QVariantMap>

namespace {
constexpr int kBalloonMs = 10000;
}

bool NotifyDesktop(const QString& title, const QString& text) {
    return NotifyDesktop(title, text, QDBusConnection::sessionBus());
}

bool NotifyDesktop(const QString& title, const QString& text, QDBusConnection bus) {
    if (!bus.isConnected())
        return false;
    QDBusMessage call = QDBusMessage::createMethodCall(
        QStringLiteral("org.freedesktop.Notifications"), QStringLiteral("/org/freedesktop/Notifications"),
        QStringLiteral("org.freedesktop.Notifications"), QStringLiteral("Notify"));
    call << ApplicationTitle << quint32(0) << QStringLiteral("dialog-information") << title << text
         << QStringList() << QVariantMap() << qint32(kBalloonMs);
    const QDBusMessage reply = bus.call(call, QDBus::Block, 3000);
    return reply.type() == QDBusMessage::ReplyMessage;
}

TTrayIcon::TTrayIcon(QObject* parent)
    : QSystemTrayIcon(parent), m_trayAvailable([] { return QSystemTrayIcon::isSystemTrayAvailable(); }),
      m_notify([](const QString& title, const QString& text) { return NotifyDesktop(title, text); }) {
    setObjectName(QStringLiteral("TrayIcon"));
    QIcon icon = QApplication::windowIcon();
    if (icon.isNull())
        icon = QIcon::fromTheme(QStringLiteral("video-x-generic"),
                                QApplication::style()->standardIcon(QStyle::SP_MediaPlay));
    setIcon(icon);

    mnuTray = new QMenu;
    mnuTray->setObjectName(QStringLiteral("mnuTray"));
    miTrayShowWindow = mnuTray->addAction(QString());
    miTrayShowWindow->setObjectName(QStringLiteral("miTrayShowWindow"));
    mnuTray->addSeparator();
    miTrayExit = mnuTray->addAction(QString());
    miTrayExit->setObjectName(QStringLiteral("miTrayExit"));
    setContextMenu(mnuTray);

    connect(mnuTray, &QMenu::aboutToShow, this, &TTrayIcon::updateExitCaption);
    connect(miTrayShowWindow, &QAction::triggered, this, &TTrayIcon::showWindowRequested);
    connect(miTrayExit, &QAction::triggered, this, &TTrayIcon::exitRequested);
    connect(this, &QSystemTrayIcon::activated, this, [this](ActivationReason reason) {
        if (reason == QSystemTrayIcon::DoubleClick)
            emit showWindowRequested();
    });
    ApplyCaptions();
}

TTrayIcon::~TTrayIcon() {
    setContextMenu(nullptr);
    delete mnuTray;
}

void TTrayIcon::SetPlatform(std::function<bool()> trayAvailable, NotifyFn notify) {
    m_trayAvailable = std::move(trayAvailable);
    m_notify = std::move(notify);
}

bool TTrayIcon::TrayAvailable() const {
    return m_trayAvailable && m_trayAvailable();
}

void TTrayIcon::ApplyCaptions() {
    miTrayShowWindow->setText(Str(Ids::IDS_TRAY_ShowWindow));
    updateExitCaption();
}

void TTrayIcon::updateExitCaption() {
    const bool running = m_running && m_running();
    miTrayExit->setText(Str(running ? Ids::IDS_TRAY_StopConverting : Ids::IDS_TRAY_ExitProgram));
}

void TTrayIcon::ShowIcon() {
    m_shown = true;
    show();
}

void TTrayIcon::HideIcon() {
    m_shown = false;
    hide();
}

bool TTrayIcon::Balloon(const QString& title, const QString& text) {
    if (m_shown && TrayAvailable()) {
        showMessage(title, text, QSystemTrayIcon::Information, kBalloonMs);
        emit balloonShown(title, text, true);
        return true;
    }
    if (!m_notify || !m_notify(title, text))
        return false;
    emit balloonShown(title, text, false);
    return true;
}
