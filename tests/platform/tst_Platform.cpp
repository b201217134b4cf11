#include "core/compat/TrayIconRecord.h"
#include "core/store/StoreFile.h"
#include "fakes/CoreFixture.h"
#include "fakes/FileBytes.h"
#include "fakes/TableRows.h"
#include "fakes/VectorSnippetList.h"
#include "platform/CommandLine.h"
#include "platform/InstallLayout.h"
#include "platform/InstanceChannel.h"
#include "platform/ListCommandRunner.h"
#include "platform/qt/DisplayConnection.h"
#include "platform/qt/LocalSocketInstance.h"
#include "platform/qt/QtClock.h"
#include "platform/qt/QtSaveDialog.h"
#include "platform/qt/QtSettingsStore.h"
#include "platform/qt/QtTopmostPlacement.h"
#include "platform/qt/QtTrayArea.h"
#include "platform/qt/ShortcutKey.h"
#include "platform/qt/ShutdownSignals.h"
#include "platform/qt/X11StartupId.h"

#include <QDir>
#include <QFileDialog>
#include <QLocale>
#include <QLockFile>
#include <QRegularExpression>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QWidget>
#include <QWindow>
#include <atomic>
#include <csignal>
#include <memory>
#include <thread>

using namespace Qt::Literals::StringLiterals;

/** The Qt and system implementations of the platform services. */
class tst_Platform : public QObject
{
    Q_OBJECT

private:
    QTemporaryDir m_configHome;

