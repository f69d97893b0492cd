#pragma once
// The program's tray icon with its menu (mnuTray: miTrayShowWindow, a separator, miTrayExit) and
// the balloons. A balloon goes on the icon while it is shown; otherwise (no tray on this desktop,
// or the icon not shown) to the desktop's notification service; with neither it is skipped.
#include <QDBusConnection>
#include <QSystemTrayIcon>

#include <functional>

class QAction;
class QMenu;

class TTrayIcon : public QSystemTrayIcon {
    Q_OBJECT
  public:
    // Sends a notification to the desktop; whether it was accepted.
    using NotifyFn = std::function<bool(const QString& title, const QString& text)>;

    explicit TTrayIcon(QObject* parent = nullptr);
    ~TTrayIcon() override;

    // Replaces how the tray's presence is learnt and where notifications go (tests).
    void SetPlatform(std::function<bool()> trayAvailable, NotifyFn notify);
    bool TrayAvailable() const;

    void ApplyCaptions();
    // miTrayExit's caption follows whether a batch runs when the menu opens.
    void SetBatchRunning(std::function<bool()> running) { m_running = std::move(running); }

    void ShowIcon();
    void HideIcon();
    bool Shown() const { return m_shown; }

    // An information balloon with a 10-second timeout; whether it could be shown (on the icon or
    // as a desktop notification).
    bool Balloon(const QString& title, const QString& text);

    QMenu* Menu() const { return mnuTray; }

  signals:
    void showWindowRequested();
    void exitRequested();
    // A balloon was shown: on the icon (onIcon) or through the desktop's notifications.
    void balloonShown(const QString& title, const QString& text, bool onIcon);

  private:
    void updateExitCaption();

    QMenu* mnuTray;
    QAction* miTrayShowWindow;
    QAction* miTrayExit;
    bool m_shown = false;
    std::function<bool()> m_trayAvailable;
    NotifyFn m_notify;
    std::function<bool()> m_running;
};

// A notification through org.freedesktop.Notifications on the bus (the session bus by default);
// false when the service is not there.
bool NotifyDesktop(const QString& title, const QString& text);
bool NotifyDesktop(const QString& title, const QString& text, QDBusConnection bus);
