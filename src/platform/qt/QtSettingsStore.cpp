#include "platform/qt/QtSettingsStore.h"

#include "core/log/QuippetLog.h"

#include <QDir>
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
    // The status keeps its first error for the object's life. A fresh object, made before the
    // old one goes, shares the values not yet written and reports this write's own outcome.
    if (m_settings->status() != QSettings::NoError)
        m_settings = std::make_unique<QSettings>(m_settings->fileName(), QSettings::IniFormat);
    m_settings->setValue(startupKey(key), value);
    m_settings->sync();
    const QSettings::Status status = m_settings->status();
    if (status == QSettings::NoError)
        return;
    // QSettings keeps the system's own words to itself; its status is all there is to log.
    qCWarning(lcSettings).noquote()
        << QStringLiteral("Could not store %1 in \"%2\": %3")
               .arg(key, QDir::toNativeSeparators(m_settings->fileName()),
                    status == QSettings::AccessError
                        ? QStringLiteral("the file or its folder cannot be written")
                        : QStringLiteral("the file is not in INI format"));
}
