#include "platform/qt/QtGlobalShortcut.h"

#include <QDBusInterface>
#include <QGuiApplication>
#include <QProcess>
#include <QSignalSpy>
#include <QTest>

using namespace Qt::Literals::StringLiterals;

/** The global shortcut where there is no X11: through the desktop portal of a fake desktop. */
class tst_PortalShortcut : public QObject
{
    Q_OBJECT

private:
    QProcess m_bus;
    QProcess m_desktop;
    QStringList m_calls;

    /** Waits for the fake desktop's next line that starts with `start`. */
    QString nextCall(const QString& start)
    {
        for (int tries = 0; tries < 100; ++tries) {
            while (m_desktop.canReadLine())
                m_calls << QString::fromUtf8(m_desktop.readLine()).trimmed();
            for (const QString& call : std::as_const(m_calls))
                if (call.startsWith(start))
                    return call;
            QTest::qWait(100); // the program under test answers meanwhile
        }
        return QString();
    }

private Q_SLOTS:
    void initTestCase()
    {
        // A private session bus, before anything in this process connects to one.
        m_bus.start(u"dbus-daemon"_s, {u"--session"_s, u"--nofork"_s, u"--print-address"_s});
        QVERIFY(m_bus.waitForReadyRead(10000));
        qputenv("DBUS_SESSION_BUS_ADDRESS", m_bus.readLine().trimmed());
        m_desktop.start(u"/usr/bin/python3"_s, {QStringLiteral(QUIPPET_FAKE_DESKTOP), u"portal"_s});
        QVERIFY2(!nextCall(u"ready"_s).isEmpty(), m_desktop.readAllStandardError().constData());
        QGuiApplication::setDesktopFileName(u"org.example.quippet"_s);
    }

    void cleanupTestCase()
    {
        for (QProcess* process : {&m_desktop, &m_bus}) {
            process->terminate();
            process->waitForFinished();
        }
    }

    void bindsTheConfiguredKeyAndToggles()
    {
        QtGlobalShortcut shortcut;
        QSignalSpy activated(&shortcut, &GlobalShortcut::activated);
        shortcut.setKey(u"Meta+Shift+F12"_s);
        const QString bound = nextCall(u"BindShortcuts"_s);
        QCOMPARE(bound.section(u' ', 2), u"toggle trigger=SHIFT+LOGO+F12 description=Show or hide the Quippet window"_s);
        // The program's id first, then the session the shortcut is bound in.
        const QString session = nextCall(u"CreateSession"_s).section(u' ', 1);
        QCOMPARE(m_calls.mid(1, 3), (QStringList{u"Register org.example.quippet"_s, u"CreateSession "_s + session, bound}));
        QVERIFY(bound.startsWith(u"BindShortcuts "_s + session + u' '));

        // Another shortcut of the session does nothing; this one toggles.
        QDBusInterface portal(u"org.freedesktop.portal.Desktop"_s, u"/org/freedesktop/portal/desktop"_s, u"org.example.FakePortal"_s);
        for (const QString& shortcutId : {u"another"_s, u"toggle"_s})
            QVERIFY(portal.call(u"Press"_s, shortcutId).type() == QDBusMessage::ReplyMessage);
        QVERIFY(activated.wait(5000) && activated.count() == 1);
        // The desktop's permission to take the focus is there for the window to use.
        QCOMPARE(qgetenv("XDG_ACTIVATION_TOKEN"), "token-toggle");
    }
};

QTEST_MAIN(tst_PortalShortcut)
#include "tst_PortalShortcut.moc"
