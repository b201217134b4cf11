#include "FakePlatform.h"
#include "Form1.h"
#include "PanelStatusBar.h"
#include "SnippetCombo.h"
#include "TargetIcon.h"
#include "UserInput.h"

#include <QLineEdit>
#include <QMimeData>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QtTest>

/** Copy, Add and Remove by double-click and by drop, the drag hints and the message timer. */
class TargetActionsTest : public QObject
{
    Q_OBJECT

private:
    std::unique_ptr<FakePlatform> m_platform;
    std::unique_ptr<Form1> m_form;

    SnippetCombo* combo() const
    {
        return m_form->findChild<SnippetCombo*>(QStringLiteral("Combo1"));
    }
    QWidget* widget(const QString& name) const { return m_form->findChild<QWidget*>(name); }
    QString message() const
    {
        return m_form->findChild<PanelStatusBar*>(QStringLiteral("StatusBar1"))->panelText(1);
    }
    QString working() const { return combo()->text(); }

    void setList(const QStringList& entries)
    {
        while (m_form->list().count() > 0)
            m_form->list().removeAt(0);
        m_form->list().appendAll(entries);
    }

private Q_SLOTS:
    void init()
    {
        m_platform = std::make_unique<FakePlatform>();
        m_form = std::make_unique<Form1>(m_platform->services());
    }

    void doubleClickActions_data()
    {
        QTest::addColumn<QString>("image");
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("clipboard");
        QTest::addColumn<QStringList>("list");
        QTest::addColumn<QString>("expectedClipboard");
        QTest::addColumn<QStringList>("expectedList");
        QTest::addColumn<QString>("expectedMessage");
        QTest::addColumn<QString>("expectedText");

        const QStringList ab{QStringLiteral("a"), QStringLiteral("b")};
        QTest::newRow("copy new text") << "Image1"
                                       << "hi"
                                       << "old" << ab << "hi" << ab << "Text copied to clipboard"
                                       << "";
        QTest::newRow("copy into empty clipboard")
            << "Image1"
            << "hi"
            << "" << ab << "hi" << ab << "Text copied to clipboard"
            << "";
        QTest::newRow("copy text equal to clipboard") << "Image1"
                                                      << "hi"
                                                      << "hi" << ab << "hi" << ab << ""
                                                      << "";
        QTest::newRow("copy empty text refused") << "Image1"
                                                 << ""
                                                 << "old" << ab << "old" << ab << ""
                                                 << "";
        QTest::newRow("add new text")
            << "Image2"
            << "c"
            << "" << ab << ""
            << QStringList{QStringLiteral("a"), QStringLiteral("b"), QStringLiteral("c")}
            << "Text added"
            << "";
        QTest::newRow("add listed text refused") << "Image2"
                                                 << "b"
                                                 << "" << ab << "" << ab << ""
                                                 << "";
        QTest::newRow("add empty text refused") << "Image2"
                                                << ""
                                                << "" << ab << "" << ab << ""
                                                << "";
        QTest::newRow("add differs by case")
            << "Image2"
            << "A"
            << "" << ab << ""
            << QStringList{QStringLiteral("a"), QStringLiteral("b"), QStringLiteral("A")}
            << "Text added"
            << "";
        QTest::newRow("add differs by trailing blank")
            << "Image2"
            << "a "
            << "" << ab << ""
            << QStringList{QStringLiteral("a"), QStringLiteral("b"), QStringLiteral("a ")}
            << "Text added"
            << "";
        QTest::newRow("add multi-line text keeps every character")
            << "Image2"
            << "line one\r\nline two\ttab"
            << "" << ab << ""
            << QStringList{QStringLiteral("a"), QStringLiteral("b"),
                           QStringLiteral("line one\r\nline two\ttab")}
            << "Text added"
            << "";
        QTest::newRow("remove listed text keeps it in the box")
            << "Image3"
            << "a"
            << "" << ab << "" << QStringList{QStringLiteral("b")} << "Text removed"
            << "a";
        QTest::newRow("remove takes the first of two")
            << "Image3"
            << "a"
            << "" << QStringList{QStringLiteral("x"), QStringLiteral("a"), QStringLiteral("a")}
            << "" << QStringList{QStringLiteral("x"), QStringLiteral("a")} << "Text removed"
            << "a";
        QTest::newRow("remove unlisted text") << "Image3"
                                              << "z"
                                              << "" << ab << "" << ab << ""
                                              << "z";
        QTest::newRow("remove empty text refused even when listed")
            << "Image3"
            << ""
            << "" << QStringList{QString()} << "" << QStringList{QString()} << ""
            << "";
    }

