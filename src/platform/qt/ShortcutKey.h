#pragma once

#include <QString>
#include <Qt>
#include <optional>

/** One key with its modifiers, as the window systems name it: an X keysym and its name. */
struct ShortcutKey
{
    /** X11's modifier bits, which the grab sends as they are. */
    static constexpr quint16 ShiftMask = 1;
    static constexpr quint16 ControlMask = 4;
    static constexpr quint16 AltMask = 8;
    static constexpr quint16 SuperMask = 64;

    quint32 keysym = 0;
    /** The keysym's name without its prefix ("q", "F12", "Page_Up"). */
    QString keyName;
    /** ShiftMask, ControlMask, AltMask and SuperMask combined. */
    quint16 modifiers = 0;

    /**
     * The key of a key sequence in Qt's portable text ("Ctrl+Alt+Q"). None for a text that is
     * not one key with modifiers, and for a key that has no keysym here.
     */
    static std::optional<ShortcutKey> fromPortableText(const QString& text);
    /** As the shortcut portal takes a preferred trigger: "CTRL+ALT+q". */
    QString portalTrigger() const;
};
