#include "Form2.h"
#include "MainWindowHarness.h"

#include <QMimeData>
#include <QSignalSpy>
#include <QTimer>
#include <QtTest>

using namespace Qt::Literals::StringLiterals;

namespace {
const QString ShrinkTip = u"Click here to shrink program."_s;
const QString RestoreTip = u"Click here to restore program."_s;
} // namespace

/** Shrink and restore, the time stamp, always on top, and the notification-area icon. */
class WindowModesTest : public QObject
{
    Q_OBJECT

private:
    std::unique_ptr<MainWindowHarness> m_h;

    void showForm()
    {
        m_h->form->show();
        QVERIFY(QTest::qWaitForWindowExposed(m_h->form.get()));
    }

private Q_SLOTS:
    void init() { m_h = std::make_unique<MainWindowHarness>(); }

    void statusBarClicksAndDrags_data()
    {
        QTest::addColumn<double>("startHeight");
        QTest::addColumn<QString>("steps"); // panel clicks by number, "drag" for a drag over
        QTest::addColumn<double>("heightAfter");
        QTest::newRow("full shrinks") << 2600.0 << "1" << 1030.0;
        QTest::newRow("one twip below full restores") << 2599.0 << "1" << 2600.0;
        QTest::newRow("one twip above full restores") << 2601.0 << "1" << 2600.0;
        QTest::newRow("shrunk restores") << 1030.0 << "1" << 2600.0;
        QTest::newRow("drag over a full window") << 2600.0 << "drag" << 2600.0;
        QTest::newRow("drag over a shrunk window restores") << 2600.0 << "1 drag" << 2600.0;
        QTest::newRow("clock into the box") << 2600.0 << "2" << 2600.0;
        QTest::newRow("clock into the disabled box") << 2600.0 << "1 2" << 1030.0;
    }

    void statusBarClicksAndDrags()
    {
        QFETCH(double, startHeight);
        QFETCH(QString, steps);
        QFETCH(double, heightAfter);
        QVERIFY(m_h->load({{u"Height"_s, QString::number(startHeight)}}));
        // Start-up keeps the design-time tip and an enabled combo box at any height.
        QCOMPARE(m_h->statusBar()->panelToolTip(1), ShrinkTip);
        QVERIFY(m_h->combo()->isEnabled());
        m_h->combo()->setText(u"previous text"_s);
        for (const QString& step : steps.split(u' ')) {
            if (step != u"drag"_s) {
                m_h->clickPanel(step.toInt());
                continue;
            }
            QMimeData mime;
            mime.setText(u"dragged"_s);
            QDragEnterEvent enter(QPoint(3, 3), Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);
            QCoreApplication::sendEvent(m_h->statusBar(), &enter);
            QVERIFY(!enter.isAccepted());
        }
        QCOMPARE(m_h->form->Height(), heightAfter);
        QCOMPARE(m_h->form->declares().SavedHeight, qRound(heightAfter));
        QCOMPARE(m_h->statusBar()->panelToolTip(1), heightAfter == 2600.0 ? ShrinkTip : RestoreTip);
        QCOMPARE(m_h->combo()->isEnabled(), heightAfter == 2600.0);
        const bool clock = steps.endsWith(u'2');
        QCOMPARE(m_h->working(), clock ? m_h->platform.clock.time : u"previous text"_s);
        if (clock)
            QCOMPARE(m_h->combo()->lineEdit()->selectedText(), m_h->platform.clock.time);
        QCOMPARE(m_h->entries().size(), 2);
        QCOMPARE(m_h->message(), QString());
        m_h->form->close();
        QCOMPARE(m_h->platform.settings.values.value(u"Height"_s), QString::number(heightAfter));
    }

    void onTop_data()
    {
        QTest::addColumn<int>("flag");
        QTest::addColumn<int>("insertAfter");
        QTest::newRow("topmost") << -1 << -1;
        QTest::newRow("not topmost") << 0 << -2;
    }

    void onTop()
    {
        QFETCH(int, flag);
        if (m_h->form->logicalDpiX() != 96)
            QSKIP("pixel figures are given for 96 dpi");
        m_h->form->move(50, 30);
        m_h->form->SetOnTop(m_h->form.get(), flag);
        QCOMPARE(m_h->platform.topmost.calls.size(), 1);
        const auto call = m_h->platform.topmost.calls.first();
        QTEST(call.insertAfter, "insertAfter");
        QCOMPARE(QRect(call.x, call.y, call.cx, call.cy), QRect(50, 30, m_h->form->frameGeometry().width(), 173));
        QCOMPARE(call.flags, 0x50u);

        // The command applies through a paint, whether or not the window is on screen.
        if (flag == 0)
            showForm();
        for (int insertAfter : {-1, -2}) {
            m_h->action(u"OnTop"_s)->trigger();
            QCOMPARE(m_h->form->OnTopFlag(), insertAfter == -1 ? -1 : 0);
            QCOMPARE(m_h->platform.topmost.calls.last().insertAfter, insertAfter);
        }
        QCOMPARE(m_h->platform.topmost.activations, 0);
    }

