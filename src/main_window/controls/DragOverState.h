#pragma once

/** Where a drag is relative to a control: entering it, leaving it, or moving over it. */
enum class DragOverState : int
{
    Enter = 0,
    Leave = 1,
    Over = 2
};
