#pragma once

#include "platform/TrayArea.h"

#include <QSystemTrayIcon>

/**
 * The notification area through QSystemTrayIcon. Qt draws the icon itself in an X11 tray, or
 * hands it to a desktop host over D-Bus; there a click arrives as one activation and the host
 * draws the icon's menu.
 */
class QtTrayArea : public TrayArea
{
    Q_OBJECT
public:
    using TrayArea::TrayArea;

    bool available() const override;
    void notifyIcon(int message, const TrayIconRecord& record) override;
    void setMenu(QMenu* menu) override;

    /**
     * The mouse message number for an activation; 0 for one that has none. A desktop host has
     * no double-click: its click (Qt's Trigger) stands for the double-click of an X11 tray.
     */
    static int mouseMessageFor(QSystemTrayIcon::ActivationReason reason, bool desktopHost);
    /** The record's tip as shown: up to its NUL, or without the padding when it has none. */
    static QString tipText(const TrayIconRecord& record);

private:
    bool onDesktopHost() const;
    QSystemTrayIcon* icon();
    void forwardActivation(QSystemTrayIcon::ActivationReason reason);

    QSystemTrayIcon* m_icon = nullptr;
    QMenu* m_menu = nullptr;
    /** Decided once at the first check, as Qt decides once where its icons go. */
    mutable int m_desktopHost = -1;
};
