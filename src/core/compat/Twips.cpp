#include "core/compat/Twips.h"

#include <climits>
#include <cmath>

namespace {
constexpr double TwipsPerInch = 1440.0;
constexpr double StandardTwipsPerPixel = 15.0;
} // namespace

double Twips::perPixel(double dpi)
{
    if (!std::isfinite(dpi) || dpi <= 0.0)
        return StandardTwipsPerPixel;
    return TwipsPerInch / dpi;
}

int Twips::roundHalfEven(double value)
{
    if (std::isnan(value))
        return 0;
    if (value >= static_cast<double>(INT_MAX))
        return INT_MAX;
    if (value <= static_cast<double>(INT_MIN))
        return INT_MIN;
    // Done by hand rather than through the floating-point environment's rounding mode,
    // which other code may have changed.
    const double below = std::floor(value);
    const double fraction = value - below; // exact for doubles in the int range
    double rounded = below;
    if (fraction > 0.5)
        rounded = below + 1.0;
    else if (fraction == 0.5)
        rounded = std::fmod(below, 2.0) == 0.0 ? below : below + 1.0;
    return static_cast<int>(rounded);
}

int Twips::toPixels(double twips, double twipsPerPixel)
{
    if (!std::isfinite(twipsPerPixel) || twipsPerPixel <= 0.0)
        return 0;
    return roundHalfEven(twips / twipsPerPixel);
}
