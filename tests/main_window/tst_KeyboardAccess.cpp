#include "FakePlatform.h"
#include "Form1.h"
#include "PanelStatusBar.h"
#include "SnippetCombo.h"
#include "UserInput.h"

#include <QAccessible>
#include <QApplication>
#include <QtTest>

/** The targets and panels from the keyboard and through the accessible press action. */
class KeyboardAccessTest : public QObject
{
    Q_OBJECT

    /** A shown and active main window over fakes, the box holding `text`, the list `list`. */
    struct Session
    {
        FakePlatform platform;
        Form1 form{platform.services()};

        Session(const QString& text, const QStringList& list)
        {
            platform.clipboard.setText(QStringLiteral("on the clipboard"));
            form.list().appendAll(list);
            combo()->setText(text);
            form.show();
            form.activateWindow();
        }
        SnippetCombo* combo() { return form.findChild<SnippetCombo*>(QStringLiteral("Combo1")); }
        QWidget* control(const QString& name) { return form.findChild<QWidget*>(name); }
        PanelStatusBar* statusBar()
        {
            return form.findChild<PanelStatusBar*>(QStringLiteral("StatusBar1"));
        }
        /** Everything an action may change. */
        QStringList outcome()
        {
            return {form.list().entries().join(u'|'),
                    combo()->text(),
                    statusBar()->panelText(PanelStatusBar::MessagePanel),
                    platform.clipboard.text(),
                    QString::number(form.Height()),
                    platform.menus.shownMenus.join(u','),
                    form.PendingText()};
        }
        /** What the mouse does: a double-click on an icon, a click on a panel. */
        void useMouse(const QString& name)
        {
            if (name.startsWith(QLatin1String("Panel")))
                QTest::mouseClick(control(name), Qt::LeftButton);
            else
                UserInput::doubleClick(control(name));
        }
    };

private Q_SLOTS:
    void keysDoWhatTheMouseDoes_data()
    {
        QTest::addColumn<QString>("control");
        QTest::addColumn<int>("tabs");
        QTest::addColumn<QString>("way");
        QTest::addColumn<QString>("text");
        QTest::addColumn<QStringList>("list");

        const QStringList ab{QStringLiteral("a"), QStringLiteral("b")};
        // Tab from the box reaches the icons as they stand, left to right, then the panels.
        QTest::newRow("Add by Space") << "Image2" << 1 << "Space"
                                      << "new" << ab;
        QTest::newRow("Add by Return") << "Image2" << 1 << "Return"
                                       << "new" << ab;
        QTest::newRow("Add by action") << "Image2" << 1 << "action"
                                       << "new" << ab;
        QTest::newRow("Remove by keypad Enter") << "Image3" << 2 << "Enter"
                                                << "b" << ab;
        QTest::newRow("Remove by action") << "Image3" << 2 << "action"
                                          << "a" << ab;
        QTest::newRow("Copy by Space") << "Image1" << 3 << "Space"
                                       << "copied" << ab;
        QTest::newRow("Copy by action") << "Image1" << 3 << "action"
                                        << "copied" << ab;
        QTest::newRow("Write by Return") << "Image4" << 4 << "Return"
                                         << "to a file" << ab;
        QTest::newRow("Write by action") << "Image4" << 4 << "action"
                                         << "to a file" << ab;
        QTest::newRow("shrink by Space") << "Panel1" << 5 << "Space"
                                         << "x" << ab;
        QTest::newRow("shrink by action") << "Panel1" << 5 << "action"
                                          << "x" << ab;
        QTest::newRow("time stamp by Return") << "Panel2" << 6 << "Return"
                                              << "x" << ab;
        QTest::newRow("time stamp by action") << "Panel2" << 6 << "action"
                                              << "x" << ab;
    }

