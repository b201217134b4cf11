#include "core/compat/TrayIconRecord.h"
#include "fakes/CoreFixture.h"
#include "fakes/FileBytes.h"
#include "fakes/TableRows.h"
#include "platform/CommandLine.h"
#include "platform/InstallLayout.h"
#include "platform/qt/DisplayConnection.h"
#include "platform/qt/LocalSocketInstance.h"
#include "platform/qt/QtClock.h"
#include "platform/qt/QtSaveDialog.h"
#include "platform/qt/QtSettingsStore.h"
#include "platform/qt/QtTopmostPlacement.h"
#include "platform/qt/QtTrayArea.h"
#include "platform/qt/ShutdownSignals.h"

#include <QDir>
#include <QFileDialog>
#include <QLocale>
#include <QRegularExpression>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QUuid>
#include <QWidget>
#include <QWindow>
#include <csignal>
#include <memory>

using namespace Qt::Literals::StringLiterals;

/** The Qt and system implementations of the platform services. */
class tst_Platform : public QObject
{
    Q_OBJECT

private:
    QTemporaryDir m_configHome;
    std::unique_ptr<QTemporaryDir> m_dir;

private Q_SLOTS:
    void initTestCase()
    {
        // Before any QSettings exists, so that the per-user settings land in the temporary folder.
        qputenv("XDG_CONFIG_HOME", QFile::encodeName(m_configHome.path()));
    }

    void init() { m_dir = std::make_unique<QTemporaryDir>(); }

    void displayDecision_data()
    {
        // Environment, and the outcome: "-" cannot reach, "" goes on with Qt's own choice,
        // anything else goes on with that platform. Only ":0" and "/run/user/1/wayland-0" answer.
        addColumns<QString, QString, QString, QString>("platform", "display", "waylandDisplay", "outcome");
        QTest::newRow("X answers") << QString() << u":0"_s << u"wayland-0"_s << QString();
        QTest::newRow("dead X, live Wayland: natively") << QString() << u":5"_s << u"wayland-0"_s << u"wayland"_s;
        QTest::newRow("absolute Wayland socket") << QString() << QString() << u"/run/user/1/wayland-0"_s << u"wayland"_s;
        QTest::newRow("xcb asked for, only Wayland") << u"xcb"_s << QString() << u"wayland-0"_s << u"-"_s;
        QTest::newRow("wayland asked for, no socket") << u"wayland"_s << u":0"_s << u"wayland-1"_s << u"-"_s;
        QTest::newRow("list falls back to xcb:args") << u"wayland;xcb:nograb"_s << u":0"_s << u"wayland-1"_s << QString();
        QTest::newRow("offscreen needs no server") << u"offscreen"_s << QString() << QString() << QString();
    }

    void displayDecision()
    {
        auto [platform, display, waylandDisplay, outcome] =
            fetch<QString, QString, QString, QString>("platform", "display", "waylandDisplay", "outcome");
        const auto answers = [](const QString& address) { return address == u":0" || address == u"/run/user/1/wayland-0"; };
        const auto decision = DisplayConnection::decide({platform, display, waylandDisplay, u"/run/user/1"_s}, {answers, answers});
        QCOMPARE(decision.reachable, outcome != u"-");
        QCOMPARE(decision.platform, decision.reachable ? outcome : QString());
    }

