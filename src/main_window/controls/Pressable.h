#pragma once

/**
 * A control with one action that the keyboard and assistive technology can start: what a
 * double-click on an icon or a click on a status panel does.
 */
class Pressable
{
public:
    virtual ~Pressable() = default;
    virtual void press() = 0;
};
