#pragma once

#include "DesktopUrlOpener.h"
#include "LocalSocketInstance.h"
#include "PlatformServices.h"
#include "QtClipboard.h"
#include "QtClock.h"
#include "QtMessageBox.h"
#include "QtPopupMenuHost.h"
#include "QtProgramInfo.h"
#include "QtSaveDialog.h"
#include "QtSettingsStore.h"
#include "QtTopmostPlacement.h"
#include "QtTrayArea.h"

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
};
