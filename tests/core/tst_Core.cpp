#include "core/compat/TrayIconRecord.h"
#include "core/compat/TrayMessageDecoder.h"
#include "core/compat/Twips.h"
#include "core/list/DatePurge.h"
#include "core/list/FindEntry.h"
#include "core/list/ListCommand.h"
#include "core/list/SnippetFilter.h"
#include "core/settings/SettingsCodec.h"
#include "core/store/QuotedLineFile.h"
#include "core/store/StoreFile.h"
#include "core/store/StoreFormat.h"
#include "core/store/StoreReader.h"
#include "core/store/TextArena.h"
#include "core/sync/StoreMerge.h"
#include "core/sync/StoreSync.h"
#include "fakes/FileBytes.h"
#include "fakes/UnreadableFile.h"
#include "fakes/VectorSnippetList.h"
#include "platform/InstallLayout.h"

#include <QDir>
#include <QFileInfo>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <climits>
#include <csignal>
#include <limits>
#include <memory>
#include <random>
#include <sys/resource.h>

using namespace Qt::Literals::StringLiterals;

namespace {
constexpr double NaN = std::numeric_limits<double>::quiet_NaN();
constexpr double Inf = std::numeric_limits<double>::infinity();

/** The plain definition of the filter: starting matches, then the others, in list order, cut at `limit`. */
QStringList definition(const QStringList& entries, const QString& text, int limit)
{
    QStringList starting, others;
    for (const QString& entry : entries) {
        if (text.isEmpty())
            break;
        if (entry.startsWith(text, Qt::CaseInsensitive))
            starting << entry;
        else if (entry.contains(text, Qt::CaseInsensitive))
            others << entry;
    }
    return (starting + others).mid(0, limit);
}

/** Types each text in turn (only the first slice runs in between), then waits for the last. */
QStringList typeAll(SnippetFilter& filter, const QStringList& entries, const QStringList& typed)
{
    QStringList result;
    QObject::connect(&filter, &SnippetFilter::matched, [&](const QString& text, QList<int> rows) {
        result.clear();
        if (text == typed.last())
            for (int row : rows)
                result << entries.at(row);
    });
    for (const QString& text : typed)
        filter.setText(text);
    for (int i = 0; filter.isBusy() && i < 100000; ++i)
        QCoreApplication::processEvents();
    return result;
}

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

/** The core classes: the store's bytes and the file on disk (reading, writing, merging outside changes, failures that keep
 * the old file), settings texts, twips, tray records, finding, purging, filtering. */
class tst_Core : public QObject
{
    Q_OBJECT

private:
    std::unique_ptr<QTemporaryDir> m_dir;
    QString m_path;

private Q_SLOTS:
    void init()
    {
        m_dir = std::make_unique<QTemporaryDir>();
        m_path = m_dir->filePath(u"Text.txt"_s);
        // Besides the store's own "Could not ..." reports, a warning is a fault, such as a Qt call made with nothing to do.
        QTest::failOnWarning(QRegularExpression(u"^(?!Could not )"_s));
    }

    void read_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QStringList>("fields");
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
        QFETCH(QByteArray, bytes);
        QFETCH(QStringList, fields);
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

    void saveThenLoad_data()
    {
        QTest::addColumn<QStringList>("entries");
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QStringList>("reloaded"); // behind the one already listed
        const QString today = u"2024-03-01"_s;
        // clang-format off
        QTest::newRow("empty list gives zero-byte file") << QStringList() << QByteArray() << QStringList();
        QTest::newRow("33-byte example") << QStringList{u"Hello, world"_s, u" indented"_s, QString()} << QByteArray::fromHex("2248656C6C6F2C20776F726C64220D0A2220696E64656E746564220D0A22220D0A") << QStringList{u"Hello, world"_s, u" indented"_s, QString()};
        QTest::newRow("date entry left out") << QStringList{today, u"a"_s, today + u' ', today} << "\"a\"\r\n\"2024-03-01 \"\r\n"_ba << QStringList{u"a"_s, today + u' '};
        // clang-format on
    }

