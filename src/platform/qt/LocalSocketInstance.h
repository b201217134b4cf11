#pragma once

#include "platform/SingleInstance.h"

#include <QString>
#include <memory>

class QLocalServer;
class QLocalSocket;
class QLockFile;

/**
 * One instance per user: a lock file says who runs, a local socket lets a later start
 * ask the running instance to show its window.
 */
class LocalSocketInstance : public SingleInstance
{
    Q_OBJECT
public:
    /** The per-user name "quippet-<uid>" with its lock in the runtime folder. */
    explicit LocalSocketInstance(QObject* parent = nullptr);
    /** `name` for the socket and the lock file "<name>.lock" in `lockFolder`. */
    LocalSocketInstance(const QString& name, const QString& lockFolder, QObject* parent = nullptr);
    ~LocalSocketInstance() override;

    bool otherInstanceRunning() override;

    /** "quippet-<uid>" for the current user. */
    static QString defaultName();
    /** The user's runtime folder, or the temporary folder where there is none. */
    static QString defaultLockFolder();

private:
    bool askRunningInstanceToShow();
    void listen();
    void acceptConnections();
    void readRequests(QLocalSocket* socket);

    QString m_name;
    QString m_lockPath;
    std::unique_ptr<QLockFile> m_lock;
    QLocalServer* m_server = nullptr;
};
