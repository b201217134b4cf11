#include "fakes/MainWindowHarness.h"
#include "fakes/TableRows.h"
#include "main_window/FilterPopup.h"

#include <QAccessible>
#include <QClipboard>
#include <QDrag>
#include <QMimeData>
#include <QStorageInfo>
#include <QtTest>
#include <functional>

using namespace Qt::Literals::StringLiterals;

/** The four targets by double-click, drop and keyboard, the Write menu and dialog, the filter pop-up, the drag hints. */
class TargetActionsTest : public QObject
{
    Q_OBJECT

private:
    std::unique_ptr<MainWindowHarness> m_h;

    FilterPopup* m_popup = nullptr;
    const QString m_long = u"help line one\r\nline two\n"_s + QString(5000, u'x');

    /** Shows the window over four entries and types "hEl", which opens the filter pop-up. */
    void openFilter(int picked = -1)
    {
        m_h->form->list().appendAll({u"say hello"_s, m_long, u"other"_s, u"Helm"_s});
        m_h->combo()->setCurrentIndex(picked);
        m_h->combo()->lineEdit()->clear();
        m_h->form->show();
        QVERIFY(QTest::qWaitForWindowActive(m_h->form.get()));
        m_popup = m_h->combo()->filterPopup();
        m_h->combo()->lineEdit()->setFocus();
        // Keys go where real ones do: to the focus widget, which is the combo box itself.
        QCOMPARE(QApplication::focusWidget(), m_h->combo());
        QTest::keyClicks(m_h->combo(), u"hEl"_s);
    }
    /** Runs an event on the Write icon; its menu opens only once that event has been handled. */
    void openMenuAfter(const std::function<void()>& iconEvent)
    {
        const qsizetype shown = m_h->platform.menus.shownMenus.size();
        iconEvent();
        QCOMPARE(m_h->platform.menus.shownMenus.size(), shown);
        QCoreApplication::processEvents();
    }
    /** Double-clicks Write with `text` in the box, answers the menu and the dialog. */
    void write(const QString& text, const QString& command, const std::optional<QString>& path)
    {
        m_h->combo()->setText(text);
        m_h->platform.menus.choices = {command};
        m_h->platform.saveDialog.answers = {path};
        openMenuAfter([this] { m_h->doubleClick(u"Image4"_s); });
    }
    /** Shows the window with `text` in the box, a and b in the list and text on the clipboard. */
    static void showWith(MainWindowHarness& h, const QString& text)
    {
        h.platform.clipboard.setText(u"on the clipboard"_s);
        h.form->list().appendAll({u"a"_s, u"b"_s});
        h.combo()->setText(text);
        h.form->show();
        h.form->activateWindow();
    }
    /** Everything an action may change. */
    static QStringList outcome(const MainWindowHarness& h)
    {
        QStringList seen{h.entries().join(u'|'), h.working(), h.message(), h.platform.clipboard.content};
        return seen << QString::number(h.form->Height()) << h.platform.menus.shownMenus.join(u',') << h.form->PendingText();
    }

private Q_SLOTS:
    void init() { m_h = std::make_unique<MainWindowHarness>(); }

    void sixPaths_data()
    {
        // dropped: null for a double-click on the icon
        addColumns<QString, QString, QString, QString, QStringList, QString, QStringList, QString, QString>(
            "icon", "dropped", "box", "clipboard", "list", "clipboardAfter", "listAfter", "messageAfter", "boxAfter");

        const QString none;
        const QString e = QStringLiteral("");
        const QStringList ab{QStringLiteral("a"), QStringLiteral("b")};
        const QStringList abc = ab + QStringList{u"c"_s};
        const QString copied = u"Text copied to clipboard"_s, added = u"Text added"_s, removed = u"Text removed"_s;
        const QString multi = QStringLiteral("line one\r\nline two\ttab");
        QStringList full;
        for (int i = 0; i < 32767; ++i)
            full << QString::number(i);
        // clang-format off
        QTest::newRow("copy click") << "Image1" << none << "hi" << "old" << ab << "hi" << ab << copied << e;
        QTest::newRow("copy click equal to clipboard") << "Image1" << none << "hi" << "hi" << ab << "hi" << ab << e << e;
        QTest::newRow("copy click empty refused") << "Image1" << none << e << "old" << ab << "old" << ab << e << e;
        QTest::newRow("add click") << "Image2" << none << "c" << e << ab << e << abc << added << e;
        QTest::newRow("add click listed refused") << "Image2" << none << "b" << e << ab << e << ab << e << e;
        QTest::newRow("add click empty refused") << "Image2" << none << e << e << ab << e << ab << e << e;
        QTest::newRow("remove click keeps the box") << "Image3" << none << "a" << e << ab << e << QStringList{u"b"_s} << removed << "a";
        QTest::newRow("remove click on an empty list") << "Image3" << none << "a" << e << QStringList() << e << QStringList() << e << "a";
        QTest::newRow("remove click empty refused") << "Image3" << none << e << e << QStringList{e} << e << QStringList{e} << e << e;
        QTest::newRow("copy drop") << "Image1" << "hi" << "box" << "old" << ab << "hi" << ab << copied << "box";
        QTest::newRow("copy drop equal to clipboard") << "Image1" << "hi" << "box" << "hi" << ab << "hi" << ab << "Drop here to copy to clipboard" << "box";
        QTest::newRow("add drop") << "Image2" << "c" << "box" << e << ab << e << abc << added << "box";
        QTest::newRow("add drop listed") << "Image2" << "a" << "box" << e << ab << e << ab << "Drop here to add to Quippet" << "box";
        QTest::newRow("add drop empty") << "Image2" << e << "box" << e << ab << e << ab + QStringList{e} << added << "box";
        QTest::newRow("add drop on a full list") << "Image2" << "other" << "box" << e << full << e << full << "List is full" << "box";
        QTest::newRow("remove drop uses the dropped text") << "Image3" << "b" << "a" << e << ab << e << QStringList{u"a"_s} << removed << "a";
        QTest::newRow("remove unlisted drop leaves the hint") << "Image3" << "zz" << "a" << e << ab << e << ab << "Drop here to remove from Quippet" << "a";
        QTest::newRow("combo drop replaces the box") << "Combo1" << multi << "box" << e << ab << e << ab << "Drop into textbox" << multi;
        // clang-format on
    }

