#pragma once

#include "platform/InstanceChannel.h"
#include "platform/SingleInstance.h"

#include <QString>
#include <memory>
#include <sys/types.h>

class QLocalServer;
class QLocalSocket;
class QLockFile;

/**
 * One instance per user: a lock file says who runs, a local socket beside it in a private
 * folder lets a later start wake the running instance or hand it a command. Both ends check
 * that the other runs as the same user.
 */
class LocalSocketInstance : public SingleInstance
{
    Q_OBJECT
public:
    /** The socket and lock in InstanceChannel::privateFolder(). */
    explicit LocalSocketInstance(QObject* parent = nullptr);
    /** The socket and lock in `folder`; only peers running as `uid` are heard. */
    LocalSocketInstance(const QString& folder, uid_t uid, QObject* parent = nullptr);
    ~LocalSocketInstance() override;

    bool otherInstanceRunning() override;

    /** A running instance that holds the lock but does not answer is waited for this long. */
    static constexpr int StartingInstanceWaitMs = 3000;

private:
    bool askRunningInstanceToShow();
    void listen();
    void acceptConnections();
    void readRequests(QLocalSocket* socket);
    InstanceChannel::Message answer(const InstanceChannel::Message& request);

    QString m_folder;
    uid_t m_uid;
    std::unique_ptr<QLockFile> m_lock;
    QLocalServer* m_server = nullptr;
};
