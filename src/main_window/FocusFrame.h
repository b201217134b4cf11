#pragma once

class QKeyEvent;
class QWidget;

/** Keyboard helpers shared by the controls that take the focus from the Tab key alone. */
namespace FocusFrame {

/** Paints the style's focus frame inside `widget` when it has the keyboard focus. */
void paint(QWidget& widget);

/** Space, Return or keypad Enter, pressed once without Ctrl, Alt or Shift. */
bool isActivationKey(const QKeyEvent& event);

} // namespace FocusFrame
