#include "FileBytes.h"
#include "FileSizeLimit.h"
#include "StoreFile.h"
#include "VectorSnippetList.h"

#include <QDir>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QTest>
#include <memory>
#include <unistd.h>

using namespace Qt::Literals::StringLiterals;

/** The store on disk: what is written, what is read back, and that failures keep the old file. */
class tst_StoreFile : public QObject
{
    Q_OBJECT

private:
    std::unique_ptr<QTemporaryDir> m_dir;
    QString m_path;

    static void setWritable(const QString& path, bool writable)
    {
        QFile::setPermissions(path,
                              QFileDevice::ReadOwner | QFileDevice::ExeOwner | (writable ? QFileDevice::WriteOwner : QFileDevice::Permission{}));
    }
    static bool permissionsBindUs() { return ::geteuid() != 0; }

private Q_SLOTS:
    void init()
    {
        m_dir = std::make_unique<QTemporaryDir>();
        m_path = m_dir->filePath(u"Text.txt"_s);
    }

    void saveThenLoad_data()
    {
        QTest::addColumn<QStringList>("entries");
        QTest::addColumn<QByteArray>("bytes");
        // clang-format off
        QTest::newRow("empty list gives zero-byte file") << QStringList() << QByteArray();
        QTest::newRow("33-byte example") << QStringList{u"Hello, world"_s, u" indented"_s, QString()} << QByteArray::fromHex("2248656C6C6F2C20776F726C64220D0A2220696E64656E746564220D0A22220D0A");
        // clang-format on
    }

    void saveThenLoad()
    {
        QFETCH(QStringList, entries);
        QString error;
        QVERIFY2(StoreFile(m_path).save(VectorSnippetList(entries), &error), qPrintable(error));
        QTEST(readBytes(m_path), "bytes");
        VectorSnippetList loaded;
        QCOMPARE(StoreFile(m_path).load(loaded), StoreFile::LoadResult::Loaded);
        QCOMPARE(loaded.entries(), entries);
    }

    void load_data()
    {
        QTest::addColumn<QString>("obstacle"); // "file" holds the bytes
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<StoreFile::LoadResult>("result");
        QTest::addColumn<QStringList>("entries"); // behind the one already listed
        // clang-format off
        // Each entry in its own encoding; a BOM opening the file is skipped.
        QTest::newRow("Windows-1252 file") << u"file"_s << QByteArray("\"ok\"\r\n\"caf\xE9\"\r\n\"\x80 5\"\r\n") << StoreFile::LoadResult::Loaded << QStringList{u"ok"_s, u"caf\u00E9"_s, u"\u20AC 5"_s};
        QTest::newRow("mixed: each entry in its own encoding") << u"file"_s << QByteArray("\"caf\xC3\xA9\"\r\n\"caf\xE9\"\r\n\"\xE2\x82\xAC\",\x80\r\n") << StoreFile::LoadResult::Loaded << QStringList{u"caf\u00E9"_s, u"caf\u00E9"_s, u"\u20AC"_s, u"\u20AC"_s};
        QTest::newRow("mixed with BOM: Windows-1252 first entry") << u"file"_s << QByteArray("\xEF\xBB\xBF\"\xE9\"\r\n\"\xC3\xA9\"\"x\"\r\n") << StoreFile::LoadResult::Loaded << QStringList{u"\u00E9"_s, u"\u00E9\"x"_s};
        QTest::newRow("missing file") << u"none"_s << QByteArray() << StoreFile::LoadResult::Missing << QStringList();
        QTest::newRow("directory in the way") << u"dir"_s << QByteArray() << StoreFile::LoadResult::Unreadable << QStringList();
        QTest::newRow("no read permission") << u"no-read"_s << QByteArray("\"keep me\"\r\n") << StoreFile::LoadResult::Unreadable << QStringList();
        // clang-format on
    }

