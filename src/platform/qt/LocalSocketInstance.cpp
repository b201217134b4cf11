#include "platform/qt/LocalSocketInstance.h"

#include <QDir>
#include <QLocalServer>
#include <QLocalSocket>
#include <QLockFile>
#include <QStandardPaths>
#include <unistd.h>

namespace {

constexpr int WakeTimeoutMs = 1000;

QByteArray showRequest()
{
    return QByteArrayLiteral("show\n");
}

} // namespace

LocalSocketInstance::LocalSocketInstance(QObject* parent)
    : LocalSocketInstance(defaultName(), defaultLockFolder(), parent)
{
}

LocalSocketInstance::LocalSocketInstance(const QString& name, const QString& lockFolder,
                                         QObject* parent)
    : SingleInstance(parent), m_name(name),
      m_lockPath(QDir(lockFolder).filePath(name + QStringLiteral(".lock")))
{
}

LocalSocketInstance::~LocalSocketInstance() = default;

QString LocalSocketInstance::defaultName()
{
    return QStringLiteral("quippet-") + QString::number(::getuid());
}

QString LocalSocketInstance::defaultLockFolder()
{
    const QString runtime = QStandardPaths::writableLocation(QStandardPaths::RuntimeLocation);
    return runtime.isEmpty() ? QStandardPaths::writableLocation(QStandardPaths::TempLocation)
                             : runtime;
}

bool LocalSocketInstance::otherInstanceRunning()
{
    if (m_server != nullptr)
        return false;

    m_lock = std::make_unique<QLockFile>(m_lockPath);
    // Only a dead holder makes a lock stale; a long-running instance keeps its lock.
    m_lock->setStaleLockTime(0);
    if (!m_lock->tryLock(0)) {
        const bool heldByOther = m_lock->error() == QLockFile::LockFailedError;
        m_lock.reset();
        // Without a usable lock folder the socket is the only witness of a running instance.
        if (askRunningInstanceToShow() || heldByOther)
            return true;
    }
    listen();
    return false;
}

bool LocalSocketInstance::askRunningInstanceToShow()
{
    QLocalSocket socket;
    socket.connectToServer(m_name);
    if (!socket.waitForConnected(WakeTimeoutMs))
        return false;
    socket.write(showRequest());
    const bool sent = socket.waitForBytesWritten(WakeTimeoutMs);
    socket.disconnectFromServer();
    return sent;
}

void LocalSocketInstance::listen()
{
    m_server = new QLocalServer(this);
    m_server->setSocketOptions(QLocalServer::UserAccessOption);
    // We hold the lock, so a socket file left behind belongs to a crashed instance.
    QLocalServer::removeServer(m_name);
    m_server->listen(m_name);
    connect(m_server, &QLocalServer::newConnection, this, &LocalSocketInstance::acceptConnections);
}

void LocalSocketInstance::acceptConnections()
{
    while (QLocalSocket* socket = m_server->nextPendingConnection()) {
        connect(socket, &QLocalSocket::readyRead, this, [this, socket]() { readRequests(socket); });
        connect(socket, &QLocalSocket::disconnected, socket, &QObject::deleteLater);
        // The request may already have arrived together with the connection.
        readRequests(socket);
    }
}

void LocalSocketInstance::readRequests(QLocalSocket* socket)
{
    while (socket->canReadLine()) {
        if (socket->readLine() == showRequest())
            Q_EMIT showRequested();
    }
}
