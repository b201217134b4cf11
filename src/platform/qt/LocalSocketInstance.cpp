#include "platform/qt/LocalSocketInstance.h"

#include <QDeadlineTimer>
#include <QGuiApplication>
#include <QLocalServer>
#include <QLocalSocket>
#include <QLockFile>
#include <QLoggingCategory>
#include <QThread>
#include <unistd.h>

namespace {

Q_LOGGING_CATEGORY(lcInstance, "quippet.instance", QtInfoMsg)

using Message = InstanceChannel::Message;

QString folderOrWarn()
{
    QString error;
    const QString folder = InstanceChannel::privateFolder(&error);
    if (folder.isEmpty())
        qCWarning(lcInstance).noquote()
            << QStringLiteral("Running without the single-instance socket: %1").arg(error);
    return folder;
}

Message refusal(const QString& reason)
{
    return Message{"refused", {}}.add("reason", reason.toUtf8());
}

} // namespace

LocalSocketInstance::LocalSocketInstance(QObject* parent)
    : LocalSocketInstance(folderOrWarn(), ::getuid(), parent)
{
}

LocalSocketInstance::LocalSocketInstance(const QString& folder, uid_t uid, QObject* parent)
    : SingleInstance(parent), m_folder(folder), m_uid(uid)
{
}

LocalSocketInstance::~LocalSocketInstance() = default;

bool LocalSocketInstance::otherInstanceRunning()
{
    // Without a private folder there is no channel that others cannot reach: run alone.
    if (m_server != nullptr || m_folder.isEmpty())
        return false;

    m_lock = std::make_unique<QLockFile>(InstanceChannel::lockPath(m_folder));
    // Only a dead holder makes a lock stale; a long-running instance keeps its lock.
    m_lock->setStaleLockTime(0);
    // A holder that does not answer yet is starting up, or is a command line editing the store
    // file: both are soon done.
    const QDeadlineTimer deadline(StartingInstanceWaitMs);
    for (;;) {
        if (m_lock->tryLock(0)) {
            listen();
            return false;
        }
        const bool heldByOther = m_lock->error() == QLockFile::LockFailedError;
        if (askRunningInstanceToShow() || (heldByOther && deadline.hasExpired())) {
            m_lock.reset();
            return true;
        }
        // Without a usable lock folder the socket is the only witness of a running instance.
        if (!heldByOther) {
            m_lock.reset();
            listen();
            return false;
        }
        QThread::msleep(100);
    }
}

bool LocalSocketInstance::askRunningInstanceToShow()
{
    Message request{"show", {}};
    InstanceChannel::addActivationToken(request);
    return InstanceChannel::exchange(InstanceChannel::socketPath(m_folder), request, nullptr,
                                     m_uid) == InstanceChannel::Outcome::Answered;
}

void LocalSocketInstance::listen()
{
    const QString path = InstanceChannel::socketPath(m_folder);
    m_server = new QLocalServer(this);
    m_server->setSocketOptions(QLocalServer::UserAccessOption);
    // We hold the lock, so a socket file left behind belongs to a crashed instance.
    QLocalServer::removeServer(path);
    if (!m_server->listen(path))
        qCWarning(lcInstance).noquote()
            << QStringLiteral("Could not listen at %1: %2").arg(path, m_server->errorString());
    connect(m_server, &QLocalServer::newConnection, this, &LocalSocketInstance::acceptConnections);
}

void LocalSocketInstance::acceptConnections()
{
    while (QLocalSocket* socket = m_server->nextPendingConnection()) {
        if (!InstanceChannel::peerIs(static_cast<int>(socket->socketDescriptor()), m_uid)) {
            socket->abort();
            socket->deleteLater();
            continue;
        }
        connect(socket, &QLocalSocket::disconnected, socket, &QObject::deleteLater);
        connect(socket, &QLocalSocket::readyRead, this, [this, socket]() { readRequests(socket); });
        // The request may already have arrived together with the connection.
        readRequests(socket);
    }
}

void LocalSocketInstance::readRequests(QLocalSocket* socket)
{
    while (socket->canReadLine()) {
        QByteArray line = socket->readLine();
        line.chop(1);
        const auto request = Message::decode(line);
        socket->write(request ? answer(*request).encode()
                              : refusal(QStringLiteral("bad request")).encode());
    }
}

InstanceChannel::Message LocalSocketInstance::answer(const Message& request)
{
    if (request.verb == "show" || request.verb == "toggle") {
        InstanceChannel::applyActivationToken(request, QGuiApplication::platformName());
        if (request.verb == "show")
            Q_EMIT showRequested();
        else
            Q_EMIT toggleRequested();
        return {"ok", {}};
    }
    ListCommand::Kind kind = ListCommand::Kind::List;
    if (request.verb == "add")
        kind = ListCommand::Kind::Add;
    else if (request.verb == "remove")
        kind = ListCommand::Kind::Remove;
    else if (request.verb != "list")
        return refusal(QStringLiteral("unknown request"));

    ListReply reply;
    Q_EMIT listCommandReceived(kind, QString::fromUtf8(request.value("text")), &reply);
    if (!reply.answered)
        return refusal(QStringLiteral("Quippet is still starting; try again"));
    Message message{reply.result.changed || kind == ListCommand::Kind::List ? "ok" : "refused", {}};
    message.add("reason", reply.result.message.toUtf8());
    for (const QString& entry : std::as_const(reply.entries))
        message.add("entry", entry.toUtf8());
    return message;
}
