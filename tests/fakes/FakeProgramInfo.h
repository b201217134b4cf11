#pragma once

#include "ProgramInfo.h"

/** Program facts with folders chosen by the test. */
class FakeProgramInfo : public ProgramInfo
{
public:
    QString title() const override { return QStringLiteral("Quippet"); }
    QString folder() const override { return programFolder; }
    bool installed() const override { return isInstalled; }
    QString userDataFolder() const override { return dataFolder; }
    QVersionNumber version() const override { return versionNumber; }

    QString programFolder;
    QString dataFolder;
    bool isInstalled = false;
    QVersionNumber versionNumber{1, 0, 61};
};
