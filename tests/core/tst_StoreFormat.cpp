#include "StoreFormat.h"
#include "StoreReader.h"

#include <QTest>

using namespace Qt::Literals::StringLiterals;

/** The store's bytes: the reading rules and the two encodings read. */
class tst_StoreFormat : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void parse_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QStringList>("fields");
        // clang-format off
        QTest::newRow("empty text gives no fields") << QString() << QStringList();
        QTest::newRow("unquoted: comma splits, leading blanks skipped, trailing kept, tab kept") << u"a,  b  \r\n   \"q\"\r\n\tx\r\n"_s << QStringList{u"a"_s, u"b  "_s, u"q"_s, u"\tx"_s};
        QTest::newRow("empty line and double comma are empty entries") << u"\"a\"\r\n\r\nb,,c\r\n"_s << QStringList{u"a"_s, QString(), u"b"_s, QString(), u"c"_s};
        QTest::newRow("quoted field keeps comma and line break") << u"\"x, y\r\nz\",\"w\"\r\n"_s << QStringList{u"x, y\r\nz"_s, u"w"_s};
        QTest::newRow("doubled quote reads as one") << u"\"a\"\"b\"\r\n"_s << QStringList{u"a\"b"_s};
        QTest::newRow("text after closing quote discarded") << u"\"abc\"xyz,\"d\"\r\n"_s << QStringList{u"abc"_s, u"d"_s};
        QTest::newRow("lone LF and lone CR end a line") << u"a\n\"b\"\rc"_s << QStringList{u"a"_s, u"b"_s, u"c"_s};
        QTest::newRow("CR CR LF is two line ends") << u"a\r\r\nb"_s << QStringList{u"a"_s, QString(), u"b"_s};
        QTest::newRow("end tested before next field") << u"a,"_s << QStringList{u"a"_s};
        QTest::newRow("unterminated quote keeps its text") << u"\"a\"\r\n\"b, c\r\nd"_s << QStringList{u"a"_s, u"b, c\r\nd"_s};
        QTest::newRow("lone opening quote at end") << u"\""_s << QStringList{QString()};
        QTest::newRow("blanks alone make an empty field") << u"   "_s << QStringList{QString()};
        // clang-format on
    }

    void parse()
    {
        QFETCH(QString, text);
        QFETCH(QStringList, fields);
        QCOMPARE(StoreFormat::parse(text), fields);
        // The store is read in chunks: wherever they split the bytes, the fields are the same.
        const QByteArray bytes = text.toUtf8();
        for (const qsizetype size : {1, 2, 3}) {
            StoreReader reader;
            QStringList chunked;
            for (qsizetype at = 0; at == 0 || at < bytes.size(); at += size)
                reader.feed(bytes.mid(at, size), at + size >= bytes.size(), chunked);
            QCOMPARE(chunked, fields);
        }
    }

    void decode_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QString>("text");
        QTest::newRow("UTF-8 with BOM") << QByteArray("\xEF\xBB\xBF\"\xE2\x82\xAC\"") << u"\"\u20AC\""_s;
        QTest::newRow("Windows-1252 letters, euro, quotes") << QByteArray("\xE9\x80\x93\x94\x96") << u"\u00E9\u20AC\u201C\u201D\u2013"_s;
        QTest::newRow("Windows-1252 undefined bytes kept") << QByteArray("\x81\x8D\x8F\x90\x9D") << u"\u0081\u008D\u008F\u0090\u009D"_s;
        QTest::newRow("UTF-8 and Windows-1252 mixed is Windows-1252") << QByteArray("\xC3\xA9\xE9") << u"\u00C3\u00A9\u00E9"_s;
        QTest::newRow("UTF-8 sequence cut at end") << QByteArray("ab\xC3") << u"ab\u00C3"_s;
        QTest::newRow("BOM followed by Windows-1252 keeps all bytes") << QByteArray("\xEF\xBB\xBF\xE9") << u"\u00EF\u00BB\u00BF\u00E9"_s;
    }

    void decode()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(QString, text);
        QCOMPARE(StoreFormat::decode(bytes), text);
    }

    void decodeField_data()
    {
        QTest::addColumn<QByteArray>("field");
        QTest::addColumn<QString>("text");
        // Each field on its own: UTF-8 when valid, otherwise Windows-1252.
        QTest::newRow("four-byte character") << QByteArray("\xF0\x9F\x98\x80") << u"\U0001F600"_s;
        QTest::newRow("windows-1252 e acute") << QByteArray("caf\xE9") << u"caf\u00E9"_s;
        QTest::newRow("overlong slash") << QByteArray("\xC0\xAF") << u"\u00C0\u00AF"_s;
        QTest::newRow("surrogate") << QByteArray("\xED\xA0\x80") << u"\u00ED\u00A0\u20AC"_s;
        QTest::newRow("beyond U+10FFFF") << QByteArray("\xF4\x90\x80\x80") << u"\u00F4\u0090\u20AC\u20AC"_s;
    }

    void decodeField()
    {
        QFETCH(QByteArray, field);
        QFETCH(QString, text);
        QCOMPARE(StoreReader::decodeField(field), text);
    }

    void roundTrip_data()
    {
        QTest::addColumn<QStringList>("entries");
        QTest::newRow("blanks and numbers") << QStringList{u"  lead"_s, u"trail  "_s, u"1,5"_s};
        QTest::newRow("line breaks inside") << QStringList{u"a\r\nb"_s, u"c\nd"_s, u"e\rf"_s};
        QTest::newRow("quotes inside") << QStringList{u"\""_s, u"\"\""_s, u"x\"\r\ny"_s, u"\",\""_s, QString()};
        QTest::newRow("beyond Latin-1") << QStringList{u"\u20AC \u4E2D \U0001F600"_s};
        QTest::newRow("byte-order mark opening an entry") << QStringList{u"\uFEFF"_s, u"\uFEFF\uFEFFx"_s};
    }

    void roundTrip()
    {
        QFETCH(QStringList, entries);
        QCOMPARE(StoreFormat::parse(StoreFormat::decode(StoreFormat::serialize(entries))), entries);
    }
};

QTEST_GUILESS_MAIN(tst_StoreFormat)
#include "tst_StoreFormat.moc"
