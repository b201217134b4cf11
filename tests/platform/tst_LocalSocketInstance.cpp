#include "LocalSocketInstance.h"

#include <QFile>
#include <QLocalServer>
#include <QLocalSocket>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QUuid>
#include <memory>

/** The first start runs, later starts wake it; dead holders do not block a new start. */
class tst_LocalSocketInstance : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void init()
    {
        QVERIFY(m_dir.isValid());
        // A fresh name per test keeps runs of this test from meeting each other.
        m_name = QStringLiteral("quippet-test-") +
                 QUuid::createUuid().toString(QUuid::WithoutBraces).left(8);
    }

    void secondStartWakesTheFirst()
    {
        LocalSocketInstance first(m_name, m_dir.path());
        QSignalSpy shown(&first, &SingleInstance::showRequested);
        QVERIFY(!first.otherInstanceRunning());

        LocalSocketInstance second(m_name, m_dir.path());
        QVERIFY(second.otherInstanceRunning());
        QVERIFY(shown.wait(2000));
        QCOMPARE(shown.count(), 1);
    }

    void everyLaterStartWakesAgain()
    {
        LocalSocketInstance first(m_name, m_dir.path());
        QSignalSpy shown(&first, &SingleInstance::showRequested);
        QVERIFY(!first.otherInstanceRunning());

        for (int start = 1; start <= 3; ++start) {
            LocalSocketInstance later(m_name, m_dir.path());
            QVERIFY(later.otherInstanceRunning());
            QTRY_COMPARE_WITH_TIMEOUT(shown.count(), start, 2000);
        }
    }

    void endedInstanceFreesTheName()
    {
        {
            LocalSocketInstance first(m_name, m_dir.path());
            QVERIFY(!first.otherInstanceRunning());
        }
        LocalSocketInstance next(m_name, m_dir.path());
        QVERIFY(!next.otherInstanceRunning());
        LocalSocketInstance after(m_name, m_dir.path());
        QVERIFY(after.otherInstanceRunning());
    }

    void leftoversOfACrashAreCleared_data()
    {
        QTest::addColumn<bool>("staleLock");
        QTest::addColumn<bool>("staleSocket");

        QTest::newRow("lock of a dead process") << true << false;
        QTest::newRow("socket file without server") << false << true;
        QTest::newRow("both") << true << true;
    }

    void leftoversOfACrashAreCleared()
    {
        QFETCH(bool, staleLock);
        QFETCH(bool, staleSocket);

        if (staleLock) {
            // The lock file as a crashed holder leaves it: pid, application, host.
            QFile lock(m_dir.filePath(m_name + QStringLiteral(".lock")));
            QVERIFY(lock.open(QIODevice::WriteOnly));
            lock.write(QByteArray::number(deadPid()) + "\nquippet\n\n");
        }
        std::unique_ptr<QLocalServer> crashed;
        if (staleSocket) {
            // A server that stops accepting without removing its socket file.
            crashed = std::make_unique<QLocalServer>();
            crashed->setSocketOptions(QLocalServer::UserAccessOption);
            QVERIFY(crashed->listen(m_name));
            crashed->close();
        }

        LocalSocketInstance instance(m_name, m_dir.path());
        QSignalSpy shown(&instance, &SingleInstance::showRequested);
        QVERIFY(!instance.otherInstanceRunning());

        LocalSocketInstance later(m_name, m_dir.path());
        QVERIFY(later.otherInstanceRunning());
        QVERIFY(shown.wait(2000));
    }

    void otherMessagesAreIgnored_data()
    {
        QTest::addColumn<QByteArray>("message");
        QTest::addColumn<int>("expectedShows");

        QTest::newRow("show") << QByteArray("show\n") << 1;
        QTest::newRow("show twice in one write") << QByteArray("show\nshow\n") << 2;
        QTest::newRow("unknown word") << QByteArray("quit\n") << 0;
        QTest::newRow("no line end") << QByteArray("show") << 0;
        QTest::newRow("prefix only") << QByteArray("shower\n") << 0;
    }

    void otherMessagesAreIgnored()
    {
        QFETCH(QByteArray, message);
        QFETCH(int, expectedShows);

        LocalSocketInstance instance(m_name, m_dir.path());
        QSignalSpy shown(&instance, &SingleInstance::showRequested);
        QVERIFY(!instance.otherInstanceRunning());

        QLocalSocket client;
        client.connectToServer(m_name);
        QVERIFY(client.waitForConnected(1000));
        client.write(message);
        QVERIFY(client.waitForBytesWritten(1000));
        client.disconnectFromServer();

        QTRY_COMPARE_WITH_TIMEOUT(shown.count(), expectedShows, 2000);
        // Give a wrongly accepted message the time to show up as well.
        QTest::qWait(200);
        QCOMPARE(shown.count(), expectedShows);
    }

private:
    static qint64 deadPid()
    {
        // Above the kernel's pid limit, so no process can have it.
        return 4194305 + 1000;
    }

    QTemporaryDir m_dir;
    QString m_name;
};

QTEST_GUILESS_MAIN(tst_LocalSocketInstance)
#include "tst_LocalSocketInstance.moc"
