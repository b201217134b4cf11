#pragma once

#include "platform/ProgramInfo.h"

/** Program facts with folders chosen by the test. */
class FakeProgramInfo : public ProgramInfo
{
public:
    QString title() const override { return QStringLiteral("Quippet"); }
    QString folder() const override { return programFolder; }
    bool installed() const override { return false; }
    QString userDataFolder() const override { return dataFolder; }
    QVersionNumber version() const override { return {1, 0, 61}; }

    QString programFolder;
    QString dataFolder;
};
