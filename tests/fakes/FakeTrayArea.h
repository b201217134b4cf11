#pragma once

#include "core/compat/TrayIconRecord.h"
#include "platform/TrayArea.h"

#include <QList>
#include <functional>

/** Records every icon request; `iconShown` follows add and delete. */
class FakeTrayArea : public TrayArea
{
    Q_OBJECT
public:
    bool available() const override { return hasArea; }
    void notifyIcon(int message, const TrayIconRecord& record) override
    {
        messages.append(message);
        lastRecord = record;
        if (message == NimAdd)
            iconShown = true;
        else if (message == NimDelete)
            iconShown = false;
        if (journal)
            journal(QStringLiteral("tray %1").arg(message));
    }
    void setMenu(QMenu* iconMenu) override { menu = iconMenu; }
    /** Acts as if the icon reported a mouse message. */
    void sendMouseMessage(int number) { Q_EMIT mouseMessage(number); }

    bool hasArea = true;
    QMenu* menu = nullptr;
    bool iconShown = false;
    QList<int> messages;
    TrayIconRecord lastRecord;
    /** Told of every icon request, as FakeSettingsStore::journal is of writes. */
    std::function<void(const QString&)> journal;
};
