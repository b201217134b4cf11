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

namespace {
const QString Placeholder = u"Select a topic above."_s;
constexpr Qt::Alignment Centered = Qt::AlignHCenter | Qt::AlignTop;
constexpr Qt::Alignment LeftJustified = Qt::AlignLeft | Qt::AlignTop;

/** Fakes, an owner window and a freshly built help window, as the About command makes them. */
struct Opening
{
    FakeProgramInfo program;
    FakeUrlOpener urls;
    FakeMessageBox messages;
    QWidget owner;
    std::unique_ptr<Form2> dialog;

    explicit Opening(QVersionNumber version = {1, 0, 61})
    {
        program.versionNumber = std::move(version);
        dialog = std::make_unique<Form2>(program, urls, messages, &owner);
    }

    template <typename T = QWidget> T* control(const QString& name) const
    {
        return dialog->findChild<T*>(name);
    }
    QComboBox* combo() const { return control<QComboBox>(u"Combo1"_s); }
    QLabel* answer() const { return control<QLabel>(u"Label2"_s); }
    QPushButton* button(int number) const
    {
        return control<QPushButton>(u"Command%1"_s.arg(number));
    }
    bool showAndActivate() const
    {
        dialog->show();
        return QTest::qWaitForWindowActive(dialog.get());
    }
};

/** Opens the question list and picks entry `index` with the arrow keys and Enter. */
void choose(QComboBox* combo, int index)
{
    combo->showPopup();
    QAbstractItemView* view = combo->view();
    QTRY_VERIFY(view->isVisible());
    view->setCurrentIndex(view->model()->index(0, 0));
    for (int step = 0; step < index; ++step)
        QTest::keyClick(view, Qt::Key_Down);
    QTest::keyClick(view, Qt::Key_Return);
    QTRY_VERIFY(!view->isVisible());
}
} // namespace

