#pragma once

#include "platform/UrlOpener.h"

#include <QStringList>

/** Returns the result the test chooses and remembers the addresses. */
class FakeUrlOpener : public UrlOpener
{
public:
    int open(const QString& address) override
    {
        addresses.append(address);
        return result;
    }

    int result = 42;
    QStringList addresses;
};
