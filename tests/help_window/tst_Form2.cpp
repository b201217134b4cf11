#include "FakeMessageBox.h"
#include "FakeProgramInfo.h"
#include "FakeUrlOpener.h"
#include "Form2.h"
#include "HelpTexts.h"
#include "HomepageOpener.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QComboBox>
#include <QFrame>
#include <QLabel>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <functional>
#include <memory>

namespace {
const QString Placeholder = QStringLiteral("Select a topic above.");
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

    template <typename T> T* control(const char* name) const
    {
        return dialog->findChild<T*>(QLatin1String(name));
    }
    QComboBox* combo() const { return control<QComboBox>("Combo1"); }
    QLabel* answer() const { return control<QLabel>("Label2"); }
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

/** Runs the dialog modally, does `action` once it runs; false if it was still open after 5 s. */
bool execUntilClosed(Form2& dialog, const std::function<void()>& action)
{
    constexpr int StillOpen = 99;
    QTimer::singleShot(0, &dialog, [&dialog, action] {
        if (QTest::qWaitForWindowActive(&dialog))
            action();
    });
    QTimer::singleShot(5000, &dialog, [&dialog] { dialog.done(StillOpen); });
    return dialog.exec() != StillOpen;
}
} // namespace

class tst_Form2 : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void versionLabelComesFromTheProgram_data();
    void versionLabelComesFromTheProgram();
    void freshOpeningShowsTheDesignState();
    void questionAndAnswer_data();
    void questionAndAnswer();
    void choosingAgain_data();
    void choosingAgain();
    void arrowKeysInTheClosedListAnswer();
    void closingAndReopening_data();
    void closingAndReopening();
    void escapeDoesNotClose();
    void focusStartsOnReturnAndFollowsTheTabOrder();
    void homepageButton_data();
    void homepageButton();
    void controlGeometry_data();
    void controlGeometry();
    void labelFonts_data();
    void labelFonts();
    void separatorsAreEtched_data();
    void separatorsAreEtched();
    void windowFrame();
    void picturesAndTips();
    void centeredOnOwner();
};

void tst_Form2::versionLabelComesFromTheProgram_data()
{
    QTest::addColumn<QVersionNumber>("version");
    QTest::addColumn<QString>("caption");

    QTest::newRow("this build") << QVersionNumber(1, 0, 61) << QStringLiteral("Version 1.0.61");
    QTest::newRow("other numbers") << QVersionNumber(2, 3, 4) << QStringLiteral("Version 2.3.4");
    QTest::newRow("several digits, no padding")
        << QVersionNumber(10, 20, 300) << QStringLiteral("Version 10.20.300");
    QTest::newRow("zeros are written")
        << QVersionNumber(0, 0, 0) << QStringLiteral("Version 0.0.0");
}

void tst_Form2::versionLabelComesFromTheProgram()
{
    QFETCH(QVersionNumber, version);
    QFETCH(QString, caption);

    Opening opening(version);

    QCOMPARE(opening.control<QLabel>("Label5")->text(), caption);
}

void tst_Form2::freshOpeningShowsTheDesignState()
{
    Opening opening;

    QCOMPARE(opening.dialog->windowTitle(), QStringLiteral("About Quippet"));
    QCOMPARE(opening.control<QLabel>("Label1")->text(), QStringLiteral("Quippet"));
    QCOMPARE(opening.combo()->count(), 10);
    QCOMPARE(opening.combo()->currentIndex(), -1);
    QVERIFY(opening.combo()->currentText().isEmpty());
    QVERIFY(!opening.combo()->isEditable());
    QCOMPARE(opening.answer()->text(), Placeholder);
    QCOMPARE(opening.answer()->alignment(), Centered);
    QVERIFY(opening.answer()->wordWrap());
    QVERIFY(!opening.control<QLabel>("Label3")->text().isEmpty());
}

