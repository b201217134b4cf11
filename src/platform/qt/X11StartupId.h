#pragma once

#include <QByteArray>
#include <optional>

class QWindow;

/**
 * The X11 startup id (DESKTOP_STARTUP_ID) that a later start hands to the running instance.
 * Qt reads the variable only when it starts, so the running instance spends it itself: an
 * activation request carrying the launch's time, which the window manager's focus-stealing
 * prevention accepts, and the message that ends the launch feedback.
 */
class X11StartupId
{
public:
    /** The X server time in an id such as "launcher-123-host-cmd_TIME456789"; none without. */
    static std::optional<quint32> timestampOf(const QByteArray& id);

    /**
     * When DESKTOP_STARTUP_ID is set and `window` is on X11: asks the window manager to
     * activate `window` at the id's time, ends the launch feedback and unsets the variable.
     */
    static void spend(QWindow* window);
};