    void saveThenLoad()
    {
        QFETCH(QStringList, entries);
        QString error;
        QVERIFY2(StoreFile(m_path).save(VectorSnippetList(entries), &error, u"2024-03-01"_s), qPrintable(error));
        QTEST(readBytes(m_path), "bytes");
        QFETCH(QStringList, reloaded);
        VectorSnippetList list(QStringList{u"today"_s});
        QCOMPARE(StoreFile(m_path).load(list), StoreFile::LoadResult::Loaded);
        QCOMPARE(list.entries(), QStringList{u"today"_s} + reloaded);
    }

    void obstacles_data()
    {
        QTest::addColumn<QString>("existing");
        QTest::addColumn<StoreFile::LoadResult>("loads");
        QTest::addColumn<bool>("creates"); // an empty store, when none is there
        QTest::newRow("no file: loading makes nothing") << u"none"_s << StoreFile::LoadResult::Missing << true;
        QTest::newRow("file: not truncated by creating") << u"file"_s << StoreFile::LoadResult::Loaded << true;
        QTest::newRow("directory in the way: no backup of it") << u"dir"_s << StoreFile::LoadResult::Unreadable << false;
        QTest::newRow("missing folder") << u"no-folder"_s << StoreFile::LoadResult::Missing << false;
    }

    void obstacles()
    {
        QFETCH(QString, existing);
        QFETCH(bool, creates);
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
        QCOMPARE(StoreFile(m_path).createEmpty(&error), creates);
        QCOMPARE(error.isEmpty(), creates);
        QCOMPARE(QFileInfo(m_path).isFile(), creates || existing == u"file"_s);
        if (creates)
            QCOMPARE(readBytes(m_path), bytes);
    }

    void unreadableStoreIsKeptUnderNextFreeName_data()
    {
        QTest::addColumn<int>("olderBackups"); // Text.txt.bak, Text.txt.1.bak, ... already there
        QTest::addColumn<QString>("keptAs");   // empty: kept nowhere
        QTest::newRow("first incident") << 0 << u"Text.txt.bak"_s;
        QTest::newRow("second incident") << 1 << u"Text.txt.1.bak"_s;
        QTest::newRow("every name taken") << StoreFile::MaxBackups << QString();
    }

    void unreadableStoreIsKeptUnderNextFreeName()
    {
        QFETCH(int, olderBackups);
        QFETCH(QString, keptAs);
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
            QVERIFY(warning.contains(m_dir->filePath(keptAs)));
            QVERIFY(QFileInfo::exists(m_dir->filePath(keptAs)));
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
        QCOMPARE(store.load(list), StoreFile::LoadResult::TooLarge);
        QCOMPARE(list.entries(), QStringList{u"today"_s});
        QString error;
        QVERIFY(!store.savesAllowed() && !store.save(list, &error) && !error.isEmpty());
        QCOMPARE(QFileInfo(m_path).size(), StoreFile::MaxBytes + 1);
        QCOMPARE(QDir(m_dir->path()).entryList(QDir::Files), QStringList{u"Text.txt"_s});
    }

