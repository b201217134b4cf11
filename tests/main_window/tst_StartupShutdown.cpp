#include "core/store/StoreFile.h"
#include "fakes/MainWindowHarness.h"
#include "fakes/TableRows.h"
#include "fakes/UnreadableFile.h"
#include "help_window/Form2.h"
#include "main_window/SnippetLineEdit.h"
#include "platform/qt/QtTrayArea.h"

#include <QMimeData>
#include <QSignalSpy>
#include <QTimer>
#include <QtTest>

using namespace Qt::Literals::StringLiterals;

static const QString ShrinkTip = u"Click here to shrink program."_s;
static QStringList logged;
static QtMessageHandler passOn = nullptr;

/** Keeps this program's own lines as "category: message"; Qt's go on to the test log. */
static void capture(QtMsgType type, const QMessageLogContext& context, const QString& text)
{
    if (QByteArray(context.category).startsWith("quippet."))
        logged.append(QString::fromLatin1(context.category) + u": "_s + text);
    else
        passOn(type, context, text);
}

/** Start-up and shut-down against a temporary program folder, a store that cannot be read or written, and the window's
 * modes. Root writes anywhere, so a folder standing where a file should go (or the reverse) makes writes fail. */
class StartupShutdownTest : public QObject
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
    void init()
    {
        m_h = std::make_unique<MainWindowHarness>();
        logged.clear();
        passOn = qInstallMessageHandler(capture);
    }
    void cleanup() { qInstallMessageHandler(passOn); }

    void startup_data()
    {
        // Null settings and store are not written; clientPixels: at 96 dpi; listAfter: behind the date; key: the shortcut's
        addColumns<QString, QString, QString, QString, QByteArray, bool, double, int, bool, bool, QStringList, QString>(
            "height", "top", "taskbar", "hotkey", "store", "trayArea", "heightAfter", "clientPixels", "onTop", "icon", "listAfter", "key");

        const QByteArray a("\"a\"\r\n");
        const QStringList la{u"a"_s};
        // clang-format off
        QTest::newRow("first run, taskbar ends before the icon") << QString() << QString() << "True" << QString() << QByteArray() << true << 2600.0 << 129 << false << false << QStringList() << "Ctrl+Alt+Q";
        QTest::newRow("taskbar with a store, the user's key") << "2600" << "False" << "True" << "Meta+Shift+F12" << a << true << 2600.0 << 129 << false << true << la << "Meta+Shift+F12";
        QTest::newRow("taskbar, no notification area, no key") << "2600" << "False" << "True" << "" << a << false << 2600.0 << 129 << false << false << la << "";
        QTest::newRow("shrunk at last exit") << "1030" << "False" << "False" << QString() << a << true << 1030.0 << 24 << false << false << la << "Ctrl+Alt+Q";
        QTest::newRow("on top, odd height") << "2000" << "True" << "False" << QString() << a << true << 2000.0 << 89 << true << false << la << "Ctrl+Alt+Q";
        // clang-format on
    }

    void startup()
    {
        auto [height, top, taskbar, hotkey, store, trayArea, heightAfter, icon, listAfter] =
            fetch<QString, QString, QString, QString, QByteArray, bool, double, bool, QStringList>("height", "top", "taskbar", "hotkey", "store",
                                                                                                   "trayArea", "heightAfter", "icon", "listAfter");
        m_h->platform.tray.hasArea = trayArea;
        QMap<QString, QString> settings{{u"Height"_s, height}, {u"Top"_s, top}, {u"Taskbar"_s, taskbar}, {u"Hotkey"_s, hotkey}};
        settings.removeIf([](const auto& setting) { return setting.value().isNull(); });
        QVERIFY(m_h->load(settings, store));
        QTEST(m_h->platform.shortcut.key, "key");

        QCOMPARE(m_h->form->Height(), heightAfter);
        QTEST(m_h->action(u"OnTop"_s)->isChecked(), "onTop");
        QCOMPARE(m_h->action(u"ShoTask"_s)->isChecked(), taskbar == u"True"_s || taskbar == u"1"_s);
        QVERIFY(m_h->form->startsInNotificationArea() == icon && m_h->platform.tray.messages == (icon ? QList<int>{0} : QList<int>()));
        if (icon) // the icon shows the program's title as its tip
            QCOMPARE(QtTrayArea::tipText(m_h->platform.tray.lastRecord), u"Quippet"_s);
        QCOMPARE(m_h->entries(), QStringList{m_h->platform.clock.today} + listAfter);
        if (store.isNull())
            QCOMPARE(m_h->storeBytes(), QByteArray());
        QCOMPARE(m_h->platform.settings.log, (QStringList{u"read Height"_s, u"read Taskbar"_s, u"read Top"_s, u"read Hotkey"_s}));
        // The height sets the client area, the status bar docked to its bottom; its two panels are 2920 and 900 twips.
        if (m_h->form->logicalDpiX() == 96) {
            QTEST(m_h->form->centralWidget()->height(), "clientPixels");
            QCOMPARE(m_h->statusBar()->y() + m_h->statusBar()->height(), m_h->form->centralWidget()->height());
            QVERIFY(m_h->statusBar()->panel(1)->width() == 195 && m_h->statusBar()->panelWidth(2) == 60);
        }
    }

    void storeLoadsAfterFirstPaint_data()
    {
        QTest::addColumn<QString>("trigger");
        for (const char* trigger : {"paint", "click", "drop", "list command", "close", "tray start"})
            QTest::newRow(trigger) << QString::fromLatin1(trigger);
    }

    void storeLoadsAfterFirstPaint()
    {
        // The window paints before the store is read; nothing the user or a caller does sees the list without it.
        QFETCH(QString, trigger);
        const QByteArray store("\"a\"\r\n\"b\"\r\n");
        const QStringList full{m_h->platform.clock.today, u"a"_s, u"b"_s};
        m_h->form->setStoreLoadAfterFirstPaint(true);
        QVERIFY(m_h->load({{u"Taskbar"_s, trigger == u"tray start" ? u"True"_s : u"False"_s}}, store));
        QCOMPARE(m_h->entries(), trigger == u"tray start" ? full : full.mid(0, 1)); // hidden at once, so loaded at once
        if (trigger == u"paint")
            m_h->form->show();
        else if (trigger == u"click") // a mouse button, a key, a wheel or a drag
            QTest::mouseClick(m_h->child(u"Image1"_s), Qt::LeftButton);
        else if (trigger == u"drop") // an entry the store holds is refused
            m_h->drop(u"Image2"_s, u"b"_s);
        else if (trigger == u"list command")
            QCOMPARE(m_h->platform.instance.sendListCommand(ListCommand::Kind::List, {}).entries, full.mid(1));
        else if (trigger == u"close")
            m_h->form->close();
        // Closing saves the list without the date, and the settings after it.
        QTRY_COMPARE(m_h->entries(), trigger == u"close" ? full.mid(1) : full);
        QVERIFY(m_h->storeBytes() == store && m_h->platform.settings.log.contains(u"write Height=2600"_s) == (trigger == u"close"));
    }

    void secondInstanceTouchesNothing()
    {
        m_h->platform.instance.otherRunning = true;
        QVERIFY(!m_h->load());
        m_h->form->close();
        QVERIFY(m_h->platform.settings.log.isEmpty() && m_h->storeBytes() == "\"a\"\r\n"_ba);
    }

    void shutdownOrder()
    {
        // Every copy of the date is purged before the list is written.
        const QByteArray expected("\"x\"\r\n");
        QVERIFY(m_h->load({{u"Taskbar"_s, u"True"_s}}, "\"12/6/2026\"\r\n\"12/6/2026\"\r\n\"x\"\r\n"));
        QSignalSpy ended(m_h->form.get(), &Form1::ended);
        // Each step notes what the store held when it ran: the list is written first.
        QStringList journal;
        const auto note = [&](const QString& step) { journal << step + (m_h->storeBytes() == expected ? u""_s : u" before the store"_s); };
        m_h->platform.settings.journal = note;
        m_h->platform.tray.journal = note;
        m_h->form->close();
        QVERIFY(journal == (QStringList{u"write Height=2600"_s, u"write Top=False"_s, u"write Taskbar=True"_s, u"tray 2"_s}) && ended.count() == 1);
        // A second close (a signal after Exit, say) does not run the sequence again.
        m_h->form->Form_Unload();
        QCOMPARE(ended.count(), 1);
    }

    void failedSaveAsksBeforeDiscarding()
    {
        QVERIFY(m_h->load());
        // Replace the store by a folder: the save cannot rename over it.
        QVERIFY(QFile::remove(m_h->storePath()) && QDir(m_h->dir.path()).mkdir(u"Text.txt"_s));
        m_h->platform.messages.retryAnswers = {false};
        m_h->form->close();
        QVERIFY(m_h->platform.messages.retryPrompts.size() == 1 && m_h->platform.messages.retryPrompts.first().prompt.contains(u"Text.txt"_s));
        // The settings are still stored after the refused save.
        QVERIFY(m_h->platform.settings.log.contains(u"write Height=2600"_s));
    }

    void startupWarnsOnce_data()
    {
        addColumns<QString, QString, QByteArray>("store", "warningPart", "savedAtExit"); // warningPart empty: no box
        QTest::newRow("store loads") << u"ok"_s << QString() << QByteArray("\"a\"\r\n\"new\"\r\n");
        QTest::newRow("unreadable: kept aside, later saves go on")
            << u"unreadable"_s << u"is kept as\n%1/Text.txt.bak"_s << QByteArray("\"new\"\r\n");
        QTest::newRow("over the size limit: never saved over") << u"big"_s << u"is 512 MB, more than the 256 MB Quippet loads"_s << QByteArray();
        QTest::newRow("a folder in its place: never saved over") << u"folder"_s << u"It is a folder, not a file."_s << QByteArray("<unreadable>");
    }

    void startupWarnsOnce()
    {
        const auto [store, warningPart] = fetch<QString, QString>("store", "warningPart");
        const QString path = m_h->storePath();
        if (store == u"unreadable"_s || store == u"folder"_s)
            QVERIFY(store == u"folder"_s ? QDir().mkdir(path) : makeUnreadableFile(path));
        if (store == u"big"_s) {
            QFile big(path);
            QVERIFY(big.open(QIODevice::WriteOnly) && big.resize(2 * StoreFile::MaxBytes)); // sparse; its size in whole MB
        }

        // Whatever the store, the start goes on.
        QVERIFY(m_h->load({}, store == u"ok"_s ? QByteArray("\"a\"\r\n") : QByteArray()));
        const QList<FakeMessageBox::Shown>& shown = m_h->platform.messages.shown;
        QCOMPARE(shown.size(), warningPart.isEmpty() ? 0 : 1);
        if (!shown.isEmpty()) {
            QCOMPARE(shown.first().style, int(MessageBox::Exclamation));
            QVERIFY2(shown.first().prompt.contains(path) && shown.first().prompt.contains(QString(warningPart).replace(u"%1"_s, m_h->dir.path())),
                     qPrintable(shown.first().prompt));
        }

        m_h->form->list().append(u"new"_s);
        m_h->form->Form_Unload();
        QVERIFY(m_h->platform.messages.retryPrompts.isEmpty());
        if (store == u"big"_s)
            QCOMPARE(QFileInfo(path).size(), 2 * StoreFile::MaxBytes);
        else
            QTEST(readBytes(path), "savedAtExit");
    }

    void failedSaveShowsUntilASaveSucceeds()
    {
        const QString store = m_h->storePath();
        QVERIFY(m_h->load());
        m_h->form->autosaveTimer().setInterval(0);
        m_h->form->Timer1().setInterval(2000);

        QVERIFY(QFile::remove(store) && QDir().mkdir(store));
        m_h->form->list().append(u"b"_s);
        QTRY_COMPARE(m_h->message(), u"List not saved"_s);
        const QString reason = u"Filename refers to a directory"_s;
        QCOMPARE(m_h->statusBar()->panelToolTip(1),
                 u"The snippet list could not be saved to\n%1\nReason: %2\nQuippet tries again "
                 "after the next change and every 30 seconds.\n\nClick here to shrink program."_s.arg(store, reason));
        QCOMPARE(logged, QStringList(u"quippet.store: Could not save \"%1\": %2"_s.arg(store, reason)));

        // A message still shows, Timer1 brings the failure back, and the change is tried at once.
        m_h->combo()->setText(u"c"_s);
        m_h->doubleClick(u"Image2"_s);
        QTRY_COMPARE(logged.size(), 2);
        QCOMPARE(m_h->message(), u"Text added"_s); // over the failure shown again until Timer1 ends it
        QTRY_COMPARE(m_h->message(), u"List not saved"_s);

        // Without a further change, the retry timer gets it through.
        QVERIFY(QDir().rmdir(store));
        m_h->form->backgroundSave().retryTimer().setInterval(10);
        QTRY_COMPARE(m_h->message(), QString());
        QCOMPARE(m_h->statusBar()->panelToolTip(1), u"Click here to shrink program."_s);
        // Saved without the date, which stays listed.
        QVERIFY(m_h->storeBytes() == "\"a\"\r\n\"b\"\r\n\"c\"\r\n"_ba && m_h->entries().first() == m_h->platform.clock.today && logged.size() == 2);
    }

    void conflictCopiesMergedAndMovedAside()
    {
        // Beside the store at start-up: an old backup, a conflict copy that cannot be read and one that can.
        const QDir dir(m_h->dir.path());
        writeBytes(dir.filePath(u"Text.txt.bak"_s), "\"old\"\r\n");
        const QString unreadable = dir.filePath(u"Text (Jo's conflicted copy 2026-12-07).txt"_s);
        QVERIFY(makeUnreadableFile(unreadable));
        writeBytes(dir.filePath(u"Text (conflicted copy 2026-12-07 120000).txt"_s), "\"a\"\r\n\"x\"\r\n");
        QVERIFY(m_h->load());
        QTRY_COMPARE(m_h->message(), u"Conflict copy merged"_s); // taken in on the store thread
        QCOMPARE(m_h->entries(), (QStringList{m_h->platform.clock.today, u"a"_s, u"x"_s}));
        QCOMPARE(readBytes(dir.filePath(u"Text.txt.1.bak"_s)), "\"a\"\r\n\"x\"\r\n"_ba);
        QVERIFY(readBytes(dir.filePath(u"Text.txt.bak"_s)) == ("\"old\"\r\n"_ba) && QFileInfo::exists(unreadable) && logged.size() == 1);
        QVERIFY(logged.first().startsWith(u"quippet.store: Could not read the conflict copy \"%1\", left where it is: "_s.arg(unreadable)));
        m_h->form->autosaveTimer().setInterval(0);
        QTRY_COMPARE(m_h->storeBytes(), "\"a\"\r\n\"x\"\r\n"_ba);

        // One that appears while the window is open, lacking our entries: they stay, and it is saved.
        m_h->statusBar()->setPanelText(1, QString());
        writeBytes(dir.filePath(u"Text.sync-conflict-20261207-120000-ABC2DEF.txt"_s), "\"y\"\r\n");
        QTRY_COMPARE(m_h->message(), u"Conflict copy merged"_s);
        QTRY_COMPARE(m_h->storeBytes(), "\"y\"\r\n\"a\"\r\n\"x\"\r\n"_ba);
        QVERIFY(QFile::exists(dir.filePath(u"Text.txt.2.bak"_s)) && logged.size() == 1);
    }

    void statusBarClicksAndDrags_data()
    {
        // steps: panel clicks by number, "drag" for a drag over
        addColumns<double, QString, double>("startHeight", "steps", "heightAfter");
        QTest::newRow("full shrinks") << 2600.0 << "1" << 1030.0;
        QTest::newRow("one twip above full restores") << 2601.0 << "1" << 2600.0;
        QTest::newRow("drag over a shrunk window restores") << 2600.0 << "1 drag" << 2600.0;
        QTest::newRow("clock into the box") << 2600.0 << "2" << 2600.0;
        QTest::newRow("clock into the disabled box") << 2600.0 << "1 2" << 1030.0;
    }

    void statusBarClicksAndDrags()
    {
        auto [startHeight, steps, heightAfter] = fetch<double, QString, double>("startHeight", "steps", "heightAfter");
        QVERIFY(m_h->load({{u"Height"_s, QString::number(startHeight)}}));
        // Start-up keeps the design-time tip and an enabled combo box at any height.
        QVERIFY(m_h->statusBar()->panelToolTip(1) == ShrinkTip && m_h->combo()->isEnabled());
        m_h->combo()->setText(u"previous text"_s);
        for (const QString& step : steps.split(u' ')) {
            if (step != u"drag"_s) {
                QTest::mouseClick(m_h->statusBar()->panel(step.toInt()), Qt::LeftButton);
                continue;
            }
            QMimeData mime;
            mime.setText(u"dragged"_s);
            QVERIFY(!MainWindowHarness::dragAndDrop(m_h->statusBar(), mime));
        }
        QCOMPARE(m_h->form->Height(), heightAfter);
        QCOMPARE(m_h->statusBar()->panelToolTip(1), heightAfter == 2600.0 ? ShrinkTip : u"Click here to restore program."_s);
        // A screen reader is told each panel's tip of the moment, then its keys.
        m_h->statusBar()->setPanelToolTip(2, u"Clock."_s);
        for (int panel : {1, 2})
            QVERIFY(m_h->statusBar()->panel(panel)->accessibleDescription().startsWith(m_h->statusBar()->panelToolTip(panel) + u" Space"_s));
        QCOMPARE(m_h->combo()->isEnabled(), heightAfter == 2600.0);
        const bool clock = steps.endsWith(u'2');
        QCOMPARE(m_h->working(), clock ? m_h->platform.clock.time : u"previous text"_s);
        QVERIFY(!clock || m_h->combo()->lineEdit()->selectedText() == m_h->platform.clock.time);
        m_h->form->close(); // the height stored is the saved height, not the window's
        QCOMPARE(m_h->platform.settings.values.value(u"Height"_s), QString::number(heightAfter));
    }

    void onTop_data()
    {
        addColumns<int, int>("flag", "insertAfter");
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
        QVERIFY(QRect(call.x, call.y, call.cx, call.cy) == QRect(50, 30, m_h->form->frameGeometry().width(), 173) && call.flags == 0x50u);

        // The command applies through a paint, whether or not the window is on screen.
        if (flag == 0)
            showForm();
        for (int insertAfter : {-1, -2}) {
            m_h->action(u"OnTop"_s)->trigger();
            QVERIFY(m_h->form->OnTopFlag() == (insertAfter == -1 ? -1 : 0) && m_h->platform.topmost.calls.last().insertAfter == insertAfter);
        }
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
        QVERIFY(callsWhenShown >= 1 && firstBand == -2 && m_h->form->OnTopFlag() == -1);
    }

    void trayIcon_data()
    {
        // number: the icon's mouse message, 0 for a second start; choice: the pop-up menu's item chosen
        addColumns<int, QString, bool, QStringList>("number", "choice", "restores", "menus");
        QTest::newRow("left double-click restores") << 515 << QString() << true << QStringList();
        QTest::newRow("right button up opens the menu") << 517 << QString() << false << QStringList{u"pop"_s};
        QTest::newRow("a second start restores") << 0 << QString() << true << QStringList();
        QTest::newRow("Restore in the menu") << 517 << u"rst"_s << true << QStringList{u"pop"_s};
        QTest::newRow("Exit in the menu") << 517 << u"ex"_s << false << QStringList{u"pop"_s};
    }

    void trayIcon()
    {
        auto [number, choice, restores] = fetch<int, QString, bool>("number", "choice", "restores");
        QVERIFY(m_h->load({{u"Taskbar"_s, u"True"_s}}));
        QSignalSpy ended(m_h->form.get(), &Form1::ended);
        m_h->platform.menus.choices = {choice};
        if (number == 0)
            m_h->platform.instance.requestShow();
        else
            m_h->platform.tray.sendMouseMessage(number);
        QCOMPARE(m_h->form->isVisible() && !(m_h->form->windowState() & Qt::WindowMinimized), restores);
        QCOMPARE(m_h->platform.tray.messages, (restores || choice == u"ex"_s ? QList<int>{0, 2} : QList<int>{0})); // the icon added, removed
        QVERIFY(m_h->platform.topmost.activations == (restores ? 1 : 0) && ended.count() == (choice == u"ex"_s ? 1 : 0));
        QTEST(m_h->platform.menus.shownMenus, "menus");
    }

    void toggleWindow_data()
    {
        // from: the window active, covered by another, or minimised (into the notification area with Show In Taskbar)
        addColumns<bool, bool, QString, bool>("shoTask", "trayArea", "from", "putAway");
        QTest::newRow("active: into the notification area") << true << true << u"active"_s << true;
        QTest::newRow("active: minimised") << false << true << u"active"_s << true;
        QTest::newRow("active, no notification area: minimised") << true << false << u"active"_s << true;
        QTest::newRow("covered: comes up") << false << true << u"covered"_s << false;
        QTest::newRow("minimised: comes back") << false << true << u"minimised"_s << false;
        QTest::newRow("in the notification area: comes back") << true << true << u"minimised"_s << false;
    }

    void toggleWindow()
    {
        const auto [shoTask, trayArea, from, putAway] = fetch<bool, bool, QString, bool>("shoTask", "trayArea", "from", "putAway");
        const bool toIcon = shoTask && trayArea;
        m_h->platform.tray.hasArea = trayArea;
        QVERIFY(m_h->load());
        if (shoTask)
            m_h->action(u"ShoTask"_s)->trigger();
        m_h->combo()->setText(u"abc"_s);
        showForm();
        m_h->child(u"Image2"_s)->setFocus(); // brought back, the focus returns to the box
        QWidget other;
        if (from == u"covered") {
            other.show();
            other.activateWindow();
            QTRY_VERIFY(other.isActiveWindow());
        } else if (from == u"minimised") {
            m_h->form->showMinimized();
            QTRY_COMPARE(m_h->form->isVisible(), !toIcon);
            QCOMPARE(m_h->platform.tray.iconShown, toIcon);
        } else {
            m_h->form->activateWindow();
            QTRY_VERIFY(m_h->form->isActiveWindow());
        }
        m_h->platform.shortcut.press(); // the desktop reports the global shortcut
        if (putAway) {
            QVERIFY(m_h->form->isMinimized() && m_h->platform.tray.iconShown == toIcon);
            QTRY_COMPARE(m_h->form->isVisible(), !toIcon);
            QCOMPARE(m_h->platform.topmost.activations, 0);
            return;
        }
        QVERIFY(m_h->form->isVisible() && !m_h->form->isMinimized() && !m_h->platform.tray.iconShown);
        QVERIFY(m_h->platform.topmost.activations == 1 && m_h->form->focusWidget() == m_h->combo());
        QCOMPARE(m_h->combo()->textBox()->selectedText(), u"abc"_s);
    }
};

QTEST_MAIN(StartupShutdownTest)
#include "tst_StartupShutdown.moc"
