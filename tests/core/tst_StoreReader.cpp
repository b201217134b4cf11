#include "StoreReader.h"

#include <QtTest>

/** Chunked reading must give the same fields wherever the chunks happen to split the bytes. */
class StoreReaderTest : public QObject
{
    Q_OBJECT

private:
    static QStringList readInChunks(const QByteArray& bytes, qsizetype chunkSize, bool* ok)
    {
        StoreReader reader(StoreReader::Encoding::Utf8);
        QStringList fields;
        *ok = true;
        for (qsizetype at = 0; at < bytes.size() || at == 0; at += chunkSize) {
            const QByteArray chunk = bytes.mid(at, chunkSize);
            const bool atEnd = at + chunkSize >= bytes.size();
            if (!reader.feed(chunk, atEnd, fields)) {
                *ok = false;
                break;
            }
            if (atEnd)
                break;
        }
        return fields;
    }

private Q_SLOTS:
    void chunkBoundariesDoNotMatter_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QStringList>("fields");

        QTest::newRow("quoted lines")
            << QByteArray("\"Hello, world\"\r\n\" indented\"\r\n\"\"\r\n")
            << QStringList{u"Hello, world"_qs, u" indented"_qs, QString()};
        QTest::newRow("doubled quotes across a split")
            << QByteArray("\"say \"\"hi\"\"\"\r\n") << QStringList{u"say \"hi\""_qs};
        QTest::newRow("CR LF split between chunks")
            << QByteArray("a\r\nb\r\n") << QStringList{u"a"_qs, u"b"_qs};
        QTest::newRow("lone CR then text") << QByteArray("a\rb") << QStringList{u"a"_qs, u"b"_qs};
        QTest::newRow("unquoted fields with commas and blanks")
            << QByteArray("a, b\r\n  c") << QStringList{u"a"_qs, u"b"_qs, u"c"_qs};
        QTest::newRow("multi-byte characters")
            << QByteArray("\"gr\xC3\xBC\xC3\x9F \xF0\x9F\x98\x80\"\r\n")
            << QStringList{u"grüß 😀"_qs};
        QTest::newRow("byte-order mark")
            << QByteArray("\xEF\xBB\xBF\"x\"\r\n") << QStringList{u"x"_qs};
        QTest::newRow("unterminated quote keeps the rest")
            << QByteArray("\"a\"\r\n\"open, text") << QStringList{u"a"_qs, u"open, text"_qs};
        QTest::newRow("text after the closing quote is dropped")
            << QByteArray("\"a\"junk,b") << QStringList{u"a"_qs, u"b"_qs};
        QTest::newRow("empty input") << QByteArray() << QStringList();
    }

    void chunkBoundariesDoNotMatter()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(QStringList, fields);
        for (const qsizetype size :
             {qsizetype(1), qsizetype(2), qsizetype(3), qsizetype(5), qsizetype(1024)}) {
            bool ok = false;
            QCOMPARE(readInChunks(bytes, size, &ok), fields);
            QVERIFY(ok);
        }
    }

    void utf8Validity_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<bool>("valid");

        QTest::newRow("ascii") << QByteArray("plain") << true;
        QTest::newRow("four-byte character") << QByteArray("\xF0\x9F\x98\x80") << true;
        QTest::newRow("windows-1252 e acute") << QByteArray("caf\xE9") << false;
        QTest::newRow("overlong slash") << QByteArray("\xC0\xAF") << false;
        QTest::newRow("surrogate") << QByteArray("\xED\xA0\x80") << false;
        QTest::newRow("cut-off sequence") << QByteArray("\xE2\x82") << false;
        QTest::newRow("beyond U+10FFFF") << QByteArray("\xF4\x90\x80\x80") << false;
    }

    void utf8Validity()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(bool, valid);
        // A store with one bad field is read again as Windows-1252 by the caller.
        bool ok = false;
        readInChunks("\"ok\"\r\n\"" + bytes + "\"\r\n", 3, &ok);
        QCOMPARE(ok, valid);
    }
};

QTEST_GUILESS_MAIN(StoreReaderTest)
#include "tst_StoreReader.moc"
