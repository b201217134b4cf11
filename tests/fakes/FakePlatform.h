#pragma once

#include "FakeClipboard.h"
#include "FakeClock.h"
#include "FakeMessageBox.h"
#include "FakePopupMenuHost.h"
#include "FakeProgramInfo.h"
#include "FakeSaveDialog.h"
#include "FakeSettingsStore.h"
#include "FakeSingleInstance.h"
#include "FakeTopmostPlacement.h"
#include "FakeTrayArea.h"
#include "FakeUrlOpener.h"
#include "PlatformServices.h"

/** Every platform service as a fake, handed out as PlatformServices. */
struct FakePlatform
{
    FakeSettingsStore settings;
    FakeProgramInfo program;
    FakeSingleInstance instance;
    FakeClock clock;
    FakeTrayArea tray;
    FakeTopmostPlacement topmost;
    FakeUrlOpener urls;
    FakeSaveDialog saveDialog;
    FakeMessageBox messages;
    FakeClipboard clipboard;
    FakePopupMenuHost menus;

    PlatformServices services()
    {
        return PlatformServices{settings, program, instance, clock, tray, topmost, urls, saveDialog, messages, clipboard, menus};
    }
};
