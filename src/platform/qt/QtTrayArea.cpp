#include "platform/qt/QtTrayArea.h"

#include "core/compat/TrayIconRecord.h"
#include "core/compat/TrayMessageDecoder.h"

#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusReply>
#include <QGuiApplication>

namespace {

// The icon reports the mouse messages the main window's decoder knows.
constexpr int WmLButtonUp = 514;
constexpr int WmLButtonDblClk = TrayMessageDecoder::LeftDoubleClick;
constexpr int WmRButtonUp = TrayMessageDecoder::RightButtonUp;
constexpr int WmMButtonUp = 520;

/** Whether a desktop host over D-Bus shows the icons, which is when Qt hands it the icon. */
bool statusNotifierHostRegistered()
{
    const QString watcher = QStringLiteral("org.kde.StatusNotifierWatcher");
    QDBusConnection bus = QDBusConnection::sessionBus();
    if (!bus.isConnected())
        return false;
    QDBusMessage get = QDBusMessage::createMethodCall(
        watcher, QStringLiteral("/StatusNotifierWatcher"),
        QStringLiteral("org.freedesktop.DBus.Properties"), QStringLiteral("Get"));
    get << watcher << QStringLiteral("IsStatusNotifierHostRegistered");
    // Asked once at start-up; a watcher that hangs must not hold the window back for long.
    const QDBusReply<QVariant> reply = bus.call(get, QDBus::Block, 2000);
    return reply.isValid() && reply.value().toBool();
}

} // namespace

bool QtTrayArea::available() const
{
    // Asked at the moment Qt first decides between a desktop host and an X11 tray, and kept.
    onDesktopHost();
    return QSystemTrayIcon::isSystemTrayAvailable();
}

void QtTrayArea::setMenu(QMenu* menu)
{
    m_menu = menu;
    if (m_icon != nullptr && onDesktopHost())
        m_icon->setContextMenu(menu);
}

bool QtTrayArea::onDesktopHost() const
{
    if (m_desktopHost < 0)
        m_desktopHost = statusNotifierHostRegistered() ? 1 : 0;
    return m_desktopHost == 1;
}

void QtTrayArea::notifyIcon(int message, const TrayIconRecord& record)
{
    if (message == NimAdd) {
        QSystemTrayIcon* trayIcon = icon();
        trayIcon->setIcon(QGuiApplication::windowIcon());
        trayIcon->setToolTip(tipText(record));
        trayIcon->show();
    } else if (message == NimDelete && m_icon != nullptr) {
        m_icon->hide();
    }
}

int QtTrayArea::mouseMessageFor(QSystemTrayIcon::ActivationReason reason, bool desktopHost)
{
    switch (reason) {
    case QSystemTrayIcon::Trigger:
        return desktopHost ? WmLButtonDblClk : WmLButtonUp;
    case QSystemTrayIcon::DoubleClick:
        return WmLButtonDblClk;
    case QSystemTrayIcon::Context:
        return WmRButtonUp;
    case QSystemTrayIcon::MiddleClick:
        return WmMButtonUp;
    case QSystemTrayIcon::Unknown:
        break;
    }
    return 0;
}

QString QtTrayArea::tipText(const TrayIconRecord& record)
{
    const qsizetype end = record.szTip.indexOf(QChar(u'\0'));
    if (end >= 0)
        return record.szTip.left(end);
    QString tip = record.szTip;
    while (tip.endsWith(QLatin1Char(' ')))
        tip.chop(1);
    return tip;
}

QSystemTrayIcon* QtTrayArea::icon()
{
    // Created on first use so that desktops without a tray never get one.
    if (m_icon == nullptr) {
        m_icon = new QSystemTrayIcon(this);
        // A desktop host draws the menu next to the icon, which also works where a free-standing
        // pop-up has no place to open. An X11 tray reports the right button to the window instead.
        if (m_menu != nullptr && onDesktopHost())
            m_icon->setContextMenu(m_menu);
        // Queued: the answer to a click may run a modal menu and then remove the icon. Hiding
        // the icon deletes the widget that reported the click, which must have left its mouse
        // handler by then.
        connect(m_icon, &QSystemTrayIcon::activated, this, &QtTrayArea::forwardActivation,
                Qt::QueuedConnection);
    }
    return m_icon;
}

void QtTrayArea::forwardActivation(QSystemTrayIcon::ActivationReason reason)
{
    // A click still queued when the icon was removed belongs to an icon that is gone.
    const int number = mouseMessageFor(reason, onDesktopHost());
    if (number != 0 && m_icon->isVisible())
        Q_EMIT mouseMessage(number);
}
