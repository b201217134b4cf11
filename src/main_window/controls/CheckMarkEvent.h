#pragma once

class QAction;
class QMenu;

/** Tells assistive technology that a menu item's check mark changed. */
namespace CheckMarkEvent {

/** Qt sends nothing when a checkable menu item flips, so a screen reader would not hear it. */
void send(QMenu& menu, QAction& action);

} // namespace CheckMarkEvent