    void doubleClickActions()
    {
        QFETCH(QString, image);
        QFETCH(QString, text);
        QFETCH(QString, clipboard);
        QFETCH(QStringList, list);
        QFETCH(QString, expectedClipboard);
        QFETCH(QStringList, expectedList);
        QFETCH(QString, expectedMessage);
        QFETCH(QString, expectedText);

        setList(list);
        m_platform->clipboard.content = clipboard;
        combo()->setText(text);
        UserInput::doubleClick(widget(image));

        QCOMPARE(m_platform->clipboard.content, expectedClipboard);
        QCOMPARE(m_form->list().entries(), expectedList);
        QCOMPARE(message(), expectedMessage);
        QCOMPARE(working(), expectedText);
        QVERIFY(m_form->Timer1().isActive());
        if (expectedClipboard != clipboard)
            QCOMPARE(m_platform->clipboard.log,
                     (QStringList{QStringLiteral("clear"), QStringLiteral("set ") + text}));
        else
            QVERIFY(m_platform->clipboard.log.isEmpty());
    }

    void dropActions_data()
    {
        QTest::addColumn<QString>("image");
        QTest::addColumn<QString>("dropped");
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("clipboard");
        QTest::addColumn<QStringList>("list");
        QTest::addColumn<QString>("expectedClipboard");
        QTest::addColumn<QStringList>("expectedList");
        QTest::addColumn<QString>("expectedMessage");

        const QStringList ab{QStringLiteral("a"), QStringLiteral("b")};
        QTest::newRow("copy dropped text")
            << "Image1"
            << "hi"
            << "box"
            << "old" << ab << "hi" << ab << "Text copied to clipboard";
        QTest::newRow("copy dropped text equal to clipboard leaves the hint")
            << "Image1"
            << "hi"
            << "box"
            << "hi" << ab << "hi" << ab << "Drop here to copy to clipboard";
        QTest::newRow("copy empty drop clears the clipboard")
            << "Image1"
            << ""
            << "box"
            << "old" << ab << "" << ab << "Text copied to clipboard";
        QTest::newRow("add dropped text")
            << "Image2"
            << "c"
            << "box"
            << "" << ab << ""
            << QStringList{QStringLiteral("a"), QStringLiteral("b"), QStringLiteral("c")}
            << "Text added";
        QTest::newRow("add listed drop leaves the hint")
            << "Image2"
            << "a"
            << "box"
            << "" << ab << "" << ab << "Drop here to add to Quippet";
        QTest::newRow("add empty drop appends an empty entry")
            << "Image2"
            << ""
            << "box"
            << "" << ab << "" << QStringList{QStringLiteral("a"), QStringLiteral("b"), QString()}
            << "Text added";
        QTest::newRow("add second empty drop refused")
            << "Image2"
            << ""
            << "box"
            << "" << QStringList{QString()} << "" << QStringList{QString()}
            << "Drop here to add to Quippet";
        QTest::newRow("remove drop uses the dropped text, not the box")
            << "Image3"
            << "b"
            << "a"
            << "" << ab << "" << QStringList{QStringLiteral("a")} << "Text removed";
        QTest::newRow("remove empty drop finds an empty entry")
            << "Image3"
            << ""
            << "x"
            << "" << QStringList{QString(), QStringLiteral("x")} << ""
            << QStringList{QStringLiteral("x")} << "Text removed";
        QTest::newRow("remove unlisted drop leaves the hint")
            << "Image3"
            << "zz"
            << "a"
            << "" << ab << "" << ab << "Drop here to remove from Quippet";
    }

    void dropActions()
    {
        QFETCH(QString, image);
        QFETCH(QString, dropped);
        QFETCH(QString, text);
        QFETCH(QString, clipboard);
        QFETCH(QStringList, list);
        QFETCH(QString, expectedClipboard);
        QFETCH(QStringList, expectedList);
        QFETCH(QString, expectedMessage);

        setList(list);
        m_platform->clipboard.content = clipboard;
        combo()->setText(text);
        QVERIFY(UserInput::dropText(widget(image), dropped));

        QCOMPARE(m_platform->clipboard.content, expectedClipboard);
        QCOMPARE(m_form->list().entries(), expectedList);
        QCOMPARE(message(), expectedMessage);
        QCOMPARE(working(), text);
        QVERIFY(m_form->Timer1().isActive());
    }

