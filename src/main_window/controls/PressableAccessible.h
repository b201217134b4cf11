#pragma once

#include <QAccessibleWidget>

class Pressable;

/**
 * What assistive technology sees of a target icon or a status panel: a button with a press
 * action that does what the mouse does, bound to Space and Enter.
 */
class PressableAccessible : public QAccessibleWidget
{
public:
    PressableAccessible(QWidget* widget, Pressable& pressable);

    QStringList actionNames() const override;
    void doAction(const QString& actionName) override;
    QStringList keyBindingsForAction(const QString& actionName) const override;

private:
    Pressable& m_pressable;
};