    void aboutCommandLeavesTheBandFirst()
    {
        m_h->action(u"OnTop"_s)->trigger();
        showForm();
        m_h->platform.topmost.calls.clear();
        int callsWhenShown = -1;
        int firstBand = 0;
        QTimer::singleShot(0, this, [&] {
            auto* about = m_h->form->findChild<Form2*>();
            QVERIFY(about && about->isVisible());
            callsWhenShown = static_cast<int>(m_h->platform.topmost.calls.size());
            firstBand = m_h->platform.topmost.calls.value(0).insertAfter;
            about->close();
        });
        m_h->action(u"abquip"_s)->trigger();
        QVERIFY(callsWhenShown >= 1);
        QCOMPARE(firstBand, -2);
        QCOMPARE(m_h->form->OnTopFlag(), -1);
        QVERIFY(m_h->action(u"OnTop"_s)->isChecked());
    }

    void trayMessages_data()
    {
        QTest::addColumn<int>("number");
        QTest::addColumn<bool>("restores");
        QTest::addColumn<bool>("opensMenu");
        QTest::newRow("left double-click restores") << 515 << true << false;
        QTest::newRow("right button up opens the menu") << 517 << false << true;
        QTest::newRow("left up does nothing") << 514 << false << false;
        QTest::newRow("a second start restores") << 0 << true << false;
    }

    void trayMessages()
    {
        QFETCH(int, number);
        QFETCH(bool, restores);
        QFETCH(bool, opensMenu);
        QVERIFY(m_h->load({{u"Taskbar"_s, u"True"_s}}));
        QVERIFY(m_h->platform.tray.iconShown);
        if (number == 0)
            m_h->platform.instance.requestShow();
        else
            m_h->platform.tray.sendMouseMessage(number);
        QCOMPARE(m_h->form->isVisible(), restores);
        QCOMPARE(m_h->platform.tray.iconShown, !restores);
        QCOMPARE(m_h->platform.topmost.activations, restores ? 1 : 0);
        QCOMPARE(m_h->platform.menus.shownMenus, opensMenu ? QStringList{u"pop"_s} : QStringList());
    }

    void trayMenuRestoreAndExit()
    {
        QVERIFY(m_h->load({{u"Taskbar"_s, u"True"_s}}));
        QSignalSpy ended(m_h->form.get(), &Form1::ended);
        m_h->platform.menus.choices = {u"rst"_s};
        m_h->platform.tray.sendMouseMessage(517);
        QVERIFY(m_h->form->isVisible());
        QVERIFY(!(m_h->form->windowState() & Qt::WindowMinimized));
        QCOMPARE(m_h->platform.tray.messages, (QList<int>{0, 2}));

        m_h->form->showMinimized();
        QTRY_VERIFY(!m_h->form->isVisible());
        QVERIFY(m_h->platform.tray.iconShown);
        m_h->platform.menus.choices = {u"ex"_s};
        m_h->platform.tray.sendMouseMessage(517);
        QCOMPARE(ended.count(), 1);
        QVERIFY(!m_h->platform.tray.iconShown);
        QCOMPARE(m_h->platform.settings.values.value(u"Taskbar"_s), u"True"_s);
    }

    void minimising_data()
    {
        QTest::addColumn<bool>("shoTask");
        QTest::addColumn<bool>("trayArea");
        QTest::addColumn<bool>("toIcon");
        QTest::newRow("show in taskbar") << true << true << true;
        QTest::newRow("not checked") << false << true << false;
        QTest::newRow("no notification area") << true << false << false;
    }

    void minimising()
    {
        QFETCH(bool, shoTask);
        QFETCH(bool, trayArea);
        QFETCH(bool, toIcon);
        m_h->platform.tray.hasArea = trayArea;
        showForm();
        if (shoTask)
            m_h->action(u"ShoTask"_s)->trigger();
        // Checking the item alone adds no icon.
        QVERIFY(m_h->platform.tray.messages.isEmpty());
        m_h->form->showMinimized();
        QTRY_VERIFY(m_h->form->windowState() & Qt::WindowMinimized);
        QCOMPARE(m_h->platform.tray.iconShown, toIcon);
        QTRY_COMPARE(m_h->form->isVisible(), !toIcon);
    }
};

QTEST_MAIN(WindowModesTest)
#include "tst_WindowModes.moc"
