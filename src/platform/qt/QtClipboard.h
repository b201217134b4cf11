#pragma once

#include "platform/Clipboard.h"

/** The system clipboard's plain text. */
class QtClipboard : public Clipboard
{
public:
    QString text() const override;
    void clear() override;
    void setText(const QString& text) override;
};
