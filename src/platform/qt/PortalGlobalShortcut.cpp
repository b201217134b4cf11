#include "platform/qt/PortalGlobalShortcut.h"

#include <QDBusArgument>
#include <QDBusMessage>
#include <QDBusMetaType>
#include <QDBusObjectPath>
#include <QDBusPendingCallWatcher>
#include <QDBusPendingReply>
#include <algorithm>

namespace {

const QString PortalService = QStringLiteral("org.freedesktop.portal.Desktop");
const QString PortalPath = QStringLiteral("/org/freedesktop/portal/desktop");
const QString ShortcutsInterface = QStringLiteral("org.freedesktop.portal.GlobalShortcuts");
const QString RegistryInterface = QStringLiteral("org.freedesktop.host.portal.Registry");
const QString RequestInterface = QStringLiteral("org.freedesktop.portal.Request");

/** One entry of BindShortcuts' list: the shortcut's id and its properties. */
struct PortalShortcut
{
    QString id;
    QVariantMap properties;
};

QDBusArgument& operator<<(QDBusArgument& argument, const PortalShortcut& shortcut)
{
    argument.beginStructure();
    argument << shortcut.id << shortcut.properties;
    argument.endStructure();
    return argument;
}

const QDBusArgument& operator>>(const QDBusArgument& argument, PortalShortcut& shortcut)
{
    argument.beginStructure();
    argument >> shortcut.id >> shortcut.properties;
    argument.endStructure();
    return argument;
}

} // namespace

Q_DECLARE_METATYPE(PortalShortcut)

PortalGlobalShortcut::PortalGlobalShortcut(QObject* parent)
    : QObject(parent), m_bus(QDBusConnection::sessionBus())
{
    qDBusRegisterMetaType<PortalShortcut>();
    qDBusRegisterMetaType<QList<PortalShortcut>>();
}

void PortalGlobalShortcut::bind(const QString& appId, const QString& trigger,
                                const QString& description)
{
    m_trigger = trigger;
    m_description = description;
    if (!m_bus.isConnected())
        return fail(QStringLiteral("no session bus"));
    // Portals that are not sandboxed learn the program's id from this call, which has to come
    // before any other; older portals lack it and know the program by its process.
    QDBusMessage registration = QDBusMessage::createMethodCall(
        PortalService, PortalPath, RegistryInterface, QStringLiteral("Register"));
    registration << appId << QVariantMap();
    auto* watcher = new QDBusPendingCallWatcher(m_bus.asyncCall(registration), this);
    connect(watcher, &QDBusPendingCallWatcher::finished, this,
            [this](QDBusPendingCallWatcher* call) {
                call->deleteLater();
                const QDBusError error = call->error();
                if (error.type() == QDBusError::ServiceUnknown)
                    return fail(QStringLiteral("no desktop portal"));
                createSession();
            });
}

void PortalGlobalShortcut::createSession()
{
    m_step = Step::Session;
    request(QStringLiteral("CreateSession"),
            {QVariantMap{{QStringLiteral("handle_token"), QStringLiteral("quippet_session")},
                         {QStringLiteral("session_handle_token"), QStringLiteral("quippet")}}},
            QStringLiteral("quippet_session"));
}

void PortalGlobalShortcut::bindShortcut()
{
    m_step = Step::Bind;
    const QList<PortalShortcut> shortcuts{{ShortcutId,
                                           {{QStringLiteral("description"), m_description},
                                            {QStringLiteral("preferred_trigger"), m_trigger}}}};
    request(QStringLiteral("BindShortcuts"),
            {QVariant::fromValue(QDBusObjectPath(m_session)), QVariant::fromValue(shortcuts),
             QString(),
             QVariantMap{{QStringLiteral("handle_token"), QStringLiteral("quippet_bind")}}},
            QStringLiteral("quippet_bind"));
}