    void sixPaths()
    {
        auto [icon, dropped, box, clipboard, list] =
            fetch<QString, QString, QString, QString, QStringList>("icon", "dropped", "box", "clipboard", "list");
        m_h->form->list().appendAll(list); // empty before the start-up
        m_h->platform.clipboard.content = clipboard;
        m_h->combo()->setText(box);
        if (dropped.isNull())
            m_h->doubleClick(icon);
        else
            QVERIFY(m_h->drop(icon, dropped));

        QTEST(m_h->platform.clipboard.content, "clipboardAfter");
        QTEST(m_h->entries(), "listAfter");
        QTEST(m_h->message(), "messageAfter");
        QTEST(m_h->working(), "boxAfter");
        QVERIFY(m_h->form->Timer1().isActive());
        if (icon == u"Combo1"_s)
            QCOMPARE(m_h->combo()->lineEdit()->selectedText(), dropped);
        const QString after = m_h->platform.clipboard.content;
        QCOMPARE(m_h->platform.clipboard.log, (after == clipboard ? QStringList() : QStringList{u"clear"_s, u"set "_s + after}));
    }

    void commandLineReachesTheList_data()
    {
        // A command sent to the running window; what it answers, its status line and the list after.
        using K = ListCommand::Kind;
        // stored: the list without its date entry
        addColumns<K, QString, bool, QString, QStringList>("kind", "text", "changed", "status", "stored");
        QTest::newRow("add") << K::Add << u"b\nc"_s << true << u"Text added"_s << QStringList{u"a"_s, u"b\nc"_s};
        QTest::newRow("remove") << K::Remove << u"a"_s << true << u"Text removed"_s << QStringList{};
        QTest::newRow("list") << K::List << QString() << false << QString() << QStringList{u"a"_s};
    }

    void commandLineReachesTheList()
    {
        const auto [kind, text, stored] = fetch<ListCommand::Kind, QString, QStringList>("kind", "text", "stored");
        QVERIFY(m_h->load());
        const SingleInstance::ListReply reply = m_h->platform.instance.sendListCommand(kind, text);
        QVERIFY(reply.answered);
        QTEST(reply.result.changed, "changed");
        QTEST(m_h->message(), "status");
        QVERIFY(reply.entries == (kind == ListCommand::Kind::List ? stored : QStringList()) && m_h->entries().mid(1) == stored);
        // The change reaches the file through the autosave.
        QCOMPARE(m_h->form->autosaveTimer().isActive(), reply.result.changed);
    }

