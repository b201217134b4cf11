#pragma once

#include <QLineEdit>

class QMimeData;

/**
 * The combo box's text box. It keeps every character it is given (no length cap) and
 * starts its own drag of selected text, so the drag carries what the owner decides and
 * nothing in the box changes when the drag ends.
 */
class SnippetLineEdit : public QLineEdit
{
    Q_OBJECT
public:
    explicit SnippetLineEdit(QWidget* parent = nullptr);

Q_SIGNALS:
    /** A drag of selected text begins: fill `data` and narrow `allowedEffects`. */
    void dragStarting(QMimeData* dragData, Qt::DropActions* allowedEffects);

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    bool pressedInSelection(const QPoint& pos);

    QPoint m_dragStart;
    bool m_dragArmed = false;
};