    void twentyMegabyteEntryRoundTrips()
    {
        // Quotes, line breaks and two-byte characters throughout, so the reader's chunks end
        // inside doubled quotes and characters alike.
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

    void arenaGivesRoomUntilFull()
    {
        TextArena arena(5);
        QChar* at = arena.room(5);
        QVERIFY(at && !arena.room(6));
        std::fill_n(at, 3, u'x');
        QCOMPARE(arena.keep(3), u"xxx"_s);
        QCOMPARE(arena.room(2), at + 3);
        QVERIFY(!arena.room(3) && !TextArena(0).room(0));
    }

    void quotedLineFile()
    {
        // Quotes doubled, UTF-8 without a BOM, comma, blanks and line break kept as they are.
        writeBytes(m_path, "old line\r\n");
        QVERIFY(QuotedLineFile::append(m_path, u"\"\u00E9\", \r\n x "_s));
        QCOMPARE(readBytes(m_path), "old line\r\n\"\"\"\xC3\xA9\"\", \r\n x \"\r\n"_ba);
        const QString created = m_dir->filePath(u"new.txt"_s);
        QVERIFY(QuotedLineFile::create(created, u"one"_s) && QuotedLineFile::create(created, QString()));
        QCOMPARE(readBytes(created), "\"\"\r\n"_ba);
        QCOMPARE(QDir(m_dir->path()).entryList(QDir::Files), (QStringList{u"new.txt"_s, u"Text.txt"_s}));
    }

    void failedWriteKeepsOldFile_data()
    {
        QTest::addColumn<QString>("writer");
        QTest::addColumn<QString>("obstacle");
        for (const QString& writer : {u"store"_s, u"append"_s, u"create"_s})
            for (const QString& obstacle : {u"disk full"_s, u"missing folder"_s, u"onto a folder"_s})
                QTest::addRow("%s, %s", qPrintable(writer), qPrintable(obstacle)) << writer << obstacle;
    }

    void failedWriteKeepsOldFile()
    {
        QFETCH(QString, writer);
        QFETCH(QString, obstacle);
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
        QVERIFY(!(obstacle == u"disk full"_s ? withDiskFull(write) : write()));
        QVERIFY(!error.isEmpty());
        QCOMPARE(readBytes(m_path), original);
        QCOMPARE(QDir(m_dir->path()).entryList(QDir::Files), QStringList{u"Text.txt"_s});
        QVERIFY(!QFile::exists(m_dir->filePath(u"missing"_s)));
        QVERIFY(QDir(m_dir->filePath(u"folder"_s)).isEmpty());
    }

    void choosePath_data()
    {
        QTest::addColumn<QString>("programFolder");
        QTest::addColumn<bool>("usesProgramFolder");
        QTest::newRow("writable program folder") << u"program"_s << true;
        QTest::newRow("program folder is a file") << u"file"_s << false;
        QTest::newRow("no program folder") << QString() << false;
    }

    void choosePath()
    {
        QFETCH(QString, programFolder);
        QFETCH(bool, usesProgramFolder);
        const QDir dir(m_dir->path());
        QVERIFY(dir.mkpath(u"program"_s));
        writeBytes(dir.filePath(u"file"_s), QByteArray());
        const QString program = programFolder.isEmpty() ? QString() : dir.filePath(programFolder);
        const QString userData = dir.filePath(u"user/data"_s);
        const QString path = StoreFile::choosePath(program, userData);
        const QString folder = usesProgramFolder ? program : userData;
        QCOMPARE(path, folder + u"/Text.txt"_s);
        QVERIFY(QFileInfo(folder).isDir());
        QCOMPARE(QFileInfo::exists(userData), !usesProgramFolder);
    }

    void merge_data()
    {
        QTest::addColumn<QString>("base");
        QTest::addColumn<QString>("ours");
        QTest::addColumn<QString>("theirs");
        QTest::addColumn<QString>("result");
        // Entries are letters; D is the date entry, which is never stored.
        // clang-format off
        QTest::newRow("nothing changed") << "ab" << "ab" << "ab" << "ab";
        QTest::newRow("appended outside") << "ab" << "ab" << "abc" << "abc";
        QTest::newRow("outside lines follow their predecessors, together") << "abc" << "abc" << "axybzc" << "axybzc";
        QTest::newRow("predecessor moved by us: follows it") << "abc" << "cab" << "axbc" << "caxb";
        QTest::newRow("predecessor removed by us: at the end") << "abc" << "bc" << "axbc" << "bcx";
        QTest::newRow("removed outside") << "abc" << "abc" << "ac" << "ac";
        QTest::newRow("both sides change") << "abc" << "abcy" << "xbc" << "xbcy";
        QTest::newRow("added on both sides appears once") << "a" << "ax" << "xa" << "ax";
        QTest::newRow("one copy removed on each side: one removal") << "aba" << "ab" << "ba" << "ab";
        QTest::newRow("outside reordering keeps our order") << "abc" << "abc" << "cba" << "abc";
        QTest::newRow("duplicate added by us, removed outside") << "ab" << "aab" << "b" << "ab";
        QTest::newRow("our duplicate, outside third copy") << "a" << "aa" << "aaa" << "aaa";
        QTest::newRow("outside emptied the file, our addition stays") << "ab" << "abc" << "" << "c";
        QTest::newRow("date entry stays on top, outside top line after it") << "a" << "Da" << "xa" << "Dxa";
        QTest::newRow("date entry in the file is never merged in") << "a" << "Da" << "aD" << "Da";
        QTest::newRow("date entry between ours") << "ab" << "aDb" << "abx" << "aDbx";
        // clang-format on
    }

    void merge()
    {
        const auto list = [](const QString& letters) {
            QStringList entries;
            for (const QChar letter : letters)
                entries.append(letter == u'D' ? u"12/7/2026"_s : QString(letter));
            return entries;
        };
        QFETCH(QString, base);
        QFETCH(QString, ours);
        QFETCH(QString, theirs);
        QFETCH(QString, result);
        QCOMPARE(StoreMerge::merge(list(base), list(ours), list(theirs), u"12/7/2026"_s), list(result));
    }

    void saveMergesOutsideChangesFirst_data()
    {
        QTest::addColumn<QByteArray>("outside");
        QTest::addColumn<QStringList>("list");
        // Quippet read "a","b" and added "ours"; then the outside wrote this (empty: removed).
        const QStringList ours{u"D"_s, u"a"_s, u"b"_s, u"ours"_s};
        QTest::newRow("untouched") << "\"a\"\r\n\"b\"\r\n"_ba << ours;
        QTest::newRow("same entries written again") << "a\r\nb\r\n"_ba << ours;
        QTest::newRow("line added and line removed") << "\"x\"\r\n\"b\"\r\n"_ba << QStringList{u"D"_s, u"x"_s, u"b"_s, u"ours"_s};
        QTest::newRow("vanished: written from the list") << QByteArray() << ours;
    }

    void saveMergesOutsideChangesFirst()
    {
        QFETCH(QByteArray, outside);
        QFETCH(QStringList, list);
        writeBytes(m_path, "\"a\"\r\n\"b\"\r\n");
        StoreFile store(m_path);
        VectorSnippetList entries({u"D"_s});
        store.load(entries);
        StoreSync sync(store, entries, u"D"_s);
        sync.begin();
        sync.stop(); // the check before the save alone
        entries.append(u"ours"_s);

        QFile::remove(m_path);
        if (!outside.isEmpty())
            writeBytes(m_path, outside);
        QVERIFY(sync.save());
        QCOMPARE(entries.entries(), list);

        // A second outside change after a merged save is seen as well.
        writeBytes(m_path, readBytes(m_path) + "\"z\"\r\n");
        QVERIFY(sync.save());
        QCOMPARE(entries.entries(), list + QStringList{u"z"_s});
        VectorSnippetList written;
        store.load(written);
        QCOMPARE(written.entries(), list.mid(1) + QStringList{u"z"_s});
    }

    void settings_data()
    {
        QTest::addColumn<QString>("conversion");
        QTest::addColumn<QString>("in");
        QTest::addColumn<QString>("out");
        // clang-format off
        QTest::newRow("shrunk height") << "height" << "1030" << "1030";
        QTest::newRow("fraction kept") << "height" << "2600.4" << "2600.4";
        QTest::newRow("trailing garbage") << "height" << "1030px" << "2600";
        QTest::newRow("zero") << "height" << "0" << "2600";
        QTest::newRow("infinity") << "height" << "inf" << "2600";
        QTest::newRow("case and blanks ignored") << "bool" << " tRUE " << "True";
        QTest::newRow("zero is false") << "bool" << "0" << "False";
        QTest::newRow("minus one is true") << "bool" << "-1" << "True";
        QTest::newRow("Truex") << "bool" << "Truex" << "False";
        // clang-format on
    }

    void settings()
    {
        QFETCH(QString, conversion);
        QFETCH(QString, in);
        if (conversion == u"height"_s)
            QTEST(QString::number(SettingsCodec::heightFromText(in)), "out");
        else // written back as the settings file holds it
            QTEST(SettingsCodec::textFromBool(SettingsCodec::boolFromText(in)), "out");
    }

    void twips_data()
    {
        QTest::addColumn<QString>("function");
        QTest::addColumn<double>("value");
        QTest::addColumn<double>("twipsPerPixel");
        QTest::addColumn<double>("result");
        QTest::newRow("144 dpi") << "perPixel" << 144.0 << 0.0 << 10.0;
        QTest::newRow("zero dpi falls back to 96") << "perPixel" << 0.0 << 0.0 << 15.0;
        QTest::newRow("NaN dpi falls back to 96") << "perPixel" << NaN << 0.0 << 15.0;
        QTest::newRow("22.5 ties down to even") << "round" << 22.5 << 0.0 << 22.0;
        QTest::newRow("23.5 ties up to even") << "round" << 23.5 << 0.0 << 24.0;
        QTest::newRow("just above a half") << "round" << 22.500001 << 0.0 << 23.0;
        QTest::newRow("NaN gives 0") << "round" << NaN << 0.0 << 0.0;
        QTest::newRow("huge saturates high") << "round" << 1e12 << 0.0 << double(INT_MAX);
        QTest::newRow("minus infinity saturates low") << "round" << -Inf << 0.0 << double(INT_MIN);
        QTest::newRow("Height 2600 at 15") << "toPixels" << 2600.0 << 15.0 << 173.0;
        QTest::newRow("negative tie to even") << "toPixels" << -37.5 << 15.0 << -2.0;
        QTest::newRow("zero factor gives 0") << "toPixels" << 750.0 << 0.0 << 0.0;
        QTest::newRow("infinite factor gives 0") << "toPixels" << 750.0 << Inf << 0.0;
    }

    void twips()
    {
        QFETCH(QString, function);
        QFETCH(double, value);
        QFETCH(double, twipsPerPixel);
        const double got = function == u"perPixel"_s ? Twips::perPixel(value)
                           : function == u"round"_s  ? Twips::roundHalfEven(value)
                                                     : Twips::toPixels(value, twipsPerPixel);
        QTEST(got, "result");
    }

    void trayTip_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("tip");
        QTest::newRow("empty text is all blanks") << QString() << QString(64, u' ');
        QTest::newRow("longer text cut at 64") << QString(60, u'a') + u"bcdefgh"_s << QString(60, u'a') + u"bcde"_s;
    }

