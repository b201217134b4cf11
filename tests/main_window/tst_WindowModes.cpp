#include "FakePlatform.h"
#include "Form1.h"
#include "Form2.h"
#include "PanelStatusBar.h"
#include "SnippetCombo.h"

#include <QAction>
#include <QLabel>
#include <QLineEdit>
#include <QMimeData>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTimer>
#include <QtTest>

/** Shrink and restore, the time stamp, always on top, and the notification-area icon. */
class WindowModesTest : public QObject
{
    Q_OBJECT

private:
    std::unique_ptr<QTemporaryDir> m_dir;
    std::unique_ptr<FakePlatform> m_platform;
    std::unique_ptr<Form1> m_form;

    PanelStatusBar* statusBar() const
    {
        return m_form->findChild<PanelStatusBar*>(QStringLiteral("StatusBar1"));
    }
    SnippetCombo* combo() const
    {
        return m_form->findChild<SnippetCombo*>(QStringLiteral("Combo1"));
    }
    QAction* action(const char* name) const
    {
        return m_form->findChild<QAction*>(QLatin1String(name));
    }
    void clickPanel(int index) { QTest::mouseClick(statusBar()->panel(index), Qt::LeftButton); }
    bool dragOverStatusBar()
    {
        QMimeData mime;
        mime.setText(QStringLiteral("dragged"));
        QDragEnterEvent enter(QPoint(3, 3), Qt::CopyAction | Qt::MoveAction, &mime, Qt::LeftButton,
                              Qt::NoModifier);
        QCoreApplication::sendEvent(statusBar(), &enter);
        return enter.isAccepted();
    }
    void loadWithStore(const QMap<QString, QString>& settings = {})
    {
        QFile store(m_dir->filePath(QStringLiteral("Text.txt")));
        QVERIFY(store.open(QIODevice::WriteOnly));
        store.write("\"a\"\r\n");
        store.close();
        m_platform->settings.values = settings;
        m_form = std::make_unique<Form1>(m_platform->services());
        QVERIFY(m_form->Form_Load());
    }

private Q_SLOTS:
    void init()
    {
        m_dir = std::make_unique<QTemporaryDir>();
        m_platform = std::make_unique<FakePlatform>();
        m_platform->program.programFolder = m_dir->path();
        m_form = std::make_unique<Form1>(m_platform->services());
    }

    void messagePanelShrinksAndRestores_data()
    {
        QTest::addColumn<double>("startHeight");
        QTest::addColumn<double>("afterClick");
        QTest::addColumn<QString>("tip");
        QTest::addColumn<bool>("comboEnabled");

        const QString restoreTip = QStringLiteral("Click here to restore program.");
        const QString shrinkTip = QStringLiteral("Click here to shrink program.");
        QTest::newRow("full shrinks") << 2600.0 << 1030.0 << restoreTip << false;
        QTest::newRow("one twip below full restores") << 2599.0 << 2600.0 << shrinkTip << true;
        QTest::newRow("one twip above full restores") << 2601.0 << 2600.0 << shrinkTip << true;
        QTest::newRow("stored odd height restores") << 2000.0 << 2600.0 << shrinkTip << true;
        QTest::newRow("shrunk restores") << 1030.0 << 2600.0 << shrinkTip << true;
    }

    void messagePanelShrinksAndRestores()
    {
        QFETCH(double, startHeight);
        QFETCH(double, afterClick);
        QFETCH(QString, tip);
        QFETCH(bool, comboEnabled);
        loadWithStore({{QStringLiteral("Height"), QString::number(startHeight)}});
        // Start-up keeps the design-time tip and an enabled combo box at any height.
        QCOMPARE(statusBar()->panelToolTip(1), QStringLiteral("Click here to shrink program."));
        QVERIFY(combo()->isEnabled());

        clickPanel(1);
        QCOMPARE(m_form->Height(), afterClick);
        QCOMPARE(m_form->declares().SavedHeight, qRound(afterClick));
        QCOMPARE(statusBar()->panelToolTip(1), tip);
        QCOMPARE(combo()->isEnabled(), comboEnabled);

        m_platform->settings.log.clear();
        m_form->close();
        QCOMPARE(m_platform->settings.values.value(QStringLiteral("Height")),
                 QString::number(qRound(afterClick)));
    }

    void twoClicksShrinkThenRestore()
    {
        clickPanel(1);
        QCOMPARE(m_form->declares().SavedHeight, 1030);
        clickPanel(1);
        QCOMPARE(m_form->declares().SavedHeight, 2600);
        QCOMPARE(m_form->Height(), 2600.0);
        QCOMPARE(statusBar()->panelToolTip(1), QStringLiteral("Click here to shrink program."));
    }

