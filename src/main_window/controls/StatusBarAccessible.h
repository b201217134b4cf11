#pragma once

#include <QAccessibleWidget>

class PanelStatusBar;

/**
 * The status bar as assistive technology sees it: a status bar whose name is the current
 * message, so every new message reaches a screen reader as a name change it can speak.
 */
class StatusBarAccessible : public QAccessibleWidget
{
public:
    explicit StatusBarAccessible(PanelStatusBar* bar);

    QString text(QAccessible::Text t) const override;
};
