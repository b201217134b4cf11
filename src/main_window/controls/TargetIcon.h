#pragma once

#include "main_window/controls/DragOverState.h"
#include "main_window/controls/Pressable.h"

#include <QLabel>

/**
 * A 32 x 32 target icon (`Image1` to `Image4`): reports clicks, double-clicks, drags of text
 * passing over it and text dropped on it. It can also ask to become a drag source. It joins the
 * tab order (a click never moves the focus away from the box) and shows a focus frame.
 */
class TargetIcon : public QLabel, public Pressable
{
    Q_OBJECT
public:
    TargetIcon(const QString& iconPath, QWidget* parent = nullptr);

    /** Space or Enter while focused, and the accessible press action: a double-click. */
    void press() override;

Q_SIGNALS:
    /** Released after a single press; not sent for the release that ends a double-click. */
    void clicked();
    /** A double-click, or `press`. */
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
    void keyPressEvent(QKeyEvent* event) override;
    void paintEvent(QPaintEvent* event) override;

private:
    QPoint m_pressPos;
    bool m_pressed = false;
    bool m_inDoubleClick = false;
};