    void trayTip()
    {
        QFETCH(QString, text);
        TrayIconRecord record;
        record.setTip(u"a previous, longer tip text"_s);
        record.setTip(text);
        QTEST(record.szTip, "tip");
    }

    void trayRecordBytes()
    {
        // cbSize 88, hWnd (little-endian), uID 1, uFlags 7, uCallbackMessage 512, hIcon, then the tip
        const QByteArray expected =
            QByteArray::fromHex("58000000 0D0C0B0A 01000000 07000000 00020000 03020100") + QByteArray("Quippet\0", 8) + QByteArray(56, ' ');
        QCOMPARE(TrayIconRecord::forWindow(0x0A0B0C0D, 0x00010203, u"Quippet"_s).toBytes(), expected);
    }

    void trayMessage_data()
    {
        QTest::addColumn<double>("x");
        QTest::addColumn<double>("twipsPerPixel");
        QTest::addColumn<TrayMessageDecoder::Action>("action");
        using Action = TrayMessageDecoder::Action;
        const std::pair<int, Action> messages[] = {{514, Action::None}, {515, Action::Restore}, {516, Action::None}, {517, Action::PopupMenu}};
        for (const double tpp : {15.0, 12.0})
            for (const auto& [message, action] : messages)
                QTest::addRow("%d at %g twips per pixel", message, tpp) << message * tpp << tpp << action;
        QTest::newRow("just under a half pixel off still 515") << 515 * 15.0 + 7.4 << 15.0 << Action::Restore;
        QTest::newRow("zero factor does nothing") << 515 * 15.0 << 0.0 << Action::None;
    }

