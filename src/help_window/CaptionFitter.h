#pragma once

#include <QFont>

class QSize;
class QString;

/**
 * Narrows, then shrinks, a font until a caption fits its box. The window was laid out for a
 * narrow face; wider local faces would otherwise have their captions cut off.
 */
class CaptionFitter
{
public:
    /** Narrowest letters the fitter uses, in percent of the normal width. */
    static constexpr int MinimumStretch = 80;
    /** Smallest point size the fitter uses, as a fraction of the starting size. */
    static constexpr double MinimumScale = 0.75;

    /** True when `text` laid out with `flags` (Qt::TextFlag, alignment) fits into `box`. */
    static bool fits(const QFont& font, const QString& text, const QSize& box, int flags);

    /**
     * `font` unchanged when the caption fits; otherwise the first that fits, trying narrower
     * letters before smaller ones, or the narrowest and smallest tried when none fits.
     */
    static QFont fitted(const QFont& font, const QString& text, const QSize& box, int flags);
};
