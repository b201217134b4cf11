#include "FocusFrame.h"

#include <QKeyEvent>
#include <QPainter>
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
}

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

} // namespace FocusFrame
