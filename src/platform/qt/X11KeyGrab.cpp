#include "platform/qt/X11KeyGrab.h"

#include "core/log/QuippetLog.h"
#include "platform/qt/ShortcutKey.h"

#include <QCoreApplication>
#include <QGuiApplication>
#include <cstdlib>
#include <memory>
#include <xcb/xcb.h>
#include <xcb/xcb_keysyms.h>

namespace {

constexpr quint32 KeysymNumLock = 0xff7f;
constexpr quint32 KeysymScrollLock = 0xff14;
constexpr quint16 LockMask = XCB_MOD_MASK_LOCK;
constexpr quint16 ModifierBits = 0xff;
// The keyboard extension's events carry their kind in the second byte.
constexpr quint8 XkbNewKeyboardNotify = 0;
constexpr quint8 XkbMapNotify = 1;

struct FreeDeleter
{
    void operator()(void* memory) const { std::free(memory); }
};
template <typename T> using XcbReply = std::unique_ptr<T, FreeDeleter>;

struct SymbolsDeleter
{
    void operator()(xcb_key_symbols_t* symbols) const { xcb_key_symbols_free(symbols); }
};

QList<quint8> keycodesOf(xcb_key_symbols_t* symbols, quint32 keysym)
{
    QList<quint8> codes;
    const XcbReply<xcb_keycode_t> found(xcb_key_symbols_get_keycode(symbols, keysym));
    for (const xcb_keycode_t* code = found.get(); code != nullptr && *code != XCB_NO_SYMBOL; ++code)
        codes.append(*code);
    return codes;
}

/** Caps Lock's bit, and those of Num Lock and Scroll Lock, which sit where the map puts them. */
QList<quint16> lockMasks(xcb_connection_t* connection, xcb_key_symbols_t* symbols)
{
    QList<quint16> masks{LockMask};
    const XcbReply<xcb_get_modifier_mapping_reply_t> mapping(
        xcb_get_modifier_mapping_reply(connection, xcb_get_modifier_mapping(connection), nullptr));
    if (!mapping)
        return masks;
    const xcb_keycode_t* modifierCodes = xcb_get_modifier_mapping_keycodes(mapping.get());
    const int perModifier = mapping->keycodes_per_modifier;
    for (const quint32 keysym : {KeysymNumLock, KeysymScrollLock}) {
        const QList<quint8> codes = keycodesOf(symbols, keysym);
        quint16 mask = 0;
        for (int modifier = 0; modifier < 8; ++modifier) {
            for (int i = 0; i < perModifier; ++i) {
                if (codes.contains(modifierCodes[modifier * perModifier + i]))
                    mask |= static_cast<quint16>(1U << modifier);
            }
        }
        masks.append(mask);
    }
    return masks;
}

} // namespace

X11KeyGrab::X11KeyGrab(QObject* parent) : QObject(parent)
{
    auto* x11 = qGuiApp->nativeInterface<QNativeInterface::QX11Application>();
    if (x11 == nullptr)
        return;
    m_connection = x11->connection();
    const char name[] = "XKEYBOARD";
    const XcbReply<xcb_query_extension_reply_t> xkb(xcb_query_extension_reply(
        m_connection, xcb_query_extension(m_connection, sizeof name - 1, name), nullptr));
    if (xkb && xkb->present != 0)
        m_xkbEvent = xkb->first_event;
}

X11KeyGrab::~X11KeyGrab()
{
    release();
}

X11KeyGrab::Outcome X11KeyGrab::grab(const ShortcutKey& key)
{
    release();
    m_key = key;
    if (m_connection == nullptr)
        return Outcome::NoKey;
    const std::unique_ptr<xcb_key_symbols_t, SymbolsDeleter> symbols(
        xcb_key_symbols_alloc(m_connection));
    m_keycodes = keycodesOf(symbols.get(), key.keysym);
    if (m_keycodes.isEmpty())
        return Outcome::NoKey;
    m_modifiers = key.modifiers;
    const QList<quint16> locks = lockMasks(m_connection, symbols.get());
    m_lockCombinations = {0};
    m_lockMasks = 0;
    for (const quint16 lock : locks) {
        if (lock == 0 || (m_lockMasks & lock) != 0)
            continue;
        m_lockMasks |= lock;
        for (qsizetype i = 0, n = m_lockCombinations.size(); i < n; ++i)
            m_lockCombinations.append(m_lockCombinations.at(i) | lock);
    }
    for (xcb_screen_iterator_t it = xcb_setup_roots_iterator(xcb_get_setup(m_connection));
         it.rem != 0; xcb_screen_next(&it))
        m_roots.append(it.data->root);

    QList<xcb_void_cookie_t> cookies;
    for (const quint32 root : std::as_const(m_roots)) {
        for (const quint8 code : std::as_const(m_keycodes)) {
            for (const quint16 locksOn : std::as_const(m_lockCombinations))
                cookies.append(xcb_grab_key_checked(m_connection, 0, root, m_modifiers | locksOn,
                                                    code, XCB_GRAB_MODE_ASYNC,
                                                    XCB_GRAB_MODE_ASYNC));
        }
    }
    bool held = false;
    for (const xcb_void_cookie_t cookie : std::as_const(cookies)) {
        if (const XcbReply<xcb_generic_error_t> error{xcb_request_check(m_connection, cookie)})
            held = true;
    }
    if (held) {
        release();
        return Outcome::Held;
    }
    QCoreApplication::instance()->installNativeEventFilter(this);
    return Outcome::Taken;
}

