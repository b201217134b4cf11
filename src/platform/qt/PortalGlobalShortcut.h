#pragma once

#include <QDBusConnection>
#include <QObject>
#include <QVariantMap>

class QDBusObjectPath;
class QDBusPendingCallWatcher;

/**
 * One global shortcut through the desktop's GlobalShortcuts portal: the program registers its
 * id, opens a session and binds the shortcut with a preferred trigger, which the desktop may
 * let the user change; the desktop then reports the shortcut as activated.
 */
class PortalGlobalShortcut : public QObject
{
    Q_OBJECT
public:
    static inline const QString ShortcutId = QStringLiteral("toggle");

    /** On the session bus. */
    explicit PortalGlobalShortcut(QObject* parent = nullptr);

    /** Starts the exchange; `bound` or `unavailable` tells how it ended. */
    void bind(const QString& appId, const QString& trigger, const QString& description);

Q_SIGNALS:
    void activated();
    void bound();
    /** The desktop has no such portal, or refused; `reason` says which, for the log. */
    void unavailable(const QString& reason);

private Q_SLOTS:
    void onResponse(uint response, const QVariantMap& results);
    void onActivated(const QDBusObjectPath& session, const QString& shortcutId,
                     qulonglong timestamp, const QVariantMap& options);

private:
    void createSession();
    void bindShortcut();
    /** Calls a portal method that answers through a Request object's Response signal. */
    void request(const QString& method, const QList<QVariant>& arguments, const QString& token);
    void watchResponse(const QString& requestPath);
    void fail(const QString& reason);

    enum class Step
    {
        Idle,
        Session,
        Bind,
        Done
    };

    QDBusConnection m_bus;
    Step m_step = Step::Idle;
    QString m_trigger;
    QString m_description;
    QString m_session;
    QString m_requestPath;
};
