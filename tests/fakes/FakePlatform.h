#pragma once

#include "fakes/FakeClipboard.h"
#include "fakes/FakeClock.h"
#include "fakes/FakeGlobalShortcut.h"
#include "fakes/FakeMessageBox.h"
#include "fakes/FakePopupMenuHost.h"
#include "fakes/FakeProgramInfo.h"
#include "fakes/FakeSaveDialog.h"
#include "fakes/FakeSettingsStore.h"
#include "fakes/FakeSingleInstance.h"
#include "fakes/FakeTopmostPlacement.h"
#include "fakes/FakeTrayArea.h"
#include "fakes/FakeUrlOpener.h"
#include "platform/PlatformServices.h"

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
    FakeGlobalShortcut shortcut;

    PlatformServices services()
    {
        return PlatformServices{settings, program, instance, clock, tray, topmost, urls, saveDialog, messages, clipboard, menus, shortcut};
    }
};
