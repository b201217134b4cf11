#include "StoreReader.h"

#include <QtTest>

/** A store that is not valid UTF-8 is reported, so the caller reads it as Windows-1252. */
class StoreReaderTest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void utf8Validity_data()
    {
        QTest::addColumn<QByteArray>("field");
        QTest::addColumn<bool>("valid");

        QTest::newRow("four-byte character") << QByteArray("\xF0\x9F\x98\x80") << true;
        QTest::newRow("windows-1252 e acute") << QByteArray("caf\xE9") << false;
        QTest::newRow("overlong slash") << QByteArray("\xC0\xAF") << false;
        QTest::newRow("surrogate") << QByteArray("\xED\xA0\x80") << false;
        QTest::newRow("beyond U+10FFFF") << QByteArray("\xF4\x90\x80\x80") << false;
    }

    void utf8Validity()
    {
        QFETCH(QByteArray, field);
        QFETCH(bool, valid);
        StoreReader reader(StoreReader::Encoding::Utf8);
        QStringList fields;
        QCOMPARE(reader.feed("\"ok\"\r\n\"" + field + "\"\r\n", true, fields), valid);
    }
};

QTEST_GUILESS_MAIN(StoreReaderTest)
#include "tst_StoreReader.moc"
