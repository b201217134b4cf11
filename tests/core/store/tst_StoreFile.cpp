#include "core/store/QuotedLineFile.h"
#include "core/store/StoreFile.h"
#include "core/store/StoreFormat.h"
#include "core/store/StoreReader.h"
#include "core/store/TextArena.h"
#include "fakes/CoreFixture.h"
#include "fakes/FileBytes.h"
#include "fakes/TableRows.h"
#include "fakes/UnreadableFile.h"
#include "fakes/VectorSnippetList.h"

#include <QDir>
#include <QFileInfo>
#include <QTest>
#include <csignal>
#include <sys/resource.h>

using namespace Qt::Literals::StringLiterals;

namespace {
/** Runs `write` with files capped at 64 bytes, as on a full disk (binds root too, unlike permissions). */
template <typename Write> bool withDiskFull(Write write)
{
    const auto handler = std::signal(SIGXFSZ, SIG_IGN);
    rlimit old{};
    ::getrlimit(RLIMIT_FSIZE, &old);
    const rlimit capped{64, old.rlim_max};
    ::setrlimit(RLIMIT_FSIZE, &capped);
    const bool ok = write();
    ::setrlimit(RLIMIT_FSIZE, &old);
    std::signal(SIGXFSZ, handler);
    return ok;
}
} // namespace

/** The store's bytes (fields read whole, in chunks and into a text arena, and written back), the store file on disk and
 * the quoted-line files: reading, writing, where the store lives, and failures that keep the old file. */
class tst_StoreFile : public QObject
{
    Q_OBJECT

private:
    std::unique_ptr<QTemporaryDir> m_dir;
    QString m_path;

private Q_SLOTS:
    void init() { freshStoreFolder(m_dir, m_path); }

    void saveThenLoad_data()
    {
        // reloaded: behind the one already listed
        addColumns<QStringList, QByteArray, QStringList>("entries", "bytes", "reloaded");
        const QString today = u"2024-03-01"_s;
        // clang-format off
        QTest::newRow("empty list gives zero-byte file") << QStringList() << QByteArray() << QStringList();
        QTest::newRow("33-byte example") << QStringList{u"Hello, world"_s, u" indented"_s, QString()} << QByteArray::fromHex("2248656C6C6F2C20776F726C64220D0A2220696E64656E746564220D0A22220D0A") << QStringList{u"Hello, world"_s, u" indented"_s, QString()};
        QTest::newRow("date entry left out") << QStringList{today, u"a"_s, today + u' ', today} << "\"a\"\r\n\"2024-03-01 \"\r\n"_ba << QStringList{u"a"_s, today + u' '};
        // clang-format on
    }

    void saveThenLoad()
    {
        auto [entries, reloaded] = fetch<QStringList, QStringList>("entries", "reloaded");
        QString error;
        QVERIFY2(StoreFile(m_path).save(VectorSnippetList(entries), &error, u"2024-03-01"_s), qPrintable(error));
        QTEST(readBytes(m_path), "bytes");
        QVERIFY(QFile::setPermissions(m_path, QFile::ReadOwner | QFile::WriteOwner)); // a save over the file keeps them
        QVERIFY(StoreFile(m_path).save(VectorSnippetList(entries), nullptr, u"2024-03-01"_s) && !(QFile::permissions(m_path) & QFile::ReadOther));
        VectorSnippetList list(QStringList{u"today"_s});
        QVERIFY(StoreFile(m_path).load(list) == StoreFile::LoadResult::Loaded && list.entries() == QStringList{u"today"_s} + reloaded);
    }

    void obstacles_data()
    {
        // creates: an empty store, when none is there
        addColumns<QString, StoreFile::LoadResult, bool>("existing", "loads", "creates");
        QTest::newRow("no file: loading makes nothing") << u"none"_s << StoreFile::LoadResult::Missing << true;
        QTest::newRow("file: not truncated by creating") << u"file"_s << StoreFile::LoadResult::Loaded << true;
        QTest::newRow("directory in the way: no backup of it") << u"dir"_s << StoreFile::LoadResult::Unreadable << false;
        QTest::newRow("missing folder") << u"no-folder"_s << StoreFile::LoadResult::Missing << false;
    }

