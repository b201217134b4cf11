#pragma once

#include <QString>

/** Opens an address with the user's default handler. */
class UrlOpener
{
public:
    virtual ~UrlOpener() = default;
    /** 33 or more: handed to a handler; below 33: failure. */
    virtual int open(const QString& address) = 0;
};