    void fullListRefusesAdd()
    {
        QStringList many;
        for (int i = 0; i < 32767; ++i)
            many << QString::number(i);
        setList(many);
        combo()->setText(QStringLiteral("new"));
        UserInput::doubleClick(widget(QStringLiteral("Image2")));
        QCOMPARE(m_form->list().count(), 32767);
        QCOMPARE(message(), QStringLiteral("List is full"));
        QVERIFY(UserInput::dropText(widget(QStringLiteral("Image2")), QStringLiteral("other")));
        QCOMPARE(m_form->list().count(), 32767);
        QCOMPARE(message(), QStringLiteral("List is full"));
    }

    void clickSelectsWholeText_data()
    {
        QTest::addColumn<QString>("control");
        QTest::addColumn<bool>("selects");

        QTest::newRow("copy icon") << "Image1" << true;
        QTest::newRow("add icon") << "Image2" << true;
        QTest::newRow("remove icon") << "Image3" << true;
        QTest::newRow("write icon") << "Image4" << true;
        QTest::newRow("copy label") << "Label1" << true;
        QTest::newRow("add label") << "Label2" << true;
        QTest::newRow("remove label") << "Label3" << true;
        QTest::newRow("write label does nothing") << "Label4" << false;
    }

    void clickSelectsWholeText()
    {
        QFETCH(QString, control);
        QFETCH(bool, selects);
        combo()->setText(QStringLiteral("some text"));
        combo()->lineEdit()->deselect();
        QTest::mouseClick(widget(control), Qt::LeftButton);
        QCOMPARE(combo()->lineEdit()->selectedText(),
                 selects ? QStringLiteral("some text") : QString());
        QCOMPARE(message(), QString());
        QVERIFY(!m_form->Timer1().isActive());
    }

    void doubleClickSendsClickFirst()
    {
        auto* icon = m_form->findChild<TargetIcon*>(QStringLiteral("Image3"));
        QSignalSpy clicks(icon, &TargetIcon::clicked);
        QSignalSpy doubles(icon, &TargetIcon::doubleClicked);
        UserInput::doubleClick(icon);
        QCOMPARE(clicks.count(), 1);
        QCOMPARE(doubles.count(), 1);
    }

    void dragHints_data()
    {
        QTest::addColumn<QString>("control");
        QTest::addColumn<QString>("hint");
        QTest::addColumn<bool>("startsTimer");

        QTest::newRow("combo box") << "Combo1"
                                   << "Drop into textbox" << true;
        QTest::newRow("copy icon") << "Image1"
                                   << "Drop here to copy to clipboard" << false;
        QTest::newRow("add icon") << "Image2"
                                  << "Drop here to add to Quippet" << false;
        QTest::newRow("remove icon") << "Image3"
                                     << "Drop here to remove from Quippet" << false;
        QTest::newRow("write icon") << "Image4"
                                    << "Drop here to write to file" << false;
    }

    void dragHints()
    {
        QFETCH(QString, control);
        QFETCH(QString, hint);
        QFETCH(bool, startsTimer);
        QWidget* target = widget(control);
        QMimeData mime;
        mime.setText(QStringLiteral("dragged"));
        QDragEnterEvent enter(QPoint(5, 5), Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);
        QCoreApplication::sendEvent(target, &enter);
        QVERIFY(enter.isAccepted());
        QCOMPARE(message(), hint);
        QCOMPARE(m_form->Timer1().isActive(), startsTimer);

        // Leaving empties the panel, also over an action message, and leaves the timer alone.
        m_form->findChild<PanelStatusBar*>(QStringLiteral("StatusBar1"))
            ->setPanelText(1, QStringLiteral("Text added"));
        QDragLeaveEvent leave;
        QCoreApplication::sendEvent(target, &leave);
        QCOMPARE(message(), QString());
        QCOMPARE(m_form->Timer1().isActive(), startsTimer);
    }

