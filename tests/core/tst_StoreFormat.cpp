#include "QuotedLine.h"
#include "StoreFormat.h"

#include <QTest>

using namespace Qt::Literals::StringLiterals;

namespace {

// The three entries "Hello, world", " indented" and "" as a store file.
const QByteArray ThreeEntryFile = QByteArray::fromHex("2248656C6C6F2C20776F726C64220D0A"
                                                      "2220696E64656E746564220D0A"
                                                      "22220D0A");

QStringList entriesOf(const QByteArray& bytes)
{
    return StoreFormat::parse(StoreFormat::decode(bytes));
}

} // namespace

class tst_StoreFormat : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void threeEntryExampleIsWrittenByteForByte();
    void threeEntryExampleReadsBack();

    void quotedLine_data();
    void quotedLine();

    void parse_data();
    void parse();

    void decode_data();
    void decode();

    void roundTrip_data();
    void roundTrip();

    void serializeLeavesOut_data();
    void serializeLeavesOut();
};

void tst_StoreFormat::threeEntryExampleIsWrittenByteForByte()
{
    const QByteArray bytes = StoreFormat::serialize(
        {QStringLiteral("Hello, world"), QStringLiteral(" indented"), QString()});
    QCOMPARE(bytes.size(), 33);
    QCOMPARE(bytes, ThreeEntryFile);
}

void tst_StoreFormat::threeEntryExampleReadsBack()
{
    const QStringList expected{QStringLiteral("Hello, world"), QStringLiteral(" indented"),
                               QString()};
    QCOMPARE(entriesOf(ThreeEntryFile), expected);
}

void tst_StoreFormat::quotedLine_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QByteArray>("line");

    QTest::newRow("empty text is two quotes and CR LF") << QString() << QByteArray("\"\"\r\n");
    QTest::newRow("plain text") << QStringLiteral("abc") << QByteArray("\"abc\"\r\n");
    QTest::newRow("comma and blanks unchanged")
        << QStringLiteral(" a, b ") << QByteArray("\" a, b \"\r\n");
    QTest::newRow("line break inside unchanged")
        << QStringLiteral("one\r\ntwo") << QByteArray("\"one\r\ntwo\"\r\n");
    QTest::newRow("quote inside doubled")
        << QStringLiteral("say \"hi\"") << QByteArray("\"say \"\"hi\"\"\"\r\n");
    QTest::newRow("lone quote") << QStringLiteral("\"") << QByteArray("\"\"\"\"\r\n");
    QTest::newRow("non-ASCII as UTF-8, no BOM")
        << QStringLiteral("caf\u00E9 \u20AC") << QByteArray("\"caf\xC3\xA9 \xE2\x82\xAC\"\r\n");
}

void tst_StoreFormat::quotedLine()
{
    QFETCH(QString, text);
    QFETCH(QByteArray, line);
    QCOMPARE(QuotedLine::encode(text), line);
}

void tst_StoreFormat::parse_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QStringList>("fields");

    QTest::newRow("empty text gives no fields") << QString() << QStringList();
    QTest::newRow("unquoted line") << QStringLiteral("abc\r\n") << QStringList{u"abc"_s};
    QTest::newRow("unquoted with comma and blank")
        << QStringLiteral("a, b\r\n") << QStringList{u"a"_s, u"b"_s};
    QTest::newRow("leading blanks skipped")
        << QStringLiteral("   abc\r\n   \"q\"\r\n") << QStringList{u"abc"_s, u"q"_s};
    QTest::newRow("tab is not a blank") << QStringLiteral("\tabc\r\n") << QStringList{u"\tabc"_s};
    QTest::newRow("trailing blanks of unquoted field kept")
        << QStringLiteral("abc  \r\n") << QStringList{u"abc  "_s};
    QTest::newRow("empty line is empty entry")
        << QStringLiteral("\"a\"\r\n\r\n\"b\"\r\n") << QStringList{u"a"_s, QString(), u"b"_s};
    QTest::newRow("comma right after comma is empty entry")
        << QStringLiteral("a,,b\r\n") << QStringList{u"a"_s, QString(), u"b"_s};
    QTest::newRow("two quoted fields on one line")
        << QStringLiteral("\"a\",\"b\"\r\n") << QStringList{u"a"_s, u"b"_s};
    QTest::newRow("quoted field keeps comma and line break")
        << QStringLiteral("\"x, y\r\nz\"\r\n") << QStringList{u"x, y\r\nz"_s};
    QTest::newRow("doubled quote reads as one")
        << QStringLiteral("\"a\"\"b\"\r\n") << QStringList{u"a\"b"_s};
    QTest::newRow("text after closing quote discarded")
        << QStringLiteral("\"abc\"xyz,\"d\"\r\n") << QStringList{u"abc"_s, u"d"_s};
    QTest::newRow("lone LF ends a line") << QStringLiteral("a\nb\n") << QStringList{u"a"_s, u"b"_s};
    QTest::newRow("lone CR ends a line")
        << QStringLiteral("\"a\"\r\"b\"\r") << QStringList{u"a"_s, u"b"_s};
    QTest::newRow("CR CR LF is two line ends")
        << QStringLiteral("a\r\r\nb") << QStringList{u"a"_s, QString(), u"b"_s};
    QTest::newRow("missing final CR LF")
        << QStringLiteral("\"a\"\r\n\"b\"") << QStringList{u"a"_s, u"b"_s};
    QTest::newRow("unquoted last line without CR LF")
        << QStringLiteral("a\r\nb") << QStringList{u"a"_s, u"b"_s};
    QTest::newRow("end tested before next field: single line")
        << QStringLiteral("a\r\n") << QStringList{u"a"_s};
    QTest::newRow("end tested before next field: trailing comma")
        << QStringLiteral("a,") << QStringList{u"a"_s};
    QTest::newRow("unterminated quote keeps its text")
        << QStringLiteral("\"a\"\r\n\"b, c\r\nd") << QStringList{u"a"_s, u"b, c\r\nd"_s};
    QTest::newRow("lone opening quote at end") << QStringLiteral("\"") << QStringList{QString()};
    QTest::newRow("blanks alone make an empty field")
        << QStringLiteral("   ") << QStringList{QString()};
}

