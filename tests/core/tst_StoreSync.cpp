#include "FileBytes.h"
#include "StoreFile.h"
#include "StoreSync.h"
#include "VectorSnippetList.h"

#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <cstdio>

using namespace Qt::Literals::StringLiterals;

/** The store kept in step with outside changes: before every save, and through the watcher. */
class tst_StoreSync : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void saveMergesFirst_data()
    {
        QTest::addColumn<QByteArray>("outside");
        QTest::addColumn<QStringList>("list");

        // Quippet read "a","b" and added "ours"; then the outside wrote this (empty: removed).
        const QStringList ours{u"D"_s, u"a"_s, u"b"_s, u"ours"_s};
        QTest::newRow("untouched") << QByteArray("\"a\"\r\n\"b\"\r\n") << ours;
        QTest::newRow("same entries written again") << QByteArray("a\r\nb\r\n") << ours;
        QTest::newRow("line added and line removed") << QByteArray("\"x\"\r\n\"b\"\r\n") << QStringList{u"D"_s, u"x"_s, u"b"_s, u"ours"_s};
        QTest::newRow("vanished: written from the list") << QByteArray() << ours;
    }

    void saveMergesFirst()
    {
        QFETCH(QByteArray, outside);
        QFETCH(QStringList, list);

        QTemporaryDir dir;
        const QString path = dir.filePath(u"Text.txt"_s);
        writeBytes(path, "\"a\"\r\n\"b\"\r\n");
        StoreFile store(path);
        VectorSnippetList entries({u"D"_s});
        store.load(entries);
        StoreSync sync(store, entries, u"D"_s);
        sync.begin();
        sync.stop(); // the check before the save alone
        entries.append(u"ours"_s);

        QFile::remove(path);
        if (!outside.isEmpty())
            writeBytes(path, outside);
        QVERIFY(sync.save());
        QCOMPARE(entries.entries(), list);

        // A second outside change after a merged save is seen as well.
        writeBytes(path, readBytes(path) + "\"z\"\r\n");
        QVERIFY(sync.save());
        QCOMPARE(entries.entries(), list + QStringList{u"z"_s});
        VectorSnippetList written;
        store.load(written);
        QCOMPARE(written.entries(), list.mid(1) + QStringList{u"z"_s});
    }

    void watcherMergesReplacedFile()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath(u"Text.txt"_s);
        writeBytes(path, "\"a\"\r\n");
        StoreFile store(path);
        VectorSnippetList entries;
        store.load(entries);
        StoreSync sync(store, entries, QString());
        QSignalSpy merged(&sync, &StoreSync::merged);
        sync.begin();

        // Our own saves are not taken for outside changes.
        entries.append(u"ours"_s);
        QVERIFY(sync.save());
        QTest::qWait(2 * StoreSync::DefaultQuietMs);
        QCOMPARE(merged.count(), 0);

        // Replaced twice by renames: the watch follows each new file.
        for (const QString& line : {u"x"_s, u"y"_s}) {
            writeBytes(dir.filePath(u"new"_s), readBytes(path) + '"' + line.toUtf8() + "\"\r\n");
            QCOMPARE(std::rename(qPrintable(dir.filePath(u"new"_s)), qPrintable(path)), 0);
            QTRY_VERIFY_WITH_TIMEOUT(entries.entries().contains(line), 1000);
        }
        QCOMPARE(entries.entries(), (QStringList{u"a"_s, u"ours"_s, u"x"_s, u"y"_s}));
        QCOMPARE(merged.count(), 2);
    }
};

QTEST_GUILESS_MAIN(tst_StoreSync)
#include "tst_StoreSync.moc"
