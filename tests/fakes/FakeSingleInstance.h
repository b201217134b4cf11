#pragma once

#include "platform/SingleInstance.h"

/** Answers the single-instance question as the test sets it. */
class FakeSingleInstance : public SingleInstance
{
    Q_OBJECT
public:
    bool otherInstanceRunning() override { return otherRunning; }
    /** Acts as if a later start asked this instance to show itself. */
    void requestShow() { Q_EMIT showRequested(); }

    bool otherRunning = false;
};
