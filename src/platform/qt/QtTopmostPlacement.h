#pragma once

#include "platform/TopmostPlacement.h"

/** Topmost band through the window's stays-on-top hint, applied without re-creating it. */
class QtTopmostPlacement : public TopmostPlacement
{
public:
    bool supported() const override;
    void setWindowPos(QWidget* window, int insertAfter, int x, int y, int cx, int cy,
                      unsigned flags) override;
    void activate(QWidget* window) override;
};
