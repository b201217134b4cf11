#include "FakePlatform.h"
#include "Form1.h"

#include <QAction>
#include <QFile>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QtTest>

namespace {

QByteArray readAll(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

void writeFile(const QString& path, const QByteArray& bytes)
{
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(bytes);
}

} // namespace

/** Start-up and shut-down of the main window against a temporary program folder. */
class StartupShutdownTest : public QObject
{
    Q_OBJECT

private:
    std::unique_ptr<QTemporaryDir> m_dir;
    std::unique_ptr<FakePlatform> m_platform;

    QString storePath() const { return m_dir->filePath(QStringLiteral("Text.txt")); }
    std::unique_ptr<Form1> makeForm() { return std::make_unique<Form1>(m_platform->services()); }
    static bool checked(Form1& form, const char* name)
    {
        return form.findChild<QAction*>(QLatin1String(name))->isChecked();
    }

private Q_SLOTS:
    void init()
    {
        m_dir = std::make_unique<QTemporaryDir>();
        m_platform = std::make_unique<FakePlatform>();
        m_platform->program.programFolder = m_dir->path();
        m_platform->program.dataFolder = m_dir->filePath(QStringLiteral("data"));
    }

    void firstRunCreatesEmptyStore()
    {
        m_platform->settings.values.insert(QStringLiteral("Taskbar"), QStringLiteral("True"));
        auto form = makeForm();
        QVERIFY(form->Form_Load());

        QCOMPARE(form->Height(), 2600.0);
        QCOMPARE(form->declares().SavedHeight, 2600);
        QCOMPARE(form->list().entries(), QStringList{m_platform->clock.today});
        QVERIFY(QFile::exists(storePath()));
        QCOMPARE(QFileInfo(storePath()).size(), 0);
        // The missing store ends start-up before the icon step: the window stays reachable.
        QVERIFY(checked(*form, "ShoTask"));
        QVERIFY(!form->startsInNotificationArea());
        QVERIFY(m_platform->tray.messages.isEmpty());
        QCOMPARE(m_platform->settings.log,
                 (QStringList{QStringLiteral("read Height"), QStringLiteral("read Taskbar"),
                              QStringLiteral("read Top")}));
    }

    void storedSettingsApplied_data()
    {
        QTest::addColumn<QString>("height");
        QTest::addColumn<QString>("top");
        QTest::addColumn<QString>("taskbar");
        QTest::addColumn<double>("expectedHeight");
        QTest::addColumn<bool>("onTop");
        QTest::addColumn<bool>("shoTask");

        QTest::newRow("shrunk at last exit") << "1030"
                                             << "False"
                                             << "False" << 1030.0 << false << false;
        QTest::newRow("on top stored") << "2600"
                                       << "True"
                                       << "False" << 2600.0 << true << false;
        QTest::newRow("odd height kept exactly") << "2000"
                                                 << "False"
                                                 << "True" << 2000.0 << false << true;
        QTest::newRow("height that is no number") << "tall"
                                                  << "yes"
                                                  << "1" << 2600.0 << false << true;
        QTest::newRow("lower-case words") << "2600"
                                          << "true"
                                          << "FALSE" << 2600.0 << true << false;
    }

    void storedSettingsApplied()
    {
        QFETCH(QString, height);
        QFETCH(QString, top);
        QFETCH(QString, taskbar);
        QFETCH(double, expectedHeight);
        QFETCH(bool, onTop);
        QFETCH(bool, shoTask);
        m_platform->settings.values = {{QStringLiteral("Height"), height},
                                       {QStringLiteral("Top"), top},
                                       {QStringLiteral("Taskbar"), taskbar}};
        auto form = makeForm();
        QVERIFY(form->Form_Load());
        QCOMPARE(form->Height(), expectedHeight);
        QCOMPARE(form->declares().SavedHeight, qRound(expectedHeight));
        QCOMPARE(checked(*form, "OnTop"), onTop);
        QCOMPARE(checked(*form, "ShoTask"), shoTask);
    }

    void existingStoreLoadsBehindDate()
    {
        writeFile(storePath(), "\"Hello, world\"\r\n\" indented\"\r\n\"\"\r\n");
        auto form = makeForm();
        QVERIFY(form->Form_Load());
        QCOMPARE(form->list().entries(),
                 (QStringList{m_platform->clock.today, QStringLiteral("Hello, world"),
                              QStringLiteral(" indented"), QString()}));
    }

    void taskbarStart_data()
    {
        QTest::addColumn<bool>("storeExists");
        QTest::addColumn<bool>("trayAvailable");
        QTest::addColumn<bool>("expectIcon");

        QTest::newRow("store and notification area") << true << true << true;
        QTest::newRow("store but no notification area") << true << false << false;
        QTest::newRow("no store file") << false << true << false;
    }

