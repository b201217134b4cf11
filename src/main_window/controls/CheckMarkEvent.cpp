#include "main_window/controls/CheckMarkEvent.h"

#include <QAccessible>
#include <QAction>
#include <QMenu>

namespace CheckMarkEvent {

void send(QMenu& menu, QAction& action)
{
    if (!QAccessible::isActive())
        return;
    QAccessibleInterface* menuInterface = QAccessible::queryAccessibleInterface(&menu);
    if (!menuInterface)
        return;
    for (int i = 0; i < menuInterface->childCount(); ++i) {
        QAccessibleInterface* item = menuInterface->child(i);
        if (item && item->object() == &action) {
            QAccessible::State changed;
            changed.checked = true;
            QAccessibleStateChangeEvent event(item, changed);
            QAccessible::updateAccessibility(&event);
            return;
        }
    }
}

} // namespace CheckMarkEvent
