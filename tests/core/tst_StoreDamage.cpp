#include "FileBytes.h"
#include "StoreFile.h"
#include "UnreadableFile.h"
#include "VectorSnippetList.h"

#include <QDir>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QTest>

using namespace Qt::Literals::StringLiterals;

/** A store that cannot be loaded keeps its bytes, older backups stay, and nothing is lost. */
class tst_StoreDamage : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void unreadableStoreIsKeptUnderNextFreeName_data()
    {
        QTest::addColumn<int>("olderBackups"); // Text.txt.bak, Text.txt.1.bak, ... already there
        QTest::addColumn<QString>("keptAs");   // empty: kept nowhere

        QTest::newRow("first incident") << 0 << u"Text.txt.bak"_s;
        QTest::newRow("second incident") << 1 << u"Text.txt.1.bak"_s;
        QTest::newRow("third incident") << 2 << u"Text.txt.2.bak"_s;
        QTest::newRow("every name taken") << StoreFile::MaxBackups << QString();
    }

    void unreadableStoreIsKeptUnderNextFreeName()
    {
        QFETCH(int, olderBackups);
        QFETCH(QString, keptAs);

        QTemporaryDir dir;
        StoreFile store(dir.filePath(u"Text.txt"_s));
        QVERIFY(makeUnreadableFile(store.path()));
        QStringList older;
        for (int i = 0; i < olderBackups; ++i) {
            older.append(i == 0 ? store.path() + u".bak"_s : u"%1.%2.bak"_s.arg(store.path()).arg(i));
            writeBytes(older.last(), QByteArray::number(i));
        }

        VectorSnippetList list(QStringList{u"today"_s});
        QCOMPARE(store.load(list), StoreFile::LoadResult::Unreadable);
        const QString warning = store.loadWarning();
        QVERIFY2(warning.contains(store.path()) && warning.contains(u"Reason: "_s), qPrintable(warning));
        QCOMPARE(warning.contains(u"not saved in this session"_s), keptAs.isEmpty());

        list.append(u"new"_s);
        QCOMPARE(store.save(list), !keptAs.isEmpty());
        if (keptAs.isEmpty()) {
            // Kept nowhere: the damaged store stays in place, untouched by any save.
            QVERIFY(!QFileInfo(store.path()).isFile() && QFileInfo::exists(store.path()));
        } else {
            QVERIFY(warning.contains(dir.filePath(keptAs)));
            QVERIFY(QFileInfo::exists(dir.filePath(keptAs)));
            QCOMPARE(readBytes(store.path()), QByteArray("\"today\"\r\n\"new\"\r\n"));
        }
        for (int i = 0; i < olderBackups; ++i)
            QCOMPARE(readBytes(older[i]), QByteArray::number(i));
    }

    void storeOverLimitIsNeitherLoadedNorSavedOver()
    {
        QTemporaryDir dir;
        StoreFile store(dir.filePath(u"Text.txt"_s));
        QFile big(store.path());
        // Sparse: the size is what counts, not the bytes.
        QVERIFY(big.open(QIODevice::WriteOnly) && big.resize(StoreFile::MaxBytes + 1));
        big.close();

        VectorSnippetList list(QStringList{u"today"_s});
        QCOMPARE(store.load(list), StoreFile::LoadResult::TooLarge);
        QCOMPARE(list.entries(), QStringList{u"today"_s});
        QVERIFY2(store.loadWarning().contains(u"more than the 256 MB"_s), qPrintable(store.loadWarning()));
        QString error;
        QVERIFY(!store.savesAllowed() && !store.save(list, &error) && !error.isEmpty());
        QCOMPARE(QFileInfo(store.path()).size(), StoreFile::MaxBytes + 1);
        QCOMPARE(QDir(dir.path()).entryList(QDir::Files), QStringList{u"Text.txt"_s});
    }

    void twentyMegabyteEntryRoundTrips()
    {
        QTemporaryDir dir;
        StoreFile store(dir.filePath(u"Text.txt"_s));
        // Quotes, line breaks and two-byte characters throughout, so the reader's chunks end
        // inside doubled quotes and characters alike.
        const QString pattern = u"ab\"c\r\n\u00E9, \"\""_s;
        const QString big = pattern.repeated(20 * 1024 * 1024 / pattern.size());
        const QStringList entries{u"before"_s, big, u"after"_s};
        QVERIFY(store.save(VectorSnippetList(entries)));
        VectorSnippetList loaded;
        QCOMPARE(store.load(loaded), StoreFile::LoadResult::Loaded);
        QVERIFY(loaded.entries() == entries);
    }
};

QTEST_GUILESS_MAIN(tst_StoreDamage)
#include "tst_StoreDamage.moc"
