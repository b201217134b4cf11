#include "main_window/controls/PressableAccessible.h"

#include "main_window/controls/Pressable.h"

PressableAccessible::PressableAccessible(QWidget* widget, Pressable& pressable)
    : QAccessibleWidget(widget, QAccessible::Button), m_pressable(pressable)
{
}

QStringList PressableAccessible::actionNames() const
{
    // Press first: clients that offer one action take the first.
    QStringList names = QAccessibleWidget::actionNames();
    names.prepend(pressAction());
    return names;
}

void PressableAccessible::doAction(const QString& actionName)
{
    if (actionName == pressAction())
        m_pressable.press();
    else
        QAccessibleWidget::doAction(actionName);
}

QStringList PressableAccessible::keyBindingsForAction(const QString& actionName) const
{
    if (actionName == pressAction())
        return {QStringLiteral("Space"), QStringLiteral("Return")};
    return QAccessibleWidget::keyBindingsForAction(actionName);
}