void tst_StoreFormat::parse()
{
    QFETCH(QString, text);
    QFETCH(QStringList, fields);
    QCOMPARE(StoreFormat::parse(text), fields);
}

void tst_StoreFormat::decode_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QString>("text");

    QTest::newRow("ASCII") << QByteArray("abc") << QStringLiteral("abc");
    QTest::newRow("valid UTF-8") << QByteArray("caf\xC3\xA9") << QStringLiteral("caf\u00E9");
    QTest::newRow("UTF-8 with BOM")
        << QByteArray("\xEF\xBB\xBF\"\xE2\x82\xAC\"") << QStringLiteral("\"\u20AC\"");
    QTest::newRow("legacy e acute") << QByteArray("caf\xE9") << QStringLiteral("caf\u00E9");
    QTest::newRow("legacy euro sign") << QByteArray("\x80 5") << QStringLiteral("\u20AC 5");
    QTest::newRow("legacy curly quotes and dash")
        << QByteArray("\x93x\x94\x96") << QStringLiteral("\u201Cx\u201D\u2013");
    QTest::newRow("legacy undefined bytes kept")
        << QByteArray("\x81\x8D\x8F\x90\x9D") << QStringLiteral("\u0081\u008D\u008F\u0090\u009D");
    QTest::newRow("UTF-8 and legacy mixed is legacy")
        << QByteArray("\xC3\xA9\xE9") << QStringLiteral("\u00C3\u00A9\u00E9");
    QTest::newRow("UTF-8 sequence cut at end is legacy")
        << QByteArray("ab\xC3") << QStringLiteral("ab\u00C3");
    QTest::newRow("BOM followed by legacy bytes keeps all bytes")
        << QByteArray("\xEF\xBB\xBF\xE9") << QStringLiteral("\u00EF\u00BB\u00BF\u00E9");
}

void tst_StoreFormat::decode()
{
    QFETCH(QByteArray, bytes);
    QFETCH(QString, text);
    QCOMPARE(StoreFormat::decode(bytes), text);
}

void tst_StoreFormat::roundTrip_data()
{
    QTest::addColumn<QStringList>("entries");

    QTest::newRow("no entries") << QStringList();
    QTest::newRow("one empty entry") << QStringList{QString()};
    QTest::newRow("blanks around text") << QStringList{u"  lead"_s, u"trail  "_s, u" "_s};
    QTest::newRow("looks like a number") << QStringList{u"007"_s, u"1,5"_s, u"-3e2"_s};
    QTest::newRow("line breaks inside")
        << QStringList{u"a\r\nb"_s, u"c\nd"_s, u"e\rf"_s, u"\r\n"_s};
    QTest::newRow("quotes inside")
        << QStringList{u"say \"hi\""_s, u"\""_s, u"\"\""_s, u"\"start"_s, u"end\""_s};
    QTest::newRow("quote before line end") << QStringList{u"x\"\r\ny"_s, u"\",\""_s, QString()};
    QTest::newRow("beyond Latin-1") << QStringList{u"\u20AC \u00E9 \u4E2D \U0001F600"_s};
}

void tst_StoreFormat::roundTrip()
{
    QFETCH(QStringList, entries);
    QCOMPARE(entriesOf(StoreFormat::serialize(entries)), entries);
}

void tst_StoreFormat::serializeLeavesOut_data()
{
    QTest::addColumn<QStringList>("entries");
    QTest::addColumn<QString>("leaveOut");
    QTest::addColumn<QStringList>("written");

    const QString today = QStringLiteral("01/02/2024");
    QTest::newRow("every date entry left out")
        << QStringList{today, u"a"_s, today, u"b"_s, today} << today << QStringList{u"a"_s, u"b"_s};
    QTest::newRow("near misses kept") << QStringList{today + u' ', u"01/02/2024x"_s} << today
                                      << QStringList{today + u' ', u"01/02/2024x"_s};
    QTest::newRow("empty leave-out keeps empty entries")
        << QStringList{QString(), u"a"_s} << QString() << QStringList{QString(), u"a"_s};
}

void tst_StoreFormat::serializeLeavesOut()
{
    QFETCH(QStringList, entries);
    QFETCH(QString, leaveOut);
    QFETCH(QStringList, written);
    QCOMPARE(StoreFormat::serialize(entries, leaveOut), StoreFormat::serialize(written));
}

QTEST_GUILESS_MAIN(tst_StoreFormat)
#include "tst_StoreFormat.moc"
