#pragma once

#include "platform/Clock.h"

/** A clock that shows what the test sets. */
class FakeClock : public Clock
{
public:
    QString todayText() const override { return today; }
    QString timeText() const override { return time; }

    QString today = QStringLiteral("12/6/2026");
    QString time = QStringLiteral("9:41:07 PM");
};
