#include "fakes/MainWindowHarness.h"
#include "help_window/Form2.h"
#include "help_window/HelpTexts.h"

#include <QAbstractButton>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QtTest>

using namespace Qt::Literals::StringLiterals;

/** Both windows' controls: placement in pixels, every text word for word, fonts, pictures, the menus, the state before
 * start-up. */
class CompositionTest : public QObject
{
    Q_OBJECT

private:
    std::unique_ptr<MainWindowHarness> m_h;
    QMap<QString, QString> m_shown;

    /** The picture's resource and size, found by drawing each resource at the size shown. */
    static QString pictureName(const QImage& shown)
    {
        for (const QString& name : {u"quippet.svg"_s, u"copy.svg"_s, u"add.svg"_s, u"remove.svg"_s, u"write.svg"_s, u"author.jpg"_s}) {
            const QString path = u":/"_s + name;
            const QImage drawn = name.endsWith(u".svg"_s) ? QIcon(path).pixmap(shown.size()).toImage() : QImage(path);
            if (drawn.convertToFormat(QImage::Format_ARGB32) == shown.convertToFormat(QImage::Format_ARGB32))
                return u"%1 %2x%3"_s.arg(name).arg(shown.width()).arg(shown.height());
        }
        return u"unknown picture"_s;
    }

    /** "<Window>.<object> text", "tip", "name", "font", "picture" and "bevel" for every named control, the window's "title" and "icon". */
    void collect(const QWidget* window, const QString& prefix)
    {
        m_shown.insert(prefix + u"title"_s, window->windowTitle());
        m_shown.insert(prefix + u"icon"_s, pictureName(window->windowIcon().pixmap(32).toImage()));
        for (const QWidget* widget : window->findChildren<QWidget*>()) {
            const QString key = prefix + widget->objectName();
            if (widget->objectName().isEmpty())
                continue;
            const QFont font = widget->font();
            m_shown.insert(key + u" font"_s, font == window->font() && !widget->testAttribute(Qt::WA_SetFont)
                                                 ? u"the window's"_s
                                                 : u"%1%2"_s.arg(font.pointSizeF()).arg(font.bold() ? u" bold"_s : QString()));
            if (const auto* frame = qobject_cast<const QFrame*>(widget); frame && frame->frameStyle() == (QFrame::Panel | QFrame::Sunken))
                m_shown.insert(key + u" bevel"_s, u"inset"_s);
            if (const auto* label = qobject_cast<const QLabel*>(widget); label && !label->pixmap().isNull())
                m_shown.insert(key + u" picture"_s, pictureName(label->pixmap().toImage()));
            if (const auto* label = qobject_cast<const QLabel*>(widget); label && !label->text().isEmpty())
                m_shown.insert(key + u" text"_s, label->text());
            if (const auto* button = qobject_cast<const QAbstractButton*>(widget))
                m_shown.insert(key + u" text"_s, button->text());
            if (const auto* box = qobject_cast<const QGroupBox*>(widget))
                m_shown.insert(key + u" text"_s, box->title());
            if (!widget->toolTip().isEmpty())
                m_shown.insert(key + u" tip"_s, widget->toolTip());
            if (!widget->accessibleName().isEmpty())
                m_shown.insert(key + u" name"_s, widget->accessibleName());
        }
    }