    void obstacles()
    {
        auto [existing, creates] = fetch<QString, bool>("existing", "creates");
        const QByteArray bytes = existing == u"file"_s ? "\"keep\"\r\n"_ba : QByteArray();
        if (existing == u"file"_s)
            writeBytes(m_path, bytes);
        else if (existing == u"dir"_s)
            QVERIFY(QDir(m_dir->path()).mkdir(u"Text.txt"_s));
        else if (existing == u"no-folder"_s)
            m_path = m_dir->filePath(u"missing/Text.txt"_s);
        VectorSnippetList list(QStringList{u"today"_s});
        QTEST(StoreFile(m_path).load(list), "loads");
        QCOMPARE(list.entries(), QStringList{u"today"_s} + StoreFormat::read(bytes));
        const bool there = existing == u"file"_s || existing == u"dir"_s;
        QCOMPARE(QDir(m_dir->path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot), there ? QStringList{u"Text.txt"_s} : QStringList());
        QString error;
        QVERIFY(StoreFile(m_path).createEmpty(&error) == creates && error.isEmpty() == creates);
        QCOMPARE(QFileInfo(m_path).isFile(), creates || existing == u"file"_s);
        if (creates)
            QCOMPARE(readBytes(m_path), bytes);
    }

    void unreadableStoreIsKeptUnderNextFreeName_data()
    {
        // olderBackups: Text.txt.bak, Text.txt.1.bak, ... already there; keptAs: empty when kept nowhere
        addColumns<int, QString>("olderBackups", "keptAs");
        QTest::newRow("first incident") << 0 << u"Text.txt.bak"_s;
        QTest::newRow("second incident") << 1 << u"Text.txt.1.bak"_s;
        QTest::newRow("every name taken") << StoreFile::MaxBackups << QString();
    }

    void unreadableStoreIsKeptUnderNextFreeName()
    {
        auto [olderBackups, keptAs] = fetch<int, QString>("olderBackups", "keptAs");
        StoreFile store(m_path);
        QVERIFY(makeUnreadableFile(m_path));
        QStringList older;
        for (int i = 0; i < olderBackups; ++i) {
            older.append(i == 0 ? m_path + u".bak"_s : u"%1.%2.bak"_s.arg(m_path).arg(i));
            writeBytes(older.last(), QByteArray::number(i));
        }

        VectorSnippetList list(QStringList{u"today"_s});
        QCOMPARE(store.load(list), StoreFile::LoadResult::Unreadable);
        const QString warning = store.loadWarning();
        QVERIFY2(warning.contains(m_path) && warning.contains(u"Reason: "_s), qPrintable(warning));
        QCOMPARE(warning.contains(u"not saved in this session"_s), keptAs.isEmpty());

        list.append(u"new"_s);
        QCOMPARE(store.save(list), !keptAs.isEmpty());
        if (keptAs.isEmpty()) { // kept nowhere: the damaged store stays in place, untouched by any save
            QVERIFY(!QFileInfo(m_path).isFile() && QFileInfo::exists(m_path));
        } else {
            QVERIFY(warning.contains(m_dir->filePath(keptAs)) && QFileInfo::exists(m_dir->filePath(keptAs)));
            QCOMPARE(readBytes(m_path), QByteArray("\"today\"\r\n\"new\"\r\n"));
        }
        for (int i = 0; i < olderBackups; ++i)
            QCOMPARE(readBytes(older[i]), QByteArray::number(i));
    }

    void storeOverLimitIsNeitherLoadedNorSavedOver()
    {
        QFile big(m_path);
        // Sparse: the size is what counts, not the bytes.
        QVERIFY(big.open(QIODevice::WriteOnly) && big.resize(StoreFile::MaxBytes + 1));

        StoreFile store(m_path);
        VectorSnippetList list(QStringList{u"today"_s});
        QVERIFY(store.load(list) == StoreFile::LoadResult::TooLarge && list.entries() == QStringList{u"today"_s});
        QString error;
        QVERIFY(!store.savesAllowed() && !store.save(list, &error) && !error.isEmpty() && QFileInfo(m_path).size() == StoreFile::MaxBytes + 1);
        QCOMPARE(QDir(m_dir->path()).entryList(QDir::Files), QStringList{u"Text.txt"_s});
    }

