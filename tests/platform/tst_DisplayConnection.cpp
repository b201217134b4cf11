#include "DisplayConnection.h"

#include <QLocalServer>
#include <QTemporaryDir>
#include <QTest>

using namespace Qt::Literals::StringLiterals;

/** Which window system the program goes to, or that it stops before Qt would abort. */
class tst_DisplayConnection : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void decide_data()
    {
        QTest::addColumn<QString>("platform");
        QTest::addColumn<QString>("display");
        QTest::addColumn<QString>("waylandDisplay");
        QTest::addColumn<QStringList>("servers"); // what answers: X displays and socket paths
        QTest::addColumn<bool>("reachable");
        QTest::addColumn<QString>("setPlatform");

        const QStringList both{u":0"_s, u"/run/user/1/wayland-0"_s};
        QTest::newRow("nothing at all")
            << QString() << QString() << QString() << QStringList() << false << QString();
        QTest::newRow("X answers")
            << QString() << u":0"_s << QString() << both << true << QString();
        QTest::newRow("DISPLAY set but nobody answers")
            << QString() << u":5"_s << QString() << both << false << QString();
        QTest::newRow("only Wayland: asked for natively")
            << QString() << QString() << u"wayland-0"_s << both << true << u"wayland"_s;
        QTest::newRow("dead X, live Wayland")
            << QString() << u":5"_s << u"wayland-0"_s << both << true << u"wayland"_s;
        QTest::newRow("both live: Qt's own choice")
            << QString() << u":0"_s << u"wayland-0"_s << both << true << QString();
        QTest::newRow("absolute Wayland socket")
            << QString() << QString() << u"/run/user/1/wayland-0"_s << both << true << u"wayland"_s;
        QTest::newRow("xcb asked for, only Wayland there")
            << u"xcb"_s << QString() << u"wayland-0"_s << both << false << QString();
        QTest::newRow("wayland asked for, socket missing")
            << u"wayland"_s << u":0"_s << u"wayland-1"_s << both << false << QString();
        QTest::newRow("list falls back to xcb")
            << u"wayland;xcb"_s << u":0"_s << u"wayland-1"_s << both << true << QString();
        QTest::newRow("xcb with arguments")
            << u"xcb:nograb"_s << u":0"_s << QString() << both << true << QString();
        QTest::newRow("offscreen needs no server")
            << u"offscreen"_s << QString() << QString() << QStringList() << true << QString();
    }

    void decide()
    {
        QFETCH(QString, platform);
        QFETCH(QString, display);
        QFETCH(QString, waylandDisplay);
        QFETCH(QStringList, servers);
        QFETCH(bool, reachable);
        QFETCH(QString, setPlatform);

        const auto answers = [servers](const QString& address) {
            return servers.contains(address);
        };
        const DisplayConnection::Environment environment{platform, display, waylandDisplay,
                                                         u"/run/user/1"_s};
        const auto decision = DisplayConnection::decide(environment, {answers, answers});
        QCOMPARE(decision.reachable, reachable);
        QCOMPARE(decision.platform, setPlatform);
    }

    // The real probes: a listening socket answers, a stale socket file and a dead X do not.
    void systemProbes()
    {
        const auto probes = DisplayConnection::systemProbes();
        QTemporaryDir dir;
        QLocalServer server;
        const QString live = dir.filePath(u"wayland-live"_s);
        QVERIFY(server.listen(live));
        QVERIFY(probes.wayland(live));
        server.close();
        QVERIFY(!probes.wayland(live));
        QVERIFY(!probes.wayland(dir.filePath(u"wayland-none"_s)));
        QVERIFY(!probes.x11(u":4711"_s));
    }
};

QTEST_GUILESS_MAIN(tst_DisplayConnection)
#include "tst_DisplayConnection.moc"
