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
    void settings_data()
    {
        QTest::addColumn<QString>("conversion");
        QTest::addColumn<QString>("in");
        QTest::addColumn<QString>("out");
        // clang-format off
        QTest::newRow("shrunk height") << "height" << "1030" << "1030";
        QTest::newRow("fraction kept") << "height" << "2600.4" << "2600.4";
        QTest::newRow("blanks around") << "height" << "  1030 " << "1030";
        QTest::newRow("decimal comma is not a number") << "height" << "1030,5" << "2600";
        QTest::newRow("trailing garbage") << "height" << "1030px" << "2600";
        QTest::newRow("empty height") << "height" << "" << "2600";
        QTest::newRow("negative") << "height" << "-5" << "2600";
        QTest::newRow("zero") << "height" << "0" << "2600";
        QTest::newRow("infinity") << "height" << "inf" << "2600";
        QTest::newRow("beyond single precision") << "height" << "1e60" << "2600";
        QTest::newRow("True") << "bool" << "True" << "True";
        QTest::newRow("False") << "bool" << "False" << "False";
        QTest::newRow("case and blanks ignored") << "bool" << " tRUE " << "True";
        QTest::newRow("zero is false") << "bool" << "0" << "False";
        QTest::newRow("minus one is true") << "bool" << "-1" << "True";
        QTest::newRow("yes is not a boolean") << "bool" << "yes" << "False";
        QTest::newRow("empty bool") << "bool" << "" << "False";
        QTest::newRow("Truex") << "bool" << "Truex" << "False";
        // clang-format on
    }

    void settings()
    {
        QFETCH(QString, conversion);
        QFETCH(QString, in);
        QString out;
        if (conversion == u"height"_s)
            out = QString::number(SettingsCodec::heightFromText(in));
        else // written back as the settings file holds it
            out = SettingsCodec::textFromBool(SettingsCodec::boolFromText(in));
        QTEST(out, "out");
    }

    void twips_data()
    {
        QTest::addColumn<QString>("function");
        QTest::addColumn<double>("value");
        QTest::addColumn<double>("twipsPerPixel");
        QTest::addColumn<int>("result");
        QTest::newRow("96 dpi") << "perPixel" << 96.0 << 0.0 << 15;
        QTest::newRow("144 dpi") << "perPixel" << 144.0 << 0.0 << 10;
        QTest::newRow("zero dpi falls back to 96") << "perPixel" << 0.0 << 0.0 << 15;
        QTest::newRow("NaN dpi falls back to 96") << "perPixel" << NaN << 0.0 << 15;
        QTest::newRow("22.5 ties down to even") << "round" << 22.5 << 0.0 << 22;
        QTest::newRow("23.5 ties up to even") << "round" << 23.5 << 0.0 << 24;
        QTest::newRow("-2.5 ties to even -2") << "round" << -2.5 << 0.0 << -2;
        QTest::newRow("just above a half") << "round" << 22.500001 << 0.0 << 23;
        QTest::newRow("NaN gives 0") << "round" << NaN << 0.0 << 0;
        QTest::newRow("huge saturates high") << "round" << 1e12 << 0.0 << INT_MAX;
        QTest::newRow("minus infinity saturates low") << "round" << -Inf << 0.0 << INT_MIN;
        QTest::newRow("Height 2600 at 15") << "toPixels" << 2600.0 << 15.0 << 173;
        QTest::newRow("tie 337.5 at 15 to even") << "toPixels" << 337.5 << 15.0 << 22;
        QTest::newRow("tie 2602.5 at 15 to even") << "toPixels" << 2602.5 << 15.0 << 174;
        QTest::newRow("negative position") << "toPixels" << -37.5 << 15.0 << -2;
        QTest::newRow("zero factor gives 0") << "toPixels" << 750.0 << 0.0 << 0;
        QTest::newRow("infinite factor gives 0") << "toPixels" << 750.0 << Inf << 0;
        QTest::newRow("NaN twips gives 0") << "toPixels" << NaN << 15.0 << 0;
        QTest::newRow("tiny factor saturates") << "toPixels" << 1e9 << 1e-3 << INT_MAX;
    }

    void twips()
    {
        QFETCH(QString, function);
        QFETCH(double, value);
        QFETCH(double, twipsPerPixel);
        QFETCH(int, result);
        if (function == u"perPixel"_s)
            QCOMPARE(Twips::perPixel(value), double(result));
        else if (function == u"round"_s)
            QCOMPARE(Twips::roundHalfEven(value), result);
        else
            QCOMPARE(Twips::toPixels(value, twipsPerPixel), result);
    }
};

QTEST_GUILESS_MAIN(tst_Conversions)
#include "tst_Conversions.moc"
