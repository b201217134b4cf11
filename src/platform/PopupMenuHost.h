#pragma once

class QAction;
class QMenu;
class QWidget;

/**
 * Shows a hidden menu as a context menu at the mouse pointer, or under `owner` when that
 * control has the keyboard focus.
 */
class PopupMenuHost
{
public:
    virtual ~PopupMenuHost() = default;
    /** Modal: the chosen item has been triggered when this returns. Null when dismissed. */
    virtual QAction* popup(QWidget* owner, QMenu* menu) = 0;
};
