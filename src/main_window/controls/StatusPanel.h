#pragma once

#include "main_window/controls/Pressable.h"

#include <QLabel>

/**
 * One panel of the status bar. It joins the tab order (never takes the focus from a click) and
 * reports Space, Enter and its accessible press action as `pressed`; mouse clicks are left to
 * the status bar, which tells the panels apart by position.
 */
class StatusPanel : public QLabel, public Pressable
{
    Q_OBJECT
public:
    explicit StatusPanel(QWidget* parent = nullptr);

    void press() override;

Q_SIGNALS:
    void pressed();

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
};
