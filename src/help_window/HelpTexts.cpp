#include "help_window/HelpTexts.h"

// The texts are shown exactly as written here, slips included; users have seen them this way.

QStringList HelpTexts::LoadTopics()
{
    return {
        QStringLiteral("place text where I want it to go?"),
        QStringLiteral("store text in Quippet?"),
        QStringLiteral("remove text from Quippet?"),
        QStringLiteral("copy text to clipboard?"),
        QStringLiteral("write text to file?"),
        QStringLiteral("shrink Quippet?"),
        QStringLiteral("copy current time to Quippet?"),
        QStringLiteral("make Quippet stay on top?"),
        QStringLiteral("send Quippet to Taskbar?"),
        QStringLiteral("use Quippet without drag and drop?"),
    };
}

QStringList HelpTexts::LoadAnswers()
{
    return {
        QStringLiteral("Simply choose the text you want from the dropdown box and drag it to it's "
                       "destination."),
        QStringLiteral(
            "There are several ways. First, you can type the text into the text box, highlight "
            "it, and drag it to the Add icon. To quickly highlight the text, click any of the "
            "icons. Second, you can drag text from another source directly to the Add icon. "
            "Finally, you can copy text from the clipboard by dragging it from the Copy icon to "
            "the Add icon."),
        QStringLiteral("Simply select the text you want to remove in the dropdown box and drag it "
                       "to the Remove icon."),
        QStringLiteral(
            "Select the text from the dropdown box and drag it to the Clipboard icon. You can "
            "also drag text from another source to the Clipboard icon as well. To copy text from "
            "the clipboard, click the Clipboard icon and drag it to the Add icon or to another "
            "location."),
        QStringLiteral(
            "Choose the text from the dropdown box and drag it the the Write icon. This will "
            "bring up a pop-up menu asking whether you want to add to an existing file or create "
            "a new one. A dialog will then open asking you for the name and location of the text "
            "file to create or add to."),
        QStringLiteral(
            "Just click on the left panel of the status bar, down at the bottom of Quippet. To "
            "restore, do the same. If you drag text onto Quippet while in it's shrunken state, it "
            "will automatically restore."),
        QStringLiteral("Simply click the panel containing the time, and it will appear in the "
                       "Quippet text box. Quippet automatically enters the current date into the "
                       "dropdown box."),
        QStringLiteral("Click the Program menu item and select Stay On top. A check will appear, "
                       "and Quippet will now remain on top of all other windows."),
        QStringLiteral(
            "Check the Show In Taskbar item in the Program menu. Now, when Quippet is launched or "
            "minimized, it will appear in the Taskbar. To restore Quippet, double-click the "
            "Taskbar icon or right-click for a menu."),
        QStringLiteral("Instead of dragging and dropping, you can select or type the text and "
                       "double-click the proper icon to perform that action."),
    };
}