class tst_Form2 : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void freshOpeningShowsTheDesignState()
    {
        Opening opening(QVersionNumber(10, 0, 300));
        QCOMPARE(opening.control<QLabel>(u"Label5"_s)->text(), u"Version 10.0.300"_s);
        QCOMPARE(opening.combo()->count(), 10);
        QCOMPARE(opening.combo()->currentIndex(), -1);
        QVERIFY(!opening.combo()->isEditable());
        QCOMPARE(opening.answer()->text(), Placeholder);
        QCOMPARE(opening.answer()->alignment(), Centered);
        QVERIFY(opening.answer()->wordWrap());
    }

    void questionAndAnswer_data()
    {
        QTest::addColumn<int>("index");
        QTest::addColumn<QString>("question");
        QTest::addColumn<QString>("answer");

        QTest::newRow("0 placing text")
            << 0 << QStringLiteral("How do I place text where I want it to go?")
            << QStringLiteral(
                   "Simply choose the text you want from the dropdown box and drag it to "
                   "it's destination.");
        QTest::newRow("1 storing text")
            << 1 << QStringLiteral("How do I store text in Quippet?")
            << QStringLiteral(
                   "There are several ways. First, you can type the text into the text box, "
                   "highlight it, and drag it to the Add icon. To quickly highlight the text, "
                   "click "
                   "any of the icons. Second, you can drag text from another source directly to "
                   "the "
                   "Add icon. Finally, you can copy text from the clipboard by dragging it from "
                   "the "
                   "Copy icon to the Add icon.");
        QTest::newRow("2 removing text")
            << 2 << QStringLiteral("How do I remove text from Quippet?")
            << QStringLiteral("Simply select the text you want to remove in the dropdown box and "
                              "drag it to the Remove icon.");
        QTest::newRow("3 copying to the clipboard")
            << 3 << QStringLiteral("How do I copy text to clipboard?")
            << QStringLiteral(
                   "Select the text from the dropdown box and drag it to the Clipboard icon. You "
                   "can "
                   "also drag text from another source to the Clipboard icon as well. To copy text "
                   "from the clipboard, click the Clipboard icon and drag it to the Add icon or to "
                   "another location.");
        QTest::newRow("4 writing to a file")
            << 4 << QStringLiteral("How do I write text to file?")
            << QStringLiteral(
                   "Choose the text from the dropdown box and drag it the the Write icon. This "
                   "will "
                   "bring up a pop-up menu asking whether you want to add to an existing file or "
                   "create a new one. A dialog will then open asking you for the name and location "
                   "of the text file to create or add to.");
        QTest::newRow("5 shrinking")
            << 5 << QStringLiteral("How do I shrink Quippet?")
            << QStringLiteral(
                   "Just click on the left panel of the status bar, down at the bottom of Quippet. "
                   "To restore, do the same. If you drag text onto Quippet while in it's shrunken "
                   "state, it will automatically restore.");
        QTest::newRow("6 time stamp")
            << 6 << QStringLiteral("How do I copy current time to Quippet?")
            << QStringLiteral("Simply click the panel containing the time, and it will appear in "
                              "the Quippet text box. Quippet automatically enters the current date "
                              "into the dropdown box.");
        QTest::newRow("7 staying on top")
            << 7 << QStringLiteral("How do I make Quippet stay on top?")
            << QStringLiteral("Click the Program menu item and select Stay On top. A check will "
                              "appear, and Quippet will now remain on top of all other windows.");
        QTest::newRow("8 taskbar")
            << 8 << QStringLiteral("How do I send Quippet to Taskbar?")
            << QStringLiteral(
                   "Check the Show In Taskbar item in the Program menu. Now, when Quippet is "
                   "launched or minimized, it will appear in the Taskbar. To restore Quippet, "
                   "double-click the Taskbar icon or right-click for a menu.");
        QTest::newRow("9 without drag and drop")
            << 9 << QStringLiteral("How do I use Quippet without drag and drop?")
            << QStringLiteral("Instead of dragging and dropping, you can select or type the text "
                              "and double-click the proper icon to perform that action.");
    }

    void questionAndAnswer()
    {
        QFETCH(int, index);
        QFETCH(QString, question);
        QFETCH(QString, answer);

        Opening opening;
        QVERIFY(opening.showAndActivate());
        QCOMPARE(opening.combo()->itemText(index), question);
        choose(opening.combo(), index);

        QCOMPARE(opening.combo()->currentIndex(), index);
        QCOMPARE(opening.answer()->text(), answer);
        QCOMPARE(opening.answer()->alignment(), LeftJustified);
        // The whole answer shows: none of its lines falls below the answer area.
        QVERIFY(opening.answer()->heightForWidth(opening.answer()->width()) <=
                opening.answer()->height());
    }

    void choosingAgainAndArrowKeysAnswer()
    {
        Opening opening;
        QVERIFY(opening.showAndActivate());
        const QStringList answers = HelpTexts::LoadAnswers();
        for (int index : {5, 5, 0}) { // the same question again must answer again
            opening.answer()->setText(QString());
            choose(opening.combo(), index);
            QCOMPARE(opening.answer()->text(), answers.at(index));
        }
        opening.combo()->setFocus();
        QTest::keyClick(opening.combo(), Qt::Key_Down); // in the closed list
        QCOMPARE(opening.answer()->text(), answers.at(1));
        QCOMPARE(opening.answer()->alignment(), LeftJustified);
    }

    void accessKeyOfReturnCloses()
    {
        Opening opening;
        QVERIFY(opening.showAndActivate());
        QTest::keyClick(opening.dialog.get(), Qt::Key_R, Qt::AltModifier);
        QTRY_VERIFY(!opening.dialog->isVisible());
    }

    void escapeAndEnterDoNothing()
    {
        Opening opening;
        QVERIFY(opening.showAndActivate());
        QTest::keyClick(opening.dialog.get(), Qt::Key_Escape);
        QTest::keyClick(opening.dialog.get(), Qt::Key_Return);

        QVERIFY(opening.dialog->isVisible());
        QCOMPARE(opening.dialog->result(), 0);
        QVERIFY(opening.urls.addresses.isEmpty());
    }

    void focusStartsOnReturnAndFollowsTheTabOrder()
    {
        Opening opening;
        opening.owner.show();
        QVERIFY(QTest::qWaitForWindowExposed(&opening.owner));
        opening.dialog->show();
        // A dialog counts as active while its owner still is; wait for the real hand-over.
        QTRY_COMPARE(QApplication::activeWindow(), opening.dialog.get());

        const QList<QWidget*> order{opening.button(1), opening.button(2), opening.combo(),
                                    opening.button(1)};
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
        QTest::newRow("click, handler took it") << false << 42;
        QTest::newRow("Alt+V, failure reported") << true << 32;
    }

    void homepageButton()
    {
        QFETCH(bool, accessKey);
        QFETCH(int, result);

        Opening opening;
        opening.urls.result = result;
        QVERIFY(opening.showAndActivate());
        choose(opening.combo(), 2);
        const QString answerBefore = opening.answer()->text();

        if (accessKey)
            QTest::keyClick(opening.dialog.get(), Qt::Key_V, Qt::AltModifier);
        else
            QTest::mouseClick(opening.button(2), Qt::LeftButton);

        // An access key clicks its button a moment later, as the button is drawn pressed first.
        QTRY_COMPARE(opening.urls.addresses, QStringList{HomepageOpener::Address});
        QCOMPARE(opening.messages.shown.size(), result < 33 ? 1 : 0);
        // The window stays open and its contents are untouched either way.
        QVERIFY(opening.dialog->isVisible());
        QCOMPARE(opening.answer()->text(), answerBefore);
        QCOMPARE(opening.combo()->currentIndex(), 2);
    }

    void productTexts_data()
    {
        QTest::addColumn<QString>("name"); // empty: the window itself
        QTest::addColumn<QByteArray>("property");
        QTest::addColumn<QString>("text");

        QTest::newRow("window title") << QString() << "windowTitle"_ba << u"About Quippet"_s;
        QTest::newRow("title") << u"Label1"_s << "text"_ba << u"Quippet"_s;
        QTest::newRow("credit") << u"Label3"_s << "text"_ba << u"by Team Quippet"_s;
        QTest::newRow("Return caption") << u"Command1"_s << "text"_ba << u"&Return"_s;
        QTest::newRow("homepage caption") << u"Command2"_s << "text"_ba << u"&Visit Hompage"_s;
        QTest::newRow("Return tip") << u"Command1"_s << "toolTip"_ba << u"Return to Quippet"_s;
        QTest::newRow("homepage tip")
            << u"Command2"_s << "toolTip"_ba << u"Click to visit Quippet homepage."_s;
        QTest::newRow("picture tip") << u"Image2"_s << "toolTip"_ba << u"Hello, it's me!"_s;
    }

    void productTexts()
    {
        QFETCH(QString, name);
        QFETCH(QByteArray, property);
        QFETCH(QString, text);

        Opening opening;
        const QObject* object = name.isEmpty() ? opening.dialog.get() : opening.control(name);
        QVERIFY(object);
        QCOMPARE(object->property(property.constData()).toString(), text);
    }

    void controlGeometry_data()
    {
        QTest::addColumn<QString>("name"); // empty: the window's client area
        QTest::addColumn<QRect>("pixels");

        // Twips over 15, the factor at 96 dpi.
        QTest::newRow("Form2 client area") << QString() << QRect(0, 0, 305, 230);
        QTest::newRow("Label1 title") << u"Label1"_s << QRect(116, 8, 73, 25);
        QTest::newRow("Label3 credit") << u"Label3"_s << QRect(76, 48, 153, 25);
        QTest::newRow("Command1 Return") << u"Command1"_s << QRect(68, 200, 81, 25);
        QTest::newRow("Label5 version") << u"Label5"_s << QRect(76, 32, 153, 17);
        QTest::newRow("Command2 homepage") << u"Command2"_s << QRect(160, 200, 81, 25);
        QTest::newRow("Combo1 questions") << u"Combo1"_s << QRect(32, 80, 241, 21);
        QTest::newRow("Label2 answer") << u"Label2"_s << QRect(8, 104, 289, 81);
        QTest::newRow("Image1 icon") << u"Image1"_s << QRect(24, 24, 32, 32);
        QTest::newRow("Image2 picture") << u"Image2"_s << QRect(248, 20, 32, 40);
        QTest::newRow("Line1_0 upper dark") << u"Line1_0"_s << QRect(8, 72, 288, 1);
        QTest::newRow("Line2_0 upper white") << u"Line2_0"_s << QRect(8, 73, 288, 1);
        QTest::newRow("Line1_1 lower dark") << u"Line1_1"_s << QRect(8, 192, 288, 1);
        QTest::newRow("Line2_1 lower white") << u"Line2_1"_s << QRect(8, 193, 288, 1);
    }

    void controlGeometry()
    {
        QFETCH(QString, name);
        QFETCH(QRect, pixels);

        Opening opening;
        if (opening.owner.logicalDpiX() != 96)
            QSKIP("The expected pixels are for a 96 dpi screen");
        const QWidget* widget = name.isEmpty() ? opening.dialog.get() : opening.control(name);
        QVERIFY(widget);
        QCOMPARE(name.isEmpty() ? widget->rect() : widget->geometry(), pixels);
        // A one-line caption that does not fit would be cut off.
        if (const auto* label = qobject_cast<const QLabel*>(widget); label && !label->wordWrap())
            QVERIFY(label->fontMetrics().horizontalAdvance(label->text()) <= label->width());
    }

    void fixedModalWindowWithoutDefaultButton()
    {
        Opening opening;
        const Form2& dialog = *opening.dialog;
        QCOMPARE(dialog.minimumSize(), dialog.maximumSize());
        QCOMPARE(dialog.parentWidget(), &opening.owner);
        QVERIFY(dialog.windowModality() != Qt::NonModal);
        QVERIFY(!dialog.windowFlags().testFlag(Qt::WindowMinimizeButtonHint));
        QVERIFY(!dialog.windowFlags().testFlag(Qt::WindowMaximizeButtonHint));
        for (int number : {1, 2})
            QVERIFY(!opening.button(number)->isDefault() && !opening.button(number)->autoDefault());
    }

    void centeredOnOwner()
    {
        Opening opening;
        opening.owner.setGeometry(200, 150, 640, 480);
        opening.owner.show();
        QVERIFY(QTest::qWaitForWindowExposed(&opening.owner));
        opening.dialog->show();
        QVERIFY(QTest::qWaitForWindowExposed(opening.dialog.get()));

        const QPoint offset =
            opening.dialog->frameGeometry().center() - opening.owner.frameGeometry().center();
        QVERIFY2(offset.manhattanLength() <= 2,
                 qPrintable(u"off by %1, %2"_s.arg(offset.x()).arg(offset.y())));
    }
};

QTEST_MAIN(tst_Form2)
#include "tst_Form2.moc"
