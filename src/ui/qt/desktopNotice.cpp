#include "ui/qt/desktopNotice.h"

#include <QApplication>
#include <QIcon>
#include <QtWidgets/qtwidgetsglobal.h>
#if QT_CONFIG(systemtrayicon)
#include <QSystemTrayIcon>
#endif

#ifdef MAROVINK_DESKTOP_BUS
#include <QDBusConnection>
#include <QDBusMessage>
#include <QVariantMap>
#endif

namespace {

constexpr int shownMilliseconds = 10000;

}  // namespace

DesktopNotice::~DesktopNotice() {
#if QT_CONFIG(systemtrayicon)
    delete trayIcon_;
#endif
}

void DesktopNotice::show(const QString& title, const QString& text) {
    if (showOnSessionBus(title, text)) {
        return;
    }
#if QT_CONFIG(systemtrayicon)
    if (!QSystemTrayIcon::isSystemTrayAvailable()) {
        return;
    }
    if (!trayIcon_) {
        trayIcon_ = new QSystemTrayIcon(QApplication::windowIcon());
        trayIcon_->setToolTip(QApplication::applicationName());
    }
    trayIcon_->show();
    trayIcon_->showMessage(title, text, QApplication::windowIcon(), shownMilliseconds);
#endif
}

bool DesktopNotice::showOnSessionBus(const QString& title, const QString& text) {
#ifdef MAROVINK_DESKTOP_BUS
    QDBusConnection bus = QDBusConnection::sessionBus();
    if (!bus.isConnected()) {
        return false;
    }
    QDBusMessage notify = QDBusMessage::createMethodCall(
        QStringLiteral("org.freedesktop.Notifications"),
        QStringLiteral("/org/freedesktop/Notifications"),
        QStringLiteral("org.freedesktop.Notifications"), QStringLiteral("Notify"));
    // Application, notice to replace (none), icon, summary, body, actions, hints, time shown.
    notify << QApplication::applicationName() << 0U << QStringLiteral("media-optical") << title
           << text << QStringList() << QVariantMap() << shownMilliseconds;
    // Not waited for: a desktop without the service answers with an error nobody needs.
    return bus.send(notify);
#else
    (void)title;
    (void)text;
    return false;
#endif
}