    /** One line per item: object name, caption, then "checkable" and "disabled" where they hold. */
    static QStringList describe(const QList<QAction*>& actions)
    {
        QStringList lines;
        for (const QAction* action : actions) {
            const QString name = action->menu() ? action->menu()->objectName() : action->objectName();
            QString line = name + u' ' + (action->isSeparator() ? u"-"_s : action->text());
            if (action->isCheckable())
                line += u" checkable"_s + (action->isChecked() ? u" checked"_s : QString());
            if (!action->isEnabled())
                line += u" disabled"_s;
            if (!action->shortcut().isEmpty())
                line += u" shortcut"_s;
            lines << line;
        }
        return lines;
    }

private Q_SLOTS:
    void initTestCase()
    {
        MainWindowHarness main;
        collect(main.form.get(), u"Form1."_s);
        for (int panel : {1, 2}) {
            m_shown.insert(u"Form1.panel%1 tip"_s.arg(panel), main.statusBar()->panelToolTip(panel));
            m_shown.insert(u"Form1.panel%1 description"_s.arg(panel), main.statusBar()->panel(panel)->accessibleDescription());
        }
        const Form2 help(main.platform.program, main.platform.urls, main.platform.messages, nullptr);
        collect(&help, u"Form2."_s);
        const auto* questions = help.findChild<QComboBox*>(u"Combo1"_s);
        const QStringList answers = HelpTexts::LoadAnswers();
        QCOMPARE(questions->count(), answers.size());
        QStringList asked;
        for (int i = 0; i < questions->count(); ++i)
            asked << questions->itemText(i);
        m_shown.insert(u"questions"_s, asked.join(u'|'));
        m_shown.insert(u"answers"_s, answers.join(u'|'));
    }

    void init() { m_h = std::make_unique<MainWindowHarness>(); }

    void layout_data()
    {
        QTest::addColumn<QRect>("pixels"); // at 96 dpi, in the area below the menu bar or the client area
        QTest::newRow("Form1.Line1") << QRect(0, 0, 256, 2);
        QTest::newRow("Form1.Frame1") << QRect(0, 8, 256, 99);
        QTest::newRow("Form1.Combo1") << QRect(8, 24, 241, 21);
        QTest::newRow("Form1.Image1") << QRect(147, 53, 32, 32);
        QTest::newRow("Form1.Image2") << QRect(8, 53, 32, 32);
        QTest::newRow("Form1.Image3") << QRect(78, 53, 32, 32);
        QTest::newRow("Form1.Image4") << QRect(217, 53, 32, 32);
        // A caption under an icon may grow for a wider font, but keeps its designed centre and top.
        QTest::newRow("Form1.Label1") << QRect(151, 89, 25, 13);
        QTest::newRow("Form1.Label2") << QRect(12, 89, 21, 13);
        QTest::newRow("Form1.Label3") << QRect(75, 89, 41, 13);
        QTest::newRow("Form1.Label4") << QRect(219, 89, 27, 13);
        QTest::newRow("Form1.StatusBar1") << QRect(0, 107, 256, 22);
        QTest::newRow("Form2.") << QRect(0, 0, 305, 230);
        QTest::newRow("Form2.Label1") << QRect(116, 8, 73, 25);
        QTest::newRow("Form2.Label3") << QRect(76, 48, 153, 25);
        QTest::newRow("Form2.Label5") << QRect(76, 32, 153, 17);
        QTest::newRow("Form2.Command1") << QRect(68, 200, 81, 25);
        QTest::newRow("Form2.Command2") << QRect(160, 200, 81, 25);
        QTest::newRow("Form2.Combo1") << QRect(32, 80, 241, 21);
        QTest::newRow("Form2.Label2") << QRect(8, 104, 289, 81);
        QTest::newRow("Form2.Image1") << QRect(24, 24, 32, 32);
        QTest::newRow("Form2.Image2") << QRect(248, 20, 32, 40);
        QTest::newRow("Form2.Line1_0") << QRect(8, 72, 288, 1);
        QTest::newRow("Form2.Line2_0") << QRect(8, 73, 288, 1);
        QTest::newRow("Form2.Line1_1") << QRect(8, 192, 288, 1);
        QTest::newRow("Form2.Line2_1") << QRect(8, 193, 288, 1);
    }

