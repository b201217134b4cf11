#include "platform/InstallLayout.h"

#include "core/store/StoreFile.h"
#include "platform/ProgramInfo.h"

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

QString InstallLayout::storePath(const ProgramInfo& program)
{
    // An installed program never writes beside itself, even when it could (run as root).
    return StoreFile::choosePath(program.installed() ? QString() : program.folder(),
                                 program.userDataFolder());
}
