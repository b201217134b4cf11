#pragma once

#include "platform/GlobalShortcut.h"

/** Keeps the key it was given; `press` acts as the desktop reporting the key. */
class FakeGlobalShortcut : public GlobalShortcut
{
    Q_OBJECT
public:
    void setKey(const QString& portableText) override { key = portableText; }
    void press() { Q_EMIT activated(); }

    /** Null until a key is set. */
    QString key;
};
