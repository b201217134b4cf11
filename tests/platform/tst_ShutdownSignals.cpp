#include "ShutdownSignals.h"

#include <QSignalSpy>
#include <QTest>
#include <csignal>

/** Termination signals arrive as one Qt signal on the event loop. */
class tst_ShutdownSignals : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void signalBecomesShutdownRequest_data()
    {
        QTest::addColumn<int>("signalNumber");

        QTest::newRow("SIGTERM") << SIGTERM;
        QTest::newRow("SIGINT") << SIGINT;
        QTest::newRow("SIGHUP") << SIGHUP;
    }

    void signalBecomesShutdownRequest()
    {
        QFETCH(int, signalNumber);
        ShutdownSignals watcher;
        QVERIFY(watcher.isActive());
        QSignalSpy spy(&watcher, &ShutdownSignals::shutdownRequested);

        QCOMPARE(::raise(signalNumber), 0);
        // Delivered through the event loop, never from inside the handler.
        QCOMPARE(spy.count(), 0);
        QVERIFY(spy.wait(2000));
        QCOMPARE(spy.count(), 1);
    }

    void burstOfSignalsIsOneRequestPerRead()
    {
        ShutdownSignals watcher;
        QSignalSpy spy(&watcher, &ShutdownSignals::shutdownRequested);
        QCOMPARE(::raise(SIGTERM), 0);
        QCOMPARE(::raise(SIGINT), 0);
        QVERIFY(spy.wait(2000));
        QTest::qWait(50);
        QCOMPARE(spy.count(), 1);
    }

    void previousHandlerComesBack()
    {
        struct sigaction before = {};
        QCOMPARE(::sigaction(SIGHUP, nullptr, &before), 0);
        {
            ShutdownSignals watcher;
            struct sigaction during = {};
            QCOMPARE(::sigaction(SIGHUP, nullptr, &during), 0);
            QVERIFY(during.sa_handler != before.sa_handler);
        }
        struct sigaction after = {};
        QCOMPARE(::sigaction(SIGHUP, nullptr, &after), 0);
        QVERIFY(after.sa_handler == before.sa_handler);
    }

    void innerInstanceHandsBackToOuter()
    {
        ShutdownSignals outer;
        QSignalSpy outerSpy(&outer, &ShutdownSignals::shutdownRequested);
        {
            ShutdownSignals inner;
            QSignalSpy innerSpy(&inner, &ShutdownSignals::shutdownRequested);
            QCOMPARE(::raise(SIGTERM), 0);
            QVERIFY(innerSpy.wait(2000));
        }
        QCOMPARE(outerSpy.count(), 0);
        QCOMPARE(::raise(SIGTERM), 0);
        QVERIFY(outerSpy.wait(2000));
    }
};

QTEST_GUILESS_MAIN(tst_ShutdownSignals)
#include "tst_ShutdownSignals.moc"
