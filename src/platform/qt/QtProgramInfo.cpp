#include "platform/qt/QtProgramInfo.h"

#include "platform/InstallLayout.h"
#include "platform/QuippetVersion.h"

#include <QCoreApplication>
#include <QDir>
#include <QStandardPaths>

QString QtProgramInfo::title() const
{
    return QStringLiteral("Quippet");
}

QString QtProgramInfo::folder() const
{
    return QCoreApplication::applicationDirPath();
}

bool QtProgramInfo::installed() const
{
    return InstallLayout::isInstalled(folder(), QStringLiteral(QUIPPET_APP_ID ".desktop"));
}

QString QtProgramInfo::userDataFolder() const
{
    const QString appData = QStandardPaths::writableLocation(QStandardPaths::AppDataLocation);
    if (!appData.isEmpty())
        return appData;
    const QString generic = QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation);
    return QDir(generic.isEmpty() ? QDir::homePath() : generic).filePath(title());
}

QVersionNumber QtProgramInfo::version() const
{
    return QVersionNumber(QUIPPET_VERSION_MAJOR, QUIPPET_VERSION_MINOR, QUIPPET_VERSION_PATCH);
}

void QtProgramInfo::setApplicationNames()
{
    QCoreApplication::setOrganizationName(QStringLiteral("Quippet"));
    QCoreApplication::setApplicationName(QStringLiteral("Quippet"));
}