    void layout()
    {
        QFETCH(QRect, pixels);
        if (m_h->form->logicalDpiX() != 96)
            QSKIP("pixel positions are given for 96 dpi");
        const QStringList key = QString::fromLatin1(QTest::currentDataTag()).split(u'.');
        if (key[0] == u"Form2"_s) {
            Form2 help(m_h->platform.program, m_h->platform.urls, m_h->platform.messages, nullptr);
            const QWidget* widget = key[1].isEmpty() ? &help : help.findChild<QWidget*>(key[1]);
            QVERIFY(widget && (key[1].isEmpty() ? widget->rect() : widget->geometry()) == pixels);
            // A one-line caption that does not fit would be cut off.
            if (const auto* label = qobject_cast<const QLabel*>(widget); label && !label->wordWrap())
                QVERIFY(label->fontMetrics().horizontalAdvance(label->text()) <= label->width());
            else if (key[1] == u"Command1"_s) // a caption that fits keeps its font
                QCOMPARE(widget->font(), help.font());
            // The etched rules are drawn, not only placed: dark grey over white.
            if (key[1].startsWith(u"Line"_s))
                QCOMPARE(help.grab().toImage().pixelColor(pixels.center()),
                         key[1].startsWith(u"Line1"_s) ? QColor(128, 128, 128) : QColor(Qt::white));
            return;
        }
        QWidget* widget = m_h->child(key[1]);
        QVERIFY(widget);
        const QRect placed(widget->mapTo(m_h->form->centralWidget(), QPoint(0, 0)), widget->size());
        if (key[1] == u"Line1"_s) { // at twice the scale too, the rule is dark grey over white to its right end
            QPixmap drawn(widget->size() * 2);
            drawn.setDevicePixelRatio(2);
            widget->render(&drawn);
            QCOMPARE(drawn.toImage().pixelColor(drawn.width() - 1, 1), QColor(128, 128, 128));
            QCOMPARE(drawn.toImage().pixelColor(drawn.width() - 1, 2), QColor(Qt::white));
        }
        if (!key[1].startsWith(u"Label"_s)) {
            QCOMPARE(placed, pixels);
            return;
        }
        QVERIFY2(qAbs(placed.center().x() - pixels.center().x()) <= 1, qPrintable(QString::number(placed.center().x())));
        QCOMPARE(placed.top(), pixels.top());
        QVERIFY(placed.width() >= qMax(pixels.width(), widget->sizeHint().width()) && placed.height() >= widget->sizeHint().height());
        QCOMPARE(qobject_cast<QLabel*>(widget)->alignment(), Qt::AlignHCenter | Qt::AlignTop);
    }

    void menus_data()
    {
        QTest::addColumn<QString>("menu"); // empty: the menu bar
        QTest::addColumn<QStringList>("items");
        // clang-format off
        QTest::newRow("menu bar") << QString() << QStringList{u"prog &Program"_s, u"Abt &About"_s};
        QTest::newRow("Program") << u"prog"_s << QStringList{u"OnTop Always On Top checkable"_s, u"ShoTask Show In Taskbar checkable"_s, u"dash -"_s, u"ext E&xit"_s};
        QTest::newRow("About") << u"Abt"_s << QStringList{u"abquip &About Quippet"_s, u"thegap -"_s, u"vist &Visit Homepage"_s};
        QTest::newRow("tray pop-up") << u"pop"_s << QStringList{u"rst &Restore"_s, u"nada -"_s, u"ex E&xit"_s};
        QTest::newRow("Write pop-up") << u"pop2"_s << QStringList{u"mAdd &Add Text To File"_s, u"mCreate &Create New File"_s};
        // clang-format on
    }

    void menus()
    {
        QFETCH(QString, menu);
        QTEST(describe(menu.isEmpty() ? m_h->form->menuBar()->actions() : m_h->child<QMenu>(menu)->actions()), "items");
    }

