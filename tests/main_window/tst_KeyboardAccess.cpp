#include "MainWindowHarness.h"

#include <QAccessible>
#include <QApplication>
#include <QtTest>

/** The targets and panels from the keyboard and through the accessible press action. */
class KeyboardAccessTest : public QObject
{
    Q_OBJECT

    /** A shown main window over fakes, the box holding `text` and the list holding a, b. */
    struct Session
    {
        MainWindowHarness h;
        FakePlatform& platform = h.platform;
        Form1& form = *h.form;
        SnippetCombo* combo = h.combo();

        explicit Session(const QString& text)
        {
            platform.clipboard.setText(QStringLiteral("on the clipboard"));
            form.list().appendAll({QStringLiteral("a"), QStringLiteral("b")});
            combo->setText(text);
            form.show();
            form.activateWindow();
        }
        /** Everything an action may change. */
        QStringList outcome()
        {
            return {form.list().entries().join(u'|'),     combo->text(),     h.message(), platform.clipboard.text(), QString::number(form.Height()),
                    platform.menus.shownMenus.join(u','), form.PendingText()};
        }
    };

private Q_SLOTS:
    void keysDoWhatTheMouseDoes_data()
    {
        QTest::addColumn<QString>("control");
        QTest::addColumn<int>("tabs"); // from the box: the icons left to right, then the panels
        QTest::addColumn<QString>("way");
        QTest::addColumn<QString>("text");

        // The accessible press reaches the same handler on every icon and panel: one of each shows it.
        // clang-format off
        QTest::newRow("Add by action") << "Image2" << 1 << "action" << "new";
        QTest::newRow("Remove by keypad Enter") << "Image3" << 2 << "Enter" << "b";
        QTest::newRow("Copy by Return") << "Image1" << 3 << "Return" << "copied";
        QTest::newRow("Write by Space") << "Image4" << 4 << "Space" << "to a file";
        QTest::newRow("shrink by Return") << "Panel1" << 5 << "Return" << "x";
        QTest::newRow("shrink by action") << "Panel1" << 5 << "action" << "x";
        QTest::newRow("time stamp by Space") << "Panel2" << 6 << "Space" << "x";
        // clang-format on
    }

    void keysDoWhatTheMouseDoes()
    {
        QFETCH(QString, control);
        QFETCH(int, tabs);
        QFETCH(QString, way);
        QFETCH(QString, text);

        Session mouse(text);
        const QStringList before = mouse.outcome();
        if (control.startsWith(QLatin1String("Panel")))
            QTest::mouseClick(mouse.h.child(control), Qt::LeftButton);
        else
            mouse.h.doubleClick(control);
        QCoreApplication::processEvents(); // the Write menu opens once the click is handled
        const QStringList expected = mouse.outcome();
        QVERIFY2(expected != before, "the row must describe an action that changes something");

        Session keys(text);
        QVERIFY(QTest::qWaitForWindowActive(&keys.form));
        keys.combo->setFocus();
        for (int i = 0; i < tabs; ++i)
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        QWidget* focused = QApplication::focusWidget();
        QCOMPARE(focused->objectName(), control);
        // The focus shows as a frame drawn on the control.
        QVERIFY(focused->grab().toImage() != mouse.h.child(control)->grab().toImage());
        if (way == QLatin1String("action")) {
            QAccessibleInterface* accessible = QAccessible::queryAccessibleInterface(focused);
            QCOMPARE(accessible->role(), QAccessible::Button);
            accessible->actionInterface()->doAction(QAccessibleActionInterface::pressAction());
        } else {
            const QKeyCombination key = QKeySequence(way)[0];
            QTest::keyClick(focused, key.key(), way == QLatin1String("Enter") ? Qt::KeypadModifier : Qt::NoModifier);
        }
        QCoreApplication::processEvents();
        QCOMPARE(keys.outcome(), expected);
    }

    void boxKeepsItsOwnKeys()
    {
        Session session{QString()};
        QVERIFY(QTest::qWaitForWindowActive(&session.form));
        session.combo->setFocus();
        QStringList before = session.outcome();
        // The activation keys of the icons and panels stay the box's own.
        for (const auto key : {Qt::Key_A, Qt::Key_Space, Qt::Key_B, Qt::Key_Return, Qt::Key_Enter})
            QTest::keyClick(QApplication::focusWidget(), key);
        QCOMPARE(session.combo->text(), QStringLiteral("a b"));
        QCOMPARE(QApplication::focusWidget(), session.combo);
        // Nothing but the text changed: no entry added, no message, no shrink.
        before[1] = session.combo->text();
        QCOMPARE(session.outcome(), before);
    }
};

QTEST_MAIN(KeyboardAccessTest)
#include "tst_KeyboardAccess.moc"
