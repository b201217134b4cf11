#include "QtPopupMenuHost.h"

#include <QAction>
#include <QApplication>
#include <QMenu>
#include <QSignalSpy>
#include <QTest>
#include <QTimer>

/** The menu is modal and the chosen item has run when popup() returns. */
class tst_QtPopupMenuHost : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void popup_data()
    {
        QTest::addColumn<QList<int>>("keys");
        QTest::addColumn<int>("chosen");

        QTest::newRow("first item") << QList<int>{Qt::Key_Down, Qt::Key_Return} << 0;
        QTest::newRow("separator skipped")
            << QList<int>{Qt::Key_Down, Qt::Key_Down, Qt::Key_Return} << 1;
        QTest::newRow("dismissed") << QList<int>{Qt::Key_Escape} << -1;
    }

    void popup()
    {
        QFETCH(QList<int>, keys);
        QFETCH(int, chosen);

        QWidget owner;
        QMenu menu;
        QAction* restore = menu.addAction(QStringLiteral("&Restore"));
        menu.addSeparator();
        QAction* exit = menu.addAction(QStringLiteral("E&xit"));
        const QList<QAction*> items{restore, exit};
        QSignalSpy restoreSpy(restore, &QAction::triggered);
        QSignalSpy exitSpy(exit, &QAction::triggered);

        QTimer driver;
        connect(&driver, &QTimer::timeout, this, [&driver, &menu, keys]() {
            if (QApplication::activePopupWidget() != &menu)
                return;
            driver.stop();
            for (int key : keys)
                QTest::keyClick(&menu, static_cast<Qt::Key>(key));
        });
        driver.start(10);

        QtPopupMenuHost host;
        QAction* result = host.popup(&owner, &menu);

        QCOMPARE(result, chosen < 0 ? nullptr : items.at(chosen));
        QCOMPARE(restoreSpy.count(), chosen == 0 ? 1 : 0);
        QCOMPARE(exitSpy.count(), chosen == 1 ? 1 : 0);
        QVERIFY(!menu.isVisible());
    }
};

QTEST_MAIN(tst_QtPopupMenuHost)
#include "tst_QtPopupMenuHost.moc"
