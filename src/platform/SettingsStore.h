#pragma once

#include <QString>

/** The per-user settings store, fixed to application "Quippet" and section "Startup". */
class SettingsStore
{
public:
    virtual ~SettingsStore() = default;
    /** The stored text of `key`, or `defaultValue` when the key is absent. */
    virtual QString readSetting(const QString& key, const QString& defaultValue) = 0;
    /** Stores `value` under `key` and flushes it to the backing store. */
    virtual void writeSetting(const QString& key, const QString& value) = 0;
};
