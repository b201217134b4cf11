#pragma once

#include <QString>

/** Today's date and the time of day as text, in the user's formats. */
class Clock
{
public:
    virtual ~Clock() = default;
    /** The date alone in the user's short date format; never empty. */
    virtual QString todayText() const = 0;
    /** The time of day with seconds in the user's time format. */
    virtual QString timeText() const = 0;
};
