#include "Twips.h"

#include <QTest>
#include <climits>
#include <limits>

class tst_Twips : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void perPixel_data();
    void perPixel();
    void roundHalfEven_data();
    void roundHalfEven();
    void toPixels_data();
    void toPixels();
};

void tst_Twips::perPixel_data()
{
    QTest::addColumn<double>("dpi");
    QTest::addColumn<double>("twipsPerPixel");

    QTest::newRow("96 dpi") << 96.0 << 15.0;
    QTest::newRow("120 dpi") << 120.0 << 12.0;
    QTest::newRow("144 dpi") << 144.0 << 10.0;
    QTest::newRow("zero dpi falls back to 96") << 0.0 << 15.0;
    QTest::newRow("negative dpi falls back to 96") << -96.0 << 15.0;
    QTest::newRow("NaN dpi falls back to 96") << std::numeric_limits<double>::quiet_NaN() << 15.0;
}

void tst_Twips::perPixel()
{
    QFETCH(double, dpi);
    QFETCH(double, twipsPerPixel);
    QCOMPARE(Twips::perPixel(dpi), twipsPerPixel);
}

void tst_Twips::roundHalfEven_data()
{
    QTest::addColumn<double>("value");
    QTest::addColumn<int>("rounded");

    const double inf = std::numeric_limits<double>::infinity();
    QTest::newRow("22.5 to even 22") << 22.5 << 22;
    QTest::newRow("23.5 to even 24") << 23.5 << 24;
    QTest::newRow("0.5 to 0") << 0.5 << 0;
    QTest::newRow("-2.5 to -2") << -2.5 << -2;
    QTest::newRow("-3.5 to -4") << -3.5 << -4;
    QTest::newRow("just below a half") << 22.499999 << 22;
    QTest::newRow("just above a half") << 22.500001 << 23;
    QTest::newRow("negative just past a half") << -2.500001 << -3;
    QTest::newRow("173.33 down") << 2600.0 / 15.0 << 173;
    QTest::newRow("NaN gives 0") << std::numeric_limits<double>::quiet_NaN() << 0;
    QTest::newRow("huge saturates high") << 1e12 << INT_MAX;
    QTest::newRow("huge negative saturates low") << -1e12 << INT_MIN;
    QTest::newRow("infinity saturates high") << inf << INT_MAX;
    QTest::newRow("minus infinity saturates low") << -inf << INT_MIN;
    QTest::newRow("largest int stays") << 2147483647.0 << INT_MAX;
    QTest::newRow("tie just below largest int") << 2147483646.5 << 2147483646;
    QTest::newRow("smallest int stays") << -2147483648.0 << INT_MIN;
}

void tst_Twips::roundHalfEven()
{
    QFETCH(double, value);
    QFETCH(int, rounded);
    QCOMPARE(Twips::roundHalfEven(value), rounded);
}

void tst_Twips::toPixels_data()
{
    QTest::addColumn<double>("twips");
    QTest::addColumn<double>("twipsPerPixel");
    QTest::addColumn<int>("pixels");

    QTest::newRow("Left 750 at 15") << 750.0 << 15.0 << 50;
    QTest::newRow("Top 450 at 15") << 450.0 << 15.0 << 30;
    QTest::newRow("Width 975 at 15") << 975.0 << 15.0 << 65;
    QTest::newRow("Height 2600 at 15") << 2600.0 << 15.0 << 173;
    QTest::newRow("tie 337.5 at 15 to even") << 337.5 << 15.0 << 22;
    QTest::newRow("tie 352.5 at 15 to even") << 352.5 << 15.0 << 24;
    QTest::newRow("negative position") << -37.5 << 15.0 << -2;
    QTest::newRow("zero factor gives 0") << 750.0 << 0.0 << 0;
    QTest::newRow("negative factor gives 0") << 750.0 << -15.0 << 0;
    QTest::newRow("infinite factor gives 0")
        << 750.0 << std::numeric_limits<double>::infinity() << 0;
    QTest::newRow("NaN twips gives 0") << std::numeric_limits<double>::quiet_NaN() << 15.0 << 0;
    QTest::newRow("tiny factor saturates") << 1e9 << 1e-3 << INT_MAX;
}

void tst_Twips::toPixels()
{
    QFETCH(double, twips);
    QFETCH(double, twipsPerPixel);
    QFETCH(int, pixels);
    QCOMPARE(Twips::toPixels(twips, twipsPerPixel), pixels);
}

QTEST_GUILESS_MAIN(tst_Twips)
#include "tst_Twips.moc"