    void mouseButtonsAndPlaces_data()
    {
        // gesture: click, double-click, or drag (sweep: from no selection): press, move, release; to: where the release (and the move) lands, from
        // the press at the centre
        addColumns<QString, QString, Qt::MouseButton, QPoint, QString>("control", "gesture", "button", "to", "effect");
        const QString selects = u"selects some text"_s;
        const QPoint inside, outside(0, 40);
        // A click selects the whole text in the box: the left button only, released over the control.
        for (const char* name : {"Image1", "Image2", "Image3", "Image4", "Label1", "Label2", "Label3"})
            QTest::addRow("%s, left click", name) << name << u"click"_s << Qt::LeftButton << inside << selects;
        // clang-format off
        QTest::newRow("Label4 does nothing") << "Label4" << "click" << Qt::LeftButton << inside << "";
        QTest::newRow("icon, right click") << "Image2" << "click" << Qt::RightButton << inside << "";
        QTest::newRow("icon, released outside") << "Image2" << "click" << Qt::LeftButton << outside << "";
        QTest::newRow("icon, right double-click") << "Image2" << "double-click" << Qt::RightButton << inside << "";
        QTest::newRow("Copy icon, double-click held and moved: no drag") << "Image1" << "double-click" << Qt::LeftButton << QPoint(30, 0) << "changed, message Text copied to clipboard";
        QTest::newRow("caption, right click") << "Label2" << "click" << Qt::RightButton << inside << "";
        QTest::newRow("caption, released outside") << "Label2" << "click" << Qt::LeftButton << outside << "";
        QTest::newRow("message panel, right click") << "Panel1" << "click" << Qt::RightButton << inside << "";
        QTest::newRow("clock panel, released below the bar") << "Panel2" << "click" << Qt::LeftButton << outside << "";
        QTest::newRow("Copy icon drags the clipboard's text") << "Image1" << "drag" << Qt::LeftButton << QPoint(30, 0) << "copies on the clipboard";
        QTest::newRow("Copy icon, right-button drag") << "Image1" << "drag" << Qt::RightButton << QPoint(30, 0) << "";
        QTest::newRow("Copy icon, moved just the drag distance") << "Image1" << "drag" << Qt::LeftButton << QPoint(QApplication::startDragDistance(), 0) << "copies on the clipboard";
        QTest::newRow("Copy icon, a shaky click is a click") << "Image1" << "drag" << Qt::LeftButton << QPoint(2, 0) << selects;
        QTest::newRow("box drags its text from the selection") << "Combo1" << "drag" << Qt::LeftButton << QPoint(30, 0) << "moves some text";
        QTest::newRow("box, moved just the drag distance") << "Combo1" << "drag" << Qt::LeftButton << QPoint(QApplication::startDragDistance(), 0) << "moves some text";
        QTest::newRow("box, a click away from a selection places the cursor") << "Combo1" << "click" << Qt::LeftButton << inside << "cursor at 0";
        QTest::newRow("box, a sweep with no selection selects") << "Combo1" << "sweep" << Qt::LeftButton << QPoint(400, 0) << "selects some text";
        QTest::newRow("box, right-button drag") << "Combo1" << "drag" << Qt::RightButton << QPoint(30, 0) << "";
        // clang-format on
    }

    void mouseButtonsAndPlaces()
    {
        auto [control, gesture, button, to] = fetch<QString, QString, Qt::MouseButton, QPoint>("control", "gesture", "button", "to");
        m_h->platform.clipboard.content = u"on the clipboard"_s;
        m_h->combo()->setText(u"some text"_s);
        m_h->form->show();
        QVERIFY(QTest::qWaitForWindowExposed(m_h->form.get()));
        QLineEdit* box = m_h->combo()->lineEdit();
        // The box's text is dragged from within its selection; elsewhere the selection is what a click makes.
        if (control == u"Combo1"_s && gesture == u"drag"_s)
            box->selectAll();
        else
            box->deselect();
        const QString selected = box->selectedText();
        QWidget* target = control == u"Combo1"_s ? box : m_h->child(control);
        QString dragged;
        QTimer::singleShot(0, target, [&] {
            if (auto* drag = m_h->form->findChild<QDrag*>()) {
                dragged = (drag->supportedActions() == Qt::MoveAction ? u"moves "_s : u"copies "_s) + drag->mimeData()->text();
                QKeyEvent escape(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier);
                QCoreApplication::sendEvent(target, &escape);
            }
        });
        const QPoint at = control == u"Combo1"_s ? QPoint(1, target->height() / 2) : target->rect().center();
        QTest::mousePress(target, button, {}, at);
        if (gesture == u"double-click"_s) {
            QTest::mouseRelease(target, button, {}, at);
            QTest::mouseDClick(target, button, {}, at);
        }
        // A drag moves with the button held; so may the second press of a double-click.
        if (gesture != u"click"_s && !to.isNull()) {
            QMouseEvent move(QEvent::MouseMove, at + to, target->mapToGlobal(at + to), Qt::NoButton, button, Qt::NoModifier);
            QCoreApplication::sendEvent(target, &move);
        }
        QTest::mouseRelease(target, button, {}, at + to);
        QCoreApplication::processEvents();

        QStringList effects;
        if (!dragged.isNull())
            effects << dragged;
        if (box->selectedText() != selected)
            effects << u"selects "_s + box->selectedText();
        if (box->cursorPosition() != box->text().size())
            effects << u"cursor at %1"_s.arg(box->cursorPosition());
        if (m_h->working() != u"some text"_s || !m_h->entries().isEmpty() || m_h->form->Height() != Form1::FullHeight)
            effects << u"changed"_s;
        if (!m_h->message().isEmpty() || m_h->form->Timer1().isActive())
            effects << u"message "_s + m_h->message();
        QTEST(effects.join(u", "_s), "effect");
    }

