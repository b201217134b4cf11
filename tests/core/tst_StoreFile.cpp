#include "FileSizeLimit.h"
#include "StoreFile.h"
#include "StoreFormat.h"
#include "VectorSnippetList.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QTest>
#include <unistd.h>

using namespace Qt::Literals::StringLiterals;

namespace {

bool runningAsRoot()
{
    return ::geteuid() == 0;
}

void writeBytes(const QString& path, const QByteArray& bytes)
{
    QFile file(path);
    QVERIFY2(file.open(QIODevice::WriteOnly), qPrintable(file.errorString()));
    QCOMPARE(file.write(bytes), bytes.size());
}

QByteArray readBytes(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return QByteArray("<unreadable>");
    return file.readAll();
}

} // namespace

class tst_StoreFile : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void saveThenLoad_data();
    void saveThenLoad();

    void loadAppendsBehindExistingEntries();
    void loadReadsExampleAndLegacyFiles_data();
    void loadReadsExampleAndLegacyFiles();
    void loadMissingFileLeavesListAlone();
    void loadDirectoryIsUnreadable();
    void loadWithoutReadPermissionIsUnreadable();

    void saveLeavesOutDateEntry();
    void failedSaveKeepsOldFile_data();
    void failedSaveKeepsOldFile();

    void createEmpty_data();
    void createEmpty();

    void choosePath_data();
    void choosePath();
    void choosePathSkipsReadOnlyProgramFolder();
};

void tst_StoreFile::saveThenLoad_data()
{
    QTest::addColumn<QStringList>("entries");
    QTest::addColumn<QByteArray>("bytes");

    QTest::newRow("empty list gives zero-byte file") << QStringList() << QByteArray();
    QTest::newRow("example list") << QStringList{u"Hello, world"_s, u" indented"_s, QString()}
                                  << QByteArray("\"Hello, world\"\r\n\" indented\"\r\n\"\"\r\n");
    QTest::newRow("entry with quotes")
        << QStringList{u"a \"b\" c"_s, u"\""_s} << QByteArray("\"a \"\"b\"\" c\"\r\n\"\"\"\"\r\n");
    QTest::newRow("non-ASCII stored as UTF-8")
        << QStringList{u"\u00E9\u20AC"_s} << QByteArray("\"\xC3\xA9\xE2\x82\xAC\"\r\n");
}

void tst_StoreFile::saveThenLoad()
{
    QFETCH(QStringList, entries);
    QFETCH(QByteArray, bytes);

    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    const StoreFile store(dir.filePath(u"Text.txt"_s));
    QString error;
    QVERIFY2(store.save(VectorSnippetList(entries), &error), qPrintable(error));
    QCOMPARE(readBytes(store.path()), bytes);

    VectorSnippetList loaded;
    StoreFile reader(store.path());
    QCOMPARE(reader.load(loaded), StoreFile::LoadResult::Loaded);
    QCOMPARE(loaded.entries(), entries);
}

void tst_StoreFile::loadAppendsBehindExistingEntries()
{
    QTemporaryDir dir;
    StoreFile store(dir.filePath(u"Text.txt"_s));
    writeBytes(store.path(), "\"a\"\r\n\"b\"\r\n");

    VectorSnippetList list(QStringList{u"today"_s});
    QCOMPARE(store.load(list), StoreFile::LoadResult::Loaded);
    QCOMPARE(list.entries(), (QStringList{u"today"_s, u"a"_s, u"b"_s}));
}