void tst_Form2::questionAndAnswer_data()
{
    QTest::addColumn<int>("index");
    QTest::addColumn<QString>("question");
    QTest::addColumn<QString>("answer");

    QTest::newRow("0 placing text")
        << 0 << QStringLiteral("How do I place text where I want it to go?")
        << QStringLiteral("Simply choose the text you want from the dropdown box and drag it to "
                          "it's destination.");
    QTest::newRow("1 storing text")
        << 1 << QStringLiteral("How do I store text in Quippet?")
        << QStringLiteral(
               "There are several ways. First, you can type the text into the text box, "
               "highlight it, and drag it to the Add icon. To quickly highlight the text, click "
               "any of the icons. Second, you can drag text from another source directly to the "
               "Add icon. Finally, you can copy text from the clipboard by dragging it from the "
               "Copy icon to the Add icon.");
    QTest::newRow("2 removing text")
        << 2 << QStringLiteral("How do I remove text from Quippet?")
        << QStringLiteral("Simply select the text you want to remove in the dropdown box and "
                          "drag it to the Remove icon.");
    QTest::newRow("3 copying to the clipboard")
        << 3 << QStringLiteral("How do I copy text to clipboard?")
        << QStringLiteral(
               "Select the text from the dropdown box and drag it to the Clipboard icon. You can "
               "also drag text from another source to the Clipboard icon as well. To copy text "
               "from the clipboard, click the Clipboard icon and drag it to the Add icon or to "
               "another location.");
    QTest::newRow("4 writing to a file")
        << 4 << QStringLiteral("How do I write text to file?")
        << QStringLiteral(
               "Choose the text from the dropdown box and drag it the the Write icon. This will "
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

void tst_Form2::questionAndAnswer()
{
    QFETCH(int, index);
    QFETCH(QString, question);
    QFETCH(QString, answer);

    Opening opening;
    opening.dialog->show();
    QVERIFY(QTest::qWaitForWindowExposed(opening.dialog.get()));

    QCOMPARE(opening.combo()->itemText(index), question);
    choose(opening.combo(), index);

    QCOMPARE(opening.combo()->currentIndex(), index);
    QCOMPARE(opening.answer()->text(), answer);
    QCOMPARE(opening.answer()->alignment(), LeftJustified);
    // The whole answer shows: none of its lines falls below the answer area.
    QVERIFY(opening.answer()->heightForWidth(opening.answer()->width()) <=
            opening.answer()->height());
}

void tst_Form2::choosingAgain_data()
{
    QTest::addColumn<QList<int>>("choices");

    QTest::newRow("another question replaces the answer") << QList<int>{3, 7};
    QTest::newRow("the same question again") << QList<int>{5, 5};
    QTest::newRow("back to an earlier one") << QList<int>{0, 9, 0};
    QTest::newRow("neighbours") << QList<int>{4, 3, 4, 5};
}

void tst_Form2::choosingAgain()
{
    QFETCH(QList<int>, choices);

    Opening opening;
    opening.dialog->show();
    QVERIFY(QTest::qWaitForWindowExposed(opening.dialog.get()));
    const QStringList answers = HelpTexts::LoadAnswers();

    for (int index : std::as_const(choices)) {
        opening.answer()->setText(QString());
        choose(opening.combo(), index);
        QCOMPARE(opening.answer()->text(), answers.at(index));
        QCOMPARE(opening.answer()->alignment(), LeftJustified);
    }
}

void tst_Form2::arrowKeysInTheClosedListAnswer()
{
    Opening opening;
    opening.dialog->show();
    QVERIFY(QTest::qWaitForWindowActive(opening.dialog.get()));
    opening.combo()->setFocus();

    QTest::keyClick(opening.combo(), Qt::Key_Down);
    QCOMPARE(opening.answer()->text(), HelpTexts::LoadAnswers().at(0));
    QTest::keyClick(opening.combo(), Qt::Key_Down);
    QCOMPARE(opening.answer()->text(), HelpTexts::LoadAnswers().at(1));
    QCOMPARE(opening.answer()->alignment(), LeftJustified);
}

void tst_Form2::closingAndReopening_data()
{
    QTest::addColumn<QString>("how");

    QTest::newRow("Return button") << QStringLiteral("click");
    QTest::newRow("Alt+R") << QStringLiteral("alt-r");
    QTest::newRow("close box") << QStringLiteral("close");
}

void tst_Form2::closingAndReopening()
{
    QFETCH(QString, how);

    Opening first;
    const auto closeIt = [&first, &how] {
        Form2* dialog = first.dialog.get();
        choose(first.combo(), 6);
        if (how == QLatin1String("click"))
            QTest::mouseClick(first.control<QPushButton>("Command1"), Qt::LeftButton);
        else if (how == QLatin1String("alt-r"))
            QTest::keyClick(dialog, Qt::Key_R, Qt::AltModifier);
        else
            dialog->close();
    };
    QVERIFY(execUntilClosed(*first.dialog, closeIt));
    QVERIFY(!first.dialog->isVisible());
    QCOMPARE(first.answer()->alignment(), LeftJustified);

    Opening second;
    QCOMPARE(second.combo()->count(), 10);
    QCOMPARE(second.combo()->currentIndex(), -1);
    QCOMPARE(second.answer()->text(), Placeholder);
    QCOMPARE(second.answer()->alignment(), Centered);
}

void tst_Form2::escapeDoesNotClose()
{
    Opening opening;
    opening.dialog->show();
    QVERIFY(QTest::qWaitForWindowActive(opening.dialog.get()));

    QTest::keyClick(opening.dialog.get(), Qt::Key_Escape);
    QTest::keyClick(opening.dialog.get(), Qt::Key_Return);

    QVERIFY(opening.dialog->isVisible());
    QCOMPARE(opening.dialog->result(), 0);
    QVERIFY(opening.urls.addresses.isEmpty());
}

void tst_Form2::focusStartsOnReturnAndFollowsTheTabOrder()
{
    Opening opening;
    opening.owner.show();
    QVERIFY(QTest::qWaitForWindowExposed(&opening.owner));
    opening.dialog->show();
    // A dialog counts as active while its owner still is; wait for the real hand-over.
    QTRY_COMPARE(QApplication::activeWindow(), opening.dialog.get());

    QCOMPARE(QApplication::focusWidget(), opening.control<QPushButton>("Command1"));
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    QCOMPARE(QApplication::focusWidget(), opening.control<QPushButton>("Command2"));
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    QCOMPARE(QApplication::focusWidget(), opening.combo());
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    QCOMPARE(QApplication::focusWidget(), opening.control<QPushButton>("Command1"));
}

void tst_Form2::homepageButton_data()
{
    QTest::addColumn<QString>("how");
    QTest::addColumn<int>("result");
    QTest::addColumn<bool>("reported");

    QTest::newRow("click, handler took it") << QStringLiteral("click") << 42 << false;
    QTest::newRow("click, exactly 33") << QStringLiteral("click") << 33 << false;
    QTest::newRow("click, 32 fails") << QStringLiteral("click") << 32 << true;
    QTest::newRow("click, 0 fails") << QStringLiteral("click") << 0 << true;
    QTest::newRow("click, negative fails") << QStringLiteral("click") << -5 << true;
    QTest::newRow("Alt+V, handler took it") << QStringLiteral("alt-v") << 42 << false;
    QTest::newRow("Alt+V, 32 fails") << QStringLiteral("alt-v") << 32 << true;
}

void tst_Form2::homepageButton()
{
    QFETCH(QString, how);
    QFETCH(int, result);
    QFETCH(bool, reported);

    Opening opening;
    opening.urls.result = result;
    opening.dialog->show();
    QVERIFY(QTest::qWaitForWindowActive(opening.dialog.get()));
    choose(opening.combo(), 2);
    const QString answerBefore = opening.answer()->text();

    if (how == QLatin1String("click"))
        QTest::mouseClick(opening.control<QPushButton>("Command2"), Qt::LeftButton);
    else
        QTest::keyClick(opening.dialog.get(), Qt::Key_V, Qt::AltModifier);

    // An access key clicks its button a moment later, as the button is drawn pressed first.
    QTRY_COMPARE(opening.urls.addresses, QStringList{HomepageOpener::Address});
    QCOMPARE(opening.messages.shown.size(), reported ? 1 : 0);
    if (reported) {
        QCOMPARE(opening.messages.shown.first().prompt,
                 QStringLiteral("Error: site could not be opened"));
        QCOMPARE(opening.messages.shown.first().style, 48);
        QCOMPARE(opening.messages.shown.first().title, QStringLiteral("Quippet"));
    }
    // The window stays open and its contents are untouched either way.
    QVERIFY(opening.dialog->isVisible());
    QCOMPARE(opening.answer()->text(), answerBefore);
    QCOMPARE(opening.combo()->currentIndex(), 2);
}

void tst_Form2::controlGeometry_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QRect>("pixels");

    // Twips over 15, the factor at 96 dpi.
    QTest::newRow("Label1 title") << QStringLiteral("Label1") << QRect(116, 8, 73, 25);
    QTest::newRow("Label3 credit") << QStringLiteral("Label3") << QRect(76, 48, 153, 25);
    QTest::newRow("Command1 Return") << QStringLiteral("Command1") << QRect(68, 200, 81, 25);
    QTest::newRow("Label5 version") << QStringLiteral("Label5") << QRect(76, 32, 153, 17);
    QTest::newRow("Command2 homepage") << QStringLiteral("Command2") << QRect(160, 200, 81, 25);
    QTest::newRow("Combo1 questions") << QStringLiteral("Combo1") << QRect(32, 80, 241, 21);
    QTest::newRow("Label2 answer") << QStringLiteral("Label2") << QRect(8, 104, 289, 81);
    QTest::newRow("Image1 icon") << QStringLiteral("Image1") << QRect(24, 24, 32, 32);
    QTest::newRow("Image2 picture") << QStringLiteral("Image2") << QRect(248, 20, 32, 40);
    QTest::newRow("Line1_0 upper dark") << QStringLiteral("Line1_0") << QRect(8, 72, 288, 1);
    QTest::newRow("Line2_0 upper white") << QStringLiteral("Line2_0") << QRect(8, 73, 288, 1);
    QTest::newRow("Line1_1 lower dark") << QStringLiteral("Line1_1") << QRect(8, 192, 288, 1);
    QTest::newRow("Line2_1 lower white") << QStringLiteral("Line2_1") << QRect(8, 193, 288, 1);
}

void tst_Form2::controlGeometry()
{
    QFETCH(QString, name);
    QFETCH(QRect, pixels);

    Opening opening;
    if (opening.owner.logicalDpiX() != 96)
        QSKIP("The expected pixels are for a 96 dpi screen");
    const auto* widget = opening.dialog->findChild<QWidget*>(name);
    QVERIFY(widget);

    QCOMPARE(widget->geometry(), pixels);
    QCOMPARE(widget->parentWidget(), opening.dialog.get());
}

void tst_Form2::labelFonts_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<qreal>("pointSize");
    QTest::addColumn<bool>("bold");
    QTest::addColumn<Qt::Alignment>("alignment");

    QTest::newRow("Label1 title") << QStringLiteral("Label1") << 13.5 << true << Centered;
    QTest::newRow("Label3 credit") << QStringLiteral("Label3") << 12.0 << true << LeftJustified;
    QTest::newRow("Label5 version") << QStringLiteral("Label5") << 9.75 << true << Centered;
}

