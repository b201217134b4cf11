#pragma once

#include "platform/PopupMenuHost.h"

/** Opens menus with QMenu::exec at the mouse pointer. */
class QtPopupMenuHost : public PopupMenuHost
{
public:
    QAction* popup(QWidget* owner, QMenu* menu) override;
};
