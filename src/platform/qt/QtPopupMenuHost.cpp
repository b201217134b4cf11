#include "platform/qt/QtPopupMenuHost.h"

#include <QCursor>
#include <QMenu>

QAction* QtPopupMenuHost::popup(QWidget* owner, QMenu* menu)
{
    // A control in the keyboard's hands gets the menu under it; the pointer may be anywhere.
    const QPoint at = owner && owner->hasFocus() ? owner->mapToGlobal(QPoint(0, owner->height()))
                                                 : QCursor::pos();
    // exec() triggers the chosen action before it returns.
    return menu->exec(at);
}
