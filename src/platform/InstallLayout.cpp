#include "platform/InstallLayout.h"

#include <QDir>
#include <QFileInfo>

bool InstallLayout::isInstalled(const QString& programFolder, const QString& desktopEntry)
{
    if (programFolder.isEmpty() || desktopEntry.isEmpty())
        return false;
    const QDir program(QDir::cleanPath(programFolder));
    if (program.dirName() != u"bin")
        return false;
    const QFileInfo entry(
        program.filePath(QStringLiteral("../share/applications/%1").arg(desktopEntry)));
    return entry.isFile();
}