    void keysDoWhatTheMouseDoes()
    {
        QFETCH(QString, control);
        QFETCH(int, tabs);
        QFETCH(QString, way);
        QFETCH(QString, text);
        QFETCH(QStringList, list);

        Session mouse(text, list);
        const QStringList before = mouse.outcome();
        mouse.useMouse(control);
        const QStringList expected = mouse.outcome();
        QVERIFY2(expected != before, "the row must describe an action that changes something");

        Session keys(text, list);
        QVERIFY(QTest::qWaitForWindowActive(&keys.form));
        keys.combo()->setFocus();
        for (int i = 0; i < tabs; ++i)
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        QWidget* focused = QApplication::focusWidget();
        QVERIFY(focused);
        QCOMPARE(focused->objectName(), control);

        QAccessibleInterface* accessible = QAccessible::queryAccessibleInterface(focused);
        QCOMPARE(accessible->role(), QAccessible::Button);
        QVERIFY(
            accessible->text(QAccessible::Description).contains(QLatin1String("Space or Enter")));
        if (way == QLatin1String("action")) {
            QAccessibleActionInterface* actions = accessible->actionInterface();
            QCOMPARE(actions->actionNames().value(0), QAccessibleActionInterface::pressAction());
            actions->doAction(QAccessibleActionInterface::pressAction());
        } else if (way == QLatin1String("Enter")) {
            QTest::keyClick(focused, Qt::Key_Enter, Qt::KeypadModifier);
        } else {
            QTest::keyClick(focused,
                            way == QLatin1String("Space") ? Qt::Key_Space : Qt::Key_Return);
        }
        QCOMPARE(keys.outcome(), expected);
    }

    void boxKeepsItsOwnKeys_data()
    {
        QTest::addColumn<QStringList>("steps"); // "=text" types text; anything else is a key
        QTest::addColumn<QString>("expected");

        QTest::newRow("space types a blank")
            << QStringList{QStringLiteral("=a"), QStringLiteral("Space"), QStringLiteral("=b")}
            << "a b";
        QTest::newRow("Return adds nothing")
            << QStringList{QStringLiteral("=ab"), QStringLiteral("Return"), QStringLiteral("Enter")}
            << "ab";
        QTest::newRow("copy and paste")
            << QStringList{QStringLiteral("=ab"), QStringLiteral("Ctrl+A"),
                           QStringLiteral("Ctrl+C"), QStringLiteral("End"),
                           QStringLiteral("Ctrl+V")}
            << "abab";
        QTest::newRow("cut and undo")
            << QStringList{QStringLiteral("=ab"), QStringLiteral("Ctrl+A"),
                           QStringLiteral("Ctrl+X"), QStringLiteral("Ctrl+Z")}
            << "ab";
        QTest::newRow("Home then type")
            << QStringList{QStringLiteral("=bc"), QStringLiteral("Home"), QStringLiteral("=a")}
            << "abc";
    }

    void boxKeepsItsOwnKeys()
    {
        QFETCH(QStringList, steps);
        QFETCH(QString, expected);
        Session session(QString(), {QStringLiteral("a")});
        QVERIFY(QTest::qWaitForWindowActive(&session.form));
        session.combo()->setFocus();
        // The box's text field acts for the combo box, which holds the focus.
        QWidget* box = QApplication::focusWidget();
        QCOMPARE(box, session.combo());
        const QStringList before = session.outcome();
        for (const QString& step : steps) {
            if (step.startsWith(u'=')) {
                QTest::keyClicks(box, step.mid(1));
                continue;
            }
            const QKeyCombination key = QKeySequence(step)[0];
            const Qt::KeyboardModifiers mods =
                step == QLatin1String("Enter") ? Qt::KeypadModifier : key.keyboardModifiers();
            QTest::keyClick(box, key.key(), mods);
        }
        QCOMPARE(session.combo()->text(), expected);
        QCOMPARE(QApplication::focusWidget(), box);
        // Nothing but the text changed: no entry added, no message, no shrink.
        QStringList after = session.outcome();
        after[1] = before[1];
        QCOMPARE(after, before);
    }

    void statusBarIsNamedByItsMessage()
    {
        Session session(QStringLiteral("new"), {});
        QAccessibleInterface* bar = QAccessible::queryAccessibleInterface(session.statusBar());
        QCOMPARE(bar->role(), QAccessible::StatusBar);
        QCOMPARE(bar->text(QAccessible::Name), QString());
        UserInput::doubleClick(session.control(QStringLiteral("Image2")));
        QCOMPARE(bar->text(QAccessible::Name), QStringLiteral("Text added"));
    }
};

QTEST_MAIN(KeyboardAccessTest)
#include "tst_KeyboardAccess.moc"
