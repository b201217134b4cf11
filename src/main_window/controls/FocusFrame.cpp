#include "main_window/controls/FocusFrame.h"

#include "main_window/controls/Pressable.h"

#include <QKeyEvent>
#include <QPainter>
#include <QPen>
#include <QWidget>

namespace FocusFrame {

void paint(QWidget& widget)
{
    if (!widget.hasFocus())
        return;
    // A solid outline rather than the style's focus frame, which in some styles is a faint tint.
    QPainter painter(&widget);
    painter.setPen(QPen(widget.palette().color(QPalette::Highlight), 1));
    painter.drawRect(widget.rect().adjusted(0, 0, -1, -1));
}

namespace {

bool isActivationKey(const QKeyEvent& event)
{
    // Holding the key down must not add, remove or shrink again and again.
    if (event.isAutoRepeat())
        return false;
    // Keypad Enter carries the keypad modifier; any other modifier makes it another key.
    const Qt::KeyboardModifiers mods = event.modifiers();
    if (mods.testFlag(Qt::ShiftModifier) || mods.testFlag(Qt::ControlModifier) ||
        mods.testFlag(Qt::AltModifier) || mods.testFlag(Qt::MetaModifier))
        return false;
    return event.key() == Qt::Key_Space || event.key() == Qt::Key_Return ||
           event.key() == Qt::Key_Enter;
}

} // namespace

bool pressOnActivationKey(QKeyEvent& event, Pressable& control)
{
    if (!isActivationKey(event))
        return false;
    control.press();
    event.accept();
    return true;
}

} // namespace FocusFrame