    void commandLine_data()
    {
        // The arguments, and what comes of them: the action, the exit code when ending, the
        // --add/--remove text ("-" when from standard input), and the first line of standard
        // error, or for a start the -platform and -display values seen, as "platform|display".
        using A = CommandLine::Action;
        addColumns<QByteArrayList, A, int, QString, QString>("arguments", "action", "exitCode", "text", "detail");
        // clang-format off
        QTest::newRow("nothing starts") << QByteArrayList{} << A::Start << 0 << QString() << u"|"_s;
        QTest::newRow("restored session") << QByteArrayList{"-session", "10abc7f3e2000171"} << A::Start << 0 << QString() << u"|"_s;
        QTest::newRow("Qt options with values, one and two dashes") << QByteArrayList{"-style", "Fusion", "--platform", "xcb", "-name", "x", "-display", ":3", "-reverse", "-qwindowtitle", "T"} << A::Start << 0 << QString() << u"xcb|:3"_s;
        QTest::newRow("joined values where Qt takes them") << QByteArrayList{"--style=Fusion", "-stylesheet=a.qss", "-qmljsdebugger=port:4000", "-widgetcount"} << A::Start << 0 << QString() << u"|"_s;
        QTest::newRow("joined value Qt does not take") << QByteArrayList{"-platform=xcb"} << A::End << 2 << QString() << u"quippet: unknown option '-platform=xcb'"_s;
        QTest::newRow("value missing") << QByteArrayList{"-reverse", "-session"} << A::End << 2 << QString() << u"quippet: option needs a value: '-session'"_s;
        QTest::newRow("a Qt value may look like an option") << QByteArrayList{"-qwindowtitle", "--add"} << A::Start << 0 << QString() << u"|"_s;
        QTest::newRow("unknown own option") << QByteArrayList{"-session", "1", "--frobnicate"} << A::End << 2 << QString() << u"quippet: unknown option '--frobnicate'"_s;
        QTest::newRow("stray word") << QByteArrayList{"notes.txt"} << A::End << 2 << QString() << u"quippet: unexpected argument 'notes.txt'"_s;
        QTest::newRow("help wins over a command") << QByteArrayList{"--toggle", "--help"} << A::End << 0 << QString() << QString();
        QTest::newRow("toggle with a session") << QByteArrayList{"--toggle", "-session", "s1"} << A::Toggle << 0 << QString() << u"|"_s;
        QTest::newRow("show") << QByteArrayList{"--show"} << A::Show << 0 << QString() << u"|"_s;
        QTest::newRow("two commands") << QByteArrayList{"--show", "--toggle"} << A::End << 2 << QString() << u"quippet: option cannot be combined with '--show': '--toggle'"_s;
        QTest::newRow("add takes the next word whole") << QByteArrayList{"--add", "-v \"q\"\n\xF0\x9F\x98\x80"} << A::Add << 0 << u"-v \"q\"\n\U0001F600"_s << u"|"_s;
        QTest::newRow("add joined, empty") << QByteArrayList{"--add="} << A::Add << 0 << u""_s << u"|"_s;
        QTest::newRow("remove from standard input") << QByteArrayList{"--remove", "-"} << A::Remove << 0 << u"-"_s << u"|"_s;
        QTest::newRow("add without a text") << QByteArrayList{"--add"} << A::End << 2 << QString() << u"quippet: option needs a text: '--add'"_s;
        QTest::newRow("add, not UTF-8") << QByteArrayList{"--add", "caf\xE9"} << A::End << 1 << QString() << u"quippet: the text is not valid UTF-8"_s;
        QTest::newRow("add and remove") << QByteArrayList{"--add", "a", "--remove", "a"} << A::End << 2 << QString() << u"quippet: option cannot be combined with '--add': '--remove'"_s;
        QTest::newRow("list NUL-separated") << QByteArrayList{"-0", "--list"} << A::List << 0 << QString() << u"|"_s;
        QTest::newRow("-0 alone") << QByteArrayList{"--show", "-0"} << A::End << 2 << QString() << u"quippet: option only goes with --list: '-0'"_s;
        // clang-format on
    }

    void commandLine()
    {
        auto [arguments, text, detail] = fetch<QByteArrayList, QString, QString>("arguments", "text", "detail");
        const CommandLine::Outcome outcome = CommandLine(u"quippet"_s, u"1.2.3"_s).parse(arguments);
        QTEST(outcome.action, "action");
        QTEST(outcome.exitCode, "exitCode");
        QCOMPARE(outcome.textFromStandardInput ? u"-"_s : outcome.text, text);
        if (outcome.action == CommandLine::Action::End) {
            QCOMPARE(outcome.standardError.section(u'\n', 0, 0), detail);
            // Help, version and mistakes each print to one stream only.
            QCOMPARE(outcome.standardOutput.isEmpty(), outcome.exitCode != 0);
        } else {
            QCOMPARE(outcome.platform + u'|' + outcome.display, detail);
            QVERIFY(outcome.standardOutput.isEmpty() && outcome.standardError.isEmpty());
        }
        QCOMPARE(outcome.nulSeparated, outcome.action == CommandLine::Action::List && arguments.contains("-0"));
    }

