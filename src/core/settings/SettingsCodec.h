#pragma once

#include <QString>

/** Keys, defaults and text forms of the settings (section "Startup"). */
class SettingsCodec
{
public:
    static inline const QString Section = QStringLiteral("Startup");
    static inline const QString Height = QStringLiteral("Height");
    static inline const QString Top = QStringLiteral("Top");
    static inline const QString Taskbar = QStringLiteral("Taskbar");
    static inline const QString LastFile = QStringLiteral("LastFile");
    static inline const QString Filename = QStringLiteral("Filename");
    /** The global shortcut as Qt writes key sequences; empty turns it off. */
    static inline const QString Hotkey = QStringLiteral("Hotkey");

    static constexpr int DefaultHeight = 2600;
    static inline const QString DefaultFilename = QStringLiteral("Untitled");
    /** Free in the default shortcuts of GNOME, KDE Plasma and Xfce; Q for Quippet. */
    static inline const QString DefaultHotkey = QStringLiteral("Ctrl+Alt+Q");

    /** Single-precision height in twips; text that is not a finite positive number gives 2600. */
    static float heightFromText(const QString& text);
    /** Decimal digits with a leading minus for negatives, no blanks. */
    static QString textFromHeight(int twips);
    /** "True"/"False" in any case, or an integer (0 false, else true); anything else false. */
    static bool boolFromText(const QString& text);
    /** "True" or "False". */
    static QString textFromBool(bool value);
};
