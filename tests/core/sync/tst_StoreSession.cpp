#include "core/sync/StoreSession.h"
#include "fakes/FakeStoreDisk.h"
#include "fakes/FileBytes.h"
#include "fakes/TableRows.h"
#include "fakes/VectorSnippetList.h"

#include <QDir>
#include <QSemaphore>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

using namespace Qt::Literals::StringLiterals;

/** The store's life without a window: the first run, the store thread's results against changes
 * made meanwhile, and the final save with its question. */
class tst_StoreSession : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void init() { QTest::failOnWarning(QRegularExpression(u"^(?!Could not )"_s)); }

    void firstRunCreationFailureIsLogged()
    {
        QTemporaryDir dir;
        const QString file = dir.filePath(u"file"_s);
        writeBytes(file, {});
        QTest::ignoreMessage(QtWarningMsg, qPrintable(u"Could not create the empty store \"%1/Text.txt\": Not a directory"_s.arg(file)));
        VectorSnippetList list;
        StoreSession session(list);
        QCOMPARE(session.start(file + u"/Text.txt"_s, u"D"_s), StoreFile::LoadResult::Missing);
    }

    void resultAfterAChangeIsMergedWithIt_data()
    {
        // outside: a change made outside; empty: the same file delivered again, while a file beside it has the folder looked at
        // again; copy: a sync engine's conflict copy beside the store; atExit: the program exits while the thread's job is under way
        addColumns<QString, QByteArray, bool, QStringList>("outside", "copy", "atExit", "listed");
        const QStringList merged{u"D"_s, u"a"_s, u"x"_s, u"ours"_s, u"mine"_s};
        QTest::newRow("outside change") << u"append x"_s << QByteArray() << false << merged;
        QTest::newRow("and a conflict copy") << u"append x"_s << "\"a\"\r\n\"c\"\r\n"_ba << false
                                             << QStringList{u"D"_s, u"a"_s, u"x"_s, u"c"_s, u"ours"_s, u"mine"_s};
        QTest::newRow("a look asked for meanwhile does not replace the save")
            << QString() << QByteArray() << false << QStringList{u"D"_s, u"a"_s, u"ours"_s, u"mine"_s};
        QTest::newRow("the exit takes the job's result in before its own save") << u"append x"_s << QByteArray() << true << merged;
    }

    void resultAfterAChangeIsMergedWithIt()
    {
        const auto [outside, copy, atExit, listed] = fetch<QString, QByteArray, bool, QStringList>("outside", "copy", "atExit", "listed");
        QTemporaryDir dir;
        const QString conflictCopy = dir.filePath(u"Text.sync-conflict-20261207-120000-ABC2DEF.txt"_s);
        if (!copy.isEmpty())
            writeBytes(conflictCopy, copy);
        auto disk = std::make_shared<FakeStoreDisk>();
        disk->current = disk->make(FakeStoreDisk::line(u"a"_s));
        VectorSnippetList list({u"D"_s});
        QSemaphore reading, goOn;
        disk->onRead = [&] {
            reading.release();
            goOn.acquire();
        };
        StoreSession session(list, nullptr, disk);
        QSignalSpy copiesMerged(&session, &StoreSession::conflictCopyMerged);
        session.start(dir.filePath(u"Text.txt"_s), u"D"_s);
        session.backgroundSave().delayTimer().setInterval(0);
        session.setQuietMs(0);
        if (outside.isEmpty())
            disk->current = disk->make(disk->current->bytes);
        else
            disk->outside(outside);
        list.append(u"ours"_s);
        session.listChanged();
        // The store thread's job is held up in its read while the list changes again.
        QTRY_VERIFY(reading.available() > 0);
        list.append(u"mine"_s);
        session.listChanged();
        if (outside.isEmpty())
            writeBytes(dir.filePath(u"beside"_s), {});
        QTest::qWait(100); // the folder's look is asked for while the thread is held
        goOn.release(9);   // this read and any after it go on
        if (!atExit) {
            QTRY_COMPARE(list.entries(), listed);
            QTRY_COMPARE(disk->entries(), listed.mid(1)); // saved without waiting for the exit
        }
        session.finish([](const QString&) { return false; });
        QCOMPARE(disk->entries(), listed.mid(1));
        QVERIFY(copiesMerged.count() == (copy.isEmpty() ? 0 : 1) && !QFile::exists(conflictCopy) && disk->stamps < 20); // moved aside; few looks
    }

    void finishAsksBeforeDiscarding_data()
    {
        addColumns<bool, QList<bool>, int>("blocked", "answers", "questions"); // blocked: a folder replaces the store before the final save
        QTest::newRow("saved: no question") << false << QList<bool>{} << 0;
        QTest::newRow("retried once, then discarded") << true << QList<bool>{true, false} << 2;
    }

    void finishAsksBeforeDiscarding()
    {
        const auto [blocked, answers] = fetch<bool, QList<bool>>("blocked", "answers");
        QTemporaryDir dir;
        const QString path = dir.filePath(u"Text.txt"_s);
        writeBytes(path, "\"a\"\r\n");
        VectorSnippetList list({u"D"_s});
        StoreSession session(list);
        QCOMPARE(session.start(path, u"D"_s), StoreFile::LoadResult::Loaded);
        list.append(u"D"_s);
        list.append(u"b"_s);
        if (blocked)
            QVERIFY(QFile::remove(path) && QDir().mkdir(path));
        QStringList reasons;
        session.finish([&](const QString& reason) {
            reasons << reason;
            return answers.value(reasons.size() - 1);
        });
        QTEST(int(reasons.size()), "questions");
        QVERIFY(!reasons.contains(QString()) && list.entries() == (QStringList{u"a"_s, u"b"_s})); // every copy of the date purged
        if (!blocked)
            QCOMPARE(readBytes(path), "\"a\"\r\n\"b\"\r\n"_ba);
        session.finish([](const QString&) { return true; }); // runs once
        QCOMPARE(reasons.size(), answers.size());
    }
};

QTEST_MAIN(tst_StoreSession)
#include "tst_StoreSession.moc"
