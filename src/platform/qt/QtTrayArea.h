#pragma once

#include "platform/TrayArea.h"

#include <QSystemTrayIcon>

/** The notification area through QSystemTrayIcon. */
class QtTrayArea : public TrayArea
{
    Q_OBJECT
public:
    using TrayArea::TrayArea;

    bool available() const override;
    void notifyIcon(int message, const TrayIconRecord& record) override;

    /** The mouse message number for an activation; 0 for one that has none. */
    static int mouseMessageFor(QSystemTrayIcon::ActivationReason reason);
    /** The record's tip as shown: up to its NUL, or without the padding when it has none. */
    static QString tipText(const TrayIconRecord& record);

private:
    QSystemTrayIcon* icon();
    void forwardActivation(QSystemTrayIcon::ActivationReason reason);

    QSystemTrayIcon* m_icon = nullptr;
};
