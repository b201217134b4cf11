#pragma once

class QWidget;

/** Puts a top-level window into or out of the topmost band, and brings it to the front. */
class TopmostPlacement
{
public:
    static constexpr int HwndTopmost = -1;
    static constexpr int HwndNoTopmost = -2;
    static constexpr unsigned SwpNoActivate = 0x0010;
    static constexpr unsigned SwpShowWindow = 0x0040;

    virtual ~TopmostPlacement() = default;
    /** False where the window system cannot keep a window on top. */
    virtual bool supported() const = 0;
    /** Place `window` (pixel rectangle) after `insertAfter`, with SWP flags. */
    virtual void setWindowPos(QWidget* window, int insertAfter, int x, int y, int cx, int cy,
                              unsigned flags) = 0;
    /** Bring `window` to the foreground and give it the focus. */
    virtual void activate(QWidget* window) = 0;
};