    void clickAfterADoubleClickWhoseReleaseWentElsewhere()
    {
        // The Write menu opens after the double-click and takes its release.
        m_h->combo()->setText(u"some text"_s);
        QWidget* write = m_h->child(u"Image4"_s);
        QTest::mousePress(write, Qt::LeftButton);
        QTest::mouseRelease(write, Qt::LeftButton);
        QTest::mouseDClick(write, Qt::LeftButton);
        QCoreApplication::processEvents();
        m_h->combo()->lineEdit()->deselect();
        QTest::mouseClick(write, Qt::LeftButton);
        QCOMPARE(m_h->combo()->lineEdit()->selectedText(), u"some text"_s);
    }

    void dragHints_data()
    {
        addColumns<QString, QString, bool>("control", "hint", "startsTimer");
        // clang-format off
        QTest::newRow("combo box") << "Combo1" << "Drop into textbox" << true;
        QTest::newRow("write icon") << "Image4" << "Drop here to write to file" << false;
        // clang-format on
    }

    void dragHints()
    {
        auto [control, startsTimer] = fetch<QString, bool>("control", "startsTimer");
        QWidget* target = m_h->child(control);
        QMimeData mime;
        mime.setText(QStringLiteral("dragged"));
        QDragEnterEvent enter(QPoint(5, 5), Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);
        QCoreApplication::sendEvent(target, &enter);
        QVERIFY(enter.isAccepted());
        QTEST(m_h->message(), "hint");
        QCOMPARE(m_h->form->Timer1().isActive(), startsTimer);

        // Leaving empties the panel, also over an action message, and leaves the timer alone.
        m_h->statusBar()->setPanelText(1, QStringLiteral("Text added"));
        QDragLeaveEvent leave;
        QCoreApplication::sendEvent(target, &leave);
        QVERIFY(m_h->message().isEmpty() && m_h->form->Timer1().isActive() == startsTimer);

        // A drag without text is refused, so no drop can follow.
        QMimeData files;
        files.setUrls({QUrl::fromLocalFile(QStringLiteral("/tmp/picture.png"))});
        QVERIFY(!MainWindowHarness::dragAndDrop(target, files));
    }

    void workingTextHasNoLengthLimit_data()
    {
        addColumns<int, bool>("length", "excerpt");
        QTest::newRow("the longest text a box shows whole") << int(SnippetCombo::DisplayLimit) << false;
        QTest::newRow("longer: an excerpt") << 100000 << true;
    }
    void workingTextHasNoLengthLimit()
    {
        const auto [length, excerpt] = fetch<int, bool>("length", "excerpt");
        const QString longText = QString(length - 3, QLatin1Char('x')) + QStringLiteral("end");
        QVERIFY(m_h->drop(QStringLiteral("Combo1"), longText));
        QLineEdit* edit = m_h->combo()->lineEdit();
        QVERIFY(edit->text() == (excerpt ? longText.left(200) + u'\u2026' : longText) && edit->isReadOnly() == excerpt);
        // Kept whole either way: Add stores every character.
        m_h->doubleClick(QStringLiteral("Image2"));
        QCOMPARE(m_h->entries(), QStringList{longText});
    }

    void keysOverAnExcerpt_data()
    {
        addColumns<int, int, QString, bool, QString>("key", "modifiers", "text", "allSelected", "after"); // text: as X gives it
        const QString whole(100000, u'x'), none;
        QTest::newRow("a letter replaces the whole text") << int(Qt::Key_N) << 0 << u"n"_s << true << u"n"_s;
        QTest::newRow("Backspace erases it") << int(Qt::Key_Backspace) << 0 << u"\b"_s << true << none;
        QTest::newRow("Delete erases it") << int(Qt::Key_Delete) << 0 << u"\x7f"_s << true << none;
        QTest::newRow("a character beyond 16 bits replaces it") << 0 << 0 << u"\U0001F600"_s << true << u"\U0001F600"_s;
        QTest::newRow("Ctrl+V pastes over it") << int(Qt::Key_V) << int(Qt::ControlModifier) << u"\x16"_s << true << u"pasted"_s;
        QTest::newRow("a letter over part of it is refused") << int(Qt::Key_N) << 0 << u"n"_s << false << whole;
        QTest::newRow("Ctrl+C keeps it") << int(Qt::Key_C) << int(Qt::ControlModifier) << u"\x03"_s << true << whole;
        QTest::newRow("Enter keeps it") << int(Qt::Key_Return) << 0 << u"\r"_s << true << whole;
        QTest::newRow("Escape keeps it") << int(Qt::Key_Escape) << 0 << u"\x1b"_s << true << whole;
        QTest::newRow("an arrow keeps it") << int(Qt::Key_Left) << 0 << QString() << true << whole;
    }
    void keysOverAnExcerpt()
    {
        const auto [key, modifiers, text, allSelected, after] =
            fetch<int, int, QString, bool, QString>("key", "modifiers", "text", "allSelected", "after");
        QGuiApplication::clipboard()->setText(u"pasted"_s);
        QLineEdit* edit = m_h->combo()->lineEdit();
        // Keys reach the combo box, which has the focus, and the text box's own events are filtered the same way.
        for (QObject* receiver : {static_cast<QObject*>(m_h->combo()), static_cast<QObject*>(edit)}) {
            m_h->combo()->setText(QString(100000, u'x'));
            edit->setSelection(allSelected ? 0 : 1, int(edit->text().size()));
            QKeyEvent press(QEvent::KeyPress, key, Qt::KeyboardModifiers(modifiers), text);
            QApplication::sendEvent(receiver, &press);
            QVERIFY(m_h->working() == after && edit->isReadOnly() == (after.size() > SnippetCombo::DisplayLimit)); // an excerpt until replaced
        }
    }