    void everyLaterStartWakesTheFirst()
    {
        // A fresh instance name keeps runs of this test from meeting each other.
        const QString name = u"quippet-test-"_s + QUuid::createUuid().toString(QUuid::WithoutBraces).left(8);
        // The lock file as a crashed holder leaves it (a pid above the kernel's limit, application, host) does not count.
        writeBytes(m_dir->filePath(name + u".lock"_s), "4195305\nquippet\n\n");
        {
            LocalSocketInstance first(name, m_dir->path());
            QSignalSpy shown(&first, &SingleInstance::showRequested);
            QVERIFY(!first.otherInstanceRunning());
            for (int start = 1; start <= 2; ++start) {
                LocalSocketInstance later(name, m_dir->path());
                QVERIFY(later.otherInstanceRunning());
                QTRY_COMPARE_WITH_TIMEOUT(shown.count(), start, 2000);
            }
        }
        QVERIFY(!LocalSocketInstance(name, m_dir->path()).otherInstanceRunning());
    }

    void clockFormat_data()
    {
        // locale: empty when `format` is rewritten instead
        addColumns<QString, QString, QString>("locale", "format", "expected");
        QTest::newRow("US twelve-hour") << u"en_US"_s << QString() << u"h:mm:ss AP"_s;
        QTest::newRow("Finnish dot separator") << u"fi_FI"_s << QString() << u"H.mm.ss"_s;
        QTest::newRow("Korean period before hour") << u"ko_KR"_s << QString() << u"AP h:mm:ss"_s;
        QTest::newRow("zone at the start") << QString() << u"t HH:mm:ss"_s << u"HH:mm:ss"_s;
        QTest::newRow("long zone name in the middle") << QString() << u"HH:mm tttt ss"_s << u"HH:mm ss"_s;
        QTest::newRow("quoted separator falls back to colon") << QString() << u"HH 'h' mm"_s << u"HH 'h' mm:ss"_s;
        QTest::newRow("quoted t is text, not a zone") << QString() << u"HH:mm:ss 'that'"_s << u"HH:mm:ss 'that'"_s;
        QTest::newRow("milliseconds count as seconds present") << QString() << u"HH:mm:ss.zzz"_s << u"HH:mm:ss.zzz"_s;
    }

    void clockFormat()
    {
        auto [locale, format] = fetch<QString, QString>("locale", "format");
        QTEST(locale.isEmpty() ? QtClock::withSecondsWithoutZone(format) : QtClock::timeFormat(QLocale(locale)), "expected");
    }

    void saveDialogSetUp_data()
    {
        // folder: where the dialog starts; null: left to the dialog. filter: "description|patterns", shown as filters.
        addColumns<QString, QString, int, bool, QString, QStringList>("initDir", "folder", "flags", "confirmsOverwrite", "filter", "filters");
        const int hide = SaveDialog::HideReadOnly;
        const QString txt = u"Text Documents (*.txt)|*.txt"_s;
        const QStringList txts{u"Text Documents (*.txt)"_s};
        // clang-format off
        QTest::newRow("add: existing file, read-only box hidden only") << u"sub/kept.txt"_s << u"sub"_s << hide << false << txt << txts;
        QTest::newRow("create: folders gone, dot segments, overwrite question") << u"sub/x/../y/z/gone.txt"_s << u"sub"_s << (hide | SaveDialog::OverwritePrompt) << true << txt << txts;
        QTest::newRow("no start folder") << QString() << QString() << hide << false << txt << txts;
        QTest::newRow("plain description, several patterns") << QString() << QString() << hide << false << u"Text|*.txt;*.log"_s << QStringList{u"Text (*.txt *.log)"_s};
        QTest::newRow("two filters") << QString() << QString() << hide << false << u"Text (*.txt)|*.txt|All Files (*.*)|*.*"_s << QStringList{u"Text (*.txt)"_s, u"All Files (*.*)"_s};
        QTest::newRow("description naming another pattern") << QString() << QString() << hide << false << u"Notes (*.md)|*.txt"_s << QStringList{u"Notes (*.md) (*.txt)"_s};
        QTest::newRow("no filter") << QString() << QString() << hide << false << QString() << QStringList{};
        // clang-format on
    }

