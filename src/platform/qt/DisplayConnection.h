#pragma once

#include <QString>
#include <functional>

/**
 * Whether a window system can be reached, checked before QApplication is built: without one
 * Qt aborts with a core dump and a page about platform plugins.
 */
class DisplayConnection
{
public:
    /** The environment variables that decide where Qt connects. */
    struct Environment
    {
        QString platform;       ///< QT_QPA_PLATFORM
        QString x11Display;     ///< DISPLAY
        QString waylandDisplay; ///< WAYLAND_DISPLAY
        QString runtimeDir;     ///< XDG_RUNTIME_DIR
    };

    /** Connection attempts; the tests pass their own. */
    struct Probes
    {
        std::function<bool(const QString& display)> x11;
        std::function<bool(const QString& socketPath)> wayland;
    };

    struct Decision
    {
        bool reachable = false;
        /** A platform to put into QT_QPA_PLATFORM before starting; empty leaves Qt's choice. */
        QString platform;
    };

    static Decision decide(const Environment& environment, const Probes& probes);

    /** The Wayland socket a client connects to: WAYLAND_DISPLAY, relative to XDG_RUNTIME_DIR. */
    static QString waylandSocketPath(const Environment& environment);

    static Environment fromProcess();
    /** The real attempts: an X connection through xcb, a Wayland socket connection. */
    static Probes systemProbes();

    /**
     * Checks this process's environment, with Qt's -platform and -display options where given,
     * and sets QT_QPA_PLATFORM when only Wayland is there. False when no display can be reached.
     */
    static bool prepare(const QString& platformOption = QString(),
                        const QString& displayOption = QString());

    /** The one line printed when no display can be reached, without a newline. */
    static QString unreachableMessage(const QString& programName);
};
