#include "FilterPopup.h"
#include "MainWindowHarness.h"

#include <QLineEdit>
#include <QtTest>

using namespace Qt::Literals::StringLiterals;

/** The filter pop-up as the user meets it: keys stay in the box, picking takes whole entries. */
class tst_FilterPopup : public QObject
{
    Q_OBJECT

private:
    std::unique_ptr<MainWindowHarness> m_h;
    Form1* m_form = nullptr;
    SnippetCombo* m_combo = nullptr;
    FilterPopup* m_popup = nullptr;
    const QString m_long = u"help line one\r\nline two\n"_s + QString(5000, u'x');

private Q_SLOTS:
    void init()
    {
        m_h = std::make_unique<MainWindowHarness>();
        m_form = m_h->form.get();
        m_form->list().appendAll({u"say hello"_s, m_long, u"other"_s, u"Helm"_s});
        m_form->show();
        QVERIFY(QTest::qWaitForWindowActive(m_form));
        m_combo = m_form->findChild<SnippetCombo*>(u"Combo1"_s);
        m_popup = m_combo->filterPopup();
        m_combo->lineEdit()->setFocus();
        // Keys go where real ones do: to the focus widget, which is the combo box itself.
        QCOMPARE(QApplication::focusWidget(), m_combo);
        QTest::keyClicks(m_combo, u"hEl"_s);
    }

    void cleanup() { m_h.reset(); }

    void keys_data()
    {
        QTest::addColumn<QList<int>>("keys");
        QTest::addColumn<QString>("text");
        QTest::addColumn<bool>("open");

        // Rows: the long entry and "Helm" start with the text, "say hello" contains it.
        // clang-format off
        QTest::newRow("typing goes on in the box") << QList<int>{Qt::Key_M} << u"hElm"_s << true;
        QTest::newRow("Backspace widens in the box") << QList<int>{Qt::Key_Backspace} << u"hE"_s << true;
        QTest::newRow("Down, Enter picks the first row whole") << QList<int>{Qt::Key_Down, Qt::Key_Return} << m_long << false;
        QTest::newRow("Down twice, Up picks the first row") << QList<int>{Qt::Key_Down, Qt::Key_Down, Qt::Key_Up, Qt::Key_Enter} << m_long << false;
        QTest::newRow("PageDown stops at the last row") << QList<int>{Qt::Key_PageDown, Qt::Key_Return} << u"say hello"_s << false;
        QTest::newRow("Up above the first row chooses none") << QList<int>{Qt::Key_Down, Qt::Key_Up, Qt::Key_Return} << u"hEl"_s << false;
        QTest::newRow("Escape closes and keeps the text") << QList<int>{Qt::Key_Escape} << u"hEl"_s << false;
        // clang-format on
    }

    void keys()
    {
        QFETCH(QList<int>, keys);
        QFETCH(QString, text);
        QFETCH(bool, open);
        QCOMPARE(m_popup->entries(), QStringList({m_long, u"Helm"_s, u"say hello"_s}));
        QVERIFY(m_popup->isVisible());
        for (int key : keys)
            QTest::keyClick(m_combo, Qt::Key(key));
        QCOMPARE(m_combo->text(), text);
        QCOMPARE(m_popup->isVisible(), open);
        QVERIFY(m_combo->lineEdit()->hasFocus());
        QCOMPARE(m_form->list().count(), 4);
    }

    void rowsShowOneShortLine()
    {
        const QString shown = m_popup->model()->index(0, 0).data().toString();
        // The first characters only, and CR LF is one mark.
        QCOMPARE(shown.size(), FilterPopup::DisplayChars - 1);
        QVERIFY(shown.startsWith(u"help line one\u23CEline two\u23CExx"_s));
        // Never over the targets below the box.
        auto* add = m_form->findChild<QWidget*>(u"Image2"_s);
        const QRect addOnScreen(add->mapToGlobal(QPoint(0, 0)), add->size());
        QVERIFY(!m_popup->geometry().intersects(addOnScreen));
    }

    void clickPicksARowAndAClickElsewhereGoesThrough()
    {
        QTest::mouseMove(m_popup->viewport(), m_popup->visualRect(m_popup->model()->index(1, 0)).center());
        QTest::mouseClick(m_popup->viewport(), Qt::LeftButton, {}, m_popup->visualRect(m_popup->model()->index(1, 0)).center());
        QCOMPARE(m_combo->text(), u"Helm"_s);
        QVERIFY(!m_popup->isVisible());

        QTest::keyClick(m_combo, Qt::Key_S);
        QTest::keyClick(m_combo, Qt::Key_Backspace);
        QVERIFY(m_popup->isVisible());
        // The first press on Add closes the pop-up; the double-click still adds the typed text.
        m_combo->setText(u"hel"_s);
        QTest::keyClick(m_combo, Qt::Key_P);
        QVERIFY(m_popup->isVisible());
        m_h->doubleClick(u"Image2"_s);
        QVERIFY(!m_popup->isVisible());
        QCOMPARE(m_form->list().entryAt(4), u"help"_s);
    }
};

QTEST_MAIN(tst_FilterPopup)
#include "tst_FilterPopup.moc"
