#pragma once

#include "platform/TopmostPlacement.h"

#include <QList>

/** Records placement requests instead of talking to a window manager. */
class FakeTopmostPlacement : public TopmostPlacement
{
public:
    struct Call
    {
        int insertAfter;
        int x, y, cx, cy;
        unsigned flags;
    };

    bool supported() const override { return isSupported; }
    void setWindowPos(QWidget*, int insertAfter, int x, int y, int cx, int cy, unsigned flags) override
    {
        calls.append({insertAfter, x, y, cx, cy, flags});
    }
    void activate(QWidget*) override { ++activations; }

    bool isSupported = true;
    QList<Call> calls;
    int activations = 0;
};
