#pragma once

#include "platform/UrlOpener.h"

/** Opens addresses through the desktop's registered handlers. */
class DesktopUrlOpener : public UrlOpener
{
public:
    /** Handed over: at least 33; not handed over: 0. */
    static constexpr int Opened = 42;
    static constexpr int Failed = 0;

    int open(const QString& address) override;
};
