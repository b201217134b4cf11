#include "main_window/controls/FocusFrame.h"

#include "main_window/controls/Pressable.h"

#include <QKeyEvent>
#include <QPainter>
#include <QPen>
#include <QStyle>
#include <QStyleOptionFocusRect>
#include <QWidget>

namespace FocusFrame {

void paint(QWidget& widget)
{
    if (!widget.hasFocus())
        return;
    QPainter painter(&widget);
    QStyleOptionFocusRect option;
    option.initFrom(&widget);
    option.backgroundColor = widget.palette().color(QPalette::Window);
    widget.style()->drawPrimitive(QStyle::PE_FrameFocusRect, &option, &painter, &widget);
    // The style's frame alone is a faint tint in some styles; a solid outline is seen at once.
    painter.setPen(QPen(widget.palette().color(QPalette::Highlight), 1));
    painter.setBrush(Qt::NoBrush);
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
