#pragma once

#include "SettingsStore.h"

#include <QMap>
#include <QStringList>

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
    }

    QMap<QString, QString> values;
    QStringList log;
};