void tst_Form2::labelFonts()
{
    QFETCH(QString, name);
    QFETCH(qreal, pointSize);
    QFETCH(bool, bold);
    QFETCH(Qt::Alignment, alignment);

    Opening opening;
    const auto* label = opening.dialog->findChild<QLabel*>(name);
    QVERIFY(label);

    QCOMPARE(label->font().pointSizeF(), pointSize);
    QCOMPARE(label->font().bold(), bold);
    QCOMPARE(label->alignment(), alignment);
    QCOMPARE(label->focusPolicy(), Qt::NoFocus);
    QVERIFY(!label->wordWrap());
    // A one-line caption that does not fit would be cut off.
    QVERIFY2(label->fontMetrics().horizontalAdvance(label->text()) <= label->width(),
             qPrintable(label->text()));
}

void tst_Form2::separatorsAreEtched_data()
{
    QTest::addColumn<int>("darkRow");

    QTest::newRow("under the title block") << 72;
    QTest::newRow("above the buttons") << 192;
}

void tst_Form2::separatorsAreEtched()
{
    QFETCH(int, darkRow);

    Opening opening;
    if (opening.owner.logicalDpiX() != 96)
        QSKIP("The rows are for a 96 dpi screen");
    const QImage picture = opening.dialog->grab().toImage();
    const qreal ratio = picture.devicePixelRatio();

    for (int x : {8, 150, 295}) {
        const QPoint dark = QPointF(x * ratio, darkRow * ratio).toPoint();
        const QPoint white = QPointF(x * ratio, (darkRow + 1) * ratio).toPoint();
        QCOMPARE(picture.pixelColor(dark), QColor(128, 128, 128));
        QCOMPARE(picture.pixelColor(white), QColor(Qt::white));
    }
    // The rules stop where they should: one pixel further out is the window's background.
    const QColor background = opening.dialog->palette().color(QPalette::Window);
    QCOMPARE(picture.pixelColor(QPointF(296 * ratio, darkRow * ratio).toPoint()), background);
    QCOMPARE(picture.pixelColor(QPointF(7 * ratio, darkRow * ratio).toPoint()), background);
}

