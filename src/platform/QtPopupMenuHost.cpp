#include "QtPopupMenuHost.h"

#include <QCursor>
#include <QMenu>

QAction* QtPopupMenuHost::popup(QWidget* owner, QMenu* menu)
{
    Q_UNUSED(owner)
    // exec() triggers the chosen action before it returns.
    return menu->exec(QCursor::pos());
}
