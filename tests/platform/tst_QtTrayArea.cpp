#include "QtTrayArea.h"
#include "TrayIconRecord.h"

#include <QGuiApplication>
#include <QIcon>
#include <QPixmap>
#include <QSignalSpy>
#include <QTest>

/** The icon's tip text and the mouse numbers the main window decodes. */
class tst_QtTrayArea : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void mouseMessageFor_data()
    {
        QTest::addColumn<QSystemTrayIcon::ActivationReason>("reason");
        QTest::addColumn<int>("number");

        QTest::newRow("double-click restores") << QSystemTrayIcon::DoubleClick << 515;
        QTest::newRow("context opens the menu") << QSystemTrayIcon::Context << 517;
        QTest::newRow("single click is a left button up") << QSystemTrayIcon::Trigger << 514;
        QTest::newRow("middle click") << QSystemTrayIcon::MiddleClick << 520;
        QTest::newRow("unknown sends nothing") << QSystemTrayIcon::Unknown << 0;
    }

    void mouseMessageFor()
    {
        QFETCH(QSystemTrayIcon::ActivationReason, reason);
        QFETCH(int, number);
        QCOMPARE(QtTrayArea::mouseMessageFor(reason), number);
    }

    void tipText_data()
    {
        QTest::addColumn<QString>("szTip");
        QTest::addColumn<QString>("expected");

        const QString nul(QChar(u'\0'));
        auto padded = [](QString text) {
            text.resize(TrayIconRecord::TipLength, QLatin1Char(' '));
            return text;
        };
        QTest::newRow("title, NUL, blanks")
            << padded(QStringLiteral("Quippet") + nul) << QStringLiteral("Quippet");
        QTest::newRow("blank inside the title kept")
            << padded(QStringLiteral("My Quippet") + nul) << QStringLiteral("My Quippet");
        QTest::newRow("text after the NUL is not shown")
            << padded(QStringLiteral("Quippet") + nul + QStringLiteral("junk"))
            << QStringLiteral("Quippet");
        QTest::newRow("no NUL: padding dropped")
            << padded(QStringLiteral("Quippet")) << QStringLiteral("Quippet");
        QTest::newRow("NUL first") << padded(nul) << QString();
    }

    void tipText()
    {
        QFETCH(QString, szTip);
        QFETCH(QString, expected);
        TrayIconRecord record;
        record.szTip = szTip;
        QCOMPARE(QtTrayArea::tipText(record), expected);
    }

    void deleteWithoutIconIsHarmless()
    {
        QtTrayArea tray;
        QSignalSpy spy(&tray, &TrayArea::mouseMessage);
        tray.notifyIcon(TrayArea::NimDelete, TrayIconRecord{});
        QVERIFY(tray.findChildren<QSystemTrayIcon*>().isEmpty());
        QCOMPARE(spy.count(), 0);
    }

    void addThenDeleteShowsAndHidesOneIcon()
    {
        QPixmap picture(16, 16);
        picture.fill(Qt::darkGreen);
        QGuiApplication::setWindowIcon(QIcon(picture));
        QtTrayArea tray;
        TrayIconRecord record;
        record.szTip = QStringLiteral("Quippet") + QChar(u'\0');
        tray.notifyIcon(TrayArea::NimAdd, record);
        tray.notifyIcon(TrayArea::NimDelete, record);
        tray.notifyIcon(TrayArea::NimAdd, record);

        const QList<QSystemTrayIcon*> icons = tray.findChildren<QSystemTrayIcon*>();
        QCOMPARE(icons.size(), 1);
        QCOMPARE(icons.first()->toolTip(), QStringLiteral("Quippet"));
        QVERIFY(!icons.first()->icon().isNull());
        // The main window opens its own menu on 517; a second one here would compete.
        QVERIFY(icons.first()->contextMenu() == nullptr);
        QVERIFY(icons.first()->isVisible());
        tray.notifyIcon(TrayArea::NimDelete, record);
        QVERIFY(!icons.first()->isVisible());
    }
};

QTEST_MAIN(tst_QtTrayArea)
#include "tst_QtTrayArea.moc"
