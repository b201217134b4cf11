#include "SettingsCodec.h"
#include "Twips.h"

#include <QTest>
#include <climits>
#include <limits>

using namespace Qt::Literals::StringLiterals;

namespace {
constexpr double NaN = std::numeric_limits<double>::quiet_NaN();
constexpr double Inf = std::numeric_limits<double>::infinity();
} // namespace

/** Settings texts to values and back, and twips to pixels. */
class tst_Conversions : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void heightFromText_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<float>("height");

        QTest::newRow("shrunk height") << u"1030"_s << 1030.0f;
        QTest::newRow("fraction kept") << u"2600.4"_s << 2600.4f;
        QTest::newRow("blanks around") << u"  1030 "_s << 1030.0f;
        QTest::newRow("decimal comma is not a number") << u"1030,5"_s << 2600.0f;
        QTest::newRow("trailing garbage") << u"1030px"_s << 2600.0f;
        QTest::newRow("empty") << QString() << 2600.0f;
        QTest::newRow("negative") << u"-5"_s << 2600.0f;
        QTest::newRow("zero") << u"0"_s << 2600.0f;
        QTest::newRow("infinity") << u"inf"_s << 2600.0f;
        QTest::newRow("beyond single precision") << u"1e60"_s << 2600.0f;
    }

    void heightFromText()
    {
        QFETCH(QString, text);
        QFETCH(float, height);
        QCOMPARE(SettingsCodec::heightFromText(text), height);
    }

    void boolFromText_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<bool>("value");

        QTest::newRow("True") << u"True"_s << true;
        QTest::newRow("False") << u"False"_s << false;
        QTest::newRow("case and blanks ignored") << u" tRUE "_s << true;
        QTest::newRow("zero") << u"0"_s << false;
        QTest::newRow("minus one") << u"-1"_s << true;
        QTest::newRow("yes is not a boolean") << u"yes"_s << false;
        QTest::newRow("empty") << QString() << false;
        QTest::newRow("Truex") << u"Truex"_s << false;
    }

    void boolFromText()
    {
        QFETCH(QString, text);
        QFETCH(bool, value);
        QCOMPARE(SettingsCodec::boolFromText(text), value);
    }

    void textsWritten()
    {
        QCOMPARE(SettingsCodec::textFromHeight(2600), u"2600"_s);
        QCOMPARE(SettingsCodec::textFromHeight(-15), u"-15"_s);
        QCOMPARE(SettingsCodec::textFromBool(true), u"True"_s);
        QCOMPARE(SettingsCodec::textFromBool(false), u"False"_s);
    }

    void perPixel_data()
    {
        QTest::addColumn<double>("dpi");
        QTest::addColumn<double>("twipsPerPixel");

        QTest::newRow("96 dpi") << 96.0 << 15.0;
        QTest::newRow("144 dpi") << 144.0 << 10.0;
        QTest::newRow("zero dpi falls back to 96") << 0.0 << 15.0;
        QTest::newRow("NaN dpi falls back to 96") << NaN << 15.0;
    }

    void perPixel()
    {
        QFETCH(double, dpi);
        QFETCH(double, twipsPerPixel);
        QCOMPARE(Twips::perPixel(dpi), twipsPerPixel);
    }

    void roundHalfEven_data()
    {
        QTest::addColumn<double>("value");
        QTest::addColumn<int>("rounded");

        QTest::newRow("22.5 ties down to even") << 22.5 << 22;
        QTest::newRow("23.5 ties up to even") << 23.5 << 24;
        QTest::newRow("-2.5 ties to even -2") << -2.5 << -2;
        QTest::newRow("just above a half") << 22.500001 << 23;
        QTest::newRow("NaN gives 0") << NaN << 0;
        QTest::newRow("huge saturates high") << 1e12 << INT_MAX;
        QTest::newRow("minus infinity saturates low") << -Inf << INT_MIN;
    }

    void roundHalfEven()
    {
        QFETCH(double, value);
        QFETCH(int, rounded);
        QCOMPARE(Twips::roundHalfEven(value), rounded);
    }

    void toPixels_data()
    {
        QTest::addColumn<double>("twips");
        QTest::addColumn<double>("twipsPerPixel");
        QTest::addColumn<int>("pixels");

        QTest::newRow("Height 2600 at 15") << 2600.0 << 15.0 << 173;
        QTest::newRow("tie 337.5 at 15 to even") << 337.5 << 15.0 << 22;
        QTest::newRow("negative position") << -37.5 << 15.0 << -2;
        QTest::newRow("zero factor gives 0") << 750.0 << 0.0 << 0;
        QTest::newRow("infinite factor gives 0") << 750.0 << Inf << 0;
        QTest::newRow("NaN twips gives 0") << NaN << 15.0 << 0;
        QTest::newRow("tiny factor saturates") << 1e9 << 1e-3 << INT_MAX;
    }

    void toPixels()
    {
        QFETCH(double, twips);
        QFETCH(double, twipsPerPixel);
        QFETCH(int, pixels);
        QCOMPARE(Twips::toPixels(twips, twipsPerPixel), pixels);
    }
};

QTEST_GUILESS_MAIN(tst_Conversions)
#include "tst_Conversions.moc"
