#pragma once

#include "platform/Clock.h"

/** A clock that shows what the test sets. */
class FakeClock : public Clock
{
public:
    QString todayText() const override { return today; }
    QString timeText() const override { return ++reads, time; }

    QString today = QStringLiteral("12/6/2026");
    QString time = QStringLiteral("9:41:07 PM");
    mutable int reads = 0; // a clock read at every turn of the event loop would keep a core busy
};
