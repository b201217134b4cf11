#include "SettingsCodec.h"

#include <QTest>

using namespace Qt::Literals::StringLiterals;

class tst_SettingsCodec : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void heightFromText_data();
    void heightFromText();
    void textFromHeight_data();
    void textFromHeight();
    void boolFromText_data();
    void boolFromText();
    void boolRoundTrip_data();
    void boolRoundTrip();
};

void tst_SettingsCodec::heightFromText_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<float>("height");

    QTest::newRow("default text") << u"2600"_s << 2600.0f;
    QTest::newRow("shrunk height") << u"1030"_s << 1030.0f;
    QTest::newRow("fraction kept") << u"2600.4"_s << 2600.4f;
    QTest::newRow("blanks around") << u"  1030 "_s << 1030.0f;
    QTest::newRow("decimal point, not comma") << u"1030,5"_s << 2600.0f;
    QTest::newRow("not a number") << u"abc"_s << 2600.0f;
    QTest::newRow("empty") << QString() << 2600.0f;
    QTest::newRow("negative") << u"-5"_s << 2600.0f;
    QTest::newRow("zero") << u"0"_s << 2600.0f;
    QTest::newRow("infinity") << u"inf"_s << 2600.0f;
    QTest::newRow("not a number literal") << u"nan"_s << 2600.0f;
    QTest::newRow("beyond single precision") << u"1e60"_s << 2600.0f;
    QTest::newRow("trailing garbage") << u"1030px"_s << 2600.0f;
}

void tst_SettingsCodec::heightFromText()
{
    QFETCH(QString, text);
    QFETCH(float, height);
    QCOMPARE(SettingsCodec::heightFromText(text), height);
}

void tst_SettingsCodec::textFromHeight_data()
{
    QTest::addColumn<int>("twips");
    QTest::addColumn<QString>("text");

    QTest::newRow("default") << 2600 << u"2600"_s;
    QTest::newRow("shrunk") << 1030 << u"1030"_s;
    QTest::newRow("negative has minus, no blank") << -15 << u"-15"_s;
    QTest::newRow("zero") << 0 << u"0"_s;
    QTest::newRow("largest") << 2147483647 << u"2147483647"_s;
}

void tst_SettingsCodec::textFromHeight()
{
    QFETCH(int, twips);
    QFETCH(QString, text);
    QCOMPARE(SettingsCodec::textFromHeight(twips), text);
}

void tst_SettingsCodec::boolFromText_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("value");

    QTest::newRow("True") << u"True"_s << true;
    QTest::newRow("False") << u"False"_s << false;
    QTest::newRow("upper case FALSE") << u"FALSE"_s << false;
    QTest::newRow("lower case true") << u"true"_s << true;
    QTest::newRow("blanks around True") << u" True "_s << true;
    QTest::newRow("zero") << u"0"_s << false;
    QTest::newRow("one") << u"1"_s << true;
    QTest::newRow("minus one") << u"-1"_s << true;
    QTest::newRow("yes is not a boolean") << u"yes"_s << false;
    QTest::newRow("empty") << QString() << false;
    QTest::newRow("Truex") << u"Truex"_s << false;
}

void tst_SettingsCodec::boolFromText()
{
    QFETCH(QString, text);
    QFETCH(bool, value);
    QCOMPARE(SettingsCodec::boolFromText(text), value);
}

void tst_SettingsCodec::boolRoundTrip_data()
{
    QTest::addColumn<bool>("value");
    QTest::addColumn<QString>("text");
    QTest::newRow("true") << true << u"True"_s;
    QTest::newRow("false") << false << u"False"_s;
}

void tst_SettingsCodec::boolRoundTrip()
{
    QFETCH(bool, value);
    QFETCH(QString, text);
    QCOMPARE(SettingsCodec::textFromBool(value), text);
    QCOMPARE(SettingsCodec::boolFromText(SettingsCodec::textFromBool(value)), value);
}

QTEST_GUILESS_MAIN(tst_SettingsCodec)
#include "tst_SettingsCodec.moc"
