#include "FileBytes.h"
#include "LocalSocketInstance.h"

#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QUuid>

/** The first start runs, later starts wake it; dead holders do not block a new start. */
class tst_LocalSocketInstance : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void init()
    {
        QVERIFY(m_dir.isValid());
        // A fresh name per test keeps runs of this test from meeting each other.
        m_name = QStringLiteral("quippet-test-") + QUuid::createUuid().toString(QUuid::WithoutBraces).left(8);
    }

    void everyLaterStartWakesTheFirst()
    {
        LocalSocketInstance first(m_name, m_dir.path());
        QSignalSpy shown(&first, &SingleInstance::showRequested);
        QVERIFY(!first.otherInstanceRunning());

        for (int start = 1; start <= 2; ++start) {
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
    }

    void lockOfACrashedHolderIsCleared()
    {
        // The lock file as a crashed holder leaves it: a pid above the kernel's limit,
        // application, host.
        writeBytes(m_dir.filePath(m_name + QStringLiteral(".lock")), "4195305\nquippet\n\n");

        LocalSocketInstance instance(m_name, m_dir.path());
        QSignalSpy shown(&instance, &SingleInstance::showRequested);
        QVERIFY(!instance.otherInstanceRunning());
        LocalSocketInstance later(m_name, m_dir.path());
        QVERIFY(later.otherInstanceRunning());
        QVERIFY(shown.wait(2000));
    }

private:
    QTemporaryDir m_dir;
    QString m_name;
};

QTEST_GUILESS_MAIN(tst_LocalSocketInstance)
#include "tst_LocalSocketInstance.moc"
