#pragma once

#include <QWidget>

/** Two horizontal lines, dark gray above white, that read as an etched rule. */
class EtchedRule : public QWidget
{
    Q_OBJECT
public:
    using QWidget::QWidget;

    /** Pixel offset of the white line below the dark one. */
    void setGap(int pixels);

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    int m_gap = 1;
};