    void trayMessage()
    {
        QFETCH(double, x);
        QFETCH(double, twipsPerPixel);
        QTEST(TrayMessageDecoder::decode(x, twipsPerPixel), "action");
    }

    void find_data()
    {
        QTest::addColumn<QStringList>("entries");
        QTest::addColumn<QString>("text");
        QTest::addColumn<bool>("foundBefore");
        QTest::addColumn<int>("index");
        QTest::addColumn<bool>("found");
        const QStringList six{u"a"_s, u"b"_s, u"abc"_s, u"c"_s, u"d"_s, u"abc"_s};
        QTest::newRow("empty list: index 0, found keeps true") << QStringList() << u"abc"_s << true << 0 << true;
        QTest::newRow("text at 2 and 5 reports 2") << six << u"abc"_s << false << 2 << true;
        QTest::newRow("no match reports count and false") << six << u"zzz"_s << true << 6 << false;
    }

    void find()
    {
        QFETCH(QStringList, entries);
        QFETCH(QString, text);
        QFETCH(bool, foundBefore);
        int index = -99;
        FindEntry(VectorSnippetList(entries), text, index, foundBefore);
        QTEST(index, "index");
        QTEST(foundBefore, "found");
    }

    void listCommand_data()
    {
        // The list before, the command, its text; then whether it changed the list and what it said.
        using K = ListCommand::Kind;
        QTest::addColumn<QStringList>("entries");
        QTest::addColumn<K>("kind");
        QTest::addColumn<QString>("text");
        QTest::addColumn<bool>("changed");
        QTest::addColumn<QString>("message");
        const QStringList two{u"3/1/2024"_s, u"Abc"_s};
        const QString odd = u"say \"hi\"\nbye \U0001F600"_s;
        QStringList full(SnippetList::MaxEntries - 1, u"x"_s);
        full.prepend(u"3/1/2024"_s);
        QTest::newRow("add at the end") << two << K::Add << odd << true << u"Text added"_s;
        QTest::newRow("add: listed text") << two << K::Add << u"Abc"_s << false << u"the text is already in the list"_s;
        QTest::newRow("add: another case is another text") << two << K::Add << u"abc"_s << true << u"Text added"_s;
        QTest::newRow("add: empty") << two << K::Add << QString() << false << u"the text is empty"_s;
        QTest::newRow("add: full list") << full << K::Add << u"new"_s << false << u"the list is full"_s;
        QTest::newRow("remove: exact match only") << two << K::Remove << u"Abc "_s << false << u"the text is not in the list"_s;
        QTest::newRow("remove the first match") << two + two << K::Remove << u"Abc"_s << true << u"Text removed"_s;
        QTest::newRow("remove: empty") << two << K::Remove << QString() << false << u"the text is empty"_s;
    }