    void taskbarStart()
    {
        QFETCH(bool, storeExists);
        QFETCH(bool, trayAvailable);
        QFETCH(bool, expectIcon);
        if (storeExists)
            writeFile(storePath(), "\"a\"\r\n");
        m_platform->tray.hasArea = trayAvailable;
        m_platform->settings.values.insert(QStringLiteral("Taskbar"), QStringLiteral("True"));
        auto form = makeForm();
        QVERIFY(form->Form_Load());
        QCOMPARE(form->startsInNotificationArea(), expectIcon);
        QCOMPARE(m_platform->tray.iconShown, expectIcon);
        if (expectIcon) {
            QCOMPARE(m_platform->tray.messages, QList<int>{0});
            QCOMPARE(m_platform->tray.lastRecord.size(), 88);
        }
    }

    void secondInstanceTouchesNothing()
    {
        writeFile(storePath(), "\"keep\"\r\n");
        m_platform->instance.otherRunning = true;
        {
            auto form = makeForm();
            QVERIFY(!form->Form_Load());
            form->close();
        }
        QVERIFY(m_platform->settings.log.isEmpty());
        QCOMPARE(readAll(storePath()), QByteArray("\"keep\"\r\n"));
        QVERIFY(m_platform->tray.messages.isEmpty());
    }

    void shutdownPurgesDateAndStoresSettings_data()
    {
        QTest::addColumn<QByteArray>("store");
        QTest::addColumn<QByteArray>("expected");

        QTest::newRow("store kept byte for byte")
            << QByteArray("\"Hello, world\"\r\n\" indented\"\r\n\"\"\r\n")
            << QByteArray("\"Hello, world\"\r\n\" indented\"\r\n\"\"\r\n");
        QTest::newRow("every copy of the date purged")
            << QByteArray("\"12/6/2026\"\r\n\"12/6/2026\"\r\n\"x\"\r\n") << QByteArray("\"x\"\r\n");
        QTest::newRow("date with a trailing blank stays")
            << QByteArray("\"12/6/2026 \"\r\n") << QByteArray("\"12/6/2026 \"\r\n");
        QTest::newRow("empty store stays empty") << QByteArray() << QByteArray();
    }

    void shutdownPurgesDateAndStoresSettings()
    {
        QFETCH(QByteArray, store);
        QFETCH(QByteArray, expected);
        writeFile(storePath(), store);
        auto form = makeForm();
        QVERIFY(form->Form_Load());
        QSignalSpy ended(form.get(), &Form1::ended);
        m_platform->settings.log.clear();
        form->close();

        QCOMPARE(readAll(storePath()), expected);
        QCOMPARE(m_platform->settings.log, (QStringList{QStringLiteral("write Height=2600"),
                                                        QStringLiteral("write Top=False"),
                                                        QStringLiteral("write Taskbar=False")}));
        QCOMPARE(m_platform->tray.messages, QList<int>{2});
        QCOMPARE(ended.count(), 1);

        // A second close (a signal after Exit, say) does not run the sequence again.
        form->Form_Unload();
        QCOMPARE(ended.count(), 1);
    }

    void listChangesAreSavedSoonWithoutTheDate()
    {
        writeFile(storePath(), "\"a\"\r\n");
        auto form = makeForm();
        QVERIFY(form->Form_Load());
        form->autosaveTimer().setInterval(10);
        form->list().append(QStringLiteral("b"));
        QTRY_COMPARE(readAll(storePath()), QByteArray("\"a\"\r\n\"b\"\r\n"));
        // The list itself still holds the date.
        QCOMPARE(form->list().entryAt(0), m_platform->clock.today);
    }

    void failedSaveAsksBeforeDiscarding()
    {
        writeFile(storePath(), "\"a\"\r\n");
        auto form = makeForm();
        QVERIFY(form->Form_Load());
        // Replace the store by a folder: the save cannot rename over it.
        QVERIFY(QFile::remove(storePath()));
        QVERIFY(QDir(m_dir->path()).mkdir(QStringLiteral("Text.txt")));
        m_platform->messages.retryAnswers = {true, false};
        form->close();
        QCOMPARE(m_platform->messages.retryPrompts.size(), 2);
        QVERIFY(
            m_platform->messages.retryPrompts.first().prompt.contains(QStringLiteral("Text.txt")));
        QCOMPARE(m_platform->messages.retryPrompts.first().title, QStringLiteral("Quippet"));
        // The settings are still stored after the refused save.
        QVERIFY(m_platform->settings.log.contains(QStringLiteral("write Height=2600")));
    }
};

QTEST_MAIN(StartupShutdownTest)
#include "tst_StartupShutdown.moc"
