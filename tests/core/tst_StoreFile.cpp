#include "FileBytes.h"
#include "FileSizeLimit.h"
#include "StoreFile.h"
#include "VectorSnippetList.h"

#include <QDir>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QTest>
#include <unistd.h>

using namespace Qt::Literals::StringLiterals;

namespace {
bool skipAsRoot(bool usesPermissions)
{
    return usesPermissions && ::geteuid() == 0;
}

void setWritable(const QString& path, bool writable)
{
    QFile::setPermissions(path,
                          QFileDevice::ReadOwner | QFileDevice::ExeOwner |
                              (writable ? QFileDevice::WriteOwner : QFileDevice::Permission{}));
}
} // namespace

/** The store on disk: what is written, what is read back, and that failures keep the old file. */
class tst_StoreFile : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void saveThenLoad_data()
    {
        QTest::addColumn<QStringList>("entries");
        QTest::addColumn<QByteArray>("bytes");

        QTest::newRow("empty list gives zero-byte file") << QStringList() << QByteArray();
        QTest::newRow("33-byte example")
            << QStringList{u"Hello, world"_s, u" indented"_s, QString()}
            << QByteArray::fromHex("2248656C6C6F2C20776F726C64220D0A"
                                   "2220696E64656E746564220D0A22220D0A");
        QTest::newRow("quotes and UTF-8")
            << QStringList{u"a \"b\" \u00E9"_s} << QByteArray("\"a \"\"b\"\" \xC3\xA9\"\r\n");
    }

    void saveThenLoad()
    {
        QFETCH(QStringList, entries);
        QFETCH(QByteArray, bytes);

        QTemporaryDir dir;
        StoreFile store(dir.filePath(u"Text.txt"_s));
        QString error;
        QVERIFY2(store.save(VectorSnippetList(entries), &error), qPrintable(error));
        QCOMPARE(readBytes(store.path()), bytes);

        VectorSnippetList loaded;
        QCOMPARE(store.load(loaded), StoreFile::LoadResult::Loaded);
        QCOMPARE(loaded.entries(), entries);
    }

    void loadAppendsFileEntries_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QStringList>("entries");

        QTest::newRow("behind the existing entry")
            << QByteArray("\"a\"\r\n\"b\"\r\n") << QStringList{u"a"_s, u"b"_s};
        QTest::newRow("Windows-1252 file") << QByteArray("\"caf\xE9\"\r\n\"\x80 5\"\r\n")
                                           << QStringList{u"caf\u00E9"_s, u"\u20AC 5"_s};
        QTest::newRow("UTF-8 file with BOM")
            << QByteArray("\xEF\xBB\xBF\"caf\xC3\xA9\"\r\n") << QStringList{u"caf\u00E9"_s};
        QTest::newRow("mixed: each entry in its own encoding")
            << QByteArray("\"caf\xC3\xA9\"\r\n\"caf\xE9\"\r\n\"\xE2\x82\xAC\",\x80\r\n")
            << QStringList{u"caf\u00E9"_s, u"caf\u00E9"_s, u"\u20AC"_s, u"\u20AC"_s};
        QTest::newRow("mixed with BOM: Windows-1252 first entry")
            << QByteArray("\xEF\xBB\xBF\"\xE9\"\r\n\"\xC3\xA9\"\"x\"\r\n")
            << QStringList{u"\u00E9"_s, u"\u00E9\"x"_s};
        QTest::newRow("mixed inside one entry is Windows-1252")
            << QByteArray("\"\xC3\xA9\xE9\"\r\n") << QStringList{u"\u00C3\u00A9\u00E9"_s};
    }

    void loadAppendsFileEntries()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(QStringList, entries);

        QTemporaryDir dir;
        StoreFile store(dir.filePath(u"Text.txt"_s));
        writeBytes(store.path(), bytes);
        VectorSnippetList list(QStringList{u"today"_s});
        QCOMPARE(store.load(list), StoreFile::LoadResult::Loaded);
        QCOMPARE(list.entries(), QStringList{u"today"_s} + entries);
    }

    void loadFailureLeavesListAndFileAlone_data()
    {
        QTest::addColumn<QString>("obstacle");
        QTest::addColumn<StoreFile::LoadResult>("result");

        QTest::newRow("missing file") << u"none"_s << StoreFile::LoadResult::Missing;
        QTest::newRow("directory in the way") << u"dir"_s << StoreFile::LoadResult::Unreadable;
        QTest::newRow("no read permission") << u"no-read"_s << StoreFile::LoadResult::Unreadable;
    }

    void loadFailureLeavesListAndFileAlone()
    {
        QFETCH(QString, obstacle);
        QFETCH(StoreFile::LoadResult, result);
        if (skipAsRoot(obstacle == u"no-read"_s))
            QSKIP("file permissions do not stop root from reading");

        QTemporaryDir dir;
        StoreFile store(dir.filePath(u"Text.txt"_s));
        const QByteArray original("\"keep me\"\r\n");
        if (obstacle == u"dir"_s)
            QVERIFY(QDir(dir.path()).mkdir(u"Text.txt"_s));
        if (obstacle == u"no-read"_s) {
            writeBytes(store.path(), original);
            QVERIFY(QFile::setPermissions(store.path(), QFileDevice::Permissions()));
        }

        VectorSnippetList list(QStringList{u"today"_s});
        const StoreFile::LoadResult got = store.load(list);
        const QString backup = store.path() + u".bak"_s;
        setWritable(store.path(), true);
        setWritable(backup, true);
        QCOMPARE(got, result);
        QCOMPARE(list.entries(), QStringList{u"today"_s});
        if (obstacle == u"none"_s) // nothing is created for a store that is not there
            QVERIFY(QDir(dir.path()).isEmpty());
        if (obstacle == u"dir"_s) // a directory holds nothing worth a backup
            QVERIFY(QFileInfo(store.path()).isDir() && !QFileInfo::exists(backup));
        if (obstacle == u"no-read"_s) // the bytes survive, in place or as the backup
            QVERIFY(readBytes(store.path()) == original || readBytes(backup) == original);
    }

    void saveLeavesOutDateEntry()
    {
        QTemporaryDir dir;
        const StoreFile store(dir.filePath(u"Text.txt"_s));
        const QString today = u"2024-03-01"_s;
        QVERIFY(
            store.save(VectorSnippetList({today, u"a"_s, today + u' ', today}), nullptr, today));
        QCOMPARE(readBytes(store.path()), QByteArray("\"a\"\r\n\"2024-03-01 \"\r\n"));
    }

    void failedSaveKeepsOldFile_data()
    {
        QTest::addColumn<bool>("readOnlyFolder"); // otherwise the disk fills during the write
        QTest::newRow("disk fills during the write") << false;
        QTest::newRow("folder became read-only") << true;
    }

    void failedSaveKeepsOldFile()
    {
        QFETCH(bool, readOnlyFolder);
        if (skipAsRoot(readOnlyFolder))
            QSKIP("file permissions do not stop root from writing");

        QTemporaryDir dir;
        const StoreFile store(dir.filePath(u"Text.txt"_s));
        const QByteArray original("\"old\"\r\n\"entries\"\r\n");
        writeBytes(store.path(), original);
        QStringList entries;
        for (int i = 0; i < 200; ++i)
            entries.append(u"a longer entry number %1"_s.arg(i));

        QString error;
        bool saved = true;
        if (readOnlyFolder) {
            setWritable(dir.path(), false);
            saved = store.save(VectorSnippetList(entries), &error);
            setWritable(dir.path(), true);
        } else {
            const FileSizeLimit limit(64);
            saved = store.save(VectorSnippetList(entries), &error);
        }
        QVERIFY(!saved);
        QVERIFY(!error.isEmpty());
        QCOMPARE(readBytes(store.path()), original);
        QCOMPARE(QDir(dir.path()).entryList(QDir::Files), QStringList{u"Text.txt"_s});
    }

    void createEmpty_data()
    {
        QTest::addColumn<QString>("existing");
        QTest::addColumn<bool>("succeeds");
        QTest::addColumn<QByteArray>("bytesAfter");

        QTest::newRow("missing file is created empty") << u"none"_s << true << QByteArray();
        QTest::newRow("existing file is not truncated")
            << u"file"_s << true << QByteArray("\"keep\"\r\n");
        QTest::newRow("directory in the way fails") << u"dir"_s << false << QByteArray();
        QTest::newRow("missing folder fails") << u"no-folder"_s << false << QByteArray();
    }

    void createEmpty()
    {
        QFETCH(QString, existing);
        QFETCH(bool, succeeds);
        QFETCH(QByteArray, bytesAfter);

        QTemporaryDir dir;
        QString path = dir.filePath(u"Text.txt"_s);
        if (existing == u"file"_s)
            writeBytes(path, bytesAfter);
        else if (existing == u"dir"_s)
            QVERIFY(QDir(dir.path()).mkdir(u"Text.txt"_s));
        else if (existing == u"no-folder"_s)
            path = dir.filePath(u"missing/Text.txt"_s);

        QString error;
        QCOMPARE(StoreFile(path).createEmpty(&error), succeeds);
        QCOMPARE(QFileInfo(path).isFile(), succeeds);
        QCOMPARE(error.isEmpty(), succeeds);
        if (succeeds)
            QCOMPARE(readBytes(path), bytesAfter);
    }

    void choosePath_data()
    {
        QTest::addColumn<QString>("programFolder");
        QTest::addColumn<bool>("usesProgramFolder");

        QTest::newRow("writable program folder") << u"program"_s << true;
        QTest::newRow("read-only program folder") << u"read-only"_s << false;
        QTest::newRow("program folder is a file") << u"file"_s << false;
        QTest::newRow("no program folder") << QString() << false;
    }

    void choosePath()
    {
        QFETCH(QString, programFolder);
        QFETCH(bool, usesProgramFolder);
        if (skipAsRoot(programFolder == u"read-only"_s))
            QSKIP("file permissions do not stop root from writing");

        QTemporaryDir dir;
        QVERIFY(QDir(dir.path()).mkpath(u"program"_s) && QDir(dir.path()).mkpath(u"read-only"_s));
        setWritable(dir.filePath(u"read-only"_s), false);
        writeBytes(dir.filePath(u"file"_s), QByteArray());
        const QString program = programFolder.isEmpty() ? QString() : dir.filePath(programFolder);
        const QString userData = dir.filePath(u"user/data"_s);

        const QString path = StoreFile::choosePath(program, userData);
        setWritable(dir.filePath(u"read-only"_s), true);
        const QString folder = usesProgramFolder ? program : userData;
        QCOMPARE(path, folder + u"/Text.txt"_s);
        QVERIFY(QFileInfo(folder).isDir());
        QCOMPARE(QFileInfo::exists(userData), !usesProgramFolder);
    }
};

QTEST_GUILESS_MAIN(tst_StoreFile)
#include "tst_StoreFile.moc"
