#pragma once

#include "platform/PlatformServices.h"
#include "platform/qt/DesktopUrlOpener.h"
#include "platform/qt/LocalSocketInstance.h"
#include "platform/qt/QtClipboard.h"
#include "platform/qt/QtClock.h"
#include "platform/qt/QtGlobalShortcut.h"
#include "platform/qt/QtMessageBox.h"
#include "platform/qt/QtPopupMenuHost.h"
#include "platform/qt/QtProgramInfo.h"
#include "platform/qt/QtSaveDialog.h"
#include "platform/qt/QtSettingsStore.h"
#include "platform/qt/QtTopmostPlacement.h"
#include "platform/qt/QtTrayArea.h"

/** The real platform: one Qt implementation of every service, for the program's windows. */
class QtPlatform
{
public:
    QtPlatform() = default;
    QtPlatform(const QtPlatform&) = delete;
    QtPlatform& operator=(const QtPlatform&) = delete;

    /** References to the services; valid as long as this object lives. */
    PlatformServices services();

private:
    QtSettingsStore m_settings;
    QtProgramInfo m_program;
    LocalSocketInstance m_instance;
    QtClock m_clock;
    QtTrayArea m_tray;
    QtTopmostPlacement m_topmost;
    DesktopUrlOpener m_urls;
    QtSaveDialog m_saveDialog;
    QtMessageBox m_messages;
    QtClipboard m_clipboard;
    QtPopupMenuHost m_menus;
    QtGlobalShortcut m_shortcut;
};
