#pragma once

/** Decodes the notification-area callback that arrives as a mouse-move x position in twips. */
class TrayMessageDecoder
{
public:
    static constexpr int LeftDoubleClick = 515;
    static constexpr int RightButtonUp = 517;

    enum class Action
    {
        None,
        Restore,
        PopupMenu
    };

    /** n = x / twipsPerPixel (ties to even); 515 restores, 517 opens the menu, else nothing. */
    static Action decode(double xTwips, double twipsPerPixel);
};
