#pragma once

#include <QLoggingCategory>

// Failures that would otherwise pass unseen go to standard error, where the desktop's journal
// keeps them; QT_LOGGING_RULES="quippet.*=false" silences them.

/** The store file: loading, saving, backing up and first-run creation. */
Q_DECLARE_LOGGING_CATEGORY(lcStore)
/** The file chosen for the Write target's commands. */
Q_DECLARE_LOGGING_CATEGORY(lcWrite)
/** The per-user settings file. */
Q_DECLARE_LOGGING_CATEGORY(lcSettings)
/** The global shortcut: a key the desktop cannot give. */
Q_DECLARE_LOGGING_CATEGORY(lcShortcut)
