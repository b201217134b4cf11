#pragma once

#include <QObject>

/** A key that reaches the program whatever window has the keyboard focus. */
class GlobalShortcut : public QObject
{
    Q_OBJECT
public:
    using QObject::QObject;
    /**
     * Takes the key, written as Qt writes key sequences in files ("Ctrl+Alt+Q"); an empty text
     * takes none. A key the desktop cannot give is reported in the log, once.
     */
    virtual void setKey(const QString& portableText) = 0;

Q_SIGNALS:
    /** The key was pressed. */
    void activated();
};
