#include "core/log/QuippetLog.h"

Q_LOGGING_CATEGORY(lcStore, "quippet.store", QtInfoMsg)
Q_LOGGING_CATEGORY(lcWrite, "quippet.write", QtInfoMsg)
Q_LOGGING_CATEGORY(lcSettings, "quippet.settings", QtInfoMsg)
Q_LOGGING_CATEGORY(lcShortcut, "quippet.shortcut", QtInfoMsg)
