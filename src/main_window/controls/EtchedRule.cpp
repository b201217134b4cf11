#include "main_window/controls/EtchedRule.h"

#include <QPainter>

void EtchedRule::setGap(int pixels)
{
    m_gap = pixels;
    update();
}

void EtchedRule::paintEvent(QPaintEvent*)
{
    // Filled rather than stroked: on a scaled screen a stroked line stops short of the right edge.
    QPainter painter(this);
    painter.fillRect(0, 0, width(), 1, QColor(128, 128, 128));
    painter.fillRect(0, m_gap, width(), 1, QColor(255, 255, 255));
}
