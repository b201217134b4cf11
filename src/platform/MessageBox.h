#pragma once

#include <QString>

class QWidget;

/** Modal message boxes. */
class MessageBox
{
public:
    /** Warning icon with one OK button. */
    static constexpr int Exclamation = 48;

    virtual ~MessageBox() = default;
    /** Shows `prompt` with `style` and `title`; returns when dismissed. */
    virtual void show(QWidget* parent, const QString& prompt, int style, const QString& title) = 0;
    /** Warning with Retry and Discard; true for Retry. */
    virtual bool askRetry(QWidget* parent, const QString& prompt, const QString& title) = 0;
};
