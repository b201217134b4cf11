#pragma once

#include "platform/SettingsStore.h"

#include <QMap>
#include <QStringList>
#include <functional>

/** Settings in memory; every read and write is logged as "read Key" / "write Key=Value". */
class FakeSettingsStore : public SettingsStore
{
public:
    QString readSetting(const QString& key, const QString& defaultValue) override
    {
        log.append(QStringLiteral("read ") + key);
        return values.value(key, defaultValue);
    }
    void writeSetting(const QString& key, const QString& value) override
    {
        log.append(QStringLiteral("write ") + key + QLatin1Char('=') + value);
        values.insert(key, value);
        if (journal)
            journal(log.last());
    }

    QMap<QString, QString> values;
    QStringList log;
    /** Told of every write, so a test can see it in order with other services' calls. */
    std::function<void(const QString&)> journal;
};
