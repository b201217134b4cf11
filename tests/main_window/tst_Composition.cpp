#include "FakePlatform.h"
#include "FilterPopup.h"
#include "Form1.h"
#include "PanelStatusBar.h"

#include <QAbstractItemView>
#include <QAction>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QTemporaryDir>
#include <QtTest>

/** The main window's controls, captions, tips and twips placement. */
class CompositionTest : public QObject
{
    Q_OBJECT

private:
    FakePlatform m_platform;
    QTemporaryDir m_dir;
    std::unique_ptr<Form1> m_form;

    QWidget* control(const QString& name) const { return m_form->findChild<QWidget*>(name); }

private Q_SLOTS:
    void init()
    {
        m_platform.program.programFolder = m_dir.path();
        m_form = std::make_unique<Form1>(m_platform.services());
    }

    void menuBarShowsOnlyProgramAndAbout()
    {
        QStringList titles;
        const auto actions = m_form->menuBar()->actions();
        for (const QAction* action : actions)
            titles << action->text();
        QCOMPARE(titles, (QStringList{QStringLiteral("&Program"), QStringLiteral("&About")}));
    }

    void menuItems_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("caption");
        QTest::addColumn<bool>("checkable");

        QTest::newRow("always on top") << "OnTop"
                                       << "Always On Top" << true;
        QTest::newRow("show in taskbar") << "ShoTask"
                                         << "Show In Taskbar" << true;
        QTest::newRow("program exit") << "ext"
                                      << "E&xit" << false;
        QTest::newRow("about") << "abquip"
                               << "&About Quippet" << false;
        QTest::newRow("homepage") << "vist"
                                  << "&Visit Homepage" << false;
        QTest::newRow("tray restore") << "rst"
                                      << "&Restore" << false;
        QTest::newRow("tray exit") << "ex"
                                   << "E&xit" << false;
        QTest::newRow("add text to file") << "mAdd"
                                          << "&Add Text To File" << false;
        QTest::newRow("create new file") << "mCreate"
                                         << "&Create New File" << false;
    }

    void menuItems()
    {
        QFETCH(QString, name);
        QFETCH(QString, caption);
        QFETCH(bool, checkable);
        const auto* action = m_form->findChild<QAction*>(name);
        QVERIFY(action);
        QCOMPARE(action->text(), caption);
        QCOMPARE(action->isCheckable(), checkable);
        QVERIFY(!action->isChecked());
        QVERIFY(action->shortcut().isEmpty());
    }

    void targets_data()
    {
        QTest::addColumn<QString>("image");
        QTest::addColumn<QString>("label");
        QTest::addColumn<QString>("caption");
        QTest::addColumn<QString>("tip");
        QTest::addColumn<QPoint>("imagePos");
        QTest::addColumn<QRect>("labelRect");

        // Pixel positions at 96 dpi, relative to the area below the menu bar.
        QTest::newRow("copy") << "Image1"
                              << "Label1"
                              << "Copy"
                              << "Drag text here to paste to the Windows clipboard."
                              << QPoint(147, 53) << QRect(151, 89, 25, 13);
        QTest::newRow("add") << "Image2"
                             << "Label2"
                             << "Add"
                             << "Drag text here to add to Quippet." << QPoint(8, 53)
                             << QRect(12, 89, 21, 13);
        QTest::newRow("remove") << "Image3"
                                << "Label3"
                                << "Remove"
                                << "Drag text here to remove from Quippet." << QPoint(78, 53)
                                << QRect(75, 89, 41, 13);
        QTest::newRow("write") << "Image4"
                               << "Label4"
                               << "Write"
                               << "Drag text here to write to file." << QPoint(217, 53)
                               << QRect(219, 89, 27, 13);
    }

    void targets()
    {
        QFETCH(QString, image);
        QFETCH(QString, label);
        QFETCH(QString, caption);
        QFETCH(QString, tip);
        QFETCH(QPoint, imagePos);
        QFETCH(QRect, labelRect);
        if (m_form->logicalDpiX() != 96)
            QSKIP("pixel positions are given for 96 dpi");
        QWidget* client = m_form->centralWidget();
        QWidget* icon = control(image);
        QVERIFY(icon);
        QCOMPARE(icon->mapTo(client, QPoint(0, 0)), imagePos);
        QCOMPARE(icon->size(), QSize(32, 32));
        QCOMPARE(icon->toolTip(), tip);
        QCOMPARE(icon->accessibleName(), caption);
        QCOMPARE(icon->accessibleDescription(), tip);
        QVERIFY(icon->acceptDrops());
        auto* text = qobject_cast<QLabel*>(control(label));
        QVERIFY(text);
        QCOMPARE(text->text(), caption);
        // The caption box may grow for a wider font, but keeps its designed centre and top.
        const QRect placed(text->mapTo(client, QPoint(0, 0)), text->size());
        QVERIFY2(qAbs(placed.center().x() - labelRect.center().x()) <= 1,
                 qPrintable(QStringLiteral("centre %1").arg(placed.center().x())));
        QCOMPARE(placed.top(), labelRect.top());
        QVERIFY(placed.width() >= labelRect.width());
        QVERIFY(placed.width() >= text->sizeHint().width());
        QVERIFY(!text->acceptDrops());
    }

    void heightSetsClientArea_data()
    {
        QTest::addColumn<double>("height");
        QTest::addColumn<int>("clientPixels");

        QTest::newRow("full design height") << 2600.0 << 129;
        QTest::newRow("shrunk strip") << 1030.0 << 24;
        QTest::newRow("odd stored height") << 2000.0 << 89;
    }

    void heightSetsClientArea()
    {
        QFETCH(double, height);
        QFETCH(int, clientPixels);
        if (m_form->logicalDpiY() != 96)
            QSKIP("pixel sizes are given for 96 dpi");
        m_form->setHeight(height);
        QCOMPARE(m_form->Height(), height);
        QCOMPARE(m_form->centralWidget()->height(), clientPixels);
        auto* status = m_form->findChild<PanelStatusBar*>(QStringLiteral("StatusBar1"));
        // Docked to the bottom at every height.
        QCOMPARE(status->geometry().bottom(), clientPixels - 1);
        QCOMPARE(status->height(), 22);
    }

    void initialState()
    {
        auto* status = m_form->findChild<PanelStatusBar*>(QStringLiteral("StatusBar1"));
        QCOMPARE(status->panelText(1), QString());
        QCOMPARE(status->panelText(2), m_platform.clock.time);
        QCOMPARE(status->panelToolTip(1), QStringLiteral("Click here to shrink program."));
        QCOMPARE(status->panelToolTip(2), QStringLiteral("Click here to send time to textbox."));
        auto* combo = m_form->findChild<QComboBox*>(QStringLiteral("Combo1"));
        QVERIFY(combo->isEditable());
        // Only a filter pop-up: no inline completion that would type for the user.
        QVERIFY(!combo->completer());
        QVERIFY(combo->font().bold());
        QCOMPARE(combo->lineEdit()->text(), QString());
        QCOMPARE(m_form->windowTitle(), QStringLiteral("Quippet"));
        QVERIFY(!(m_form->windowFlags() & Qt::WindowMaximizeButtonHint));
        QVERIFY(m_form->windowFlags() & Qt::WindowMinimizeButtonHint);
        QVERIFY(!m_form->Timer1().isActive());
        QCOMPARE(m_form->Timer1().interval(), 1000);
    }

    void typingOffersMatchingEntriesWithoutChangingTheText()
    {
        m_form->list().appendAll(
            {QStringLiteral("Hello, world"), QStringLiteral("say HELLO"), QStringLiteral("other")});
        m_form->show();
        QVERIFY(QTest::qWaitForWindowExposed(m_form.get()));
        auto* combo = m_form->findChild<QComboBox*>(QStringLiteral("Combo1"));
        combo->lineEdit()->setFocus();
        QTest::keyClicks(combo->lineEdit(), QStringLiteral("ell"));
        QCOMPARE(combo->lineEdit()->text(), QStringLiteral("ell"));
        auto* popup = combo->findChild<FilterPopup*>();
        QCOMPARE(popup->entries(),
                 QStringList({QStringLiteral("Hello, world"), QStringLiteral("say HELLO")}));
        QVERIFY(popup->isVisible());
        QCOMPARE(m_form->list().count(), 3);
    }

    void onTopDisabledWhereUnsupported()
    {
        m_platform.topmost.isSupported = false;
        m_platform.settings.values.insert(QStringLiteral("Top"), QStringLiteral("True"));
        Form1 form(m_platform.services());
        QVERIFY(form.Form_Load());
        auto* onTop = form.findChild<QAction*>(QStringLiteral("OnTop"));
        QVERIFY(!onTop->isEnabled());
        QVERIFY(!onTop->toolTip().isEmpty());
        form.close();
        // The stored wish survives a session on such a desktop.
        QCOMPARE(m_platform.settings.values.value(QStringLiteral("Top")), QStringLiteral("True"));
    }

    void loadingDoesNotTouchTheWorkingText()
    {
        QFile store(m_dir.filePath(QStringLiteral("Text.txt")));
        QVERIFY(store.open(QIODevice::WriteOnly));
        store.write("\"one\"\r\n\"two\"\r\n");
        store.close();
        QVERIFY(m_form->Form_Load());
        auto* combo = m_form->findChild<QComboBox*>(QStringLiteral("Combo1"));
        QCOMPARE(combo->count(), 3);
        QCOMPARE(combo->lineEdit()->text(), QString());
    }
};

QTEST_MAIN(CompositionTest)
#include "tst_Composition.moc"
