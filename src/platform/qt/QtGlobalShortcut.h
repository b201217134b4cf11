#pragma once

#include "platform/GlobalShortcut.h"

#include <memory>

class PortalGlobalShortcut;
class X11KeyGrab;

/**
 * The global shortcut: a grab of the key on X11, the desktop's shortcut portal elsewhere.
 * What the desktop cannot give is said once in the log.
 */
class QtGlobalShortcut : public GlobalShortcut
{
    Q_OBJECT
public:
    explicit QtGlobalShortcut(QObject* parent = nullptr);
    ~QtGlobalShortcut() override;

    void setKey(const QString& portableText) override;

private:
    std::unique_ptr<X11KeyGrab> m_grab;
    std::unique_ptr<PortalGlobalShortcut> m_portal;
};
