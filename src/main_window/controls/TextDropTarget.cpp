#include "main_window/controls/TextDropTarget.h"

#include <QDropEvent>
#include <QMimeData>
#include <QWidget>

TextDropTarget::TextDropTarget(QWidget* widget) : QObject(widget)
{
    widget->setAcceptDrops(true);
    widget->installEventFilter(this);
}

bool TextDropTarget::carriesText(const QMimeData* data)
{
    if (!data)
        return false;
    const QStringList formats = data->formats();
    for (const QString& format : formats) {
        if (format.startsWith(QLatin1String("text/plain")))
            return true;
    }
    return false;
}

bool TextDropTarget::eventFilter(QObject* watched, QEvent* event)
{
    switch (event->type()) {
    case QEvent::DragEnter:
    case QEvent::DragMove: {
        auto* drag = static_cast<QDragMoveEvent*>(event);
        if (!carriesText(drag->mimeData())) {
            drag->ignore();
            return true;
        }
        Q_EMIT dragOver(event->type() == QEvent::DragEnter ? DragOverState::Enter
                                                           : DragOverState::Over);
        // The proposed effect is kept: the drag source decides between copy and move.
        drag->acceptProposedAction();
        return true;
    }
    case QEvent::DragLeave:
        Q_EMIT dragOver(DragOverState::Leave);
        return true;
    case QEvent::Drop: {
        auto* drop = static_cast<QDropEvent*>(event);
        if (!carriesText(drop->mimeData())) {
            drop->ignore();
            return true;
        }
        drop->acceptProposedAction();
        Q_EMIT dropped(drop->mimeData()->text());
        return true;
    }
    default:
        return QObject::eventFilter(watched, event);
    }
}