void tst_StoreFile::loadReadsExampleAndLegacyFiles_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QStringList>("entries");

    QTest::newRow("zero-byte file") << QByteArray() << QStringList();
    QTest::newRow("33-byte example")
        << QByteArray::fromHex("2248656C6C6F2C20776F726C64220D0A2220696E64656E746564220D0A22220D0A")
        << QStringList{u"Hello, world"_s, u" indented"_s, QString()};
    QTest::newRow("legacy single-byte file") << QByteArray("\"caf\xE9\"\r\n\"\x80 5\"\r\n")
                                             << QStringList{u"caf\u00E9"_s, u"\u20AC 5"_s};
    QTest::newRow("UTF-8 file with BOM")
        << QByteArray("\xEF\xBB\xBF\"caf\xC3\xA9\"\r\n") << QStringList{u"caf\u00E9"_s};
    QTest::newRow("hand-written unquoted line")
        << QByteArray("a, b\r\n\r\n") << QStringList{u"a"_s, u"b"_s, QString()};
}

void tst_StoreFile::loadReadsExampleAndLegacyFiles()
{
    QFETCH(QByteArray, bytes);
    QFETCH(QStringList, entries);

    QTemporaryDir dir;
    StoreFile store(dir.filePath(u"Text.txt"_s));
    writeBytes(store.path(), bytes);
    VectorSnippetList list;
    QCOMPARE(store.load(list), StoreFile::LoadResult::Loaded);
    QCOMPARE(list.entries(), entries);
}

void tst_StoreFile::loadMissingFileLeavesListAlone()
{
    QTemporaryDir dir;
    StoreFile store(dir.filePath(u"Text.txt"_s));
    VectorSnippetList list(QStringList{u"today"_s});
    QCOMPARE(store.load(list), StoreFile::LoadResult::Missing);
    QCOMPARE(list.entries(), QStringList{u"today"_s});
    QVERIFY(!QFileInfo::exists(store.path()));
}

void tst_StoreFile::loadDirectoryIsUnreadable()
{
    QTemporaryDir dir;
    StoreFile store(dir.filePath(u"Text.txt"_s));
    QVERIFY(QDir(dir.path()).mkdir(u"Text.txt"_s));

    VectorSnippetList list(QStringList{u"today"_s});
    QCOMPARE(store.load(list), StoreFile::LoadResult::Unreadable);
    QCOMPARE(list.entries(), QStringList{u"today"_s});
    QVERIFY(QFileInfo(store.path()).isDir());
    QVERIFY(!QFileInfo::exists(store.path() + u".bak"_s));
}

void tst_StoreFile::loadWithoutReadPermissionIsUnreadable()
{
    if (runningAsRoot())
        QSKIP("file permissions do not stop root from reading");
    QTemporaryDir dir;
    StoreFile store(dir.filePath(u"Text.txt"_s));
    const QByteArray original("\"keep me\"\r\n");
    writeBytes(store.path(), original);
    QVERIFY(QFile::setPermissions(store.path(), QFileDevice::Permissions()));

    VectorSnippetList list(QStringList{u"today"_s});
    const StoreFile::LoadResult result = store.load(list);
    QVERIFY(QFile::setPermissions(store.path(), QFileDevice::ReadOwner | QFileDevice::WriteOwner));
    QCOMPARE(result, StoreFile::LoadResult::Unreadable);
    QCOMPARE(list.entries(), QStringList{u"today"_s});
    QCOMPARE(readBytes(store.path()), original);
}

void tst_StoreFile::saveLeavesOutDateEntry()
{
    QTemporaryDir dir;
    const StoreFile store(dir.filePath(u"Text.txt"_s));
    const QString today = u"2024-03-01"_s;
    const VectorSnippetList list(QStringList{today, u"a"_s, today, u"b"_s, QString()});
    QVERIFY(store.save(list, nullptr, today));
    QCOMPARE(readBytes(store.path()), QByteArray("\"a\"\r\n\"b\"\r\n\"\"\r\n"));
}

void tst_StoreFile::failedSaveKeepsOldFile_data()
{
    QTest::addColumn<QString>("how");
    QTest::newRow("disk fills during the write") << u"size-limit"_s;
    QTest::newRow("folder became read-only") << u"read-only"_s;
}