    void saveDialogSetUp()
    {
        auto [initDir, folder, flags, filter, filters] =
            fetch<QString, QString, int, QString, QStringList>("initDir", "folder", "flags", "filter", "filters");
        QVERIFY(QDir(m_dir->path()).mkpath(u"sub"_s));
        writeBytes(m_dir->filePath(u"sub/kept.txt"_s), QByteArray());
        const QString start = initDir.isNull() ? QString() : m_dir->filePath(initDir);
        QCOMPARE(QtSaveDialog::startFolder(start), folder.isNull() ? QString() : QDir::cleanPath(m_dir->filePath(folder)));

        QFileDialog dialog;
        QCOMPARE(QtSaveDialog::nameFilters(filter), filters);
        QtSaveDialog::configure(dialog, {u"Add To..."_s, start, u"Untitled"_s, filter, flags});
        QCOMPARE(dialog.acceptMode(), QFileDialog::AcceptSave);
        if (!folder.isNull())
            QCOMPARE(dialog.directory().absolutePath(), QDir::cleanPath(m_dir->filePath(folder)));
        if (!filters.isEmpty())
            QCOMPARE(dialog.nameFilters(), filters);
        QTEST(!dialog.testOption(QFileDialog::DontConfirmOverwrite), "confirmsOverwrite");
    }

    void settingsWritePlainLinesInStartupGroup()
    {
        // A file in place of the folder fails the first write: logged, and kept for the next write.
        const QString path = m_dir->filePath(u"file/Quippet.ini"_s);
        writeBytes(m_dir->filePath(u"file"_s), {});
        QtSettingsStore store(path);
        QTest::failOnWarning(QRegularExpression(u"."_s));
        QTest::ignoreMessage(QtWarningMsg, qPrintable(u"Could not store Top in \"%1\": the file or its folder cannot be written"_s.arg(path)));
        store.writeSetting(u"Top"_s, u"True"_s);
        QVERIFY(QFile::remove(m_dir->filePath(u"file"_s)));
        store.writeSetting(u"Height"_s, u"2600"_s);
        store.writeSetting(u"Height"_s, u"1030"_s);
        // Each write reaches the file at once, while the writer is still alive.
        QCOMPARE(readBytes(path), QByteArray("[Startup]\nHeight=1030\nTop=True\n"));
        // The default store is the user's Quippet.ini.
        QtSettingsStore().writeSetting(u"Top"_s, u"False"_s);
        QCOMPARE(readBytes(m_configHome.filePath(u"Quippet/Quippet.ini"_s)), QByteArray("[Startup]\nTop=False\n"));
    }

    void settingsRead_data()
    {
        addColumns<QByteArray, QString>("fileText", "expected");
        QTest::newRow("same key in another group gives the default") << QByteArray("[Other]\nFilename=x.txt\n") << u"Untitled"_s;
        QTest::newRow("quoted") << QByteArray("[Startup]\nFilename=\"a, b.txt\"\n") << u"a, b.txt"_s;
        QTest::newRow("unquoted comma stays one text, CR LF line ends") << QByteArray("[Startup]\r\nFilename=a, b.txt\r\n") << u"a, b.txt"_s;
    }

    void settingsRead()
    {
        QFETCH(QByteArray, fileText);
        const QString path = m_dir->filePath(u"Quippet.ini"_s);
        writeBytes(path, fileText);
        QTEST(QtSettingsStore(path).readSetting(u"Filename"_s, u"Untitled"_s), "expected");
    }

    void topmostPlacement_data()
    {
        addColumns<bool, QList<int>, bool>("startVisible", "requests", "expectTopmost");
        QTest::newRow("other value counts as not topmost") << true << QList<int>{-1, 1} << false;
        QTest::newRow("hidden window is shown") << false << QList<int>{-1} << true;
    }

