#include "main_window/controls/AccessibleFactory.h"

#include "main_window/controls/PanelStatusBar.h"
#include "main_window/controls/PressableAccessible.h"
#include "main_window/controls/StatusBarAccessible.h"
#include "main_window/controls/StatusPanel.h"
#include "main_window/controls/TargetIcon.h"

#include <QAccessible>
#include <mutex>

void AccessibleFactory::install()
{
    // Qt keeps every factory installed, so a second window must not add it again.
    static std::once_flag once;
    std::call_once(once, [] { QAccessible::installFactory(&AccessibleFactory::create); });
}

QAccessibleInterface* AccessibleFactory::create(const QString& className, QObject* object)
{
    // Qt asks with each class name up the hierarchy; answer only for the exact classes.
    if (className == QLatin1String("TargetIcon")) {
        auto* icon = qobject_cast<TargetIcon*>(object);
        return icon ? new PressableAccessible(icon, *icon) : nullptr;
    }
    if (className == QLatin1String("StatusPanel")) {
        auto* panel = qobject_cast<StatusPanel*>(object);
        return panel ? new PressableAccessible(panel, *panel) : nullptr;
    }
    if (className == QLatin1String("PanelStatusBar")) {
        auto* bar = qobject_cast<PanelStatusBar*>(object);
        return bar ? new StatusBarAccessible(bar) : nullptr;
    }
    return nullptr;
}
