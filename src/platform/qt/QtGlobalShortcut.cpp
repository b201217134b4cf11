#include "platform/qt/QtGlobalShortcut.h"

#include "core/log/QuippetLog.h"
#include "platform/qt/PortalGlobalShortcut.h"
#include "platform/qt/ShortcutKey.h"
#include "platform/qt/X11KeyGrab.h"

#include <QGuiApplication>

QtGlobalShortcut::QtGlobalShortcut(QObject* parent) : GlobalShortcut(parent) {}

QtGlobalShortcut::~QtGlobalShortcut() = default;

void QtGlobalShortcut::setKey(const QString& portableText)
{
    m_grab.reset();
    m_portal.reset();
    if (portableText.trimmed().isEmpty())
        return;
    const std::optional<ShortcutKey> key = ShortcutKey::fromPortableText(portableText);
    if (!key) {
        qCWarning(lcShortcut).noquote()
            << "Hotkey" << portableText << "is not one key with modifiers; no global shortcut.";
        return;
    }

    if (QGuiApplication::platformName() == QLatin1String("xcb")) {
        m_grab = std::make_unique<X11KeyGrab>();
        switch (m_grab->grab(*key)) {
        case X11KeyGrab::Outcome::Taken:
            connect(m_grab.get(), &X11KeyGrab::pressed, this, &GlobalShortcut::activated);
            connect(m_grab.get(), &X11KeyGrab::lost, this, [portableText] {
                qCWarning(lcShortcut).noquote() << portableText
                                                << "could not be taken again after the keyboard "
                                                   "layout changed; no global shortcut.";
            });
            return;
        case X11KeyGrab::Outcome::Held:
            qCWarning(lcShortcut).noquote()
                << portableText << "is taken by another program; no global shortcut. Choose another"
                << "key under Hotkey in the settings file.";
            break;
        case X11KeyGrab::Outcome::NoKey:
            qCWarning(lcShortcut).noquote()
                << "This keyboard has no key for" << portableText << "; no global shortcut.";
            break;
        }
        m_grab.reset();
        return;
    }

    m_portal = std::make_unique<PortalGlobalShortcut>();
    connect(m_portal.get(), &PortalGlobalShortcut::activated, this, &GlobalShortcut::activated);
    connect(m_portal.get(), &PortalGlobalShortcut::unavailable, this, [](const QString& reason) {
        qCInfo(lcShortcut).noquote()
            << QStringLiteral("The desktop gives no global shortcut (%1); bind the command "
                              "\"quippet --toggle\" to a key in its keyboard settings.")
                   .arg(reason);
    });
    m_portal->bind(QGuiApplication::desktopFileName(), key->portalTrigger(),
                   QStringLiteral("Show or hide the Quippet window"));
}
