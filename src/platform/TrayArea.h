#pragma once

#include <QObject>

class QMenu;
struct TrayIconRecord;

/** The notification area: add or delete the program's icon; mouse messages come back as numbers. */
class TrayArea : public QObject
{
    Q_OBJECT
public:
    static constexpr int NimAdd = 0;
    static constexpr int NimDelete = 2;

    using QObject::QObject;
    /** Whether the desktop has a notification area right now. */
    virtual bool available() const = 0;
    /** NIM_ADD (0) or NIM_DELETE (2) with the record; the result is not reported. */
    virtual void notifyIcon(int message, const TrayIconRecord& record) = 0;
    /**
     * The icon's pop-up menu. Where the desktop draws the icon's menu itself, it draws this one;
     * elsewhere the right button is reported and the window opens the menu.
     */
    virtual void setMenu(QMenu* menu) = 0;

Q_SIGNALS:
    /** A mouse message number from the icon (515 left double-click, 517 right button up, ...). */
    void mouseMessage(int number);
};
