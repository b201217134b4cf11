#include "DisplayConnection.h"

#include <QTest>

using namespace Qt::Literals::StringLiterals;

/** Which window system the program goes to, or that it stops before Qt would abort. */
class tst_DisplayConnection : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void decide_data()
    {
        // Environment, and the outcome: "-" cannot reach, "" goes on with Qt's own choice,
        // anything else goes on with that platform.
        QTest::addColumn<QString>("platform");
        QTest::addColumn<QString>("display");
        QTest::addColumn<QString>("waylandDisplay");
        QTest::addColumn<QString>("outcome");

        // Only ":0" and "/run/user/1/wayland-0" answer.
        QTest::newRow("nothing set") << QString() << QString() << QString() << u"-"_s;
        QTest::newRow("X answers") << QString() << u":0"_s << u"wayland-0"_s << QString();
        QTest::newRow("nobody at DISPLAY") << QString() << u":5"_s << QString() << u"-"_s;
        QTest::newRow("dead X, live Wayland: natively") << QString() << u":5"_s << u"wayland-0"_s << u"wayland"_s;
        QTest::newRow("absolute Wayland socket") << QString() << QString() << u"/run/user/1/wayland-0"_s << u"wayland"_s;
        QTest::newRow("xcb asked for, only Wayland") << u"xcb"_s << QString() << u"wayland-0"_s << u"-"_s;
        QTest::newRow("wayland asked for, no socket") << u"wayland"_s << u":0"_s << u"wayland-1"_s << u"-"_s;
        QTest::newRow("list falls back to xcb:args") << u"wayland;xcb:nograb"_s << u":0"_s << u"wayland-1"_s << QString();
        QTest::newRow("offscreen needs no server") << u"offscreen"_s << QString() << QString() << QString();
    }

    void decide()
    {
        QFETCH(QString, platform);
        QFETCH(QString, display);
        QFETCH(QString, waylandDisplay);
        QFETCH(QString, outcome);

        const auto answers = [](const QString& address) { return address == u":0" || address == u"/run/user/1/wayland-0"; };
        const auto decision = DisplayConnection::decide({platform, display, waylandDisplay, u"/run/user/1"_s}, {answers, answers});
        QCOMPARE(decision.reachable, outcome != u"-");
        QCOMPARE(decision.platform, decision.reachable ? outcome : QString());
    }
};

QTEST_APPLESS_MAIN(tst_DisplayConnection)
#include "tst_DisplayConnection.moc"