    void timerEmptiesOnceWithoutPostponing()
    {
        // Two actions 200 ms apart on a shortened timer: the second never postpones the tick.
        m_h->form->Timer1().setInterval(500);
        QVERIFY(m_h->drop(QStringLiteral("Image2"), QStringLiteral("first")));
        QTest::qWait(200);
        const int before = m_h->form->Timer1().remainingTime();
        QVERIFY(m_h->drop(QStringLiteral("Image2"), QStringLiteral("second")) && m_h->form->Timer1().remainingTime() <= before);
        QTRY_COMPARE_WITH_TIMEOUT(m_h->message(), QString(), 2000);
        QVERIFY(!m_h->form->Timer1().isActive());
    }

    void addTwiceThenCreate()
    {
        // The dialogs shown, each as "title|file name|start folder|filter|flags".
        const auto dialogs = [this] {
            QStringList shown;
            for (const SaveDialog::Options& o : std::as_const(m_h->platform.saveDialog.shown))
                shown << QStringList{o.title, o.fileName, o.initDir, o.filter, QString::number(o.flags)}.join(u'|');
            return shown;
        };
        const QString target = m_h->dir.filePath(u"a.txt"_s), txt = u"Text Documents (*.txt)|*.txt"_s;
        write(u"first, with a comma"_s, u"mAdd"_s, target);
        QVERIFY(m_h->message() == u"Text written"_s && m_h->working().isEmpty() && m_h->form->TargetFile() == target);
        QCOMPARE(m_h->platform.settings.log,
                 (QStringList{u"read LastFile"_s, u"read Filename"_s, u"write LastFile="_s + target, u"write Filename=a.txt"_s}));

        // The next Add proposes the remembered name and folder; Create always says Untitled.
        // Quotes doubled, UTF-8 without a BOM, blanks and line break kept as they are.
        write(u"second \"quoted\" \u00E9\r\n x "_s, u"mAdd"_s, target);
        QCOMPARE(readBytes(target), QByteArray("\"first, with a comma\"\r\n\"second \"\"quoted\"\" \xC3\xA9\r\n x \"\r\n"));
        m_h->platform.settings.log.clear();
        write(u"only"_s, u"mCreate"_s, target);
        QCOMPARE(m_h->platform.settings.log, (QStringList{u"read LastFile"_s, u"write LastFile="_s + target}));
        QVERIFY(readBytes(target) == "\"only\"\r\n"_ba && m_h->working().isEmpty());     // written: the box empties
        QCOMPARE(QDir(m_h->dir.path()).entryList(QDir::Files), QStringList{u"a.txt"_s}); // nothing left beside it
        // With nothing remembered the dialog starts at the root of the program's volume.
        QCOMPARE(dialogs(), (QStringList{u"Add To...|Untitled|%1|%2|4"_s.arg(QStorageInfo(m_h->dir.path()).rootPath(), txt),
                                         u"Add To...|a.txt|%1|%2|4"_s.arg(target, txt), u"Save As...|Untitled|%1|%2|6"_s.arg(target, txt)}));
    }

    void writesNothing_data()
    {
        // dropped: null for a double-click; command: the menu item chosen, empty to dismiss the menu; cancel: else the dialog names
        // a file in a missing folder; timer: Timer1 runs; writtenSettings: stored after a confirmed dialog, in sorted order
        addColumns<QString, QString, QString, bool, QStringList, QString, QString, bool, QStringList>(
            "box", "dropped", "command", "cancel", "menus", "pending", "message", "timer", "writtenSettings");
        const QString keep = u"keep me"_s, none;
        const QStringList pop2{u"pop2"_s};
        // clang-format off
        QTest::newRow("add, cancel") << keep << none << "mAdd" << true << pop2 << keep << "" << true << QStringList();
        QTest::newRow("add, folder missing") << keep << none << "mAdd" << false << pop2 << keep << "" << true << QStringList{u"Filename"_s, u"LastFile"_s};
        QTest::newRow("create, cancel") << keep << none << "mCreate" << true << pop2 << keep << "" << true << QStringList();
        QTest::newRow("create, folder missing") << keep << none << "mCreate" << false << pop2 << keep << "" << true << QStringList{u"LastFile"_s};
        QTest::newRow("empty box: no menu") << "" << none << "mAdd" << false << QStringList() << "" << "" << false << QStringList();
        QTest::newRow("menu dismissed after a drop: the hint stays") << "box" << "dropped" << "" << false << pop2 << "dropped" << "Drop here to write to file" << false << QStringList();
        // clang-format on
    }

