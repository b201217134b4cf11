#pragma once

#include "platform/Clock.h"

class QLocale;

/** Date and time from the system clock, formatted for the user's locale. */
class QtClock : public Clock
{
public:
    QString todayText() const override;
    QString timeText() const override;

    /** The locale's short time format, with seconds and without a time-zone name. */
    static QString timeFormat(const QLocale& locale);
    /** Adds seconds after the minutes when `format` has none, and drops any time-zone token. */
    static QString withSecondsWithoutZone(const QString& format);
};
