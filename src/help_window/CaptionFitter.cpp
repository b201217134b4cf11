#include "help_window/CaptionFitter.h"

#include <QFontMetricsF>
#include <QRectF>
#include <QSize>
#include <QString>

namespace {
constexpr int StretchStep = 2;
constexpr double PointStep = 0.25;
} // namespace

bool CaptionFitter::fits(const QFont& font, const QString& text, const QSize& box, int flags)
{
    const QRectF area(0, 0, box.width(), box.height());
    const QRectF needed = QFontMetricsF(font).boundingRect(area, flags, text);
    return needed.width() <= area.width() && needed.height() <= area.height();
}

QFont CaptionFitter::fitted(const QFont& font, const QString& text, const QSize& box, int flags)
{
    if (fits(font, text, box, flags))
        return font;

    QFont candidate = font;
    for (int stretch = 100 - StretchStep; stretch >= MinimumStretch; stretch -= StretchStep) {
        candidate.setStretch(stretch);
        if (fits(candidate, text, box, flags))
            return candidate;
    }
    const double startSize = font.pointSizeF();
    if (startSize <= 0)
        return candidate; // a pixel-sized font: nothing more to try
    for (double size = startSize - PointStep; size >= startSize * MinimumScale; size -= PointStep) {
        candidate.setPointSizeF(size);
        if (fits(candidate, text, box, flags))
            return candidate;
    }
    return candidate;
}
