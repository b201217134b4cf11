#include "MainWindowHarness.h"

#include <QDrag>
#include <QMimeData>
#include <QtTest>

using namespace Qt::Literals::StringLiterals;

/** Copy, Add and Remove by double-click and by drop, the drag hints and the message timer. */
class TargetActionsTest : public QObject
{
    Q_OBJECT

private:
    std::unique_ptr<MainWindowHarness> m_h;

private Q_SLOTS:
    void init() { m_h = std::make_unique<MainWindowHarness>(); }

    void sixPaths_data()
    {
        QTest::addColumn<QString>("icon");
        QTest::addColumn<QString>("dropped"); // null: a double-click on the icon
        QTest::addColumn<QString>("box");
        QTest::addColumn<QString>("clipboard");
        QTest::addColumn<QStringList>("list");
        QTest::addColumn<QString>("clipboardAfter");
        QTest::addColumn<QStringList>("listAfter");
        QTest::addColumn<QString>("messageAfter");
        QTest::addColumn<QString>("boxAfter");

        const QString none;
        const QString e = QStringLiteral("");
        const QStringList ab{QStringLiteral("a"), QStringLiteral("b")};
        const QStringList abc = ab + QStringList{u"c"_s};
        const QString copied = QStringLiteral("Text copied to clipboard");
        const QString added = QStringLiteral("Text added");
        const QString removed = QStringLiteral("Text removed");
        const QString multi = QStringLiteral("line one\r\nline two\ttab");
        // clang-format off
        QTest::newRow("copy click") << "Image1" << none << "hi" << "old" << ab << "hi" << ab << copied << e;
        QTest::newRow("copy click equal to clipboard") << "Image1" << none << "hi" << "hi" << ab << "hi" << ab << e << e;
        QTest::newRow("copy click empty refused") << "Image1" << none << e << "old" << ab << "old" << ab << e << e;
        QTest::newRow("add click") << "Image2" << none << "c" << e << ab << e << abc << added << e;
        QTest::newRow("add click to an empty list") << "Image2" << none << "c" << e << QStringList() << e << QStringList{u"c"_s} << added << e;
        QTest::newRow("add click listed refused") << "Image2" << none << "b" << e << ab << e << ab << e << e;
        QTest::newRow("add click empty refused") << "Image2" << none << e << e << ab << e << ab << e << e;
        QTest::newRow("add click keeps every character") << "Image2" << none << multi << e << ab << e << ab + QStringList{multi} << added << e;
        QTest::newRow("remove click keeps the box") << "Image3" << none << "a" << e << ab << e << QStringList{u"b"_s} << removed << "a";
        QTest::newRow("remove click takes the first") << "Image3" << none << "a" << e << QStringList{u"x"_s, u"a"_s, u"a"_s} << e << QStringList{u"x"_s, u"a"_s} << removed << "a";
        QTest::newRow("remove click unlisted") << "Image3" << none << "z" << e << ab << e << ab << e << "z";
        QTest::newRow("remove click empty refused") << "Image3" << none << e << e << QStringList{e} << e << QStringList{e} << e << e;
        QTest::newRow("copy drop") << "Image1" << "hi" << "box" << "old" << ab << "hi" << ab << copied << "box";
        QTest::newRow("copy drop equal to clipboard") << "Image1" << "hi" << "box" << "hi" << ab << "hi" << ab << "Drop here to copy to clipboard" << "box";
        QTest::newRow("copy drop empty clears") << "Image1" << e << "box" << "old" << ab << e << ab << copied << "box";
        QTest::newRow("add drop") << "Image2" << "c" << "box" << e << ab << e << abc << added << "box";
        QTest::newRow("add drop listed") << "Image2" << "a" << "box" << e << ab << e << ab << "Drop here to add to Quippet" << "box";
        QTest::newRow("add drop empty") << "Image2" << e << "box" << e << ab << e << ab + QStringList{e} << added << "box";
        QTest::newRow("add drop second empty") << "Image2" << e << "box" << e << QStringList{e} << e << QStringList{e} << "Drop here to add to Quippet" << "box";
        QTest::newRow("remove drop uses the dropped text") << "Image3" << "b" << "a" << e << ab << e << QStringList{u"a"_s} << removed << "a";
        QTest::newRow("remove empty drop finds an empty entry") << "Image3" << e << "x" << e << QStringList{e, u"x"_s} << e << QStringList{u"x"_s} << removed << "x";
        QTest::newRow("remove drop on an empty list") << "Image3" << "a" << "a" << e << QStringList() << e << QStringList() << "Drop here to remove from Quippet" << "a";
        QTest::newRow("remove unlisted drop leaves the hint") << "Image3" << "zz" << "a" << e << ab << e << ab << "Drop here to remove from Quippet" << "a";
        QTest::newRow("combo drop replaces the box") << "Combo1" << multi << "box" << e << ab << e << ab << "Drop into textbox" << multi;
        // clang-format on
    }

