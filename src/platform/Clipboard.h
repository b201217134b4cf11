#pragma once

#include <QString>

/** The system clipboard, plain text only. */
class Clipboard
{
public:
    virtual ~Clipboard() = default;
    /** The clipboard's plain text; empty when it holds none. */
    virtual QString text() const = 0;
    virtual void clear() = 0;
    virtual void setText(const QString& text) = 0;
};