    void listCommand()
    {
        QFETCH(QStringList, entries);
        QFETCH(ListCommand::Kind, kind);
        QFETCH(QString, text);
        QFETCH(bool, changed);
        VectorSnippetList list(entries);
        const ListCommand::Result result = ListCommand::apply(kind, list, text);
        QCOMPARE(result.changed, changed);
        QTEST(result.message, "message");
        QCOMPARE(result.statusMessage, entries.size() == SnippetList::MaxEntries ? u"List is full"_s : QString());
        QStringList expected = entries;
        if (changed && kind == ListCommand::Kind::Add)
            expected.append(text);
        else if (changed)
            expected.removeOne(text);
        QCOMPARE(list.entries(), expected);
        // The store's view leaves the date entry out, wherever it stands.
        list.append(entries.first());
        expected.removeAll(entries.first());
        QCOMPARE(ListCommand::entries(list, entries.first()), expected);
    }

    void purge_data()
    {
        QTest::addColumn<QStringList>("entries");
        QTest::addColumn<QString>("today");
        QTest::addColumn<QStringList>("remaining");
        const QString t = u"3/1/2024"_s, x = u"x"_s, y = u"y"_s;
        QTest::newRow("T,x,T -> x") << QStringList{t, x, t} << t << QStringList{x};
        QTest::newRow("x,T,T,y -> x,y") << QStringList{x, t, t, y} << t << QStringList{x, y};
        const QStringList nearMisses{t + u' ', u' ' + t, u"3/1/2024X"_s, u"3/1/202"_s};
        QTest::newRow("near misses stay") << nearMisses + QStringList{t} << t << nearMisses;
        QTest::newRow("empty today removes nothing") << QStringList{QString(), x} << QString() << QStringList{QString(), x};
    }

