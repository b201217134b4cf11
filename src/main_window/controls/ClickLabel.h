#pragma once

#include <QLabel>

/** A caption under a target icon that reports a click; it accepts no drops. */
class ClickLabel : public QLabel
{
    Q_OBJECT
public:
    using QLabel::QLabel;

Q_SIGNALS:
    void clicked();

protected:
    void mouseReleaseEvent(QMouseEvent* event) override;
};