    void dragWithoutTextRefused_data()
    {
        QTest::addColumn<QString>("control");
        QTest::newRow("combo box") << "Combo1";
        QTest::newRow("copy icon") << "Image1";
        QTest::newRow("add icon") << "Image2";
        QTest::newRow("remove icon") << "Image3";
        QTest::newRow("write icon") << "Image4";
    }

    void dragWithoutTextRefused()
    {
        QFETCH(QString, control);
        setList({QStringLiteral("a")});
        combo()->setText(QStringLiteral("a"));
        QMimeData files;
        files.setUrls({QUrl::fromLocalFile(QStringLiteral("/tmp/picture.png"))});
        QVERIFY(!UserInput::dragAndDrop(widget(control), files));
        QCoreApplication::processEvents(); // the Write menu would open after the drop
        QCOMPARE(m_form->list().entries(), QStringList{QStringLiteral("a")});
        QCOMPARE(working(), QStringLiteral("a"));
        QCOMPARE(message(), QString());
        QVERIFY(m_platform->menus.shownMenus.isEmpty());
    }

    void dropOnComboReplacesAndSelects()
    {
        combo()->setText(QStringLiteral("old text"));
        const QString dropped = QStringLiteral("line one\nline two\twith a tab");
        QVERIFY(UserInput::dropText(combo(), dropped));
        QCOMPARE(working(), dropped);
        QCOMPARE(combo()->lineEdit()->selectedText(), dropped);
        QCOMPARE(message(), QStringLiteral("Drop into textbox"));
        QVERIFY(m_form->Timer1().isActive());
    }

    void workingTextHasNoLengthLimit()
    {
        const QString longText = QString(100000, QLatin1Char('x')) + QStringLiteral("end");
        QVERIFY(UserInput::dropText(combo(), longText));
        QCOMPARE(working(), longText);
        // Shown as an excerpt, kept whole: Add stores every character.
        QVERIFY(combo()->showsExcerpt());
        QVERIFY(combo()->lineEdit()->text().size() < 1000);
        setList({});
        QVERIFY(UserInput::dropText(combo(), longText));
        UserInput::doubleClick(widget(QStringLiteral("Image2")));
        QCOMPARE(m_form->list().entries(), QStringList{longText});

        // Typing over the fully selected excerpt replaces the whole text.
        QVERIFY(UserInput::dropText(combo(), longText));
        QTest::keyClicks(combo()->lineEdit(), QStringLiteral("new"));
        QCOMPARE(working(), QStringLiteral("new"));
        QVERIFY(!combo()->showsExcerpt());
    }

    void comboDragCarriesWholeText()
    {
        combo()->setText(QStringLiteral("whole working text"));
        QMimeData mime;
        Qt::DropActions allowed = Qt::CopyAction | Qt::MoveAction;
        Q_EMIT combo()->dragStarting(&mime, &allowed);
        QCOMPARE(mime.text(), QStringLiteral("whole working text"));
        QCOMPARE(allowed, Qt::DropActions(Qt::MoveAction));
        QCOMPARE(working(), QStringLiteral("whole working text"));
    }

    void timerTicksOnceAndEmpties()
    {
        m_form->Timer1().setInterval(50);
        setList({});
        QVERIFY(UserInput::dropText(widget(QStringLiteral("Image2")), QStringLiteral("x")));
        QCOMPARE(message(), QStringLiteral("Text added"));
        QTRY_COMPARE(message(), QString());
        QVERIFY(!m_form->Timer1().isActive());
    }

    void startWhileRunningNeverPostponesTheTick()
    {
        // Two actions 400 ms apart on a one-second timer, scaled down.
        m_form->Timer1().setInterval(500);
        setList({});
        QVERIFY(UserInput::dropText(widget(QStringLiteral("Image2")), QStringLiteral("first")));
        QTest::qWait(200);
        const int before = m_form->Timer1().remainingTime();
        QVERIFY(UserInput::dropText(widget(QStringLiteral("Image2")), QStringLiteral("second")));
        QCOMPARE(message(), QStringLiteral("Text added"));
        QVERIFY(m_form->Timer1().remainingTime() <= before);
        QTRY_COMPARE_WITH_TIMEOUT(message(), QString(), 2000);
    }
};

QTEST_MAIN(TargetActionsTest)
#include "tst_TargetActions.moc"
