#pragma once

#include "platform/MessageBox.h"

/** Message boxes as QMessageBox. */
class QtMessageBox : public MessageBox
{
public:
    void show(QWidget* parent, const QString& prompt, int style, const QString& title) override;
    bool askRetry(QWidget* parent, const QString& prompt, const QString& title) override;
};
