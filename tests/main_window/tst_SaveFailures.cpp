#include "FakePlatform.h"
#include "FileBytes.h"
#include "Form1.h"
#include "PanelStatusBar.h"
#include "QtSettingsStore.h"
#include "SnippetCombo.h"
#include "UserInput.h"

#include <QTemporaryDir>
#include <QtTest>

using namespace Qt::Literals::StringLiterals;

namespace {

QStringList logged;
QtMessageHandler passOn = nullptr;

/** Keeps this program's own lines, as "category: message"; Qt's go on to the test log. */
void capture(QtMsgType type, const QMessageLogContext& context, const QString& text)
{
    if (QByteArray(context.category).startsWith("quippet."))
        logged.append(QString::fromLatin1(context.category) + u": "_s + text);
    else
        passOn(type, context, text);
}

} // namespace

/**
 * Failures of the background save stay in the message panel until a save gets through, and
 * every failed file operation leaves a line in the log. As root nothing is read-only, so the
 * folders fail by being regular files.
 */
class SaveFailuresTest : public QObject
{
    Q_OBJECT

private:
    std::optional<QTemporaryDir> m_dir;
    QString path(const QString& name) const { return m_dir->filePath(name); }
    /** Puts a regular file in the program folder's place (or the folder back): saves fail. */
    void blockProgramFolder(bool blocked)
    {
        if (blocked) {
            QVERIFY(QFile::rename(path(u"prog"_s), path(u"moved"_s)));
            writeBytes(path(u"prog"_s), {});
        } else {
            QVERIFY(QFile::remove(path(u"prog"_s)));
            QVERIFY(QFile::rename(path(u"moved"_s), path(u"prog"_s)));
        }
    }

private Q_SLOTS:
    void init()
    {
        m_dir.emplace();
        logged.clear();
        passOn = qInstallMessageHandler(capture);
    }
    void cleanup() { qInstallMessageHandler(passOn); }

    void failedSaveShowsUntilASaveSucceeds_data()
    {
        QTest::addColumn<bool>("byChange");
        QTest::newRow("saved again after the next change") << true;
        QTest::newRow("saved again by the retry timer") << false;
    }

    void failedSaveShowsUntilASaveSucceeds()
    {
        QFETCH(bool, byChange);
        QVERIFY(QDir(m_dir->path()).mkpath(u"prog"_s));
        writeBytes(path(u"prog/Text.txt"_s), "\"a\"\r\n");
        FakePlatform platform;
        platform.program.programFolder = path(u"prog"_s);
        Form1 form(platform.services());
        QVERIFY(form.Form_Load());
        form.autosaveTimer().setInterval(0);
        form.Timer1().setInterval(10);
        auto* panel = form.findChild<PanelStatusBar*>(u"StatusBar1"_s);
        const QString store = QDir::toNativeSeparators(path(u"prog/Text.txt"_s));

        blockProgramFolder(true);
        form.list().append(u"b"_s);
        QTRY_COMPARE(panel->panelText(1), u"List not saved"_s);
        QCOMPARE(panel->panelToolTip(1), u"The snippet list could not be saved to\n%1\n"
                                         "Reason: Not a directory\nQuippet tries again after the "
                                         "next change and every 30 seconds.\n\n"
                                         "Click here to shrink program."_s.arg(store));
        QCOMPARE(logged, QStringList{u"quippet.store: Could not save \"%1\": Not a directory"_s.arg(
                             store)});

        // A message still shows, and Timer1 brings the failure back; the change is tried again.
        form.findChild<SnippetCombo*>(u"Combo1"_s)->setText(u"c"_s);
        UserInput::doubleClick(form.findChild<QWidget*>(u"Image2"_s));
        QCOMPARE(panel->panelText(1), u"Text added"_s);
        QTRY_COMPARE(logged.size(), 2);
        QTRY_COMPARE(panel->panelText(1), u"List not saved"_s);

        blockProgramFolder(false);
        if (byChange)
            form.list().append(u"d"_s);
        else
            form.backgroundSave().retryTimer().setInterval(10);
        QTRY_COMPARE(panel->panelText(1), QString());
        QCOMPARE(panel->panelToolTip(1), u"Click here to shrink program."_s);
        QCOMPARE(readBytes(path(u"prog/Text.txt"_s)),
                 QByteArray(byChange ? "\"a\"\r\n\"b\"\r\n\"c\"\r\n\"d\"\r\n"
                                     : "\"a\"\r\n\"b\"\r\n\"c\"\r\n"));
        QVERIFY(!form.backgroundSave().retryTimer().isActive());
        QCOMPARE(logged.size(), 2);
    }

    void failuresAreLogged_data()
    {
        QTest::addColumn<QString>("operation");
        QTest::addColumn<QString>("expected");
        QTest::newRow("first-run creation of the store")
            << "start"
            << "quippet.store: Could not create the empty store \"%1/Text.txt\": "
               "Not a directory";
        QTest::newRow("Add Text To File")
            << "add"
            << "quippet.write: Could not add text to \"%1/notes.txt\": Not a directory";
        QTest::newRow("Create New File")
            << "create"
            << "quippet.write: Could not create \"%1/notes.txt\": Not a directory";
        QTest::newRow("settings") << "settings"
                                  << "quippet.settings: Could not store Top in "
                                     "\"%1/Quippet.ini\": the file or its folder cannot be written";
    }

    void failuresAreLogged()
    {
        QFETCH(QString, operation);
        QFETCH(QString, expected);
        const QString blocked = path(u"file"_s);
        writeBytes(blocked, {});
        FakePlatform platform;
        platform.program.programFolder = platform.program.dataFolder = blocked;
        platform.saveDialog.answers.append(blocked + u"/notes.txt"_s);
        QString target;
        WriteCommands write(platform.settings, platform.saveDialog, platform.program);
        if (operation == u"start")
            QVERIFY(Form1(platform.services()).Form_Load());
        else if (operation == u"add")
            QVERIFY(!write.addTextToFile(nullptr, u"x"_s, target));
        else if (operation == u"create")
            QVERIFY(!write.createNewFile(nullptr, u"x"_s, target));
        else {
            QtSettingsStore settings(blocked + u"/Quippet.ini"_s);
            settings.writeSetting(u"Top"_s, u"True"_s);
            // Once the folder can be made, the next write goes through quietly with both values.
            QVERIFY(QFile::remove(blocked));
            settings.writeSetting(u"Height"_s, u"1030"_s);
            QCOMPARE(readBytes(blocked + u"/Quippet.ini"_s), "[Startup]\nHeight=1030\nTop=True\n");
        }
        QCOMPARE(logged, QStringList{expected.arg(QDir::toNativeSeparators(blocked))});
    }
};

QTEST_MAIN(SaveFailuresTest)
#include "tst_SaveFailures.moc"
