#pragma once

class Clipboard;
class Clock;
class GlobalShortcut;
class MessageBox;
class PopupMenuHost;
class ProgramInfo;
class SaveDialog;
class SettingsStore;
class SingleInstance;
class TopmostPlacement;
class TrayArea;
class UrlOpener;

/** The services a window needs of the platform, handed in by whoever builds it. */
struct PlatformServices
{
    SettingsStore& settings;
    ProgramInfo& program;
    SingleInstance& instance;
    Clock& clock;
    TrayArea& tray;
    TopmostPlacement& topmost;
    UrlOpener& urls;
    SaveDialog& saveDialog;
    MessageBox& messages;
    Clipboard& clipboard;
    PopupMenuHost& menus;
    GlobalShortcut& shortcut;
};
