#include "FakeMessageBox.h"
#include "FakeProgramInfo.h"
#include "FakeUrlOpener.h"
#include "Form2.h"
#include "HelpTexts.h"
#include "HomepageOpener.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QComboBox>
#include <QLabel>
#include <QPushButton>
#include <QTest>
#include <memory>

using namespace Qt::Literals::StringLiterals;

/** The help window: choosing questions, its keys and buttons, where it opens. */
class tst_Form2 : public QObject
{
    Q_OBJECT

private:
    FakeProgramInfo m_program;
    FakeUrlOpener m_urls;
    FakeMessageBox m_messages;
    std::unique_ptr<QWidget> m_owner;
    std::unique_ptr<Form2> m_dialog;

    template <typename T = QWidget> T* control(const QString& name) const { return m_dialog->findChild<T*>(name); }
    QComboBox* combo() const { return control<QComboBox>(u"Combo1"_s); }
    QLabel* answer() const { return control<QLabel>(u"Label2"_s); }
    QPushButton* button(int number) const { return control<QPushButton>(u"Command%1"_s.arg(number)); }
    bool showAndActivate() const
    {
        m_dialog->show();
        return QTest::qWaitForWindowActive(m_dialog.get());
    }
    /** Opens the question list and picks entry `index` with the arrow keys and Enter. */
    void choose(int index)
    {
        combo()->showPopup();
        QAbstractItemView* view = combo()->view();
        QTRY_VERIFY(view->isVisible());
        view->setCurrentIndex(view->model()->index(0, 0));
        for (int step = 0; step < index; ++step)
            QTest::keyClick(view, Qt::Key_Down);
        QTest::keyClick(view, Qt::Key_Return);
        QTRY_VERIFY(!view->isVisible());
    }

private Q_SLOTS:
    void init()
    {
        m_urls.addresses.clear();
        m_messages.shown.clear();
        m_owner = std::make_unique<QWidget>();
        m_dialog = std::make_unique<Form2>(m_program, m_urls, m_messages, m_owner.get());
    }
    void cleanup()
    {
        m_dialog.reset();
        m_owner.reset();
    }

    void everyQuestionAnswersInFull()
    {
        QCOMPARE(combo()->currentIndex(), -1);
        QVERIFY(!combo()->isEditable());
        QCOMPARE(answer()->alignment(), Qt::AlignHCenter | Qt::AlignTop);
        QVERIFY(showAndActivate());
        const QStringList answers = HelpTexts::LoadAnswers();
        // The same question again must answer again.
        for (int index : {0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 9}) {
            answer()->setText(QString());
            choose(index);
            QCOMPARE(combo()->currentIndex(), index);
            QCOMPARE(answer()->text(), answers.at(index));
            QCOMPARE(answer()->alignment(), Qt::AlignLeft | Qt::AlignTop);
            // The whole answer shows: none of its lines falls below the answer area.
            QVERIFY(answer()->wordWrap());
            QVERIFY(answer()->heightForWidth(answer()->width()) <= answer()->height());
        }
        combo()->setCurrentIndex(0);
        combo()->setFocus();
        QTest::keyClick(combo(), Qt::Key_Down); // in the closed list
        QCOMPARE(answer()->text(), answers.at(1));
    }

    void keys()
    {
        QVERIFY(showAndActivate());
        // Neither Escape nor Enter closes or acts: there is no cancel and no default button.
        QTest::keyClick(m_dialog.get(), Qt::Key_Escape);
        QTest::keyClick(m_dialog.get(), Qt::Key_Return);
        QVERIFY(m_dialog->isVisible());
        QVERIFY(m_urls.addresses.isEmpty());
        QTest::keyClick(m_dialog.get(), Qt::Key_R, Qt::AltModifier);
        QTRY_VERIFY(!m_dialog->isVisible());
    }

    void focusStartsOnReturnAndFollowsTheTabOrder()
    {
        m_owner->show();
        QVERIFY(QTest::qWaitForWindowExposed(m_owner.get()));
        m_dialog->show();
        // A dialog counts as active while its owner still is; wait for the real hand-over.
        QTRY_COMPARE(QApplication::activeWindow(), m_dialog.get());
        const QList<QWidget*> order{button(1), button(2), combo(), button(1)};
        QCOMPARE(QApplication::focusWidget(), order.first());
        for (qsizetype i = 1; i < order.size(); ++i) {
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
            QCOMPARE(QApplication::focusWidget(), order.at(i));
        }
    }

    void homepageButton_data()
    {
        QTest::addColumn<bool>("accessKey");
        QTest::addColumn<int>("result");
        QTest::newRow("click, 33 is success") << false << 33;
        QTest::newRow("Alt+V, 32 is a failure") << true << 32;
        QTest::newRow("click, negative is a failure") << false << -5;
    }

    void homepageButton()
    {
        QFETCH(bool, accessKey);
        QFETCH(int, result);
        m_urls.result = result;
        QVERIFY(showAndActivate());
        choose(2);
        if (accessKey)
            QTest::keyClick(m_dialog.get(), Qt::Key_V, Qt::AltModifier);
        else
            QTest::mouseClick(button(2), Qt::LeftButton);
        // An access key clicks its button a moment later, as the button is drawn pressed first.
        QTRY_COMPARE(m_urls.addresses, QStringList{HomepageOpener::Address});
        QCOMPARE(m_messages.shown.size(), result < 33 ? 1 : 0);
        if (result < 33) {
            QCOMPARE(m_messages.shown.first().prompt, u"Error: site could not be opened"_s);
            QCOMPARE(m_messages.shown.first().style, 48);
            QCOMPARE(m_messages.shown.first().title, u"Quippet"_s);
        }
        // The window stays open and its contents are untouched either way.
        QVERIFY(m_dialog->isVisible());
        QCOMPARE(answer()->text(), HelpTexts::LoadAnswers().at(2));
        QCOMPARE(combo()->currentIndex(), 2);
    }

    void fixedModalWindowCenteredOnOwner()
    {
        QCOMPARE(m_dialog->minimumSize(), m_dialog->maximumSize());
        QVERIFY(m_dialog->windowModality() != Qt::NonModal);
        QVERIFY(!(m_dialog->windowFlags() & (Qt::WindowMinimizeButtonHint | Qt::WindowMaximizeButtonHint)));
        m_owner->setGeometry(200, 150, 640, 480);
        m_owner->show();
        QVERIFY(QTest::qWaitForWindowExposed(m_owner.get()));
        m_dialog->show();
        QVERIFY(QTest::qWaitForWindowExposed(m_dialog.get()));
        const QPoint offset = m_dialog->frameGeometry().center() - m_owner->frameGeometry().center();
        QVERIFY2(offset.manhattanLength() <= 2, qPrintable(u"off by %1, %2"_s.arg(offset.x()).arg(offset.y())));
    }
};

QTEST_MAIN(tst_Form2)
#include "tst_Form2.moc"
