#pragma once

#include <QString>

class QSystemTrayIcon;

// Tells a user who is in another window that something they waited for has happened, through the
// desktop's own notifications: the freedesktop notification service where there is a session bus
// (the Linux desktops), the notification area otherwise (Windows). Shows nothing where the desktop
// offers neither.
class DesktopNotice {
public:
    DesktopNotice() = default;
    ~DesktopNotice();
    DesktopNotice(const DesktopNotice&) = delete;
    DesktopNotice& operator=(const DesktopNotice&) = delete;

    void show(const QString& title, const QString& text);

private:
    bool showOnSessionBus(const QString& title, const QString& text);

    QSystemTrayIcon* trayIcon_ = nullptr;
};
