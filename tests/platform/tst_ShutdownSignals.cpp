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
        struct sigaction before = {};
        QCOMPARE(::sigaction(signalNumber, nullptr, &before), 0);
        {
            ShutdownSignals watcher;
            QSignalSpy spy(&watcher, &ShutdownSignals::shutdownRequested);

            QCOMPARE(::raise(signalNumber), 0);
            // Delivered through the event loop, never from inside the handler.
            QCOMPARE(spy.count(), 0);
            QVERIFY(spy.wait(2000));
            QCOMPARE(spy.count(), 1);
        }
        // The previous handler comes back once the watcher is gone.
        struct sigaction after = {};
        QCOMPARE(::sigaction(signalNumber, nullptr, &after), 0);
        QVERIFY(after.sa_handler == before.sa_handler);
    }
};

QTEST_GUILESS_MAIN(tst_ShutdownSignals)
#include "tst_ShutdownSignals.moc"
