#include "main_window/SnippetLineEdit.h"

#include <QApplication>
#include <QDrag>
#include <QMimeData>
#include <QMouseEvent>
#include <limits>

SnippetLineEdit::SnippetLineEdit(QWidget* parent) : QLineEdit(parent)
{
    // The default cap of 32,767 characters would cut long snippets silently.
    setMaxLength(std::numeric_limits<int>::max());
    // Drops go to the combo box, which owns the drop behaviour.
    setAcceptDrops(false);
}

bool SnippetLineEdit::pressedInSelection(const QPoint& pos)
{
    if (!hasSelectedText())
        return false;
    const int at = cursorPositionAt(pos);
    const int start = selectionStart();
    return at >= start && at <= start + static_cast<int>(selectedText().size());
}

void SnippetLineEdit::mousePressEvent(QMouseEvent* event)
{
    if (event->button() == Qt::LeftButton && pressedInSelection(event->position().toPoint())) {
        // Keep the selection: a press inside it may be the start of a drag.
        m_dragArmed = true;
        m_dragStart = event->position().toPoint();
        event->accept();
        return;
    }
    m_dragArmed = false;
    QLineEdit::mousePressEvent(event);
}

void SnippetLineEdit::mouseMoveEvent(QMouseEvent* event)
{
    if (!m_dragArmed) {
        QLineEdit::mouseMoveEvent(event);
        return;
    }
    if ((event->position().toPoint() - m_dragStart).manhattanLength() <
        QApplication::startDragDistance())
        return;
    m_dragArmed = false;

    auto* mime = new QMimeData;
    Qt::DropActions allowed = Qt::CopyAction | Qt::MoveAction;
    Q_EMIT dragStarting(mime, &allowed);
    auto* drag = new QDrag(this);
    drag->setMimeData(mime);
    drag->exec(allowed);
}

void SnippetLineEdit::mouseReleaseEvent(QMouseEvent* event)
{
    if (m_dragArmed) {
        // A click inside the selection without a drag places the cursor, as usual.
        m_dragArmed = false;
        setCursorPosition(cursorPositionAt(event->position().toPoint()));
        return;
    }
    QLineEdit::mouseReleaseEvent(event);
}