    /** Runs `client` on a thread of its own while this thread's event loop lets a server answer. */
    template <typename F> static auto whileServing(F client)
    {
        decltype(client()) result{};
        std::atomic_bool done = false;
        std::thread thread([&] {
            result = client();
            done = true;
        });
        while (!done)
            QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
        thread.join();
        QCoreApplication::processEvents();
        return result;
    }
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
        // The outcome: "-" cannot reach, "" Qt's own choice, else that platform. Only ":0" and "/run/user/1/wayland-0" answer.
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
        QVERIFY(decision.reachable == (outcome != u"-") && decision.platform == (decision.reachable ? outcome : QString()));
    }

    void commandLine_data()
    {
        // The exit code when ending, the --add/--remove text ("-" when from standard input), and the first line of
        // standard error, or for a start the -platform and -display values seen, as "platform|display".
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
            QVERIFY(outcome.platform + u'|' + outcome.display == detail && outcome.standardOutput.isEmpty() && outcome.standardError.isEmpty());
        }
        QCOMPARE(outcome.nulSeparated, outcome.action == CommandLine::Action::List && arguments.contains("-0"));
    }

    void instanceMessage_data()
    {
        // line: what decodes; text: the "text" field it carries, null when it does not decode
        addColumns<QByteArray, QByteArray>("line", "text");
        const QByteArray odd = "say \"hi\"\nbye \xF0\x9F\x98\x80 \r\n";
        QTest::newRow("any bytes cross in one line") << "add text=" + odd.toBase64() << odd;
        QTest::newRow("empty value") << QByteArray("add text=") << QByteArray("");
        QTest::newRow("no fields") << QByteArray("list") << QByteArray();
        QTest::newRow("not base64") << QByteArray("add text=a b") << QByteArray();
        QTest::newRow("no verb") << QByteArray(" text=") << QByteArray();
    }

    void instanceMessage()
    {
        const auto [line, text] = fetch<QByteArray, QByteArray>("line", "text");
        const auto message = InstanceChannel::Message::decode(line);
        QCOMPARE(message.has_value(), !text.isNull() || line == "list");
        if (!message)
            return;
        QVERIFY(message->value("text") == text && message->encode() == (line + '\n'));
    }

    void privateFolder_data()
    {
        // made: "0700", "0755", "link" (to a 0700 folder), "file"
        addColumns<QString, bool, bool>("made", "ownUser", "isPrivate");
        QTest::newRow("own, closed to others") << u"0700"_s << true << true;
        QTest::newRow("open to others") << u"0755"_s << true << false;
        QTest::newRow("another user's") << u"0700"_s << false << false;
        QTest::newRow("a link to a private folder") << u"link"_s << true << false;
        QTest::newRow("a file") << u"file"_s << true << false;
    }

    void privateFolder()
    {
        const auto [made, ownUser] = fetch<QString, bool>("made", "ownUser");
        const QString path = m_dir->filePath(u"f"_s), target = m_dir->filePath(u"target"_s);
        QVERIFY(QDir().mkdir(target, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner));
        if (made == u"link")
            QVERIFY(QFile::link(target, path));
        else if (made == u"file")
            writeBytes(path, {});
        else
            QVERIFY(QDir().mkdir(path, made == u"0700" ? QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner : QFile::Permissions(0x7555)));
        QTEST(InstanceChannel::isPrivateFolder(path, ::getuid() + (ownUser ? 0 : 1)), "isPrivate");
    }

    void lockHeldWithoutAnInstance()
    {
        // The lock is held (by this process) and nobody answers: a list command leaves the store alone.
        QLockFile commandLine(InstanceChannel::lockPath(m_dir->path()));
        QVERIFY(commandLine.tryLock(0));
        const QString store = m_dir->filePath(u"Text.txt"_s);
        ListCommandRunner::Setup setup{m_dir->path(), ::getuid(), [&] { return store; }, QString()};
        setup.waitMs = 300;
        const auto result = ListCommandRunner(setup).run(ListCommand::Kind::Add, u"a"_s, false);
        QVERIFY(result.exitCode == 1 && !QFile::exists(store));
        QCOMPARE(result.standardError, u"quippet: Quippet is running but does not answer; nothing was changed\n"_s);
        // A command line editing the store holds it for a moment; a start waits rather than end as if an instance ran.
        std::thread done([&] {
            std::this_thread::sleep_for(std::chrono::milliseconds(300));
            commandLine.unlock();
        });
        LocalSocketInstance start(m_dir->path(), ::getuid());
        const bool otherRunning = start.otherInstanceRunning();
        done.join();
        QVERIFY(!otherRunning);
    }

    void peerOfAnotherUserIsDropped_data()
    {
        QTest::addColumn<bool>("serverExpectsOther");
        QTest::newRow("the instance drops the caller") << true;
        QTest::newRow("the caller drops the instance") << false;
    }

    void peerOfAnotherUserIsDropped()
    {
        QFETCH(bool, serverExpectsOther);
        // Both ends run as this user, so expecting another user stands for meeting one.
        LocalSocketInstance first(m_dir->path(), ::getuid() + (serverExpectsOther ? 1 : 0));
        QSignalSpy shown(&first, &SingleInstance::showRequested);
        QVERIFY(!first.otherInstanceRunning());
        const InstanceChannel::Message request{"show", {}};
        const uid_t expected = ::getuid() + (serverExpectsOther ? 0 : 1);
        QCOMPARE(whileServing([&] { return InstanceChannel::exchange(InstanceChannel::socketPath(m_dir->path()), request, nullptr, expected, 500); }),
                 InstanceChannel::Outcome::NoAnswer);
        QCOMPARE(shown.count(), 0);
    }

    void listCommandOnStoreFile_data()
    {
        // The store before (null: none) and after, the command and its text, its exit code, standard output and error.
        using K = ListCommand::Kind;
        addColumns<QByteArray, K, QString, int, QByteArray, QString, QByteArray>("before", "kind", "text", "exitCode", "output", "error", "after");
        const QByteArray two = "\"a\"\r\n\"b \"\"q\"\"\nc\"\r\n";
        // clang-format off
        QTest::newRow("add to a missing store") << QByteArray() << K::Add << u"x\U0001F600"_s << 0 << QByteArray() << QString() << QByteArray("\"x\xF0\x9F\x98\x80\"\r\n");
        QTest::newRow("add keeps the others") << two << K::Add << u"a "_s << 0 << QByteArray() << QString() << two + "\"a \"\r\n";
        QTest::newRow("add the date, a listed text") << two << K::Add << u"3/1/2024"_s << 1 << QByteArray() << u"quippet: the text is already in the list\n"_s << two;
        QTest::newRow("remove with a line break") << two << K::Remove << u"b \"q\"\nc"_s << 0 << QByteArray() << QString() << QByteArray("\"a\"\r\n");
        QTest::newRow("remove from a missing store") << QByteArray() << K::Remove << u"a"_s << 1 << QByteArray() << u"quippet: the text is not in the list\n"_s << QByteArray();
        QTest::newRow("list") << two << K::List << QString() << 0 << QByteArray("a\nb \"q\"\nc\n") << QString() << two;
        QTest::newRow("date entries are not listed") << QByteArray("\"3/1/2024\"\r\n\"a\"\r\n") << K::List << QString() << 0 << QByteArray("a\n") << QString() << QByteArray("\"3/1/2024\"\r\n\"a\"\r\n");
        QTest::newRow("a folder in its place") << QByteArray("/") << K::Add << u"a"_s << 1 << QByteArray() << u"quippet: %1 cannot be read; nothing was changed\n"_s << QByteArray("/");
        QTest::newRow("over the limit") << QByteArray("big") << K::Remove << u"a"_s << 1 << QByteArray() << u"quippet: %1 is larger than the 256 MB Quippet loads; nothing was changed\n"_s << QByteArray("big");
        // clang-format on
    }

    void listCommandOnStoreFile()
    {
        const auto [before, kind, text, error, after] =
            fetch<QByteArray, ListCommand::Kind, QString, QString, QByteArray>("before", "kind", "text", "error", "after");
        const QString store = m_dir->filePath(u"data/Text.txt"_s);
        QVERIFY(QDir().mkpath(m_dir->filePath(u"data"_s)));
        QFile big(store);
        if (before == "/")
            QVERIFY(QDir().mkdir(store));
        else if (before == "big") // sparse: no time or disk spent on it
            QVERIFY(big.open(QIODevice::WriteOnly) && big.resize(StoreFile::MaxBytes + 1));
        else if (!before.isNull())
            writeBytes(store, before);
        // No instance: its lock is free.
        const ListCommandRunner runner({m_dir->path(), ::getuid(), [&] { return store; }, u"3/1/2024"_s});
        const ListCommandRunner::Result result = runner.run(kind, text, false);
        QTEST(result.exitCode, "exitCode");
        QTEST(result.standardOutput, "output");
        QCOMPARE(result.standardError, error.contains(u"%1"_s) ? error.arg(store) : error);
        if (after == "/")
            QVERIFY(QFileInfo(store).isDir());
        else if (after == "big")
            QCOMPARE(QFileInfo(store).size(), StoreFile::MaxBytes + 1);
        else
            QCOMPARE(after.isNull() ? QFile::exists(store) : readBytes(store) == after, !after.isNull());
        QVERIFY(!QFile::exists(store + u".bak"_s));
    }

    void instanceWakesLaterStartsAndTakesListCommands()
    {
        // The lock file as a crashed holder leaves it (a pid above the kernel's limit, application, host) does not count.
        writeBytes(InstanceChannel::lockPath(m_dir->path()), "4195305\nquippet\n\n");
        const QString store = m_dir->filePath(u"Text.txt"_s);
        {
            LocalSocketInstance instance(m_dir->path(), ::getuid());
            QSignalSpy shown(&instance, &SingleInstance::showRequested);
            QVERIFY(!instance.otherInstanceRunning());
            for (int start = 1; start <= 2; ++start) {
                LocalSocketInstance later(m_dir->path(), ::getuid());
                QVERIFY(whileServing([&] { return later.otherInstanceRunning(); }) && shown.count() == start);
            }
            QStringList window{u"a"_s};
            connect(&instance, &SingleInstance::listCommandReceived, this,
                    [&](ListCommand::Kind kind, const QString& text, SingleInstance::ListReply* reply) {
                        VectorSnippetList list(window);
                        reply->answered = true;
                        reply->result = ListCommand::apply(kind, list, text);
                        reply->entries = list.entries();
                        window = list.entries();
                    });
            const ListCommandRunner runner({m_dir->path(), ::getuid(), [&] { return store; }, QString()});
            const QString odd = u"q\"\n\U0001F600"_s;
            // Any text crosses the socket both ways (the replies to refusals are checked end to end).
            QCOMPARE(whileServing([&] { return runner.run(ListCommand::Kind::Add, odd, false).exitCode; }), 0);
            QCOMPARE(whileServing([&] { return runner.run(ListCommand::Kind::List, QString(), true).standardOutput; }),
                     "a\0"_ba + odd.toUtf8() + '\0');
        }
        // The instance is the one writer: the file was never touched. Once it is gone, a start runs.
        QVERIFY(!QFile::exists(store) && !LocalSocketInstance(m_dir->path(), ::getuid()).otherInstanceRunning());
    }

    void activationTokenReachesTheWindowSystem_data()
    {
        // The platform the running instance is on; which of the launch's two variables it sets.
        addColumns<QString, QByteArray, QByteArray>("platform", "xdgToken", "startupId");
        QTest::newRow("Wayland") << u"wayland"_s << QByteArray("tok-1") << QByteArray();
        QTest::newRow("X11") << u"xcb"_s << QByteArray() << QByteArray("id_TIME5");
        QTest::newRow("neither") << u"offscreen"_s << QByteArray() << QByteArray();
    }

    void activationTokenReachesTheWindowSystem()
    {
        QFETCH(QString, platform);
        // The launching side reads both from its own environment ...
        qputenv("XDG_ACTIVATION_TOKEN", "tok-1");
        qputenv("DESKTOP_STARTUP_ID", "id_TIME5");
        InstanceChannel::Message request{"toggle", {}};
        InstanceChannel::addActivationToken(request);
        qunsetenv("XDG_ACTIVATION_TOKEN");
        qunsetenv("DESKTOP_STARTUP_ID");
        // ... and the message carries them to the running side.
        InstanceChannel::applyActivationToken(*InstanceChannel::Message::decode(request.encode().chopped(1)), platform);
        QTEST(qgetenv("XDG_ACTIVATION_TOKEN"), "xdgToken");
        QTEST(qgetenv("DESKTOP_STARTUP_ID"), "startupId");
        qunsetenv("XDG_ACTIVATION_TOKEN");
        qunsetenv("DESKTOP_STARTUP_ID");
    }

    void startupIdTime_data()
    {
        addColumns<QByteArray, qint64>("id", "time"); // time -1: none
        QTest::newRow("launcher id") << QByteArray("xfce4-panel-1234-host-quippet_TIME8765432") << qint64(8765432);
        QTest::newRow("no time") << QByteArray("0b1f-2c3d") << qint64(-1);
        QTest::newRow("time not a number") << QByteArray("x_TIMEnow") << qint64(-1);
    }

    void startupIdTime()
    {
        QFETCH(QByteArray, id);
        const auto time = X11StartupId::timestampOf(id);
        QTEST(time ? qint64(*time) : qint64(-1), "time");
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
        QVERIFY(window.geometry() == before && (!startVisible || window.winId() == nativeBefore)); // the native window is kept
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
        QVERIFY(messages.count() == 1 && messages.at(0).at(0).toInt() == 517);

        // A click still queued when the icon is removed goes with it.
        Q_EMIT icon->activated(QSystemTrayIcon::DoubleClick);
        area.notifyIcon(TrayArea::NimDelete, TrayIconRecord{});
        QCoreApplication::processEvents();
        QCOMPARE(messages.count(), 1);
    }

    void shortcutKey_data()
    {
        // The setting's text, and the key as X11 and the shortcut portal take it ("-": none).
        addColumns<QString, uint, QString>("text", "keysym", "trigger");
        QTest::newRow("default") << u"Ctrl+Alt+Q"_s << 0x71U << u"CTRL+ALT+q"_s;
        QTest::newRow("function key, portal's modifier order") << u"Meta+Shift+F12"_s << 0xffc9U << u"SHIFT+LOGO+F12"_s;
        QTest::newRow("named key") << u"Alt+PgDown"_s << 0xff56U << u"ALT+Page_Down"_s;
        QTest::newRow("digit") << u"Ctrl+Alt+1"_s << 0x31U << u"CTRL+ALT+1"_s;
        QTest::newRow("two keys in a row") << u"Ctrl+Alt+Q, Ctrl+B"_s << 0U << u"-"_s;
        QTest::newRow("not a key") << u"Ctrl+Alt+Nokey"_s << 0U << u"-"_s;
        QTest::newRow("no keysym here") << u"Ctrl+Alt+VolumeUp"_s << 0U << u"-"_s;
    }

    void shortcutKey()
    {
        QFETCH(QString, text);
        const std::optional<ShortcutKey> key = ShortcutKey::fromPortableText(text);
        QTEST(key ? key->keysym : 0U, "keysym");
        QTEST(key ? key->portalTrigger() : u"-"_s, "trigger");
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
            QVERIFY(spy.count() == 0 && spy.wait(2000) && spy.count() == 1);
        }
        // The previous handler comes back once the watcher is gone.
        struct sigaction after = {};
        QVERIFY(::sigaction(signalNumber, nullptr, &after) == 0 && after.sa_handler == before.sa_handler);
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
        QVERIFY(root.mkpath(program) && root.mkpath(QFileInfo(root.filePath(entry)).path()));
        QFile file(root.filePath(entry));
        QVERIFY(entry.endsWith(u'/') ? QDir().mkpath(file.fileName()) : file.open(QIODevice::WriteOnly));
        QTEST(InstallLayout::isInstalled(root.filePath(program), u"org.example.quippet.desktop"_s), "installed");
    }
};

QTEST_MAIN(tst_Platform)
#include "tst_Platform.moc"