    void dragOverStatusBarRestores_data()
    {
        QTest::addColumn<double>("startHeight");
        QTest::newRow("full window stays") << 2600.0;
        QTest::newRow("shrunk window restored") << 1030.0;
        QTest::newRow("odd height restored") << 2599.0;
    }

    void dragOverStatusBarRestores()
    {
        QFETCH(double, startHeight);
        if (startHeight == 1030.0)
            clickPanel(1);
        else
            m_form->setHeight(startHeight);
        QVERIFY(!dragOverStatusBar());
        QCOMPARE(m_form->Height(), 2600.0);
        QVERIFY(combo()->isEnabled());
        QCOMPARE(statusBar()->panelToolTip(1), QStringLiteral("Click here to shrink program."));
        if (startHeight != 2600.0)
            QCOMPARE(m_form->declares().SavedHeight, 2600);
    }

    void clockPanelPutsTimeIntoTheBox_data()
    {
        QTest::addColumn<bool>("shrunk");
        QTest::newRow("full window") << false;
        QTest::newRow("shrunk window with the box disabled") << true;
    }

    void clockPanelPutsTimeIntoTheBox()
    {
        QFETCH(bool, shrunk);
        m_form->list().appendAll({QStringLiteral("a"), QStringLiteral("b")});
        combo()->setText(QStringLiteral("previous text"));
        if (shrunk)
            clickPanel(1);
        clickPanel(2);
        QCOMPARE(combo()->text(), m_platform->clock.time);
        QCOMPARE(combo()->lineEdit()->selectedText(), m_platform->clock.time);
        QCOMPARE(m_form->list().count(), 2);
        QCOMPARE(statusBar()->panelText(1), QString());
        QCOMPARE(m_form->Height(), shrunk ? 1030.0 : 2600.0);
    }

    void setOnTopPassesTheRectangleInPixels_data()
    {
        QTest::addColumn<int>("flag");
        QTest::addColumn<double>("height");
        QTest::addColumn<int>("insertAfter");
        QTest::addColumn<int>("cy");

        QTest::newRow("topmost, 2600 rounds down") << -1 << 2600.0 << -1 << 173;
        QTest::newRow("not topmost") << 0 << 2600.0 << -2 << 173;
        QTest::newRow("flag 1 is not true") << 1 << 2600.0 << -2 << 173;
        QTest::newRow("tie rounds down to even") << -1 << 2587.5 << -1 << 172;
        QTest::newRow("tie rounds up to even") << -1 << 2602.5 << -1 << 174;
    }

    void setOnTopPassesTheRectangleInPixels()
    {
        QFETCH(int, flag);
        QFETCH(double, height);
        QFETCH(int, insertAfter);
        QFETCH(int, cy);
        if (m_form->logicalDpiX() != 96)
            QSKIP("pixel figures are given for 96 dpi");
        m_form->move(50, 30);
        m_form->setHeight(height);
        m_platform->topmost.calls.clear();
        m_form->SetOnTop(m_form.get(), flag);
        QCOMPARE(m_platform->topmost.calls.size(), 1);
        const auto call = m_platform->topmost.calls.first();
        QCOMPARE(call.insertAfter, insertAfter);
        QCOMPARE(call.x, 50);
        QCOMPARE(call.y, 30);
        QCOMPARE(call.cx, m_form->frameGeometry().width());
        QCOMPARE(call.cy, cy);
        QCOMPARE(call.flags, 0x50u);
    }

    void onTopCommandAppliesThroughPaint_data()
    {
        QTest::addColumn<bool>("shown");
        QTest::newRow("window on screen") << true;
        QTest::newRow("window not on screen") << false;
    }

    void onTopCommandAppliesThroughPaint()
    {
        QFETCH(bool, shown);
        if (shown) {
            m_form->show();
            QVERIFY(QTest::qWaitForWindowExposed(m_form.get()));
        }
        m_platform->topmost.calls.clear();
        action("OnTop")->trigger();
        QVERIFY(action("OnTop")->isChecked());
        QCOMPARE(m_form->OnTopFlag(), -1);
        QVERIFY(!m_platform->topmost.calls.isEmpty());
        QCOMPARE(m_platform->topmost.calls.last().insertAfter, -1);

        action("OnTop")->trigger();
        QVERIFY(!action("OnTop")->isChecked());
        QCOMPARE(m_form->OnTopFlag(), 0);
        QCOMPARE(m_platform->topmost.calls.last().insertAfter, -2);
        QCOMPARE(m_platform->topmost.activations, 0);
    }