    void writesNothing()
    {
        auto [box, dropped, command, cancel] = fetch<QString, QString, QString, bool>("box", "dropped", "command", "cancel");
        const QString target = m_h->dir.filePath(u"missing/folder/x.txt"_s);
        m_h->combo()->setText(box);
        m_h->platform.menus.choices = {command};
        m_h->platform.saveDialog.answers = {cancel ? std::nullopt : std::optional<QString>(target)};
        if (!command.isEmpty() && !cancel && !box.isEmpty()) // the log keeps the reason of a failed write
            QTest::ignoreMessage(QtWarningMsg, QRegularExpression(u"^Could not .* \"%1\": "_s.arg(QRegularExpression::escape(target))));
        openMenuAfter([&] {
            if (dropped.isNull())
                m_h->doubleClick(u"Image4"_s);
            else
                QVERIFY(m_h->drop(u"Image4"_s, dropped));
        });
        QTEST(m_h->platform.menus.shownMenus, "menus");
        QCOMPARE(m_h->working(), box);
        QTEST(m_h->form->PendingText(), "pending");
        QTEST(m_h->message(), "message");
        QTEST(m_h->form->Timer1().isActive(), "timer");
        QVERIFY(!QFile::exists(target));
        QTEST(m_h->platform.settings.values.keys(), "writtenSettings");
    }

    void keysDoWhatTheMouseDoes_data()
    {
        // tabs: from the box, the icons left to right, then the panels
        addColumns<QString, int, QString, QString>("control", "tabs", "way", "text");

        // The accessible press reaches the same handler on every icon and panel: one of each shows it.
        // clang-format off
        QTest::newRow("Add by action") << "Image2" << 1 << "action" << "new";
        QTest::newRow("Remove by keypad Enter") << "Image3" << 2 << "Enter" << "b";
        QTest::newRow("Copy by Return") << "Image1" << 3 << "Return" << "copied";
        QTest::newRow("Write by Space") << "Image4" << 4 << "Space" << "to a file";
        QTest::newRow("shrink by action") << "Panel1" << 5 << "action" << "x";
        QTest::newRow("time stamp by Space") << "Panel2" << 6 << "Space" << "x";
        QTest::newRow("Shift+Space adds nothing") << "Image2" << 1 << "Shift+Space" << "new";
        QTest::newRow("Ctrl+Space stamps no time") << "Panel2" << 6 << "Ctrl+Space" << "x";
        // clang-format on
    }

    void keysDoWhatTheMouseDoes()
    {
        auto [control, tabs, way, text] = fetch<QString, int, QString, QString>("control", "tabs", "way", "text");

        MainWindowHarness mouse;
        showWith(mouse, text);
        // With a modifier the key is another one: nothing happens.
        if (!way.contains(u'+'))
            control.startsWith(u"Panel"_s) ? QTest::mouseClick(mouse.child(control), Qt::LeftButton) : mouse.doubleClick(control);
        QCoreApplication::processEvents(); // the Write menu opens once the click is handled
        const QStringList expected = outcome(mouse);

        showWith(*m_h, text);
        QVERIFY(QTest::qWaitForWindowActive(m_h->form.get()));
        m_h->combo()->setFocus();
        m_h->combo()->lineEdit()->selectAll();
        for (int i = 0; i < tabs; ++i)
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        QWidget* focused = QApplication::focusWidget();
        QVERIFY(focused->objectName() == control && !m_h->combo()->lineEdit()->hasSelectedText()); // the box's selection goes with its focus
        // The focus shows as a frame drawn on the control.
        QVERIFY(focused->grab().toImage() != mouse.child(control)->grab().toImage());
        if (way == u"action"_s) {
            QAccessibleInterface* accessible = QAccessible::queryAccessibleInterface(focused);
            QCOMPARE(accessible->role(), QAccessible::Button);
            // Screen readers that offer one action offer the first.
            QCOMPARE(accessible->actionInterface()->actionNames().value(0), QAccessibleActionInterface::pressAction());
            accessible->actionInterface()->doAction(QAccessibleActionInterface::pressAction());
        } else {
            const QKeyCombination key = QKeySequence(way)[0];
            QKeyEvent press(QEvent::KeyPress, key.key(), key.keyboardModifiers() | (way == u"Enter"_s ? Qt::KeypadModifier : Qt::NoModifier));
            QApplication::sendEvent(focused, &press);
            QVERIFY(press.isAccepted() || way.contains(u'+')); // a key that pressed the control goes no further
        }
        QCoreApplication::processEvents();
        QCOMPARE(outcome(*m_h), expected);
    }

