#include "MainWindowHarness.h"
#include "QtSettingsStore.h"

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

/** Failed saves are shown until one gets through, and logged. Root writes anywhere, so a
 * folder standing where a file should go (or the reverse) makes them fail. */
class SaveFailuresTest : public QObject
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

QTEST_MAIN(SaveFailuresTest)
#include "tst_SaveFailures.moc"