    void twentyMegabyteEntryRoundTrips()
    {
        // Quotes, line breaks and two-byte characters throughout, so the reader's chunks end inside doubled quotes and characters alike.
        const QString pattern = u"ab\"c\r\n\u00E9, \"\""_s;
        const QStringList entries{u"before"_s, pattern.repeated(20 * 1024 * 1024 / pattern.size()), u"after"_s};
        QVERIFY(StoreFile(m_path).save(VectorSnippetList(entries)));
        // Read as at start-up, into an arena and with a free slot in front of the entries.
        StoreFile::Contents contents = StoreFile::read(m_path, true);
        QVERIFY(contents.entries == entries);
        const QString* first = contents.entries.constData();
        contents.entries.prepend(u"date"_s);
        QCOMPARE(contents.entries.constData() + 1, first);
    }

    void failedWriteKeepsOldFile_data()
    {
        addColumns<QString, QString>("writer", "obstacle");
        for (const QString& writer : {u"store"_s, u"append"_s, u"create"_s})
            for (const QString& obstacle : {u"disk full"_s, u"missing folder"_s, u"onto a folder"_s})
                QTest::addRow("%s, %s", qPrintable(writer), qPrintable(obstacle)) << writer << obstacle;
    }

    void failedWriteKeepsOldFile()
    {
        auto [writer, obstacle] = fetch<QString, QString>("writer", "obstacle");
        const QByteArray original("\"old\"\r\n\"entries\"\r\n");
        writeBytes(m_path, original);
        QVERIFY(QDir(m_dir->path()).mkdir(u"folder"_s));
        QString path = m_path;
        if (obstacle == u"missing folder"_s)
            path = m_dir->filePath(u"missing/Text.txt"_s);
        else if (obstacle == u"onto a folder"_s)
            path = m_dir->filePath(u"folder"_s);
        QString error;
        const auto write = [&] {
            const QString text(500, u'x');
            if (writer == u"append"_s)
                return QuotedLineFile::append(path, text, &error);
            if (writer == u"create"_s)
                return QuotedLineFile::create(path, text, &error);
            return StoreFile(path).save(VectorSnippetList(QStringList(200, text)), &error);
        };
        QVERIFY(!(obstacle == u"disk full"_s ? withDiskFull(write) : write()) && !error.isEmpty());
        QVERIFY(readBytes(m_path) == original && QDir(m_dir->path()).entryList(QDir::Files) == (QStringList{u"Text.txt"_s}));
        QVERIFY(!QFile::exists(m_dir->filePath(u"missing"_s)) && QDir(m_dir->filePath(u"folder"_s)).isEmpty());
    }

    void choosePath_data()
    {
        addColumns<QString, bool>("programFolder", "usesProgramFolder");
        QTest::newRow("writable program folder") << u"program"_s << true;
        QTest::newRow("program folder is a file") << u"file"_s << false;
        QTest::newRow("no program folder") << QString() << false;
    }

    void choosePath()
    {
        auto [programFolder, usesProgramFolder] = fetch<QString, bool>("programFolder", "usesProgramFolder");
        const QDir dir(m_dir->path());
        QVERIFY(dir.mkpath(u"program"_s));
        writeBytes(dir.filePath(u"file"_s), QByteArray());
        const QString program = programFolder.isEmpty() ? QString() : dir.filePath(programFolder);
        const QString userData = dir.filePath(u"user/data"_s);
        const QString path = StoreFile::choosePath(program, userData);
        const QString folder = usesProgramFolder ? program : userData;
        QVERIFY(path == folder + u"/Text.txt"_s && QFileInfo(folder).isDir() && QFileInfo::exists(userData) == (!usesProgramFolder));
    }

