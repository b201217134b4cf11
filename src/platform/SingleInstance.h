#pragma once

#include <QObject>

/** Makes sure only one instance runs per user, and lets a second start wake the first. */
class SingleInstance : public QObject
{
    Q_OBJECT
public:
    using QObject::QObject;
    /**
     * True when another instance already runs; it has then been asked to show its window.
     * False when this process is now the running instance.
     */
    virtual bool otherInstanceRunning() = 0;

Q_SIGNALS:
    /** A later start asked this running instance to show its window. */
    void showRequested();
};