void PortalGlobalShortcut::request(const QString& method, const QList<QVariant>& arguments,
                                   const QString& token)
{
    // The answer may come as soon as the call is made, so the request object the portal will
    // create is watched first: its path is made of the caller's bus name and the token.
    QString sender = m_bus.baseService().mid(1);
    sender.replace(QLatin1Char('.'), QLatin1Char('_'));
    watchResponse(PortalPath + QStringLiteral("/request/") + sender + QLatin1Char('/') + token);

    QDBusMessage call =
        QDBusMessage::createMethodCall(PortalService, PortalPath, ShortcutsInterface, method);
    call.setArguments(arguments);
    auto* watcher = new QDBusPendingCallWatcher(m_bus.asyncCall(call), this);
    connect(watcher, &QDBusPendingCallWatcher::finished, this,
            [this, method](QDBusPendingCallWatcher* pending) {
                pending->deleteLater();
                const QDBusPendingReply<QDBusObjectPath> reply = *pending;
                if (reply.isError())
                    return fail(method + QStringLiteral(": ") + reply.error().message());
                // Older portals make up a path of their own.
                if (reply.value().path() != m_requestPath)
                    watchResponse(reply.value().path());
            });
}

void PortalGlobalShortcut::watchResponse(const QString& requestPath)
{
    if (!m_requestPath.isEmpty())
        m_bus.disconnect(PortalService, m_requestPath, RequestInterface, QStringLiteral("Response"),
                         this, SLOT(onResponse(uint, QVariantMap)));
    m_requestPath = requestPath;
    m_bus.connect(PortalService, m_requestPath, RequestInterface, QStringLiteral("Response"), this,
                  SLOT(onResponse(uint, QVariantMap)));
}

void PortalGlobalShortcut::onResponse(uint response, const QVariantMap& results)
{
    if (response != 0)
        return fail(QStringLiteral("the desktop declined (answer %1)").arg(response));
    if (m_step == Step::Session) {
        // A text in the first versions of the portal, an object path in later ones.
        const QVariant handle = results.value(QStringLiteral("session_handle"));
        m_session = handle.userType() == qMetaTypeId<QDBusObjectPath>()
                        ? handle.value<QDBusObjectPath>().path()
                        : handle.toString();
        m_bus.connect(PortalService, PortalPath, ShortcutsInterface, QStringLiteral("Activated"),
                      this, SLOT(onActivated(QDBusObjectPath, QString, qulonglong, QVariantMap)));
        bindShortcut();
    } else if (m_step == Step::Bind) {
        // The user may have declined the shortcut in the desktop's dialog.
        QList<PortalShortcut> shortcuts;
        results.value(QStringLiteral("shortcuts")).value<QDBusArgument>() >> shortcuts;
        const bool taken =
            std::any_of(shortcuts.cbegin(), shortcuts.cend(),
                        [](const PortalShortcut& shortcut) { return shortcut.id == ShortcutId; });
        if (!taken)
            return fail(QStringLiteral("the desktop did not bind it"));
        m_step = Step::Done;
        Q_EMIT bound();
    }
}

void PortalGlobalShortcut::onActivated(const QDBusObjectPath& session, const QString& shortcutId,
                                       qulonglong /*timestamp*/, const QVariantMap& options)
{
    if (session.path() != m_session || shortcutId != ShortcutId)
        return;
    // A desktop may hand over its permission to take the focus; Qt's Wayland client spends it
    // at the window's next activation request.
    const QString token = options.value(QStringLiteral("activation_token")).toString();
    if (!token.isEmpty())
        qputenv("XDG_ACTIVATION_TOKEN", token.toUtf8());
    Q_EMIT activated();
}

void PortalGlobalShortcut::fail(const QString& reason)
{
    if (m_step == Step::Done)
        return;
    m_step = Step::Done;
    // A session whose shortcut was not bound reports nothing of ours.
    m_bus.disconnect(PortalService, PortalPath, ShortcutsInterface, QStringLiteral("Activated"),
                     this, SLOT(onActivated(QDBusObjectPath, QString, qulonglong, QVariantMap)));
    Q_EMIT unavailable(reason);
}
