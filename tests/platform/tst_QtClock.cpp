#include "QtClock.h"

#include <QLocale>
#include <QTest>
#include <QTime>

/** Time formats with seconds and without a zone, and the texts made from them. */
class tst_QtClock : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void formatForLocale_data()
    {
        QTest::addColumn<QString>("localeName");
        QTest::addColumn<QString>("expected");

        QTest::newRow("US twelve-hour") << QStringLiteral("en_US") << QStringLiteral("h:mm:ss AP");
        QTest::newRow("German") << QStringLiteral("de_DE") << QStringLiteral("HH:mm:ss");
        QTest::newRow("Finnish dot separator")
            << QStringLiteral("fi_FI") << QStringLiteral("H.mm.ss");
        QTest::newRow("Korean period before hour")
            << QStringLiteral("ko_KR") << QStringLiteral("AP h:mm:ss");
        QTest::newRow("C already has seconds") << QStringLiteral("C") << QStringLiteral("HH:mm:ss");
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

        QTest::newRow("zone at the end")
            << QStringLiteral("h:mm:ss AP t") << QStringLiteral("h:mm:ss AP");
        QTest::newRow("zone at the start")
            << QStringLiteral("t HH:mm:ss") << QStringLiteral("HH:mm:ss");
        QTest::newRow("long zone name in the middle")
            << QStringLiteral("HH:mm tttt ss") << QStringLiteral("HH:mm ss");
        QTest::newRow("seconds added before the period")
            << QStringLiteral("h:mm AP") << QStringLiteral("h:mm:ss AP");
        QTest::newRow("single-letter minutes") << QStringLiteral("H:m") << QStringLiteral("H:m:ss");
        QTest::newRow("quoted separator falls back to colon")
            << QStringLiteral("HH 'h' mm") << QStringLiteral("HH 'h' mm:ss");
        QTest::newRow("quoted t is text, not a zone")
            << QStringLiteral("HH:mm:ss 'that'") << QStringLiteral("HH:mm:ss 'that'");
        QTest::newRow("milliseconds count as seconds present")
            << QStringLiteral("HH:mm:ss.zzz") << QStringLiteral("HH:mm:ss.zzz");
        QTest::newRow("missing seconds and a zone")
            << QStringLiteral("HH.mm t") << QStringLiteral("HH.mm.ss");
    }

    void formatRewrite()
    {
        QFETCH(QString, format);
        QFETCH(QString, expected);
        QCOMPARE(QtClock::withSecondsWithoutZone(format), expected);
    }

    void timeTextIsNowInTheSystemFormat()
    {
        const QtClock clock;
        const QTime before = QTime::currentTime();
        const QString text = clock.timeText();
        const QTime after = QTime::currentTime();
        if (after < before)
            QSKIP("Midnight passed while reading the clock");

        const QTime parsed = QLocale::system().toTime(text, QtClock::timeFormat(QLocale::system()));
        QVERIFY2(parsed.isValid(), qPrintable(text));
        QVERIFY(parsed >= before.addMSecs(-before.msec()));
        QVERIFY(parsed <= after);
    }

    void todayTextIsTodayInShortFormat()
    {
        const QtClock clock;
        const QString text = clock.todayText();
        QVERIFY(!text.isEmpty());
        const QDate parsed = QLocale::system().toDate(text, QLocale::ShortFormat);
        // Short formats with two-digit years parse into the 1900s; compare day and month.
        QVERIFY2(parsed.isValid(), qPrintable(text));
        QCOMPARE(parsed.day(), QDate::currentDate().day());
        QCOMPARE(parsed.month(), QDate::currentDate().month());
    }
};

QTEST_GUILESS_MAIN(tst_QtClock)
#include "tst_QtClock.moc"