void X11KeyGrab::grabAgain()
{
    m_grabAgainPending = false;
    if (m_roots.isEmpty())
        return;
    // The old grab goes only once the new one holds: a switch to another keyboard is reported
    // while that keyboard's keys are still coming, and a press in between would be lost.
    const Grabbed old{m_roots, m_keycodes, m_lockCombinations, m_modifiers};
    m_roots.clear(); // so that grab() does not let the old grab go first
    const bool taken = grab(ShortcutKey(m_key)) == Outcome::Taken;
    ungrab(old);
    if (taken) {
        qCDebug(lcShortcut) << "The key is grabbed again after a change of the keyboard map";
        return;
    }
    QCoreApplication::instance()->removeNativeEventFilter(this);
    Q_EMIT lost();
}

void X11KeyGrab::ungrab(const Grabbed& old)
{
    for (const quint32 root : old.roots) {
        for (const quint8 code : old.keycodes) {
            for (const quint16 locksOn : old.lockCombinations) {
                // Grabbed anew, the same combination is the new grab now.
                const quint16 modifiers = old.modifiers | locksOn;
                if (m_roots.contains(root) && m_keycodes.contains(code) &&
                    m_lockCombinations.contains(quint16(modifiers & ~m_modifiers)) &&
                    (modifiers & m_modifiers) == m_modifiers)
                    continue;
                xcb_ungrab_key(m_connection, code, root, modifiers);
            }
        }
    }
    xcb_flush(m_connection);
}

void X11KeyGrab::release()
{
    if (m_connection == nullptr || m_roots.isEmpty())
        return;
    QCoreApplication::instance()->removeNativeEventFilter(this);
    const Grabbed held{m_roots, m_keycodes, m_lockCombinations, m_modifiers};
    m_roots.clear();
    m_keycodes.clear();
    ungrab(held);
}

bool X11KeyGrab::nativeEventFilter(const QByteArray& eventType, void* message, qintptr* /*result*/)
{
    if (eventType != "xcb_generic_event_t")
        return false;
    const auto* event = static_cast<const xcb_generic_event_t*>(message);
    const quint8 type = event->response_type & 0x7f;
    if (type == m_xkbEvent && m_xkbEvent != 0 && !m_roots.isEmpty() &&
        (event->pad0 == XkbNewKeyboardNotify || event->pad0 == XkbMapNotify) &&
        !m_grabAgainPending) {
        // One change of layout comes as several reports; the key is taken again once for all.
        m_grabAgainPending = true;
        QMetaObject::invokeMethod(this, &X11KeyGrab::grabAgain, Qt::QueuedConnection);
        return false;
    }
    if (type != XCB_KEY_PRESS && type != XCB_KEY_RELEASE)
        return false;
    const auto* keyEvent = reinterpret_cast<const xcb_key_press_event_t*>(event);
    if (!m_roots.contains(keyEvent->event) || !m_keycodes.contains(keyEvent->detail))
        return false;
    // The modifiers may be let go first; the key's own release ends the press all the same.
    if (type == XCB_KEY_RELEASE) {
        m_down = false;
        m_lastRelease = keyEvent->time;
    } else if ((keyEvent->state & ModifierBits & ~m_lockMasks) != m_modifiers) {
        return false;
    } else if (!m_down && keyEvent->time != m_lastRelease) {
        // A held key repeats as further presses, or as release and press at the same moment.
        m_down = true;
        // Queued: the answer activates windows, which is no work for inside the event filter.
        QMetaObject::invokeMethod(this, &X11KeyGrab::pressed, Qt::QueuedConnection);
    } else {
        m_down = true;
    }
    // Not consumed: Qt takes the key's time as the user's last action, which lets the window
    // that answers take the focus.
    return false;
}