    void read_data()
    {
        addColumns<QByteArray, QStringList>("bytes", "fields");
        // clang-format off
        QTest::newRow("empty file gives no fields") << QByteArray() << QStringList();
        QTest::newRow("unquoted: comma splits, leading blanks skipped, trailing kept, tab kept") << "a,  b  \r\n   \"q\"\r\n\tx\r\n"_ba << QStringList{u"a"_s, u"b  "_s, u"q"_s, u"\tx"_s};
        QTest::newRow("empty line and double comma are empty entries") << "\"a\"\r\n\r\nb,,c\r\n"_ba << QStringList{u"a"_s, QString(), u"b"_s, QString(), u"c"_s};
        QTest::newRow("quoted field keeps comma and line break") << "\"x, y\r\nz\",\"w\"\r\n"_ba << QStringList{u"x, y\r\nz"_s, u"w"_s};
        QTest::newRow("doubled quote reads as one") << "\"a\"\"b\"\r\n"_ba << QStringList{u"a\"b"_s};
        QTest::newRow("text after closing quote discarded") << "\"abc\"xyz,\"d\"\r\n"_ba << QStringList{u"abc"_s, u"d"_s};
        QTest::newRow("lone LF and lone CR end a line") << "a\n\"b\"\rc"_ba << QStringList{u"a"_s, u"b"_s, u"c"_s};
        QTest::newRow("CR CR LF is two line ends") << "a\r\r\nb"_ba << QStringList{u"a"_s, QString(), u"b"_s};
        QTest::newRow("end tested before next field") << "a,"_ba << QStringList{u"a"_s};
        QTest::newRow("unterminated quote keeps its text") << "\"a\"\r\n\"b, c\r\nd"_ba << QStringList{u"a"_s, u"b, c\r\nd"_s};
        QTest::newRow("lone opening quote at end") << "\""_ba << QStringList{QString()};
        QTest::newRow("blanks alone make an empty field") << "   "_ba << QStringList{QString()};
        QTest::newRow("UTF-8 with BOM") << "\xEF\xBB\xBF\"\xE2\x82\xAC\""_ba << QStringList{u"\u20AC"_s};
        QTest::newRow("BOM, then a Windows-1252 entry") << "\xEF\xBB\xBF\"\xE9\"\r\n\"\xC3\xA9\"\"x\"\r\n"_ba << QStringList{u"\u00E9"_s, u"\u00E9\"x"_s};
        QTest::newRow("four-byte character") << "\xF0\x9F\x98\x80"_ba << QStringList{u"\U0001F600"_s};
        QTest::newRow("Windows-1252 letters, euro, quotes") << "\xE9\x80\x93\x94\x96"_ba << QStringList{u"\u00E9\u20AC\u201C\u201D\u2013"_s};
        QTest::newRow("Windows-1252 undefined bytes kept") << "\x81\x8D\x8F\x90\x9D"_ba << QStringList{u"\u0081\u008D\u008F\u0090\u009D"_s};
        QTest::newRow("mixed file: each entry decoded on its own") << "caf\xC3\xA9\r\ncaf\xE9\r\n\xC3\xA9\xE9"_ba << QStringList{u"caf\u00E9"_s, u"caf\u00E9"_s, u"\u00C3\u00A9\u00E9"_s};
        QTest::newRow("UTF-8 sequence cut at end") << "ab\xC3"_ba << QStringList{u"ab\u00C3"_s};
        // clang-format on
        const QStringList roundTrips[] = {{u"  lead"_s, u"trail  "_s, u"1,5"_s},
                                          {u"a\r\nb"_s, u"c\nd"_s, u"e\rf"_s},
                                          {u"\""_s, u"\"\""_s, u"x\"\r\ny"_s, u"\",\""_s, QString()},
                                          {u"\u20AC \u4E2D \U0001F600"_s},
                                          {u"\uFEFF"_s, u"\uFEFF\uFEFFx"_s}};
        for (const QStringList& entries : roundTrips)
            QTest::addRow("written and read back: %s", qPrintable(entries.join(u'|'))) << StoreFormat::serialize(entries) << entries;
    }

    void read()
    {
        auto [bytes, fields] = fetch<QByteArray, QStringList>("bytes", "fields");
        QCOMPARE(StoreFormat::read(bytes), fields);
        // The store is read in chunks: wherever they split the bytes, the fields are the same,
        // also as views into an arena, which runs out of room halfway at the largest chunks.
        for (const qsizetype size : {1, 2, 3, 4}) {
            TextArena arena(size == 4 ? bytes.size() / 2 : bytes.size());
            StoreReader reader(size > 2 ? &arena : nullptr);
            QStringList chunked;
            for (qsizetype at = 0; at == 0 || at < bytes.size(); at += size)
                reader.feed(bytes.mid(at, size), at + size >= bytes.size(), chunked);
            QCOMPARE(chunked, fields);
        }
    }

    void arenaGivesRoomUntilFull()
    {
        TextArena arena(5);
        QChar* at = arena.room(5);
        QVERIFY(at && !arena.room(6));
        std::fill_n(at, 3, u'x');
        QVERIFY(arena.keep(3) == u"xxx"_s && arena.room(2) == at + 3 && !arena.room(3) && !TextArena(0).room(0));
    }
};

QTEST_GUILESS_MAIN(tst_StoreFile)
#include "tst_StoreFile.moc"
