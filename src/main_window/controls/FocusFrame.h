#pragma once

class Pressable;
class QKeyEvent;
class QWidget;

/** Keyboard helpers shared by the controls that take the focus from the Tab key alone. */
namespace FocusFrame {

/** Paints the style's focus frame inside `widget` when it has the keyboard focus. */
void paint(QWidget& widget);

/**
 * Presses `control` when `event` is Space, Return or keypad Enter, pressed once without Ctrl,
 * Alt or Shift, and accepts the event; false for any other key.
 */
bool pressOnActivationKey(QKeyEvent& event, Pressable& control);

} // namespace FocusFrame
