#include "fakes/FakeMessageBox.h"
#include "fakes/FakeProgramInfo.h"
#include "fakes/FakeUrlOpener.h"
#include "help_window/CaptionFitter.h"
#include "help_window/Form2.h"
#include "help_window/HelpTexts.h"
#include "help_window/HomepageOpener.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QComboBox>
#include <QLabel>
#include <QPushButton>
#include <QTest>
#include <QtMath>
#include <memory>

using namespace Qt::Literals::StringLiterals;

/** The help window: choosing questions, its keys and buttons, where it opens. */
class tst_Form2 : public QObject
{
    Q_OBJECT

    struct Opened
    {
        FakeProgramInfo program;
        FakeUrlOpener urls;
        FakeMessageBox messages;
        QWidget owner;
        Form2 dialog{program, urls, messages, &owner}; // destroyed before its owner
    };
    std::unique_ptr<Opened> m_w;

    template <typename T> T* control(const QString& name) const { return m_w->dialog.findChild<T*>(name); }
    QComboBox* combo() const { return control<QComboBox>(u"Combo1"_s); }
    QLabel* answer() const { return control<QLabel>(u"Label2"_s); }

private Q_SLOTS:
    void init() { m_w = std::make_unique<Opened>(); }

    void everyQuestionAnswersInFull()
    {
        QVERIFY(combo()->currentIndex() == -1 && answer()->alignment() == (Qt::AlignHCenter | Qt::AlignTop));
        m_w->dialog.show();
        QVERIFY(QTest::qWaitForWindowActive(&m_w->dialog));
        const QStringList answers = HelpTexts::LoadAnswers();
        for (int index : {0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 9}) { // the same question again must answer again
            answer()->setText(QString());
            // Picked from the open list with Enter.
            combo()->showPopup();
            QAbstractItemView* view = combo()->view();
            QTRY_VERIFY(view->isVisible());
            view->setCurrentIndex(view->model()->index(index, 0));
            QTest::keyClick(view, Qt::Key_Return);
            QTRY_VERIFY(!view->isVisible());
            QVERIFY(answer()->text() == answers.at(index) && answer()->alignment() == (Qt::AlignLeft | Qt::AlignTop));
            // The whole answer shows: none of its lines falls below the answer area.
            QVERIFY(answer()->wordWrap() && answer()->heightForWidth(answer()->width()) <= answer()->height());
        }
    }

    void captionFitting()
    {
        QFont font = combo()->font();
        font.setPointSize(15);
        font.setHintingPreference(QFont::PreferFullHinting); // whole pixels: a caption can be exactly as wide as its box
        const QString caption = u"by Team Quippet"_s;
        const QRectF needed = QFontMetricsF(font).boundingRect(QRectF(0, 0, 1000, 1000), Qt::TextSingleLine, caption);
        for (const QSize grow : {QSize(0, 0), QSize(-1, 0), QSize(0, -1)}) { // exactly its size, a pixel narrower, a pixel lower
            const QSize box = QSize(qCeil(needed.width()), qCeil(needed.height())) + grow;
            const QFont fitted = CaptionFitter::fitted(font, caption, box, Qt::TextSingleLine);
            QVERIFY((fitted == font) == grow.isNull() && CaptionFitter::fits(fitted, caption, box, Qt::TextSingleLine));
        }
    }

    /** A fixed modal window centred on its owner, driven by the keyboard alone. */
    void opensOverItsOwner()
    {
        QVERIFY(m_w->dialog.minimumSize() == m_w->dialog.maximumSize() && m_w->dialog.windowModality() != Qt::NonModal &&
                !(m_w->dialog.windowFlags() & (Qt::WindowMinimizeButtonHint | Qt::WindowMaximizeButtonHint)));
        m_w->owner.setGeometry(200, 150, 640, 480);
        m_w->owner.show();
        QVERIFY(QTest::qWaitForWindowExposed(&m_w->owner));
        m_w->dialog.show();
        // A dialog counts as active while its owner still is; wait for the real hand-over.
        QTRY_COMPARE(QApplication::activeWindow(), &m_w->dialog);
        const QPoint offset = m_w->dialog.frameGeometry().center() - m_w->owner.frameGeometry().center();
        QVERIFY2(offset.manhattanLength() <= 2, qPrintable(u"off by %1, %2"_s.arg(offset.x()).arg(offset.y())));

        auto* command1 = control<QPushButton>(u"Command1"_s);
        QCOMPARE(QApplication::focusWidget(), command1);
        for (QWidget* next : QList<QWidget*>{control<QPushButton>(u"Command2"_s), combo(), command1}) {
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
            QCOMPARE(QApplication::focusWidget(), next);
        }
        // Neither Escape nor Enter closes or acts: there is no cancel and no default button.
        QTest::keyClick(&m_w->dialog, Qt::Key_Escape);
        QTest::keyClick(&m_w->dialog, Qt::Key_Return);
        QVERIFY(m_w->dialog.isVisible() && m_w->urls.addresses.isEmpty());
        // Alt+V clicks the homepage button a moment later, as it is drawn pressed first: 32 is a failure, 33 success.
        m_w->urls.result = 32;
        QTest::keyClick(&m_w->dialog, Qt::Key_V, Qt::AltModifier);
        QTRY_COMPARE(m_w->urls.addresses, QStringList{HomepageOpener::Address});
        m_w->urls.result = 33;
        QTest::mouseClick(control<QPushButton>(u"Command2"_s), Qt::LeftButton);
        QVERIFY(m_w->urls.addresses.size() == 2 && m_w->messages.shown.size() == 1);
        const FakeMessageBox::Shown failed = m_w->messages.shown.first();
        QCOMPARE((QStringList{failed.prompt, QString::number(failed.style), failed.title}),
                 (QStringList{u"Error: site could not be opened"_s, u"48"_s, u"Quippet"_s}));
        QTest::keyClick(&m_w->dialog, Qt::Key_R, Qt::AltModifier);
        QTRY_VERIFY(!m_w->dialog.isVisible());
    }
};

QTEST_MAIN(tst_Form2)
#include "tst_Form2.moc"