    void load()
    {
        QFETCH(QString, obstacle);
        QFETCH(QByteArray, bytes);
        QFETCH(QStringList, entries);
        if (obstacle == u"no-read"_s && !permissionsBindUs())
            QSKIP("file permissions do not stop root from reading");
        if (obstacle == u"dir"_s)
            QVERIFY(QDir(m_dir->path()).mkdir(u"Text.txt"_s));
        if (!bytes.isNull())
            writeBytes(m_path, bytes);
        if (obstacle == u"no-read"_s)
            QVERIFY(QFile::setPermissions(m_path, QFileDevice::Permissions()));

        VectorSnippetList list(QStringList{u"today"_s});
        QTEST(StoreFile(m_path).load(list), "result");
        const QString backup = m_path + u".bak"_s;
        setWritable(m_path, true);
        QCOMPARE(list.entries(), QStringList{u"today"_s} + entries);
        if (obstacle == u"none"_s) // nothing is created for a store that is not there
            QVERIFY(QDir(m_dir->path()).isEmpty());
        if (obstacle == u"dir"_s) // a directory holds nothing worth a backup
            QVERIFY(QFileInfo(m_path).isDir() && !QFileInfo::exists(backup));
        if (obstacle == u"no-read"_s) // the bytes survive, in place or as the backup
            QVERIFY(readBytes(m_path) == bytes || readBytes(backup) == bytes);
    }

    void saveLeavesOutDateEntry()
    {
        const QString today = u"2024-03-01"_s;
        QVERIFY(StoreFile(m_path).save(VectorSnippetList({today, u"a"_s, today + u' ', today}), nullptr, today));
        QCOMPARE(readBytes(m_path), QByteArray("\"a\"\r\n\"2024-03-01 \"\r\n"));
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
        if (readOnlyFolder && !permissionsBindUs())
            QSKIP("file permissions do not stop root from writing");
        const QByteArray original("\"old\"\r\n\"entries\"\r\n");
        writeBytes(m_path, original);
        QStringList entries;
        for (int i = 0; i < 200; ++i)
            entries.append(u"a longer entry number %1"_s.arg(i));
        QString error;
        bool saved = true;
        if (readOnlyFolder) {
            setWritable(m_dir->path(), false);
            saved = StoreFile(m_path).save(VectorSnippetList(entries), &error);
            setWritable(m_dir->path(), true);
        } else {
            const FileSizeLimit limit(64);
            saved = StoreFile(m_path).save(VectorSnippetList(entries), &error);
        }
        QVERIFY(!saved);
        QVERIFY(!error.isEmpty());
        QCOMPARE(readBytes(m_path), original);
        QCOMPARE(QDir(m_dir->path()).entryList(QDir::Files), QStringList{u"Text.txt"_s});
    }

    void createEmpty_data()
    {
        QTest::addColumn<QString>("existing");
        QTest::addColumn<bool>("succeeds");
        QTest::addColumn<QByteArray>("bytesAfter");
        QTest::newRow("missing file is created empty") << u"none"_s << true << QByteArray();
        QTest::newRow("existing file is not truncated") << u"file"_s << true << QByteArray("\"keep\"\r\n");
        QTest::newRow("directory in the way fails") << u"dir"_s << false << QByteArray();
        QTest::newRow("missing folder fails") << u"no-folder"_s << false << QByteArray();
    }

    void createEmpty()
    {
        QFETCH(QString, existing);
        QFETCH(bool, succeeds);
        QFETCH(QByteArray, bytesAfter);
        if (existing == u"file"_s)
            writeBytes(m_path, bytesAfter);
        else if (existing == u"dir"_s)
            QVERIFY(QDir(m_dir->path()).mkdir(u"Text.txt"_s));
        else if (existing == u"no-folder"_s)
            m_path = m_dir->filePath(u"missing/Text.txt"_s);
        QString error;
        QCOMPARE(StoreFile(m_path).createEmpty(&error), succeeds);
        QCOMPARE(QFileInfo(m_path).isFile(), succeeds);
        QCOMPARE(error.isEmpty(), succeeds);
        if (succeeds)
            QCOMPARE(readBytes(m_path), bytesAfter);
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
        if (programFolder == u"read-only"_s && !permissionsBindUs())
            QSKIP("file permissions do not stop root from writing");
        const QDir dir(m_dir->path());
        QVERIFY(dir.mkpath(u"program"_s) && dir.mkpath(u"read-only"_s));
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
