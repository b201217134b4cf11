#include "platform/InstanceChannel.h"

#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <cerrno>
#include <cstring>
#include <poll.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

namespace {

constexpr const char* ActivationField = "activation";
constexpr const char* StartupField = "startup";

/** Closes the descriptor when it goes out of scope. */
struct Descriptor
{
    int fd = -1;
    ~Descriptor()
    {
        if (fd >= 0)
            ::close(fd);
    }
};

bool waitFor(int fd, short events, const QDeadlineTimer& deadline)
{
    pollfd entry{fd, events, 0};
    for (;;) {
        const int result = ::poll(&entry, 1, static_cast<int>(deadline.remainingTime()));
        if (result > 0)
            return true;
        if (result == 0 || errno != EINTR)
            return false;
    }
}

} // namespace

InstanceChannel::Message& InstanceChannel::Message::add(const QByteArray& name,
                                                        const QByteArray& value)
{
    fields.append({name, value});
    return *this;
}

QByteArray InstanceChannel::Message::value(const QByteArray& name) const
{
    for (const auto& [key, value] : fields) {
        if (key == name)
            return value.isNull() ? QByteArray("") : value;
    }
    return {};
}

QByteArrayList InstanceChannel::Message::values(const QByteArray& name) const
{
    QByteArrayList result;
    for (const auto& [key, value] : fields) {
        if (key == name)
            result.append(value);
    }
    return result;
}

QByteArray InstanceChannel::Message::encode() const
{
    QByteArray line = verb;
    for (const auto& [name, value] : fields)
        line += ' ' + name + '=' + value.toBase64();
    return line + '\n';
}

std::optional<InstanceChannel::Message> InstanceChannel::Message::decode(const QByteArray& line)
{
    const QByteArrayList words = line.split(' ');
    Message message;
    message.verb = words.first();
    if (message.verb.isEmpty())
        return std::nullopt;
    for (qsizetype i = 1; i < words.size(); ++i) {
        const qsizetype equals = words.at(i).indexOf('=');
        if (equals <= 0)
            return std::nullopt;
        const auto decoded = QByteArray::fromBase64Encoding(
            words.at(i).mid(equals + 1), QByteArray::AbortOnBase64DecodingErrors);
        if (!decoded)
            return std::nullopt;
        message.add(words.at(i).left(equals), *decoded);
    }
    return message;
}

bool InstanceChannel::isPrivateFolder(const QString& path, uid_t uid)
{
    struct stat info = {};
    if (path.isEmpty() || ::lstat(QFile::encodeName(path).constData(), &info) != 0)
        return false;
    return S_ISDIR(info.st_mode) && info.st_uid == uid && (info.st_mode & 077) == 0;
}

QString InstanceChannel::privateFolder(QString* error)
{
    const uid_t uid = ::getuid();
    const QString runtime = qEnvironmentVariable("XDG_RUNTIME_DIR");
    if (isPrivateFolder(runtime, uid))
        return runtime;
    // Made private from the start: a folder of that name made first by someone else fails the
    // check below and is never used.
    const QString own = QDir(QDir::tempPath()).filePath(QStringLiteral("quippet-%1").arg(uid));
    ::mkdir(QFile::encodeName(own).constData(), 0700);
    if (isPrivateFolder(own, uid))
        return own;
    if (error)
        *error = QStringLiteral("%1 is not a private folder of this user")
                     .arg(QDir::toNativeSeparators(own));
    return {};
}

QString InstanceChannel::socketPath(const QString& folder)
{
    return QDir(folder).filePath(QStringLiteral("quippet.socket"));
}

QString InstanceChannel::lockPath(const QString& folder)
{
    return QDir(folder).filePath(QStringLiteral("quippet.lock"));
}

bool InstanceChannel::peerIs(int fd, uid_t uid)
{
    ucred credentials = {};
    socklen_t size = sizeof(credentials);
    return ::getsockopt(fd, SOL_SOCKET, SO_PEERCRED, &credentials, &size) == 0 &&
           credentials.uid == uid;
}

