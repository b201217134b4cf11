#include "core/store/StoreFormat.h"
#include "core/store/StoreReader.h"
#include "core/store/TextArena.h"
#include "fakes/CoreFixture.h"
#include "fakes/TableRows.h"

#include <QTest>

using namespace Qt::Literals::StringLiterals;

/** The store's bytes: fields read whole and in chunks, into a text arena, and written back. */
class tst_StoreFormat : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void init() { failOnStrayWarnings(); }

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
        QCOMPARE(arena.keep(3), u"xxx"_s);
        QCOMPARE(arena.room(2), at + 3);
        QVERIFY(!arena.room(3) && !TextArena(0).room(0));
    }
};

QTEST_GUILESS_MAIN(tst_StoreFormat)
#include "tst_StoreFormat.moc"
