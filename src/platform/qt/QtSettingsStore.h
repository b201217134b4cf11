#pragma once

#include "platform/SettingsStore.h"

#include <memory>

class QSettings;

/** Settings in the user's INI file (application "Quippet", group "Startup"). */
class QtSettingsStore : public SettingsStore
{
public:
    /** The per-user file, on Linux $XDG_CONFIG_HOME/Quippet/Quippet.ini. */
    QtSettingsStore();
    /** An explicit INI file instead of the per-user one. */
    explicit QtSettingsStore(const QString& iniPath);
    ~QtSettingsStore() override;

    QString readSetting(const QString& key, const QString& defaultValue) override;
    void writeSetting(const QString& key, const QString& value) override;

private:
    std::unique_ptr<QSettings> m_settings;
};