void tst_StoreFile::failedSaveKeepsOldFile()
{
    QFETCH(QString, how);
    if (how == u"read-only"_s && runningAsRoot())
        QSKIP("file permissions do not stop root from writing");

    QTemporaryDir dir;
    const StoreFile store(dir.filePath(u"Text.txt"_s));
    const QByteArray original("\"old\"\r\n\"entries\"\r\n");
    writeBytes(store.path(), original);

    QStringList entries;
    for (int i = 0; i < 200; ++i)
        entries.append(u"a longer entry number %1"_s.arg(i));
    const VectorSnippetList list(entries);

    QString error;
    bool saved = true;
    if (how == u"size-limit"_s) {
        const FileSizeLimit limit(64);
        saved = store.save(list, &error);
    } else {
        QVERIFY(QFile::setPermissions(dir.path(), QFileDevice::ReadOwner | QFileDevice::ExeOwner));
        saved = store.save(list, &error);
        QVERIFY(QFile::setPermissions(dir.path(), QFileDevice::ReadOwner | QFileDevice::WriteOwner |
                                                      QFileDevice::ExeOwner));
    }
    QVERIFY(!saved);
    QVERIFY(!error.isEmpty());
    QCOMPARE(readBytes(store.path()), original);
    QCOMPARE(QDir(dir.path()).entryList(QDir::Files), QStringList{u"Text.txt"_s});
}

void tst_StoreFile::createEmpty_data()
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

void tst_StoreFile::createEmpty()
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
    if (succeeds) {
        QVERIFY(QFileInfo(path).isFile());
        QCOMPARE(readBytes(path), bytesAfter);
    } else {
        QVERIFY(!error.isEmpty());
        QVERIFY(!QFileInfo(path).isFile());
    }
}

void tst_StoreFile::choosePath_data()
{
    QTest::addColumn<QString>("programFolder");
    QTest::addColumn<bool>("usesProgramFolder");

    QTest::newRow("writable program folder") << u"program"_s << true;
    QTest::newRow("program folder missing") << u"gone"_s << false;
    QTest::newRow("program folder is a file") << u"file"_s << false;
    QTest::newRow("no program folder") << QString() << false;
}

void tst_StoreFile::choosePath()
{
    QFETCH(QString, programFolder);
    QFETCH(bool, usesProgramFolder);

    QTemporaryDir dir;
    QVERIFY(QDir(dir.path()).mkdir(u"program"_s));
    writeBytes(dir.filePath(u"file"_s), QByteArray());
    const QString program = programFolder.isEmpty() ? QString() : dir.filePath(programFolder);
    const QString userData = dir.filePath(u"user/data"_s);

    const QString path = StoreFile::choosePath(program, userData);
    const QString folder = usesProgramFolder ? program : userData;
    QCOMPARE(path, folder + u"/Text.txt"_s);
    QVERIFY(QFileInfo(folder).isDir());
    QCOMPARE(QFileInfo::exists(userData), !usesProgramFolder);
}

void tst_StoreFile::choosePathSkipsReadOnlyProgramFolder()
{
    if (runningAsRoot())
        QSKIP("file permissions do not stop root from writing");
    QTemporaryDir dir;
    const QString program = dir.filePath(u"program"_s);
    QVERIFY(QDir(dir.path()).mkdir(u"program"_s));
    QVERIFY(QFile::setPermissions(program, QFileDevice::ReadOwner | QFileDevice::ExeOwner));
    const QString userData = dir.filePath(u"user"_s);
    const QString path = StoreFile::choosePath(program, userData);
    QVERIFY(QFile::setPermissions(program, QFileDevice::ReadOwner | QFileDevice::WriteOwner |
                                               QFileDevice::ExeOwner));
    QCOMPARE(path, userData + u"/Text.txt"_s);
}

QTEST_GUILESS_MAIN(tst_StoreFile)
#include "tst_StoreFile.moc"
