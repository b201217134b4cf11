#include "main_window/controls/StatusPanel.h"

#include "main_window/controls/FocusFrame.h"

#include <QKeyEvent>
#include <QMouseEvent>

StatusPanel::StatusPanel(QWidget* parent) : QLabel(parent)
{
    setFocusPolicy(Qt::TabFocus);
}

void StatusPanel::press()
{
    if (isEnabled())
        Q_EMIT pressed();
}

void StatusPanel::keyPressEvent(QKeyEvent* event)
{
    if (!FocusFrame::pressOnActivationKey(*event, *this))
        QLabel::keyPressEvent(event);
}

void StatusPanel::paintEvent(QPaintEvent* event)
{
    QLabel::paintEvent(event);
    FocusFrame::paint(*this);
}

void StatusPanel::mousePressEvent(QMouseEvent* event)
{
    event->ignore();
}

void StatusPanel::mouseReleaseEvent(QMouseEvent* event)
{
    // A label showing text would take the release for itself; the bar must see it.
    event->ignore();
}
