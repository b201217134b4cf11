#pragma once

#include "platform/PopupMenuHost.h"

#include <QAction>
#include <QMenu>
#include <QStringList>

/** Chooses the item whose objectName is `choose` (empty: dismiss) and triggers it. */
class FakePopupMenuHost : public PopupMenuHost
{
public:
    QAction* popup(QWidget*, QMenu* menu) override
    {
        shownMenus.append(menu->objectName());
        const QString wanted = choices.isEmpty() ? QString() : choices.takeFirst();
        const auto actions = menu->actions();
        for (QAction* action : actions) {
            if (!wanted.isEmpty() && action->objectName() == wanted) {
                action->trigger();
                return action;
            }
        }
        return nullptr;
    }

    QStringList choices;
    QStringList shownMenus;
};
