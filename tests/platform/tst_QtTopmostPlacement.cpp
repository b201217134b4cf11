#include "QtTopmostPlacement.h"

#include <QTest>
#include <QWidget>
#include <QWindow>

/** The stays-on-top hint follows the request while the window keeps its place and size. */
class tst_QtTopmostPlacement : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void placement_data()
    {
        QTest::addColumn<bool>("startVisible");
        QTest::addColumn<QList<int>>("requests");
        QTest::addColumn<bool>("expectTopmost");

        QTest::newRow("topmost") << true << QList<int>{-1} << true;
        QTest::newRow("topmost then not") << true << QList<int>{-1, -2} << false;
        QTest::newRow("other value counts as not topmost") << true << QList<int>{-1, 1} << false;
        QTest::newRow("hidden window is shown") << false << QList<int>{-1} << true;
    }

    void placement()
    {
        QFETCH(bool, startVisible);
        QFETCH(QList<int>, requests);
        QFETCH(bool, expectTopmost);

        QWidget window;
        window.setGeometry(50, 30, 256, 173);
        WId nativeBefore = 0;
        if (startVisible) {
            window.show();
            QVERIFY(QTest::qWaitForWindowExposed(&window));
            nativeBefore = window.winId();
        }
        const QRect before = window.geometry();

        QtTopmostPlacement placement;
        for (int insertAfter : std::as_const(requests)) {
            placement.setWindowPos(&window, insertAfter, 50, 30, 256, 173, TopmostPlacement::SwpShowWindow | TopmostPlacement::SwpNoActivate);
        }

        QVERIFY(window.isVisible());
        QCOMPARE(window.windowHandle()->flags().testFlag(Qt::WindowStaysOnTopHint), expectTopmost);
        QCOMPARE(window.geometry(), before);
        // The native window is kept, not torn down and made anew.
        if (startVisible)
            QCOMPARE(window.winId(), nativeBefore);
        // Showing must not leave the widget set up to skip activation later on.
        QVERIFY(!window.testAttribute(Qt::WA_ShowWithoutActivating));
    }
};

QTEST_MAIN(tst_QtTopmostPlacement)
#include "tst_QtTopmostPlacement.moc"
