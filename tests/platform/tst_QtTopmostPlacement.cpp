#include "QtTopmostPlacement.h"

#include <QApplication>
#include <QTest>
#include <QWidget>
#include <QWindow>

/** The stays-on-top hint follows the request while the window keeps its place and size. */
class tst_QtTopmostPlacement : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void supportedOffWayland()
    {
        QCOMPARE(QtTopmostPlacement().supported(),
                 !QGuiApplication::platformName().startsWith(QLatin1String("wayland")));
    }

    void placement_data()
    {
        QTest::addColumn<bool>("startVisible");
        QTest::addColumn<QList<int>>("requests");
        QTest::addColumn<bool>("expectTopmost");

        QTest::newRow("topmost") << true << QList<int>{-1} << true;
        QTest::newRow("topmost then not") << true << QList<int>{-1, -2} << false;
        QTest::newRow("not topmost only") << true << QList<int>{-2} << false;
        QTest::newRow("other value counts as not topmost") << true << QList<int>{-1, 1} << false;
        QTest::newRow("repeated topmost") << true << QList<int>{-1, -1, -1} << true;
        QTest::newRow("hidden window is shown") << false << QList<int>{-1} << true;
        QTest::newRow("hidden window shown without hint") << false << QList<int>{-2} << false;
    }

    void placement()
    {
        QFETCH(bool, startVisible);
        QFETCH(QList<int>, requests);
        QFETCH(bool, expectTopmost);

        QWidget window;
        window.setGeometry(50, 30, 256, 173);
        if (startVisible) {
            window.show();
            QVERIFY(QTest::qWaitForWindowExposed(&window));
        }
        const QRect before = window.geometry();

        QtTopmostPlacement placement;
        for (int insertAfter : std::as_const(requests)) {
            placement.setWindowPos(&window, insertAfter, 50, 30, 256, 173,
                                   TopmostPlacement::SwpShowWindow |
                                       TopmostPlacement::SwpNoActivate);
        }

        QVERIFY(window.isVisible());
        QVERIFY(window.windowHandle() != nullptr);
        QCOMPARE(window.windowHandle()->flags().testFlag(Qt::WindowStaysOnTopHint), expectTopmost);
        QCOMPARE(window.windowFlags().testFlag(Qt::WindowStaysOnTopHint), expectTopmost);
        QCOMPARE(window.geometry(), before);
        // Showing must not leave the widget set up to skip activation later on.
        QVERIFY(!window.testAttribute(Qt::WA_ShowWithoutActivating));
    }

    void nativeWindowIsKept()
    {
        QWidget window;
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        const WId before = window.winId();
        QWindow* handle = window.windowHandle();

        QtTopmostPlacement placement;
        placement.setWindowPos(&window, TopmostPlacement::HwndTopmost, 0, 0, 0, 0, 0x50);
        placement.setWindowPos(&window, TopmostPlacement::HwndNoTopmost, 0, 0, 0, 0, 0x50);

        QCOMPARE(window.winId(), before);
        QCOMPARE(window.windowHandle(), handle);
        QVERIFY(window.isVisible());
    }

    void activateShowsAndFocuses()
    {
        QWidget window;
        QtTopmostPlacement placement;
        placement.activate(&window);
        QVERIFY(window.isVisible());
        QVERIFY(QTest::qWaitForWindowActive(&window));
    }
};

QTEST_MAIN(tst_QtTopmostPlacement)
#include "tst_QtTopmostPlacement.moc"