    void purge()
    {
        QFETCH(QStringList, entries);
        QFETCH(QString, today);
        QFETCH(QStringList, remaining);
        VectorSnippetList list(entries);
        QCOMPARE(DatePurge::purge(list, today), int(entries.size() - remaining.size()));
        QCOMPARE(list.entries(), remaining);
    }

    void isInstalled_data()
    {
        QTest::addColumn<QString>("entry");   // a file made below a fresh root ("/" ends a folder)
        QTest::addColumn<QString>("program"); // the program folder, made below the same root
        QTest::addColumn<bool>("installed");
        const QString apps = u"share/applications/"_s;
        const QString ours = u"org.example.quippet.desktop"_s;
        QTest::newRow("/usr") << u"usr/"_s + apps + ours << u"usr/bin"_s << true;
        QTest::newRow("/usr/local/bin/") << u"usr/local/"_s + apps + ours << u"usr/local/bin/"_s << true;
        QTest::newRow("entry is a folder") << apps + ours + u"/"_s << u"bin"_s << false;
        QTest::newRow("build folder") << apps + ours << u"app"_s << false;
        QTest::newRow("entry under bin itself") << u"bin/"_s + apps + ours << u"bin"_s << false;
    }

    void isInstalled()
    {
        QFETCH(QString, entry);
        QFETCH(QString, program);
        const QDir root(m_dir->path());
        QVERIFY(root.mkpath(program));
        QVERIFY(root.mkpath(QFileInfo(root.filePath(entry)).path()));
        QFile file(root.filePath(entry));
        QVERIFY(entry.endsWith(u'/') ? QDir().mkpath(file.fileName()) : file.open(QIODevice::WriteOnly));
        QTEST(InstallLayout::isInstalled(root.filePath(program), u"org.example.quippet.desktop"_s), "installed");
    }

