#pragma once

#include "core/list/ListCommand.h"

#include <QObject>

/**
 * Makes sure only one instance runs per user, and lets later starts wake the first or hand it
 * a command.
 */
class SingleInstance : public QObject
{
    Q_OBJECT
public:
    /** What the running window answers to a list command from the command line. */
    struct ListReply
    {
        bool answered = false;
        ListCommand::Result result;
        /** For ListCommand::Kind::List: the entries as the store holds them. */
        QStringList entries;
    };

    using QObject::QObject;
    /**
     * True when another instance already runs; it has then been asked to show its window.
     * False when this process is now the running instance.
     */
    virtual bool otherInstanceRunning() = 0;

Q_SIGNALS:
    /** A later start (or `--show`) asked this running instance to show its window. */
    void showRequested();
    /** `--toggle` asked to show the window, or to put it away when it is the active one. */
    void toggleRequested();
    /** `--add`, `--remove` or `--list`; a receiver connected directly fills in `reply`. */
    void listCommandReceived(ListCommand::Kind kind, const QString& text, ListReply* reply);
};
