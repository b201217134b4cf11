#include "platform/qt/ShortcutKey.h"

#include <QKeySequence>
#include <QStringList>
#include <array>

namespace {

struct NamedKey
{
    int key;
    quint32 keysym;
    const char* name;
};

// Keys outside the letters, digits and function keys that a shortcut may reasonably use.
constexpr std::array NamedKeys{
    NamedKey{Qt::Key_Space, 0x20, "space"},
    NamedKey{Qt::Key_Escape, 0xff1b, "Escape"},
    NamedKey{Qt::Key_Tab, 0xff09, "Tab"},
    NamedKey{Qt::Key_Backspace, 0xff08, "BackSpace"},
    NamedKey{Qt::Key_Return, 0xff0d, "Return"},
    NamedKey{Qt::Key_Enter, 0xff8d, "KP_Enter"},
    NamedKey{Qt::Key_Insert, 0xff63, "Insert"},
    NamedKey{Qt::Key_Delete, 0xffff, "Delete"},
    NamedKey{Qt::Key_Pause, 0xff13, "Pause"},
    NamedKey{Qt::Key_Print, 0xff61, "Print"},
    NamedKey{Qt::Key_Home, 0xff50, "Home"},
    NamedKey{Qt::Key_End, 0xff57, "End"},
    NamedKey{Qt::Key_Left, 0xff51, "Left"},
    NamedKey{Qt::Key_Up, 0xff52, "Up"},
    NamedKey{Qt::Key_Right, 0xff53, "Right"},
    NamedKey{Qt::Key_Down, 0xff54, "Down"},
    NamedKey{Qt::Key_PageUp, 0xff55, "Page_Up"},
    NamedKey{Qt::Key_PageDown, 0xff56, "Page_Down"},
    NamedKey{Qt::Key_Minus, 0x2d, "minus"},
    NamedKey{Qt::Key_Equal, 0x3d, "equal"},
    NamedKey{Qt::Key_BracketLeft, 0x5b, "bracketleft"},
    NamedKey{Qt::Key_BracketRight, 0x5d, "bracketright"},
    NamedKey{Qt::Key_Semicolon, 0x3b, "semicolon"},
    NamedKey{Qt::Key_Apostrophe, 0x27, "apostrophe"},
    NamedKey{Qt::Key_QuoteLeft, 0x60, "grave"},
    NamedKey{Qt::Key_Comma, 0x2c, "comma"},
    NamedKey{Qt::Key_Period, 0x2e, "period"},
    NamedKey{Qt::Key_Slash, 0x2f, "slash"},
    NamedKey{Qt::Key_Backslash, 0x5c, "backslash"},
};

constexpr quint32 KeysymF1 = 0xffbe;

} // namespace

std::optional<ShortcutKey> ShortcutKey::fromPortableText(const QString& text)
{
    const QKeySequence sequence = QKeySequence::fromString(text, QKeySequence::PortableText);
    if (sequence.count() != 1)
        return std::nullopt;
    const QKeyCombination combination = sequence[0];
    const int key = combination.key();
    ShortcutKey result;
    if (key >= Qt::Key_A && key <= Qt::Key_Z) {
        // Letters are grabbed by their unshifted symbol, as the keyboard sends them.
        result.keysym = static_cast<quint32>('a' + (key - Qt::Key_A));
        result.keyName = QChar(result.keysym);
    } else if (key >= Qt::Key_0 && key <= Qt::Key_9) {
        result.keysym = static_cast<quint32>(key);
        result.keyName = QChar(result.keysym);
    } else if (key >= Qt::Key_F1 && key <= Qt::Key_F35) {
        result.keysym = KeysymF1 + static_cast<quint32>(key - Qt::Key_F1);
        result.keyName = QStringLiteral("F%1").arg(key - Qt::Key_F1 + 1);
    } else {
        for (const NamedKey& named : NamedKeys) {
            if (named.key == key) {
                result.keysym = named.keysym;
                result.keyName = QLatin1String(named.name);
            }
        }
    }
    if (result.keysym == 0)
        return std::nullopt;
    const Qt::KeyboardModifiers modifiers = combination.keyboardModifiers();
    if (modifiers.testFlag(Qt::ShiftModifier))
        result.modifiers |= ShiftMask;
    if (modifiers.testFlag(Qt::ControlModifier))
        result.modifiers |= ControlMask;
    if (modifiers.testFlag(Qt::AltModifier))
        result.modifiers |= AltMask;
    if (modifiers.testFlag(Qt::MetaModifier))
        result.modifiers |= SuperMask;
    return result;
}

QString ShortcutKey::portalTrigger() const
{
    QStringList parts;
    if ((modifiers & ControlMask) != 0)
        parts << QStringLiteral("CTRL");
    if ((modifiers & AltMask) != 0)
        parts << QStringLiteral("ALT");
    if ((modifiers & ShiftMask) != 0)
        parts << QStringLiteral("SHIFT");
    if ((modifiers & SuperMask) != 0)
        parts << QStringLiteral("LOGO");
    parts << keyName;
    return parts.join(QLatin1Char('+'));
}