    void topmostPlacement()
    {
        auto [startVisible, requests] = fetch<bool, QList<int>>("startVisible", "requests");
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
        for (int insertAfter : std::as_const(requests))
            placement.setWindowPos(&window, insertAfter, 50, 30, 256, 173, TopmostPlacement::SwpShowWindow | TopmostPlacement::SwpNoActivate);

        QVERIFY(window.isVisible());
        QTEST(window.windowHandle()->flags().testFlag(Qt::WindowStaysOnTopHint), "expectTopmost");
        QCOMPARE(window.geometry(), before);
        if (startVisible) // the native window is kept, not torn down and made anew
            QCOMPARE(window.winId(), nativeBefore);
        // Showing must not leave the widget set up to skip activation later on.
        QVERIFY(!window.testAttribute(Qt::WA_ShowWithoutActivating));
    }

    void trayActivationIsReportedAfterTheIconsHandler()
    {
        // The answer may remove the icon, whose widget is still inside its mouse handler.
        QtTrayArea area;
        area.notifyIcon(TrayArea::NimAdd, TrayIconRecord{});
        auto* icon = area.findChild<QSystemTrayIcon*>();
        QVERIFY(icon);
        QSignalSpy messages(&area, &TrayArea::mouseMessage);
        Q_EMIT icon->activated(QSystemTrayIcon::Context);
        QVERIFY(messages.isEmpty());
        QCoreApplication::processEvents();
        QCOMPARE(messages.count(), 1);
        QCOMPARE(messages.at(0).at(0).toInt(), 517);

        // A click still queued when the icon is removed goes with it.
        Q_EMIT icon->activated(QSystemTrayIcon::DoubleClick);
        area.notifyIcon(TrayArea::NimDelete, TrayIconRecord{});
        QCoreApplication::processEvents();
        QCOMPARE(messages.count(), 1);
    }

    void signalBecomesShutdownRequest_data()
    {
        QTest::addColumn<int>("signalNumber");
        QTest::newRow("SIGTERM") << SIGTERM;
        QTest::newRow("SIGINT") << SIGINT;
        QTest::newRow("SIGHUP") << SIGHUP;
    }

    void signalBecomesShutdownRequest()
    {
        QFETCH(int, signalNumber);
        struct sigaction before = {};
        QCOMPARE(::sigaction(signalNumber, nullptr, &before), 0);
        {
            ShutdownSignals watcher;
            QSignalSpy spy(&watcher, &ShutdownSignals::shutdownRequested);
            QCOMPARE(::raise(signalNumber), 0);
            // Delivered through the event loop, never from inside the handler.
            QCOMPARE(spy.count(), 0);
            QVERIFY(spy.wait(2000));
            QCOMPARE(spy.count(), 1);
        }
        // The previous handler comes back once the watcher is gone.
        struct sigaction after = {};
        QCOMPARE(::sigaction(signalNumber, nullptr, &after), 0);
        QVERIFY(after.sa_handler == before.sa_handler);
    }

    void isInstalled_data()
    {
        // entry: a file made below a fresh root ("/" ends a folder); program: the program folder, made below the same root
        addColumns<QString, QString, bool>("entry", "program", "installed");
        const QString apps = u"share/applications/"_s;
        const QString ours = u"org.example.quippet.desktop"_s;
        QTest::newRow("/usr") << u"usr/"_s + apps + ours << u"usr/bin"_s << true;
        QTest::newRow("/usr/local/bin/") << u"usr/local/"_s + apps + ours << u"usr/local/bin/"_s << true;
        QTest::newRow("entry is a folder") << apps + ours + u"/"_s << u"bin"_s << false;
        QTest::newRow("build folder") << apps + ours << u"app"_s << false;
        QTest::newRow("entry under bin itself") << u"bin/"_s + apps + ours << u"bin"_s << false;
    }

    void isInstalled()
    {
        auto [entry, program] = fetch<QString, QString>("entry", "program");
        failOnStrayWarnings();
        const QDir root(m_dir->path());
        QVERIFY(root.mkpath(program));
        QVERIFY(root.mkpath(QFileInfo(root.filePath(entry)).path()));
        QFile file(root.filePath(entry));
        QVERIFY(entry.endsWith(u'/') ? QDir().mkpath(file.fileName()) : file.open(QIODevice::WriteOnly));
        QTEST(InstallLayout::isInstalled(root.filePath(program), u"org.example.quippet.desktop"_s), "installed");
    }
};

QTEST_MAIN(tst_Platform)
#include "tst_Platform.moc"
