#pragma once

#include <QString>

class QAccessibleInterface;
class QObject;

/**
 * Hands Qt's accessibility layer the interfaces of the main window's own controls: target
 * icons and status panels with a press action, and the status bar that announces messages.
 */
class AccessibleFactory
{
public:
    /** Installs the factory once per process; later calls do nothing. */
    static void install();
    static QAccessibleInterface* create(const QString& className, QObject* object);
};