void tst_Form2::windowFrame()
{
    Opening opening;
    Form2& dialog = *opening.dialog;

    if (opening.owner.logicalDpiX() == 96)
        QCOMPARE(dialog.size(), QSize(305, 230));
    QCOMPARE(dialog.minimumSize(), dialog.maximumSize());
    QCOMPARE(dialog.parentWidget(), &opening.owner);
    QVERIFY(dialog.windowModality() != Qt::NonModal);
    QVERIFY(!dialog.testAttribute(Qt::WA_DeleteOnClose));
    const Qt::WindowFlags flags = dialog.windowFlags();
    QCOMPARE(flags & Qt::WindowType_Mask, Qt::Dialog);
    QVERIFY(flags.testFlag(Qt::WindowCloseButtonHint));
    QVERIFY(!flags.testFlag(Qt::WindowMinimizeButtonHint));
    QVERIFY(!flags.testFlag(Qt::WindowMaximizeButtonHint));
    for (const char* name : {"Command1", "Command2"}) {
        const auto* button = opening.control<QPushButton>(name);
        QVERIFY(!button->isDefault());
        QVERIFY(!button->autoDefault());
    }
    QCOMPARE(opening.control<QPushButton>("Command1")->text(), QStringLiteral("&Return"));
    QCOMPARE(opening.control<QPushButton>("Command2")->text(), QStringLiteral("&Visit Hompage"));
}

void tst_Form2::picturesAndTips()
{
    Opening opening;

    QVERIFY(!opening.dialog->windowIcon().isNull());
    const auto* icon = opening.control<QLabel>("Image1");
    QVERIFY(!icon->pixmap().isNull());
    QVERIFY(icon->pixmap().deviceIndependentSize().toSize().width() <= icon->width());

    const auto* author = opening.control<QLabel>("Image2");
    QCOMPARE(QPixmap(QStringLiteral(":/author.jpg")).size(), QSize(100, 115));
    QVERIFY(!author->pixmap().isNull());
    QVERIFY(author->hasScaledContents());
    QCOMPARE(author->toolTip(), QStringLiteral("Hello, it's me!"));

    QCOMPARE(opening.control<QPushButton>("Command1")->toolTip(),
             QStringLiteral("Return to Quippet"));
    QCOMPARE(opening.control<QPushButton>("Command2")->toolTip(),
             QStringLiteral("Click to visit Quippet homepage."));
}

void tst_Form2::centeredOnOwner()
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
             qPrintable(QStringLiteral("off by %1, %2").arg(offset.x()).arg(offset.y())));
}

QTEST_MAIN(tst_Form2)
#include "tst_Form2.moc"
