#include "platform/qt/X11StartupId.h"

#include <QGuiApplication>
#include <QWindow>
#include <cstdlib>
#include <cstring>
#include <xcb/xcb.h>

namespace {

xcb_atom_t atom(xcb_connection_t* connection, const char* name)
{
    const xcb_intern_atom_cookie_t cookie =
        xcb_intern_atom(connection, 0, static_cast<uint16_t>(std::strlen(name)), name);
    xcb_intern_atom_reply_t* reply = xcb_intern_atom_reply(connection, cookie, nullptr);
    const xcb_atom_t result = reply ? reply->atom : xcb_atom_t(XCB_ATOM_NONE);
    std::free(reply);
    return result;
}

void sendToRoot(xcb_connection_t* connection, xcb_window_t root, xcb_client_message_event_t& event)
{
    event.response_type = XCB_CLIENT_MESSAGE;
    xcb_send_event(connection, 0, root,
                   XCB_EVENT_MASK_SUBSTRUCTURE_REDIRECT | XCB_EVENT_MASK_SUBSTRUCTURE_NOTIFY,
                   reinterpret_cast<const char*>(&event));
}

} // namespace

std::optional<quint32> X11StartupId::timestampOf(const QByteArray& id)
{
    const qsizetype at = id.lastIndexOf("_TIME");
    if (at < 0)
        return std::nullopt;
    bool ok = false;
    const quint32 time = id.mid(at + 5).toUInt(&ok);
    return ok ? std::optional<quint32>(time) : std::nullopt;
}

void X11StartupId::spend(QWindow* window)
{
    const QByteArray id = qgetenv("DESKTOP_STARTUP_ID");
    if (id.isEmpty())
        return;
    qunsetenv("DESKTOP_STARTUP_ID");
    const auto* x11 = qGuiApp->nativeInterface<QNativeInterface::QX11Application>();
    if (x11 == nullptr || window == nullptr)
        return;
    xcb_connection_t* connection = x11->connection();
    const xcb_window_t root = xcb_setup_roots_iterator(xcb_get_setup(connection)).data->root;
    const auto windowId = static_cast<xcb_window_t>(window->winId());

    if (const auto time = timestampOf(id)) {
        xcb_client_message_event_t event = {};
        event.format = 32;
        event.window = windowId;
        event.type = atom(connection, "_NET_ACTIVE_WINDOW");
        event.data.data32[0] = 1; // an application asks
        event.data.data32[1] = *time;
        sendToRoot(connection, root, event);
    }
    // "remove: ID=..." in pieces of 20 bytes, its closing NUL included.
    const QByteArray message = "remove: ID=\"" + id + "\"" + '\0';
    const xcb_atom_t begin = atom(connection, "_NET_STARTUP_INFO_BEGIN");
    const xcb_atom_t more = atom(connection, "_NET_STARTUP_INFO");
    for (qsizetype at = 0; at < message.size(); at += 20) {
        xcb_client_message_event_t event = {};
        event.format = 8;
        event.window = windowId;
        event.type = at == 0 ? begin : more;
        std::memcpy(event.data.data8, message.constData() + at,
                    static_cast<size_t>(qMin<qsizetype>(20, message.size() - at)));
        sendToRoot(connection, root, event);
    }
    xcb_flush(connection);
}
