#include "platform/qt/DisplayConnection.h"

#include <QDir>
#include <QFile>
#include <QStringList>
#include <cstring>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>
#include <xcb/xcb.h>

namespace {

bool isWayland(const QString& platform)
{
    return platform.startsWith(u"wayland");
}

bool connectX11(const QString& display)
{
    const QByteArray name = display.toLocal8Bit();
    xcb_connection_t* connection = xcb_connect(name.constData(), nullptr);
    const bool connected = xcb_connection_has_error(connection) == 0;
    xcb_disconnect(connection);
    return connected;
}

bool connectWayland(const QString& socketPath)
{
    const QByteArray path = QFile::encodeName(socketPath);
    sockaddr_un address{};
    if (path.isEmpty() || static_cast<size_t>(path.size()) >= sizeof(address.sun_path))
        return false;
    address.sun_family = AF_UNIX;
    std::memcpy(address.sun_path, path.constData(), static_cast<size_t>(path.size()));
    const int fd = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
    if (fd < 0)
        return false;
    const bool connected =
        ::connect(fd, reinterpret_cast<const sockaddr*>(&address), sizeof(address)) == 0;
    ::close(fd);
    return connected;
}

} // namespace

DisplayConnection::Decision DisplayConnection::decide(const Environment& environment,
                                                      const Probes& probes)
{
    const auto x11 = [&] {
        return !environment.x11Display.isEmpty() && probes.x11(environment.x11Display);
    };
    const auto wayland = [&] {
        const QString socket = waylandSocketPath(environment);
        return !socket.isEmpty() && probes.wayland(socket);
    };

    if (environment.platform.isEmpty()) {
        if (x11())
            return {true, QString()};
        // Qt would try X and abort; a Wayland-only desktop is reached natively instead.
        if (wayland())
            return {true, QStringLiteral("wayland")};
        return {false, QString()};
    }
    // A list such as "wayland;xcb" is tried in order; arguments follow a colon.
    for (const QString& entry : environment.platform.split(u';', Qt::SkipEmptyParts)) {
        const QString name = entry.section(u':', 0, 0).trimmed();
        if (name == u"xcb") {
            if (x11())
                return {true, QString()};
        } else if (isWayland(name)) {
            if (wayland())
                return {true, QString()};
        } else {
            // offscreen, vnc, eglfs and the like need no display server to be checked.
            return {true, QString()};
        }
    }
    return {false, QString()};
}

QString DisplayConnection::waylandSocketPath(const Environment& environment)
{
    if (environment.waylandDisplay.isEmpty())
        return QString();
    if (QDir::isAbsolutePath(environment.waylandDisplay))
        return environment.waylandDisplay;
    if (environment.runtimeDir.isEmpty())
        return QString();
    return QDir(environment.runtimeDir).filePath(environment.waylandDisplay);
}

DisplayConnection::Environment DisplayConnection::fromProcess()
{
    return {qEnvironmentVariable("QT_QPA_PLATFORM"), qEnvironmentVariable("DISPLAY"),
            qEnvironmentVariable("WAYLAND_DISPLAY"), qEnvironmentVariable("XDG_RUNTIME_DIR")};
}

DisplayConnection::Probes DisplayConnection::systemProbes()
{
    return {connectX11, connectWayland};
}

bool DisplayConnection::prepare(const QString& platformOption, const QString& displayOption)
{
    Environment environment = fromProcess();
    // Qt gives its options precedence over the environment.
    if (!platformOption.isEmpty())
        environment.platform = platformOption;
    if (!displayOption.isEmpty())
        environment.x11Display = displayOption;
    const Decision decision = decide(environment, systemProbes());
    if (decision.reachable && !decision.platform.isEmpty())
        qputenv("QT_QPA_PLATFORM", decision.platform.toLocal8Bit());
    return decision.reachable;
}

QString DisplayConnection::unreachableMessage(const QString& programName)
{
    return QStringLiteral("%1: cannot reach a display: no X server at DISPLAY and no Wayland "
                          "compositor at WAYLAND_DISPLAY")
        .arg(programName);
}
