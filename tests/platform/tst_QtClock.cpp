#include "QtClock.h"

#include <QLocale>
#include <QTest>

/** Time formats with seconds and without a zone. */
class tst_QtClock : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void formatForLocale_data()
    {
        QTest::addColumn<QString>("localeName");
        QTest::addColumn<QString>("expected");

        QTest::newRow("US twelve-hour") << QStringLiteral("en_US") << QStringLiteral("h:mm:ss AP");
        QTest::newRow("Finnish dot separator") << QStringLiteral("fi_FI") << QStringLiteral("H.mm.ss");
        QTest::newRow("Korean period before hour") << QStringLiteral("ko_KR") << QStringLiteral("AP h:mm:ss");
    }

    void formatForLocale()
    {
        QFETCH(QString, localeName);
        QFETCH(QString, expected);
        QCOMPARE(QtClock::timeFormat(QLocale(localeName)), expected);
    }

    void formatRewrite_data()
    {
        QTest::addColumn<QString>("format");
        QTest::addColumn<QString>("expected");

        QTest::newRow("zone at the start") << QStringLiteral("t HH:mm:ss") << QStringLiteral("HH:mm:ss");
        QTest::newRow("long zone name in the middle") << QStringLiteral("HH:mm tttt ss") << QStringLiteral("HH:mm ss");
        QTest::newRow("quoted separator falls back to colon") << QStringLiteral("HH 'h' mm") << QStringLiteral("HH 'h' mm:ss");
        QTest::newRow("quoted t is text, not a zone") << QStringLiteral("HH:mm:ss 'that'") << QStringLiteral("HH:mm:ss 'that'");
        QTest::newRow("milliseconds count as seconds present") << QStringLiteral("HH:mm:ss.zzz") << QStringLiteral("HH:mm:ss.zzz");
    }

    void formatRewrite()
    {
        QFETCH(QString, format);
        QFETCH(QString, expected);
        QCOMPARE(QtClock::withSecondsWithoutZone(format), expected);
    }
};

QTEST_GUILESS_MAIN(tst_QtClock)
#include "tst_QtClock.moc"
