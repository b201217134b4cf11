#include "main_window/controls/StatusBarAccessible.h"

#include "main_window/controls/PanelStatusBar.h"

StatusBarAccessible::StatusBarAccessible(PanelStatusBar* bar)
    : QAccessibleWidget(bar, QAccessible::StatusBar)
{
}

QString StatusBarAccessible::text(QAccessible::Text t) const
{
    if (t == QAccessible::Name)
        return static_cast<const PanelStatusBar*>(widget())->panelText(
            PanelStatusBar::MessagePanel);
    return QAccessibleWidget::text(t);
}
