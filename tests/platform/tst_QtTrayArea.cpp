#include "QtTrayArea.h"
#include "TrayIconRecord.h"

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
        QTest::newRow("unknown sends nothing") << QSystemTrayIcon::Unknown << 0;
    }

    void mouseMessageFor()
    {
        QFETCH(QSystemTrayIcon::ActivationReason, reason);
        QFETCH(int, number);
        QCOMPARE(QtTrayArea::mouseMessageFor(reason), number);
    }

    void activationIsReportedAfterTheIconsHandler()
    {
        // The answer may remove the icon, whose widget is still inside its mouse handler.
        QtTrayArea area;
        area.notifyIcon(TrayArea::NimAdd, TrayIconRecord{});
        auto* icon = area.findChild<QSystemTrayIcon*>();
        QVERIFY(icon);
        QSignalSpy messages(&area, &TrayArea::mouseMessage);
        Q_EMIT icon->activated(QSystemTrayIcon::Context);
        QVERIFY(messages.isEmpty());
        QCoreApplication::processEvents();
        QCOMPARE(messages.count(), 1);
        QCOMPARE(messages.at(0).at(0).toInt(), 517);

        // A click still queued when the icon is removed goes with it.
        Q_EMIT icon->activated(QSystemTrayIcon::DoubleClick);
        area.notifyIcon(TrayArea::NimDelete, TrayIconRecord{});
        QCoreApplication::processEvents();
        QCOMPARE(messages.count(), 1);
    }

    void tipText_data()
    {
        QTest::addColumn<QString>("szTip");
        QTest::addColumn<QString>("expected");

        const QString nul(QChar(u'\0'));
        QTest::newRow("blank inside the title kept") << QStringLiteral("My Quippet") + nul << QStringLiteral("My Quippet");
        QTest::newRow("text after the NUL is not shown") << QStringLiteral("Quippet") + nul + QStringLiteral("junk") << QStringLiteral("Quippet");
        QTest::newRow("no NUL: padding dropped") << QStringLiteral("Quippet") << QStringLiteral("Quippet");
        QTest::newRow("NUL first") << nul << QString();
    }

    void tipText()
    {
        QFETCH(QString, szTip);
        QFETCH(QString, expected);
        TrayIconRecord record;
        record.szTip = szTip.leftJustified(TrayIconRecord::TipLength, QLatin1Char(' '));
        QCOMPARE(QtTrayArea::tipText(record), expected);
    }
};

QTEST_MAIN(tst_QtTrayArea)
#include "tst_QtTrayArea.moc"