    void onTopDisabledWhereUnsupported()
    {
        m_h->platform.topmost.isSupported = false;
        m_h->form = std::make_unique<Form1>(m_h->platform.services());
        QVERIFY(m_h->load({{u"Top"_s, u"True"_s}}));
        QCOMPARE(describe(m_h->child<QMenu>(u"prog"_s)->actions()).first(), u"OnTop Always On Top checkable checked disabled"_s);
        QVERIFY(!m_h->action(u"OnTop"_s)->toolTip().isEmpty());
        m_h->form->close();
        // The stored wish survives a session on such a desktop.
        QCOMPARE(m_h->platform.settings.values.value(u"Top"_s), u"True"_s);
    }

    void stateBeforeAndAfterStartup()
    {
        QVERIFY(m_h->statusBar()->panelText(2) == u"9:41:07 PM"_s && !(m_h->form->windowFlags() & Qt::WindowMaximizeButtonHint));
        m_h->platform.clock.time = u"9:41:08 PM"_s;
        QTRY_COMPARE(m_h->statusBar()->panelText(2), u"9:41:08 PM"_s); // the clock shows the time from the start and keeps it current
        const int reads = m_h->platform.clock.reads;
        QTest::qWait(300);
        QVERIFY(m_h->platform.clock.reads <= reads + 1); // once a second, not at every turn of the event loop
        for (QLabel* label : {static_cast<QLabel*>(m_h->statusBar()->panel(2)), m_h->child<QLabel>(u"Image1"_s)}) {
            const QImage drawn = label->grab().toImage();
            label->clear(); // the clock's text and the icon's picture are drawn
            QVERIFY(label->grab().toImage() != drawn);
        }
        QCOMPARE(m_h->platform.tray.menu, m_h->child<QMenu>(u"pop"_s)); // the icon's own menu
        for (const char* name : {"Image1", "Image2", "Image3", "Image4", "Combo1"})
            QVERIFY2(m_h->child(QLatin1String(name))->acceptDrops(), name);
        // Loading fills the list, not the box, whose cursor stays where it was.
        m_h->combo()->setText(u"typed"_s);
        m_h->combo()->lineEdit()->setCursorPosition(2);
        QVERIFY(m_h->load({}, "\"one\"\r\n\"two\"\r\n"));
        QCOMPARE(m_h->combo()->lineEdit()->text().insert(m_h->combo()->lineEdit()->cursorPosition(), u'|'), u"ty|ped"_s);
        // Positions outside the list change nothing.
        for (int outside : {-1, 3})
            m_h->form->list().removeAt(outside);
        QCOMPARE(m_h->combo()->count(), 3);
    }

