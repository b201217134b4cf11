#pragma once

#include <QString>

class ProgramInfo;

/**
 * Tells an installed program by the folders around it rather than by a compiled-in path, so
 * /usr, /usr/local, any `cmake --install` prefix and an unpacked package are all recognised.
 */
class InstallLayout
{
public:
    /**
     * True when `programFolder` is named `bin` and `../share/applications/` beside it holds the
     * file `desktopEntry` (the program's own desktop entry).
     */
    static bool isInstalled(const QString& programFolder, const QString& desktopEntry);

    /** Where the store lives: beside the program, or in the per-user data folder once installed. */
    static QString storePath(const ProgramInfo& program);
};
