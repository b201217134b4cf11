#include "main_window/controls/EtchedRule.h"

#include <QPainter>

void EtchedRule::setGap(int pixels)
{
    m_gap = pixels;
    update();
}

void EtchedRule::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.setPen(QColor(128, 128, 128));
    painter.drawLine(0, 0, width() - 1, 0);
    painter.setPen(QColor(255, 255, 255));
    painter.drawLine(0, m_gap, width() - 1, m_gap);
}
