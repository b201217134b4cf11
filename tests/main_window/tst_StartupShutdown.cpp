#include "MainWindowHarness.h"
#include "QtTrayArea.h"

#include <QSignalSpy>
#include <QtTest>

using namespace Qt::Literals::StringLiterals;

/** Start-up and shut-down of the main window against a temporary program folder. */
class StartupShutdownTest : public QObject
{
    Q_OBJECT

private:
    std::unique_ptr<MainWindowHarness> m_h;

private Q_SLOTS:
    void init() { m_h = std::make_unique<MainWindowHarness>(); }

    void startup_data()
    {
        QTest::addColumn<QString>("height");
        QTest::addColumn<QString>("top");
        QTest::addColumn<QString>("taskbar");
        QTest::addColumn<QByteArray>("store"); // null: none; "dir": a folder in its place
        QTest::addColumn<bool>("trayArea");
        QTest::addColumn<double>("heightAfter");
        QTest::addColumn<bool>("onTop");
        QTest::addColumn<bool>("icon");
        QTest::addColumn<QStringList>("listAfter"); // behind the date

        const QByteArray a("\"a\"\r\n");
        const QStringList la{u"a"_s};
        // clang-format off
        QTest::newRow("first run, taskbar ends before the icon") << "" << "" << "True" << QByteArray() << true << 2600.0 << false << false << QStringList();
        QTest::newRow("unreadable store starts normally") << "" << "" << "True" << QByteArray("dir") << true << 2600.0 << false << false << QStringList();
        QTest::newRow("taskbar with a store") << "2600" << "False" << "True" << a << true << 2600.0 << false << true << la;
        QTest::newRow("taskbar, no notification area") << "2600" << "False" << "True" << a << false << 2600.0 << false << false << la;
        QTest::newRow("shrunk at last exit") << "1030" << "False" << "False" << a << true << 1030.0 << false << false << la;
        QTest::newRow("on top, odd height") << "2000" << "True" << "False" << a << true << 2000.0 << true << false << la;
        // clang-format on
    }

    void startup()
    {
        QFETCH(QString, height);
        QFETCH(QString, top);
        QFETCH(QString, taskbar);
        QFETCH(QByteArray, store);
        QFETCH(bool, trayArea);
        QFETCH(double, heightAfter);
        QFETCH(bool, icon);
        QFETCH(QStringList, listAfter);
        if (store == "dir")
            QVERIFY(QDir(m_h->dir.path()).mkdir(u"Text.txt"_s));
        m_h->platform.tray.hasArea = trayArea;
        QMap<QString, QString> settings{{u"Taskbar"_s, taskbar}};
        if (!height.isEmpty())
            settings.insert(u"Height"_s, height);
        if (!top.isEmpty())
            settings.insert(u"Top"_s, top);
        QVERIFY(m_h->load(settings, store == "dir" ? QByteArray() : store));

        QCOMPARE(m_h->form->Height(), heightAfter);
        QCOMPARE(m_h->form->declares().SavedHeight, qRound(heightAfter));
        QTEST(m_h->action(u"OnTop"_s)->isChecked(), "onTop");
        QCOMPARE(m_h->action(u"ShoTask"_s)->isChecked(), taskbar == u"True"_s || taskbar == u"1"_s);
        QCOMPARE(m_h->form->startsInNotificationArea(), icon);
        QCOMPARE(m_h->platform.tray.messages, icon ? QList<int>{0} : QList<int>());
        if (icon) // the icon shows the program's title as its tip
            QCOMPARE(QtTrayArea::tipText(m_h->platform.tray.lastRecord), u"Quippet"_s);
        QCOMPARE(m_h->entries(), QStringList{m_h->platform.clock.today} + listAfter);
        if (store.isNull())
            QCOMPARE(m_h->storeBytes(), QByteArray());
        QCOMPARE(m_h->platform.settings.log, (QStringList{u"read Height"_s, u"read Taskbar"_s, u"read Top"_s}));
        // The status bar's two panels at 96 dpi: 2920 and 900 twips.
        if (m_h->form->logicalDpiX() == 96) {
            QCOMPARE(m_h->statusBar()->panel(1)->width(), 195);
            QCOMPARE(m_h->statusBar()->panelWidth(2), 60);
        }
    }

    void secondInstanceTouchesNothing()
    {
        m_h->platform.instance.otherRunning = true;
        QVERIFY(!m_h->load());
        m_h->form->close();
        QVERIFY(m_h->platform.settings.log.isEmpty());
        QCOMPARE(m_h->storeBytes(), QByteArray("\"a\"\r\n"));
        QVERIFY(m_h->platform.tray.messages.isEmpty());
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
        QCOMPARE(journal, (QStringList{u"write Height=2600"_s, u"write Top=False"_s, u"write Taskbar=True"_s, u"tray 2"_s}));
        QCOMPARE(ended.count(), 1);
        // A second close (a signal after Exit, say) does not run the sequence again.
        m_h->form->Form_Unload();
        QCOMPARE(ended.count(), 1);
        QCOMPARE(journal.size(), 4);
    }

    void listChangesAreSavedSoonWithoutTheDate()
    {
        QVERIFY(m_h->load());
        m_h->form->autosaveTimer().setInterval(10);
        m_h->form->list().append(u"b"_s);
        QTRY_COMPARE(m_h->storeBytes(), QByteArray("\"a\"\r\n\"b\"\r\n"));
        QCOMPARE(m_h->form->list().entryAt(0), m_h->platform.clock.today);
    }

    void failedSaveAsksBeforeDiscarding()
    {
        QVERIFY(m_h->load());
        // Replace the store by a folder: the save cannot rename over it.
        QVERIFY(QFile::remove(m_h->storePath()));
        QVERIFY(QDir(m_h->dir.path()).mkdir(u"Text.txt"_s));
        m_h->platform.messages.retryAnswers = {true, false};
        m_h->form->close();
        QCOMPARE(m_h->platform.messages.retryPrompts.size(), 2);
        QVERIFY(m_h->platform.messages.retryPrompts.first().prompt.contains(u"Text.txt"_s));
        QCOMPARE(m_h->platform.messages.retryPrompts.first().title, u"Quippet"_s);
        // The settings are still stored after the refused save.
        QVERIFY(m_h->platform.settings.log.contains(u"write Height=2600"_s));
    }
};

QTEST_MAIN(StartupShutdownTest)
#include "tst_StartupShutdown.moc"
