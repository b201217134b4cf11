#include "main_window/controls/TargetIcon.h"

#include "main_window/controls/FocusFrame.h"
#include "main_window/controls/TextDropTarget.h"

#include <QApplication>
#include <QIcon>
#include <QKeyEvent>
#include <QMouseEvent>

TargetIcon::TargetIcon(const QString& iconPath, QWidget* parent) : QLabel(parent)
{
    setPixmap(QIcon(iconPath).pixmap(32, 32));
    setAlignment(Qt::AlignCenter);
    setFocusPolicy(Qt::TabFocus);
    auto* drops = new TextDropTarget(this);
    connect(drops, &TextDropTarget::dragOver, this, &TargetIcon::dragOver);
    connect(drops, &TextDropTarget::dropped, this, &TargetIcon::dropped);
}

void TargetIcon::mousePressEvent(QMouseEvent* event)
{
    if (event->button() == Qt::LeftButton) {
        m_pressed = true;
        m_pressPos = event->position().toPoint();
        // A new press ends any double-click whose release went elsewhere (to the Write menu).
        m_inDoubleClick = false;
    }
    event->accept();
}

void TargetIcon::mouseReleaseEvent(QMouseEvent* event)
{
    const bool wasPressed = m_pressed && event->button() == Qt::LeftButton;
    m_pressed = false;
    if (m_inDoubleClick) {
        // The release that ends a double-click is not another click.
        m_inDoubleClick = false;
        return;
    }
    if (wasPressed && rect().contains(event->position().toPoint()))
        Q_EMIT clicked();
}

void TargetIcon::mouseDoubleClickEvent(QMouseEvent* event)
{
    if (event->button() != Qt::LeftButton)
        return;
    m_inDoubleClick = true;
    m_pressed = false;
    Q_EMIT doubleClicked();
}

void TargetIcon::mouseMoveEvent(QMouseEvent* event)
{
    if (event->buttons() != Qt::LeftButton || !m_pressed)
        return;
    // A little slack, so that a shaky double-click is not taken for a drag.
    if ((event->position().toPoint() - m_pressPos).manhattanLength() <
        QApplication::startDragDistance())
        return;
    m_pressed = false;
    Q_EMIT dragRequested();
}

void TargetIcon::press()
{
    if (isEnabled())
        Q_EMIT doubleClicked();
}

void TargetIcon::keyPressEvent(QKeyEvent* event)
{
    if (!FocusFrame::pressOnActivationKey(*event, *this))
        QLabel::keyPressEvent(event);
}

void TargetIcon::paintEvent(QPaintEvent* event)
{
    QLabel::paintEvent(event);
    FocusFrame::paint(*this);
}
