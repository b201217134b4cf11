#include "core/compat/TrayMessageDecoder.h"

#include "core/compat/Twips.h"

TrayMessageDecoder::Action TrayMessageDecoder::decode(double xTwips, double twipsPerPixel)
{
    switch (Twips::toPixels(xTwips, twipsPerPixel)) {
    case LeftDoubleClick:
        return Action::Restore;
    case RightButtonUp:
        return Action::PopupMenu;
    default:
        return Action::None;
    }
}