InstanceChannel::Outcome InstanceChannel::exchange(const QString& socketPath,
                                                   const Message& request, Message* reply,
                                                   uid_t uid, int timeoutMs)
{
    const QByteArray path = QFile::encodeName(socketPath);
    sockaddr_un address{};
    if (path.isEmpty() || static_cast<size_t>(path.size()) >= sizeof(address.sun_path))
        return Outcome::NoInstance;
    address.sun_family = AF_UNIX;
    std::memcpy(address.sun_path, path.constData(), static_cast<size_t>(path.size()));
    Descriptor socket{::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0)};
    if (socket.fd < 0)
        return Outcome::NoInstance;
    if (::connect(socket.fd, reinterpret_cast<const sockaddr*>(&address), sizeof(address)) != 0)
        return errno == ENOENT || errno == ECONNREFUSED ? Outcome::NoInstance : Outcome::NoAnswer;
    // A listener of another user gets no text and no say.
    if (!peerIs(socket.fd, uid))
        return Outcome::NoAnswer;

    // The time counts from the last sign of life, so a long list may take as long as it needs.
    QDeadlineTimer deadline(timeoutMs);
    const QByteArray bytes = request.encode();
    qsizetype sent = 0;
    while (sent < bytes.size()) {
        if (!waitFor(socket.fd, POLLOUT, deadline))
            return Outcome::NoAnswer;
        const ssize_t written = ::send(socket.fd, bytes.constData() + sent,
                                       static_cast<size_t>(bytes.size() - sent), MSG_NOSIGNAL);
        if (written < 0 && errno != EINTR && errno != EAGAIN)
            return Outcome::NoAnswer;
        sent += qMax<ssize_t>(written, 0);
        if (written > 0)
            deadline.setRemainingTime(timeoutMs);
    }
    QByteArray received;
    qsizetype end = -1;
    while (end < 0) {
        if (!waitFor(socket.fd, POLLIN, deadline))
            return Outcome::NoAnswer;
        char chunk[65536];
        const ssize_t got = ::recv(socket.fd, chunk, sizeof(chunk), 0);
        if (got == 0 || (got < 0 && errno != EINTR && errno != EAGAIN))
            return Outcome::NoAnswer;
        const qsizetype before = received.size();
        received.append(chunk, qMax<ssize_t>(got, 0));
        if (got > 0) {
            end = received.indexOf('\n', before);
            deadline.setRemainingTime(timeoutMs);
        }
    }
    const auto decoded = Message::decode(received.left(end));
    if (!decoded)
        return Outcome::NoAnswer;
    if (reply)
        *reply = *decoded;
    return Outcome::Answered;
}

void InstanceChannel::addActivationToken(Message& request)
{
    // A launcher hands its token to the process it starts; the running window needs it to be
    // allowed to take the focus from the window that has it.
    if (const QByteArray token = qgetenv("XDG_ACTIVATION_TOKEN"); !token.isEmpty())
        request.add(ActivationField, token);
    if (const QByteArray id = qgetenv("DESKTOP_STARTUP_ID"); !id.isEmpty())
        request.add(StartupField, id);
}

void InstanceChannel::applyActivationToken(const Message& request, const QString& platformName)
{
    // Qt's Wayland client spends XDG_ACTIVATION_TOKEN at the next activation request; on X11
    // QtTopmostPlacement spends DESKTOP_STARTUP_ID, since Qt reads it only at start-up. Either
    // left unspent would reach the programs this one starts.
    if (platformName.startsWith(u"wayland")) {
        if (const QByteArray token = request.value(ActivationField); !token.isEmpty())
            qputenv("XDG_ACTIVATION_TOKEN", token);
    } else if (platformName == u"xcb") {
        if (const QByteArray id = request.value(StartupField); !id.isEmpty())
            qputenv("DESKTOP_STARTUP_ID", id);
    }
}
