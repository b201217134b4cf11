#pragma once

#include "platform/qt/ShortcutKey.h"

#include <QAbstractNativeEventFilter>
#include <QList>
#include <QObject>

struct xcb_connection_t;

/**
 * A key taken from the whole X display by a passive grab on the root windows, whatever state
 * Num Lock, Caps Lock and Scroll Lock are in. Taken again when the keyboard map changes, as it
 * does when the desktop sets the layout after the program has started.
 */
class X11KeyGrab : public QObject, public QAbstractNativeEventFilter
{
    Q_OBJECT
public:
    /** On the program's own X connection; none when the program does not run on X11. */
    explicit X11KeyGrab(QObject* parent = nullptr);
    ~X11KeyGrab() override;

    enum class Outcome
    {
        Taken,
        /** Another program holds the key already; nothing is held. */
        Held,
        /** The keyboard has no such key, or the program does not run on X11. */
        NoKey
    };

    Outcome grab(const ShortcutKey& key);
    void release();

    bool nativeEventFilter(const QByteArray& eventType, void* message, qintptr* result) override;

Q_SIGNALS:
    /** The key went down; a key held down and repeating counts once. */
    void pressed();
    /** Taking the key again after a change of the keyboard map failed; nothing is held. */
    void lost();

private:
    /** One grab's combinations: roots × key codes × (modifiers with each lock combination). */
    struct Grabbed
    {
        QList<quint32> roots;
        QList<quint8> keycodes;
        QList<quint16> lockCombinations;
        quint16 modifiers = 0;
    };

    void grabAgain();
    /** Lets go of `old`'s combinations, all but those the current grab holds. */
    void ungrab(const Grabbed& old);

    xcb_connection_t* m_connection = nullptr;
    /** The first event number of the keyboard extension, which reports changes of the map. */
    quint8 m_xkbEvent = 0;
    bool m_grabAgainPending = false;
    ShortcutKey m_key;
    QList<quint32> m_roots;
    QList<quint8> m_keycodes;
    QList<quint16> m_lockCombinations;
    quint16 m_modifiers = 0;
    quint16 m_lockMasks = 0;
    quint32 m_lastRelease = 0;
    bool m_down = false;
};
