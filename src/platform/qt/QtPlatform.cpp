#include "platform/qt/QtPlatform.h"

PlatformServices QtPlatform::services()
{
    return PlatformServices{m_settings, m_program,    m_instance, m_clock,     m_tray,  m_topmost,
                            m_urls,     m_saveDialog, m_messages, m_clipboard, m_menus, m_shortcut};
}
