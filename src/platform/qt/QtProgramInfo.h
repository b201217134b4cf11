#pragma once

#include "platform/ProgramInfo.h"

/** Facts about this build and where it runs from. */
class QtProgramInfo : public ProgramInfo
{
public:
    QString title() const override;
    QString folder() const override;
    bool installed() const override;
    QString userDataFolder() const override;
    QVersionNumber version() const override;

    /** The organisation and application names that the per-user folders are named after. */
    static void setApplicationNames();
};