    void everyPaintReappliesTheCheckMark()
    {
        loadWithStore({{QStringLiteral("Top"), QStringLiteral("True")}});
        m_form->show();
        QVERIFY(QTest::qWaitForWindowExposed(m_form.get()));
        QTRY_VERIFY(!m_platform->topmost.calls.isEmpty());
        QCOMPARE(m_platform->topmost.calls.last().insertAfter, -1);
        m_form->SetOnTop(m_form.get(), 0);
        m_form->repaint();
        QCOMPARE(m_platform->topmost.calls.last().insertAfter, -1);
    }

    void aboutCommandLeavesTheBandFirst()
    {
        action("OnTop")->trigger();
        m_form->show();
        QVERIFY(QTest::qWaitForWindowExposed(m_form.get()));
        m_platform->topmost.calls.clear();
        int callsWhenShown = -1;
        int firstBand = 0;
        QTimer::singleShot(0, this, [&] {
            auto* about = m_form->findChild<Form2*>();
            QVERIFY(about && about->isVisible());
            callsWhenShown = static_cast<int>(m_platform->topmost.calls.size());
            firstBand = m_platform->topmost.calls.value(0).insertAfter;
            about->close();
        });
        action("abquip")->trigger();
        QVERIFY(callsWhenShown >= 1);
        QCOMPARE(firstBand, -2);
        QCOMPARE(m_form->OnTopFlag(), -1);
        QVERIFY(action("OnTop")->isChecked());
    }

    void trayMessages_data()
    {
        QTest::addColumn<int>("number");
        QTest::addColumn<bool>("restores");
        QTest::addColumn<bool>("opensMenu");

        QTest::newRow("left double-click restores") << 515 << true << false;
        QTest::newRow("right button up opens the menu") << 517 << false << true;
        QTest::newRow("mouse move") << 512 << false << false;
        QTest::newRow("left down") << 513 << false << false;
        QTest::newRow("left up") << 514 << false << false;
        QTest::newRow("right down") << 516 << false << false;
    }

    void trayMessages()
    {
        QFETCH(int, number);
        QFETCH(bool, restores);
        QFETCH(bool, opensMenu);
        loadWithStore({{QStringLiteral("Taskbar"), QStringLiteral("True")}});
        QVERIFY(m_form->startsInNotificationArea());
        QVERIFY(m_platform->tray.iconShown);

        m_platform->tray.sendMouseMessage(number);
        QCOMPARE(m_form->isVisible(), restores);
        QCOMPARE(m_platform->tray.iconShown, !restores);
        QCOMPARE(m_platform->topmost.activations, restores ? 1 : 0);
        QCOMPARE(m_platform->menus.shownMenus,
                 opensMenu ? QStringList{QStringLiteral("pop")} : QStringList());
    }

    void trayMenuRestoreAndExit()
    {
        loadWithStore({{QStringLiteral("Taskbar"), QStringLiteral("True")}});
        QSignalSpy ended(m_form.get(), &Form1::ended);
        m_platform->menus.choices = {QStringLiteral("rst")};
        m_platform->tray.sendMouseMessage(517);
        QVERIFY(m_form->isVisible());
        QVERIFY(!(m_form->windowState() & Qt::WindowMinimized));
        QCOMPARE(m_platform->tray.messages, (QList<int>{0, 2}));

        m_form->showMinimized();
        QTRY_VERIFY(!m_form->isVisible());
        QVERIFY(m_platform->tray.iconShown);
        m_platform->menus.choices = {QStringLiteral("ex")};
        m_platform->tray.sendMouseMessage(517);
        QCOMPARE(ended.count(), 1);
        QVERIFY(!m_platform->tray.iconShown);
        QCOMPARE(m_platform->settings.values.value(QStringLiteral("Taskbar")),
                 QStringLiteral("True"));
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
        m_platform->tray.hasArea = trayArea;
        m_form->show();
        QVERIFY(QTest::qWaitForWindowExposed(m_form.get()));
        if (shoTask)
            action("ShoTask")->trigger();
        // Checking the item alone adds no icon.
        QVERIFY(m_platform->tray.messages.isEmpty());
        m_form->showMinimized();
        QTRY_VERIFY(m_form->windowState() & Qt::WindowMinimized);
        QCOMPARE(m_platform->tray.iconShown, toIcon);
        QTRY_COMPARE(m_form->isVisible(), !toIcon);
    }

    void secondStartBringsTheWindowBack()
    {
        loadWithStore({{QStringLiteral("Taskbar"), QStringLiteral("True")}});
        QVERIFY(!m_form->isVisible());
        m_platform->instance.requestShow();
        QVERIFY(m_form->isVisible());
        QVERIFY(!m_platform->tray.iconShown);
        QCOMPARE(m_platform->topmost.activations, 1);
    }
};

QTEST_MAIN(WindowModesTest)
#include "tst_WindowModes.moc"
