#pragma once

/** Twips (1/1440 inch) against pixels; conversions round to nearest, ties to even. */
class Twips
{
public:
    /** Twips per pixel for a logical DPI (15 at 96 dpi); a DPI that is not positive gives 15. */
    static double perPixel(double dpi);
    /** Round half to even, saturated to the 32-bit range. */
    static int roundHalfEven(double value);
    /** twips / twipsPerPixel, rounded half to even. */
    static int toPixels(double twips, double twipsPerPixel);
};
