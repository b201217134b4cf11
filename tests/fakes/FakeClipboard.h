#pragma once

#include "platform/Clipboard.h"

#include <QStringList>

/** A clipboard in memory; logs "clear" and "set <text>". */
class FakeClipboard : public Clipboard
{
public:
    QString text() const override { return content; }
    void clear() override
    {
        content.clear();
        log.append(QStringLiteral("clear"));
    }
    void setText(const QString& text) override
    {
        content = text;
        log.append(QStringLiteral("set ") + text);
    }

    QString content;
    QStringList log;
};
