#pragma once

#include <QByteArray>
#include <QByteArrayList>
#include <QList>
#include <QString>
#include <optional>
#include <sys/types.h>
#include <utility>

/**
 * The private channel between the running instance and later starts of the program: where its
 * socket and lock live, who may use them, and the one-line messages that cross it. Works before
 * any QCoreApplication exists, so a command sent from the command line starts nothing of Qt's.
 */
class InstanceChannel
{
public:
    /** One line: a verb and named fields, each value base64 so any bytes cross. */
    struct Message
    {
        QByteArray verb;
        QList<std::pair<QByteArray, QByteArray>> fields;

        Message& add(const QByteArray& name, const QByteArray& value);
        /** The first value of `name`; null when there is none. */
        QByteArray value(const QByteArray& name) const;
        QByteArrayList values(const QByteArray& name) const;
        /** The line, ending with a line break. */
        QByteArray encode() const;
        /** A line without its line break; empty when it is not a message. */
        static std::optional<Message> decode(const QByteArray& line);
    };

    enum class Outcome
    {
        Answered,
        NoInstance, ///< nobody listens at the socket
        NoAnswer,   ///< connected, but no reply within the time, or a peer of another user
    };

    /** No reply within this many milliseconds counts as no answer. */
    static constexpr int AnswerTimeoutMs = 1000;

    /**
     * The folder of the socket and its lock: the user's runtime folder (XDG_RUNTIME_DIR) when it
     * is a folder of the user's own that nobody else may enter; else "quippet-<uid>" in the
     * temporary folder, made with mode 0700 and checked the same way. Empty, with `error` set,
     * when neither is private.
     */
    static QString privateFolder(QString* error = nullptr);
    /** True when `path` is a real folder (not a link) owned by `uid` with no access for others. */
    static bool isPrivateFolder(const QString& path, uid_t uid);
    static QString socketPath(const QString& folder);
    static QString lockPath(const QString& folder);

    /** True when the other end of the connected local socket `fd` runs as `uid`. */
    static bool peerIs(int fd, uid_t uid);

    /**
     * Connects to `socketPath`, drops a listener of another user than `uid`, sends `request`
     * and waits up to `timeoutMs` for the one-line reply.
     */
    static Outcome exchange(const QString& socketPath, const Message& request, Message* reply,
                            uid_t uid, int timeoutMs = AnswerTimeoutMs);

    /** The desktop's activation token of this launch, added to a show or toggle request. */
    static void addActivationToken(Message& request);
    /**
     * Puts a request's activation token where the code of the window system `platformName`
     * (as QGuiApplication names it) looks for it; a token for another one is dropped.
     */
    static void applyActivationToken(const Message& request, const QString& platformName);
};
