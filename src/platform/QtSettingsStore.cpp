#include "QtSettingsStore.h"

#include <QSettings>
#include <QStringList>

namespace {

QString startupKey(const QString& key)
{
    return QStringLiteral("Startup/") + key;
}

} // namespace

QtSettingsStore::QtSettingsStore()
    : m_settings(std::make_unique<QSettings>(QSettings::IniFormat, QSettings::UserScope,
                                             QStringLiteral("Quippet"), QStringLiteral("Quippet")))
{
}

QtSettingsStore::QtSettingsStore(const QString& iniPath)
    : m_settings(std::make_unique<QSettings>(iniPath, QSettings::IniFormat))
{
}

QtSettingsStore::~QtSettingsStore() = default;

QString QtSettingsStore::readSetting(const QString& key, const QString& defaultValue)
{
    const QVariant value = m_settings->value(startupKey(key));
    if (!value.isValid())
        return defaultValue;
    // A hand-edited line with an unquoted comma comes back as a list; keep it as one text.
    if (value.typeId() == QMetaType::QStringList)
        return value.toStringList().join(QStringLiteral(", "));
    return value.toString();
}

void QtSettingsStore::writeSetting(const QString& key, const QString& value)
{
    m_settings->setValue(startupKey(key), value);
    m_settings->sync();
}
