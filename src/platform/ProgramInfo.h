#pragma once

#include <QString>
#include <QVersionNumber>

/** Facts about the running program. */
class ProgramInfo
{
public:
    virtual ~ProgramInfo() = default;
    /** The program's title, "Quippet". */
    virtual QString title() const = 0;
    /** The folder that holds the executable. */
    virtual QString folder() const = 0;
    /**
     * True when the program runs from an installed layout (see InstallLayout); its store then
     * lives in the per-user data folder even when the program folder could be written.
     */
    virtual bool installed() const = 0;
    /** The per-user data folder, used when installed or when the program folder is not writable. */
    virtual QString userDataFolder() const = 0;
    /** Major, minor and revision of this build. */
    virtual QVersionNumber version() const = 0;
};
