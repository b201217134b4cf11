#include "MainWindowHarness.h"
#include "QtSettingsStore.h"
#include "StoreFile.h"
#include "UnreadableFile.h"

#include <QtTest>

using namespace Qt::Literals::StringLiterals;

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

/** A store that did not load whole is announced once; failed saves are shown until one gets
 * through, and logged. Root writes anywhere, so a folder standing where a file should go (or the
 * reverse) makes them fail. */
class StoreFailuresTest : public QObject
{
    Q_OBJECT

    std::optional<QTemporaryDir> m_dir;
    QString path(const QString& name) const { return m_dir->filePath(name); }

private Q_SLOTS:
    void init()
    {
        m_dir.emplace();
        logged.clear();
        passOn = qInstallMessageHandler(capture);
    }
    void cleanup() { qInstallMessageHandler(passOn); }

    void startupWarnsOnce_data()
    {
        QTest::addColumn<QString>("store");
        QTest::addColumn<QString>("warningPart"); // empty: no box at all
        QTest::addColumn<QByteArray>("savedAtExit");

        QTest::newRow("store loads") << u"ok"_s << QString() << QByteArray("\"a\"\r\n\"new\"\r\n");
        QTest::newRow("unreadable: kept aside, later saves go on")
            << u"unreadable"_s << u"is kept as\n%1/Text.txt.bak"_s << QByteArray("\"new\"\r\n");
        QTest::newRow("over the size limit: never saved over") << u"big"_s << u"more than the 256 MB Quippet loads"_s << QByteArray();
    }

    void startupWarnsOnce()
    {
        QFETCH(QString, store);
        QFETCH(QString, warningPart);
        QFETCH(QByteArray, savedAtExit);

        MainWindowHarness h;
        FakePlatform& platform = h.platform;
        const QString path = h.storePath();
        if (store == u"unreadable"_s)
            QVERIFY(makeUnreadableFile(path));
        if (store == u"big"_s) {
            QFile big(path);
            QVERIFY(big.open(QIODevice::WriteOnly) && big.resize(StoreFile::MaxBytes + 1));
        }

        QVERIFY(h.load({}, store == u"ok"_s ? QByteArray("\"a\"\r\n") : QByteArray()));
        Form1& form = *h.form;
        if (warningPart.isEmpty()) {
            QVERIFY(platform.messages.shown.isEmpty());
        } else {
            QCOMPARE(platform.messages.shown.size(), 1);
            const FakeMessageBox::Shown& box = platform.messages.shown.first();
            QCOMPARE(box.style, int(MessageBox::Exclamation));
            QVERIFY2(box.prompt.contains(path) && box.prompt.contains(warningPart.arg(h.dir.path())), qPrintable(box.prompt));
        }

        form.list().append(u"new"_s);
        form.Form_Unload();
        QVERIFY(platform.messages.retryPrompts.isEmpty());
        if (store == u"big"_s)
            QCOMPARE(QFileInfo(path).size(), StoreFile::MaxBytes + 1);
        else
            QCOMPARE(readBytes(path), savedAtExit);
    }

    void failedSaveShowsUntilASaveSucceeds()
    {
        MainWindowHarness h;
        const QString store = h.storePath();
        QVERIFY(h.load());
        h.form->autosaveTimer().setInterval(0);
        h.form->Timer1().setInterval(10);
        PanelStatusBar* panel = h.statusBar();

        QVERIFY(QFile::remove(store) && QDir().mkdir(store));
        h.form->list().append(u"b"_s);
        QTRY_COMPARE(panel->panelText(1), u"List not saved"_s);
        const QString reason = u"Filename refers to a directory"_s;
        QCOMPARE(panel->panelToolTip(1), u"The snippet list could not be saved to\n%1\nReason: %2\nQuippet tries again "
                                         "after the next change and every 30 seconds.\n\nClick here to shrink program."_s.arg(store, reason));
        QCOMPARE(logged, QStringList(u"quippet.store: Could not save \"%1\": %2"_s.arg(store, reason)));

        // A message still shows, Timer1 brings the failure back, and the change is tried at once.
        h.combo()->setText(u"c"_s);
        h.doubleClick(u"Image2"_s);
        QCOMPARE(panel->panelText(1), u"Text added"_s);
        QTRY_COMPARE(logged.size(), 2);
        QTRY_COMPARE(panel->panelText(1), u"List not saved"_s);

        // Without a further change, the retry timer gets it through.
        QVERIFY(QDir().rmdir(store));
        h.form->backgroundSave().retryTimer().setInterval(10);
        QTRY_COMPARE(panel->panelText(1), QString());
        QCOMPARE(panel->panelToolTip(1), u"Click here to shrink program."_s);
        QCOMPARE(readBytes(store), QByteArray("\"a\"\r\n\"b\"\r\n\"c\"\r\n"));
        QCOMPARE(logged.size(), 2);
    }

    void firstRunCreationFailureIsLogged()
    {
        const QString file = path(u"file"_s);
        writeBytes(file, {});
        FakePlatform platform;
        platform.program.programFolder = platform.program.dataFolder = file;
        QVERIFY(Form1(platform.services()).Form_Load());
        QCOMPARE(logged, QStringList(u"quippet.store: Could not create the empty store "
                                     "\"%1/Text.txt\": Not a directory"_s.arg(file)));
    }

    void settingsFailureIsLoggedUntilAWriteSucceeds()
    {
        const QString ini = path(u"file/Quippet.ini"_s);
        writeBytes(path(u"file"_s), {});
        QtSettingsStore settings(ini);
        settings.writeSetting(u"Top"_s, u"True"_s);
        QVERIFY(QFile::remove(path(u"file"_s)));
        settings.writeSetting(u"Height"_s, u"1030"_s);
        QCOMPARE(readBytes(ini), "[Startup]\nHeight=1030\nTop=True\n");
        QCOMPARE(logged, QStringList(u"quippet.settings: Could not store Top in \"%1\": the file "
                                     "or its folder cannot be written"_s.arg(ini)));
    }
};

QTEST_MAIN(StoreFailuresTest)
#include "tst_StoreFailures.moc"