    void boxKeepsItsOwnKeys()
    {
        showWith(*m_h, QString());
        QVERIFY(QTest::qWaitForWindowActive(m_h->form.get()));
        m_h->combo()->setFocus();
        QStringList before = outcome(*m_h);
        // The activation keys of the icons and panels stay the box's own.
        for (const auto key : {Qt::Key_A, Qt::Key_Space, Qt::Key_B, Qt::Key_Return, Qt::Key_Enter})
            QTest::keyClick(QApplication::focusWidget(), key);
        QCOMPARE(QApplication::focusWidget(), m_h->combo());
        // Only the text changed: no entry added, no message, no shrink.
        before[1] = u"a b"_s;
        QCOMPARE(outcome(*m_h), before);
    }

    void dropDownList_data()
    {
        addColumns<QString, int>("way", "row");
        QTest::newRow("mouse on an entry too long to show whole") << u"mouse"_s << 3;
        QTest::newRow("Down and Return in the open list") << u"list keys"_s << 2;
        QTest::newRow("Down in the closed box") << u"box keys"_s << 1;
    }

    void dropDownList()
    {
        auto [way, row] = fetch<QString, int>("way", "row");
        const QStringList entries{u"b, first"_s, u"a second"_s, u"two\r\nlines"_s, QString(SnippetCombo::DisplayLimit, u'x') + u"end"_s};
        m_h->form->list().appendAll(entries);
        m_h->form->show();
        QVERIFY(QTest::qWaitForWindowActive(m_h->form.get()));
        SnippetCombo* combo = m_h->combo();
        QAbstractItemView* list = combo->view();
        QWidget* keys = combo;
        if (way != u"box keys"_s) {
            QTest::keyClick(combo, Qt::Key_Down, Qt::AltModifier);
            QTRY_VERIFY(list->isVisible());
            QStringList rows; // as the list shows them, in list order
            for (int i = 0; i < list->model()->rowCount(); ++i)
                rows << list->model()->index(i, 0).data().toString();
            QCOMPARE(rows, entries);
            keys = QApplication::activePopupWidget()->focusWidget();
        }
        if (way == u"mouse"_s) {
            const QPoint at(list->viewport()->width() / 2, list->visualRect(list->model()->index(row, 0)).center().y());
            QTest::mouseMove(list->viewport(), at);
            QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, at);
        } else {
            const auto current = [&] { return way == u"box keys"_s ? combo->currentIndex() : list->currentIndex().row(); };
            for (int i = 0; i < entries.size() && current() != row; ++i)
                QTest::keyClick(keys, Qt::Key_Down);
            QCOMPARE(current(), row);
            if (way == u"list keys"_s)
                QTest::keyClick(keys, Qt::Key_Return);
        }
        // The box holds the whole entry; picking changes nothing in the list.
        QTRY_VERIFY(!list->isVisible());
        QCOMPARE(m_h->entries(), entries);
        // A list change unties the box from the picked row and leaves its text alone.
        m_h->form->list().removeAt(row);
        QVERIFY(combo->text() == entries.at(row) && combo->currentIndex() == -1);
    }

    void filterKeys_data()
    {
        addColumns<QList<int>, QString, bool>("keys", "text", "open");

        // Rows: the long entry and "Helm" start with the text, "say hello" contains it.
        QTest::newRow("typing goes on in the box") << QList<int>{Qt::Key_M} << u"hElm"_s << true;
        QTest::newRow("no match closes it") << QList<int>{Qt::Key_Z} << u"hElz"_s << false;
        QTest::newRow("Backspace widens in the box") << QList<int>{Qt::Key_Backspace} << u"hE"_s << true;
        QTest::newRow("Down, Enter picks the first row whole") << QList<int>{Qt::Key_Down, Qt::Key_Return} << m_long << false;
        QTest::newRow("Down twice, Up picks the first row") << QList<int>{Qt::Key_Down, Qt::Key_Down, Qt::Key_Up, Qt::Key_Enter} << m_long << false;
        QTest::newRow("PageDown stops at the last row") << QList<int>{Qt::Key_PageDown, Qt::Key_Return} << u"say hello"_s << false;
        QTest::newRow("Up above the first row chooses none") << QList<int>{Qt::Key_Down, Qt::Key_Up, Qt::Key_Return} << u"hEl"_s << false;
        // Enter on a typed entry, with no row chosen, ties the box to that entry: Down goes on from it, not from the row picked before.
        QTest::newRow("Enter on a typed entry, Down steps from it")
            << QList<int>(3, Qt::Key_Backspace) + QList<int>{Qt::Key_O, Qt::Key_T, Qt::Key_H, Qt::Key_E, Qt::Key_R, Qt::Key_Return, Qt::Key_Down}
            << u"Helm"_s << false;
        QTest::newRow("Escape closes and keeps the text") << QList<int>{Qt::Key_Escape} << u"hEl"_s << false;
    }

    void filterKeys()
    {
        openFilter(3); // a row picked before: the keys must not step from it
        auto [keys, text] = fetch<QList<int>, QString>("keys", "text");
        QCOMPARE(m_popup->entries(), QStringList({m_long, u"Helm"_s, u"say hello"_s}));
        QVERIFY(m_popup->isVisible() && !m_popup->font().bold() && m_h->combo()->font().bold() &&
                m_popup->font().pointSizeF() == m_h->combo()->font().pointSizeF()); // rows in the box's face and size, not bold
        // A row shows the first characters only, CR LF as one mark; the pop-up is never over the targets below the box.
        const QString shown = m_popup->model()->index(0, 0).data().toString();
        QVERIFY(shown.size() == FilterPopup::DisplayChars - 1 && shown.startsWith(u"help line one\u23CEline two\u23CExx"_s));
        QVERIFY(!m_popup->geometry().intersects(QRect(m_h->child(u"Image2"_s)->mapToGlobal(QPoint(0, 0)), m_h->child(u"Image2"_s)->size())));
        for (int key : keys)
            QTest::keyClick(m_h->combo(), Qt::Key(key));
        QCOMPARE(m_h->combo()->text(), text);
        QTEST(m_popup->isVisible(), "open");
        QVERIFY(m_h->combo()->lineEdit()->hasFocus() && m_h->combo()->currentIndex() == 3); // a pick ties the box to no other row
    }

    void filterScrolledDownShowsItsTopAgain()
    {
        openFilter();
        // A long list scrolled down shows its top again once the choice goes above the first row.
        QStringList more;
        for (int i = 0; i < 2 * FilterPopup::VisibleRows; ++i)
            more << u"help %1"_s.arg(i);
        m_h->form->list().appendAll(more);
        QTest::keyClick(m_h->combo(), Qt::Key_P);
        for (auto key : {Qt::Key_PageDown, Qt::Key_PageDown, Qt::Key_PageUp, Qt::Key_PageUp})
            QTest::keyClick(m_h->combo(), key);
        QVERIFY(!m_popup->currentIndex().isValid() && m_popup->indexAt(QPoint(1, 1)).row() == 0);
        for (auto key : {Qt::Key_PageDown, Qt::Key_PageDown, Qt::Key_Space}) // a new list opens at its top as well
            QTest::keyClick(m_h->combo(), key);
        QTRY_COMPARE(m_popup->indexAt(QPoint(1, 1)).row(), 0);
    }

    void filterClickPicksARowAndAClickElsewhereGoesThrough()
    {
        openFilter();
        const QPoint helm = m_popup->visualRect(m_popup->model()->index(1, 0)).center();
        QTest::mouseMove(m_popup->viewport(), helm);
        QTest::mouseClick(m_popup->viewport(), Qt::RightButton, {}, helm);
        QVERIFY(m_popup->isVisible());
        QTest::mouseClick(m_popup->viewport(), Qt::LeftButton, {}, helm);
        QVERIFY(m_h->combo()->text() == u"Helm"_s && !m_popup->isVisible());
        // Enter takes the row under the mouse.
        m_h->combo()->setText(u"he"_s);
        QTest::keyClick(m_h->combo(), Qt::Key_L);
        const QPoint hello = m_popup->visualRect(m_popup->model()->index(2, 0)).center();
        QTest::mouseMove(m_popup->windowHandle(), m_popup->viewport()->mapTo(m_popup, hello)); // a move without a button
        QTest::keyClick(m_h->combo(), Qt::Key_Return);
        QCOMPARE(m_h->combo()->text(), u"say hello"_s);

        QTest::keyClick(m_h->combo(), Qt::Key_S);
        QTest::keyClick(m_h->combo(), Qt::Key_Backspace);
        QVERIFY(m_popup->isVisible());
        // The first press on Add closes the pop-up; the double-click still adds the typed text.
        m_h->combo()->setText(u"hel"_s);
        QTest::keyClick(m_h->combo(), Qt::Key_P);
        QVERIFY(m_popup->isVisible());
        QTest::mousePress(m_h->child(u"Image2"_s), Qt::LeftButton);
        QVERIFY(!m_popup->isVisible()); // a press on a control that takes no focus
        QTest::mouseRelease(m_h->child(u"Image2"_s), Qt::LeftButton);
        QTest::mouseDClick(m_h->child(u"Image2"_s), Qt::LeftButton);
        QCOMPARE(m_h->form->list().entryAt(4), u"help"_s);
        // Moving the window leaves the pop-up behind, so it closes.
        QTest::keyClick(m_h->combo(), Qt::Key_H);
        QVERIFY(m_popup->isVisible());
        m_h->form->move(m_h->form->pos() + QPoint(20, 20));
        QTRY_VERIFY(!m_popup->isVisible());
    }
};

QTEST_MAIN(TargetActionsTest)
#include "tst_TargetActions.moc"