    void filter_data()
    {
        QTest::addColumn<QStringList>("entries");
        QTest::addColumn<QStringList>("typed");
        QTest::addColumn<int>("limit");
        QTest::addColumn<QStringList>("expected");
        const QStringList e{u"say hello"_s, u"Hello world"_s, u"other"_s, u"help"_s, u"shell"_s, u"HELP desk"_s};
        // clang-format off
        QTest::newRow("starting matches first, each group in list order") << e << QStringList{u"he"_s} << 200 << QStringList{u"Hello world"_s, u"help"_s, u"HELP desk"_s, u"say hello"_s, u"other"_s, u"shell"_s};
        QTest::newRow("another text starts afresh") << e << QStringList{u"hel"_s, u"o"_s} << 200 << QStringList{u"other"_s, u"say hello"_s, u"Hello world"_s};
        QTest::newRow("limit within the starting matches") << e << QStringList{u"he"_s} << 2 << QStringList{u"Hello world"_s, u"help"_s};
        QTest::newRow("narrowed after the limit cut the starting scan") << e << QStringList{u"h"_s, u"hel"_s} << 2 << QStringList{u"Hello world"_s, u"help"_s};
        QTest::newRow("narrowed after the limit cut the scan: the rest is still read") << e << QStringList{u"l"_s, u"ll"_s} << 3 << QStringList{u"say hello"_s, u"Hello world"_s, u"shell"_s};
        QTest::newRow("nothing matches") << e << QStringList{u"h"_s, u"hx"_s} << 200 << QStringList();
        QTest::newRow("empty text offers nothing") << e << QStringList{u"he"_s, QString()} << 200 << QStringList();
        QTest::newRow("case beyond ASCII") << QStringList{u"Élan"_s, u"café"_s, u"CAFÉ au lait"_s} << QStringList{u"é"_s} << 200 << QStringList{u"Élan"_s, u"café"_s, u"CAFÉ au lait"_s};
        QTest::newRow("line breaks are text") << QStringList{u"one\ntwo"_s, u"two"_s} << QStringList{u"e\nt"_s} << 200 << QStringList{u"one\ntwo"_s};
        // clang-format on

        // Many entries of words: narrowing, widening and limits mixed, against the definition.
        const QStringList words{u"and"_s, u"Anna"_s, u"tea"_s, u"earth"_s, u"near"_s, u"bean"_s, u"Ant"_s, u"ear"_s, u"read"_s, u"dane"_s};
        std::mt19937 random(7);
        QStringList many;
        for (int i = 0; i < 3000; ++i)
            many << words.at(static_cast<qsizetype>(random() % 10)) + u' ' + words.at(static_cast<qsizetype>(random() % 10));
        const QStringList typing[] = {{u"a"_s, u"an"_s, u"and"_s, u"an"_s, u"a"_s, u"ea"_s, u"ear"_s},
                                      {u"e"_s, u"ea"_s, u"ear"_s, u"eart"_s, u"ear"_s, u"ea"_s, u"ean"_s},
                                      {u"n"_s, u"ne"_s, u"n"_s, u"an"_s, u"ann"_s, u"an"_s}};
        for (const QStringList& typed : typing)
            for (int limit : {1, 40, 3000})
                QTest::addRow("many entries, %s, limit %d", qPrintable(typed.join(u'>')), limit)
                    << many << typed << limit << definition(many, typed.last(), limit);
    }

    void filter()
    {
        QFETCH(QStringList, entries);
        QFETCH(QStringList, typed);
        QFETCH(int, limit);
        // Slices of one entry leave every earlier text half done; large ones finish each text.
        for (int checks : {1, 3, 50, 1000000}) {
            SnippetFilter filter(entries, limit);
            filter.setSlice(1000, checks);
            QTEST(typeAll(filter, entries, typed), "expected");
        }
    }

    void filterNeverEmitsStaleResults()
    {
        VectorSnippetList list;
        for (int i = 0; i < 100; ++i)
            list.append(u"entry %1 of the list"_s.arg(i));
        SnippetFilter filter(list.entries(), 10);
        filter.setSlice(1000, 5);
        QSignalSpy spy(&filter, &SnippetFilter::matched);
        filter.setText(u"9"_s);
        QCoreApplication::processEvents();
        QVERIFY(filter.isBusy());
        filter.setText(u"99"_s);
        QTRY_VERIFY(!filter.isBusy());
        QCOMPARE(spy.count(), 1);
        QCOMPARE(spy.at(0).at(0).toString(), u"99"_s);
        QCOMPARE(spy.at(0).at(1).value<QList<int>>(), QList<int>{99});

        // A list change while busy: the result counts positions in the changed list.
        spy.clear();
        filter.setText(u"9"_s);
        list.removeAt(0);
        list.removeAt(0);
        filter.listChanged();
        QTRY_VERIFY(!filter.isBusy());
        QCOMPARE(spy.last().at(0).toString(), u"9"_s);
        QCOMPARE(spy.last().at(1).value<QList<int>>(), (QList<int>{7, 17, 27, 37, 47, 57, 67, 77, 87, 88}));
        filter.clear();
        QVERIFY(!filter.isBusy());
    }
};

QTEST_GUILESS_MAIN(tst_Core)
#include "tst_Core.moc"
