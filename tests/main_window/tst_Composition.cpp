#include "fakes/MainWindowHarness.h"
#include "fakes/TableRows.h"
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

    /** "<Window>.<object> text", "tip", "font", "picture" and "bevel" for every named control, the window's "title" and "icon". */
    void collect(const QWidget* window, const QString& prefix)
    {
        m_shown.insert(prefix + u"title"_s, window->windowTitle());
        m_shown.insert(prefix + u"icon"_s, pictureName(window->windowIcon().pixmap(32).toImage()));
        for (const QWidget* widget : window->findChildren<QWidget*>()) {
            const QString key = prefix + widget->objectName();
            if (widget->objectName().isEmpty())
                continue;
            const QFont font = widget->font();
            m_shown.insert(key + u" font"_s,
                           font == window->font() ? u"the window's"_s : u"%1%2"_s.arg(font.pointSizeF()).arg(font.bold() ? u" bold"_s : QString()));
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
        }
    }

    /** The rows of one kind in composition.tsv, each as key and value. */
    static QList<QStringList> expected(const QString& kind)
    {
        QFile file(QFINDTESTDATA("main_window/composition.tsv"));
        if (!file.open(QIODevice::ReadOnly | QIODevice::Text))
            qFatal("composition.tsv not found");
        QList<QStringList> rows;
        for (const QString& line : QString::fromUtf8(file.readAll()).split(u'\n'))
            if (line.startsWith(kind + u'\t'))
                rows.append({line.section(u'\t', 1, 1), line.section(u'\t', 2)});
        return rows;
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
        for (int i = 0; i < questions->count(); ++i)
            m_shown.insert(u"topic %1"_s.arg(i), questions->itemText(i) + u"\n"_s + answers.at(i));
    }

    void init() { m_h = std::make_unique<MainWindowHarness>(); }

    void layout_data()
    {
        QTest::addColumn<QRect>("pixels");
        for (const QStringList& row : expected(u"layout"_s)) {
            const QStringList n = row[1].split(u' ');
            QTest::newRow(qPrintable(row[0])) << QRect(n[0].toInt(), n[1].toInt(), n[2].toInt(), n[3].toInt());
        }
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
            QVERIFY(widget);
            QCOMPARE(key[1].isEmpty() ? widget->rect() : widget->geometry(), pixels);
            // A one-line caption that does not fit would be cut off.
            if (const auto* label = qobject_cast<const QLabel*>(widget); label && !label->wordWrap())
                QVERIFY(label->fontMetrics().horizontalAdvance(label->text()) <= label->width());
            // The etched rules are drawn, not only placed: dark grey over white.
            if (key[1].startsWith(u"Line"_s))
                QCOMPARE(help.grab().toImage().pixelColor(pixels.center()),
                         key[1].startsWith(u"Line1"_s) ? QColor(128, 128, 128) : QColor(Qt::white));
            return;
        }
        QWidget* widget = m_h->child(key[1]);
        QVERIFY(widget);
        const QRect placed(widget->mapTo(m_h->form->centralWidget(), QPoint(0, 0)), widget->size());
        if (!key[1].startsWith(u"Label"_s)) {
            QCOMPARE(placed, pixels);
            return;
        }
        QVERIFY2(qAbs(placed.center().x() - pixels.center().x()) <= 1, qPrintable(QString::number(placed.center().x())));
        QCOMPARE(placed.top(), pixels.top());
        QVERIFY(placed.width() >= qMax(pixels.width(), widget->sizeHint().width()));
        QCOMPARE(qobject_cast<QLabel*>(widget)->alignment(), Qt::AlignHCenter | Qt::AlignTop);
    }

    void menus_data()
    {
        QTest::addColumn<QStringList>("items");
        for (const QStringList& row : expected(u"menu"_s))
            QTest::newRow(qPrintable(row[0])) << row[1].split(u'|');
    }
    void menus()
    {
        const QString menu = QString::fromLatin1(QTest::currentDataTag());
        QTEST(describe(menu == u"menu bar"_s ? m_h->form->menuBar()->actions() : m_h->child<QMenu>(menu)->actions()), "items");
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
        m_h->platform.clock.time = u"9:41:08 PM"_s;
        QTRY_COMPARE(m_h->statusBar()->panelText(2), u"9:41:08 PM"_s); // the clock keeps itself current
        QVERIFY(!(m_h->form->windowFlags() & Qt::WindowMaximizeButtonHint));
        // Loading fills the list, not the box.
        QVERIFY(m_h->load({}, "\"one\"\r\n\"two\"\r\n"));
        QCOMPARE(m_h->combo()->lineEdit()->text(), QString());
        // Positions outside the list change nothing.
        for (int outside : {-1, 3})
            m_h->form->list().removeAt(outside);
        QCOMPARE(m_h->combo()->count(), 3);
    }

    void text_data()
    {
        QTest::addColumn<QString>("text");
        for (const QStringList& row : expected(u"text"_s))
            QTest::newRow(qPrintable(row[0])) << QString(row[1]).replace(u"\\n"_s, u"\n"_s);
    }

    void text()
    {
        QTEST(m_shown.value(QString::fromLatin1(QTest::currentDataTag())), "text"); // a missing key shows as empty
    }
};

QTEST_MAIN(CompositionTest)
#include "tst_Composition.moc"
