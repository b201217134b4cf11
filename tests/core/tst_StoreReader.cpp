#include "StoreReader.h"

#include <QtTest>

using namespace Qt::Literals::StringLiterals;

/** Each field is UTF-8 when its bytes are valid UTF-8, otherwise Windows-1252. */
class StoreReaderTest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void decodeField_data()
    {
        QTest::addColumn<QByteArray>("field");
        QTest::addColumn<QString>("text");

        QTest::newRow("four-byte character") << QByteArray("\xF0\x9F\x98\x80") << u"\U0001F600"_s;
        QTest::newRow("windows-1252 e acute") << QByteArray("caf\xE9") << u"caf\u00E9"_s;
        QTest::newRow("overlong slash") << QByteArray("\xC0\xAF") << u"\u00C0\u00AF"_s;
        QTest::newRow("surrogate") << QByteArray("\xED\xA0\x80") << u"\u00ED\u00A0\u20AC"_s;
        QTest::newRow("beyond U+10FFFF")
            << QByteArray("\xF4\x90\x80\x80") << u"\u00F4\u0090\u20AC\u20AC"_s;
    }

    void decodeField()
    {
        QFETCH(QByteArray, field);
        QFETCH(QString, text);
        QCOMPARE(StoreReader::decodeField(field), text);
    }
};

QTEST_GUILESS_MAIN(StoreReaderTest)
#include "tst_StoreReader.moc"