    void sixPaths()
    {
        QFETCH(QString, icon);
        QFETCH(QString, dropped);
        QFETCH(QString, box);
        QFETCH(QString, clipboard);
        QFETCH(QStringList, list);
        m_h->setList(list);
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

    void fullListRefusesAdd()
    {
        QStringList many;
        for (int i = 0; i < 32767; ++i)
            many << QString::number(i);
        m_h->setList(many);
        m_h->combo()->setText(QStringLiteral("new"));
        m_h->doubleClick(QStringLiteral("Image2"));
        QCOMPARE(m_h->message(), QStringLiteral("List is full"));
        QVERIFY(m_h->drop(QStringLiteral("Image2"), QStringLiteral("other")));
        QCOMPARE(m_h->form->list().count(), 32767);
        QCOMPARE(m_h->message(), QStringLiteral("List is full"));
    }

    void clickSelectsWholeText_data()
    {
        QTest::addColumn<QString>("control");
        QTest::addColumn<bool>("selects");
        for (const char* name : {"Image1", "Image2", "Image3", "Image4", "Label1", "Label2", "Label3"})
            QTest::newRow(name) << name << true;
        QTest::newRow("Label4 does nothing") << "Label4" << false;
    }

    void clickSelectsWholeText()
    {
        QFETCH(QString, control);
        QFETCH(bool, selects);
        m_h->combo()->setText(QStringLiteral("some text"));
        m_h->combo()->lineEdit()->deselect();
        QTest::mouseClick(m_h->child(control), Qt::LeftButton);
        QCOMPARE(m_h->combo()->lineEdit()->selectedText(), selects ? u"some text"_s : QString());
        QCOMPARE(m_h->message(), QString());
        QVERIFY(!m_h->form->Timer1().isActive());
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
        QTest::addColumn<QString>("control");
        QTest::addColumn<QString>("hint");
        QTest::addColumn<bool>("startsTimer");
        // clang-format off
        QTest::newRow("combo box") << "Combo1" << "Drop into textbox" << true;
        QTest::newRow("copy icon") << "Image1" << "Drop here to copy to clipboard" << false;
        QTest::newRow("add icon") << "Image2" << "Drop here to add to Quippet" << false;
        QTest::newRow("remove icon") << "Image3" << "Drop here to remove from Quippet" << false;
        QTest::newRow("write icon") << "Image4" << "Drop here to write to file" << false;
        // clang-format on
    }

    void dragHints()
    {
        QFETCH(QString, control);
        QFETCH(QString, hint);
        QFETCH(bool, startsTimer);
        QWidget* target = m_h->child(control);
        QMimeData mime;
        mime.setText(QStringLiteral("dragged"));
        QDragEnterEvent enter(QPoint(5, 5), Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);
        QCoreApplication::sendEvent(target, &enter);
        QVERIFY(enter.isAccepted());
        QCOMPARE(m_h->message(), hint);
        QCOMPARE(m_h->form->Timer1().isActive(), startsTimer);

        // Leaving empties the panel, also over an action message, and leaves the timer alone.
        m_h->statusBar()->setPanelText(1, QStringLiteral("Text added"));
        QDragLeaveEvent leave;
        QCoreApplication::sendEvent(target, &leave);
        QCOMPARE(m_h->message(), QString());
        QCOMPARE(m_h->form->Timer1().isActive(), startsTimer);

        // A drag without text is refused and changes nothing.
        m_h->setList({QStringLiteral("a")});
        m_h->combo()->setText(QStringLiteral("a"));
        QMimeData files;
        files.setUrls({QUrl::fromLocalFile(QStringLiteral("/tmp/picture.png"))});
        QVERIFY(!MainWindowHarness::dragAndDrop(target, files));
        QCoreApplication::processEvents(); // the Write menu would open after the drop
        QCOMPARE(m_h->entries(), QStringList{QStringLiteral("a")});
        QCOMPARE(m_h->working(), QStringLiteral("a"));
        QCOMPARE(m_h->message(), QString());
        QVERIFY(m_h->platform.menus.shownMenus.isEmpty());
    }

    void workingTextHasNoLengthLimit()
    {
        const QString longText = QString(100000, QLatin1Char('x')) + QStringLiteral("end");
        m_h->setList({});
        QVERIFY(m_h->drop(QStringLiteral("Combo1"), longText));
        // Shown as an excerpt, kept whole: Add stores every character.
        QVERIFY(m_h->combo()->showsExcerpt());
        QVERIFY(m_h->combo()->lineEdit()->text().size() < 1000);
        m_h->doubleClick(QStringLiteral("Image2"));
        QCOMPARE(m_h->entries(), QStringList{longText});

        // Typing over the fully selected excerpt replaces the whole text.
        QVERIFY(m_h->drop(QStringLiteral("Combo1"), longText));
        // Keys go where real ones do: to the combo box, which has the focus.
        QTest::keyClicks(m_h->combo(), QStringLiteral("new"));
        QCOMPARE(m_h->working(), QStringLiteral("new"));
        QVERIFY(!m_h->combo()->showsExcerpt());
    }

    void comboDragCarriesWholeText()
    {
        m_h->combo()->setText(QStringLiteral("whole working text"));
        QMimeData mime;
        Qt::DropActions allowed = Qt::CopyAction | Qt::MoveAction;
        Q_EMIT m_h->combo()->dragStarting(&mime, &allowed);
        QCOMPARE(mime.text(), QStringLiteral("whole working text"));
        QCOMPARE(allowed, Qt::DropActions(Qt::MoveAction));
        QCOMPARE(m_h->working(), QStringLiteral("whole working text"));
    }

    void copyIconDragsTheClipboardText()
    {
        m_h->platform.clipboard.content = QStringLiteral("from the clipboard");
        m_h->combo()->setText(QStringLiteral("box"));
        QWidget* icon = m_h->child(QStringLiteral("Image1"));
        m_h->form->show();
        QVERIFY(QTest::qWaitForWindowExposed(m_h->form.get()));
        QString dragged = QStringLiteral("<no drag>");
        QTimer::singleShot(0, icon, [&] {
            if (auto* drag = icon->findChild<QDrag*>())
                dragged = drag->mimeData()->text();
            QKeyEvent escape(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier);
            QCoreApplication::sendEvent(icon, &escape);
        });
        const QPoint at = icon->rect().center();
        QTest::mousePress(icon, Qt::LeftButton, {}, at);
        QMouseEvent move(QEvent::MouseMove, at + QPoint(30, 0), icon->mapToGlobal(at + QPoint(30, 0)), Qt::NoButton, Qt::LeftButton, Qt::NoModifier);
        QCoreApplication::sendEvent(icon, &move);
        QTRY_COMPARE(dragged, QStringLiteral("from the clipboard"));
        QCOMPARE(m_h->working(), QStringLiteral("box"));
    }

    void timerEmptiesOnceWithoutPostponing()
    {
        // Two actions 200 ms apart on a shortened timer: the second never postpones the tick.
        m_h->form->Timer1().setInterval(500);
        m_h->setList({});
        QVERIFY(m_h->drop(QStringLiteral("Image2"), QStringLiteral("first")));
        QTest::qWait(200);
        const int before = m_h->form->Timer1().remainingTime();
        QVERIFY(m_h->drop(QStringLiteral("Image2"), QStringLiteral("second")));
        QCOMPARE(m_h->message(), QStringLiteral("Text added"));
        QVERIFY(m_h->form->Timer1().remainingTime() <= before);
        QTRY_COMPARE_WITH_TIMEOUT(m_h->message(), QString(), 2000);
        QVERIFY(!m_h->form->Timer1().isActive());
    }
};

QTEST_MAIN(TargetActionsTest)
#include "tst_TargetActions.moc"