    void text_data()
    {
        QTest::addColumn<QString>("text");
        // clang-format off
        QTest::newRow("Form1.title") << "Quippet";
        QTest::newRow("Form1.icon") << "quippet.svg 32x32";
        QTest::newRow("Form1.Combo1 font") << "8.25 bold";
        QTest::newRow("Form1.Combo1 name") << "Snippet";
        QTest::newRow("Form1.Image3 name") << "Remove";
        QTest::newRow("Form1.Panel1 name") << "Message";
        QTest::newRow("Form1.Panel2 name") << "Clock";
        QTest::newRow("Form1.Image1 picture") << "copy.svg 32x32";
        QTest::newRow("Form1.Image2 picture") << "add.svg 32x32";
        QTest::newRow("Form1.Image3 picture") << "remove.svg 32x32";
        QTest::newRow("Form1.Image4 picture") << "write.svg 32x32";
        QTest::newRow("Form1.Panel1 bevel") << "inset";
        QTest::newRow("Form1.Frame1 text") << "Select desired text and drag to location:";
        QTest::newRow("Form1.Image1 tip") << "Drag text here to paste to the Windows clipboard.";
        QTest::newRow("Form1.Image2 tip") << "Drag text here to add to Quippet.";
        QTest::newRow("Form1.Image3 tip") << "Drag text here to remove from Quippet.";
        QTest::newRow("Form1.Image4 tip") << "Drag text here to write to file.";
        QTest::newRow("Form1.Label1 text") << "Copy";
        QTest::newRow("Form1.Label2 text") << "Add";
        QTest::newRow("Form1.Label3 text") << "Remove";
        QTest::newRow("Form1.Label4 text") << "Write";
        QTest::newRow("Form1.panel1 tip") << "Click here to shrink program.";
        QTest::newRow("Form1.panel2 tip") << "Click here to send time to textbox.";
        QTest::newRow("Form1.panel1 description") << "Click here to shrink program. Space or Enter shrinks or restores the window.";
        QTest::newRow("Form1.panel2 description") << "Click here to send time to textbox. Space or Enter puts the time into the box.";
        QTest::newRow("Form2.title") << "About Quippet";
        QTest::newRow("Form2.icon") << "quippet.svg 32x32";
        QTest::newRow("Form2.Label1 font") << "13.5 bold";
        QTest::newRow("Form2.Label3 font") << "12 bold";
        QTest::newRow("Form2.Label5 font") << "9.75 bold";
        QTest::newRow("Form2.Label2 font") << "the window's";
        QTest::newRow("Form2.Image1 picture") << "quippet.svg 32x32";
        QTest::newRow("Form2.Image2 picture") << "author.jpg 100x115";
        QTest::newRow("Form2.Label1 text") << "Quippet";
        QTest::newRow("Form2.Label3 text") << "by Team Quippet";
        QTest::newRow("Form2.Label5 text") << "Version 1.0.61";
        QTest::newRow("Form2.Label2 text") << "Select a topic above.";
        QTest::newRow("Form2.Command1 text") << "&Return";
        QTest::newRow("Form2.Command1 tip") << "Return to Quippet";
        QTest::newRow("Form2.Command2 text") << "&Visit Hompage";
        QTest::newRow("Form2.Command2 tip") << "Click to visit Quippet homepage.";
        QTest::newRow("Form2.Image2 tip") << "Hello, it's me!";
        QTest::newRow("questions") << "How do I place text where I want it to go?|How do I store text in Quippet?|How do I remove text from Quippet?|How do I copy text to clipboard?|How do I write text to file?|How do I shrink Quippet?|How do I copy current time to Quippet?|How do I make Quippet stay on top?|How do I send Quippet to Taskbar?|How do I use Quippet without drag and drop?";
        QTest::newRow("answers") << "Simply choose the text you want from the dropdown box and drag it to it's destination.|There are several ways. First, you can type the text into the text box, highlight it, and drag it to the Add icon. To quickly highlight the text, click any of the icons. Second, you can drag text from another source directly to the Add icon. Finally, you can copy text from the clipboard by dragging it from the Copy icon to the Add icon.|Simply select the text you want to remove in the dropdown box and drag it to the Remove icon.|Select the text from the dropdown box and drag it to the Clipboard icon. You can also drag text from another source to the Clipboard icon as well. To copy text from the clipboard, click the Clipboard icon and drag it to the Add icon or to another location.|Choose the text from the dropdown box and drag it the the Write icon. This will bring up a pop-up menu asking whether you want to add to an existing file or create a new one. A dialog will then open asking you for the name and location of the text file to create or add to.|Just click on the left panel of the status bar, down at the bottom of Quippet. To restore, do the same. If you drag text onto Quippet while in it's shrunken state, it will automatically restore.|Simply click the panel containing the time, and it will appear in the Quippet text box. Quippet automatically enters the current date into the dropdown box.|Click the Program menu item and select Stay On top. A check will appear, and Quippet will now remain on top of all other windows.|Check the Show In Taskbar item in the Program menu. Now, when Quippet is launched or minimized, it will appear in the Taskbar. To restore Quippet, double-click the Taskbar icon or right-click for a menu.|Instead of dragging and dropping, you can select or type the text and double-click the proper icon to perform that action.";
        // clang-format on
    }

    void text()
    {
        QTEST(m_shown.value(QString::fromLatin1(QTest::currentDataTag())), "text"); // a missing key shows as empty
    }
};

QTEST_MAIN(CompositionTest)
#include "tst_Composition.moc"
