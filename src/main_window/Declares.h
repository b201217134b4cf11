#pragma once

#include "core/compat/TrayIconRecord.h"

/** State shared between the main window's procedures: the height to store and the icon record. */
struct Declares
{
    /** The window height in twips that shut-down stores as "Height". */
    int SavedHeight = 0;
    /** The notification-area icon record, filled once at start-up. */
    TrayIconRecord TrayIcon;
};
