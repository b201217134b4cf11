#pragma once

#include "DragOverState.h"

#include <QLabel>

/**
 * A 32 x 32 target icon (`Image1` to `Image4`): reports clicks, double-clicks, drags of text
 * passing over it and text dropped on it. It can also ask to become a drag source.
 */
class TargetIcon : public QLabel
{
    Q_OBJECT
public:
    TargetIcon(const QString& iconPath, QWidget* parent = nullptr);

Q_SIGNALS:
    /** Released after a single press; not sent for the release that ends a double-click. */
    void clicked();
    void doubleClicked();
    /** The mouse moved with the left button alone held down, past the drag distance. */
    void dragRequested();
    void dragOver(DragOverState state);
    void dropped(const QString& text);

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;

private:
    QPoint m_pressPos;
    bool m_pressed = false;
    bool m_inDoubleClick = false;
};
