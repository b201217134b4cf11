#include "MainWindowHarness.h"

#include <QStorageInfo>
#include <QtTest>
#include <functional>

using namespace Qt::Literals::StringLiterals;

/** The Write icon, its menu, the save dialog, the settings it remembers and the files. */
class WriteTargetTest : public QObject
{
    Q_OBJECT

private:
    std::unique_ptr<MainWindowHarness> m_h;

    QString file(const QString& name) const { return m_h->dir.filePath(name); }
    /** Runs an event on the Write icon; its menu opens only once that event has been handled. */
    void openMenuAfter(const std::function<void()>& iconEvent)
    {
        const qsizetype shown = m_h->platform.menus.shownMenus.size();
        iconEvent();
        QCOMPARE(m_h->platform.menus.shownMenus.size(), shown);
        QCoreApplication::processEvents();
    }
    /** Double-clicks Write with `text` in the box, answers the menu and the dialog. */
    void write(const QString& text, const QString& command, const std::optional<QString>& path)
    {
        m_h->combo()->setText(text);
        m_h->platform.menus.choices = {command};
        m_h->platform.saveDialog.answers = {path};
        openMenuAfter([this] { m_h->doubleClick(u"Image4"_s); });
    }

private Q_SLOTS:
    void init() { m_h = std::make_unique<MainWindowHarness>(); }

    void addTwiceThenCreate()
    {
        const QString target = file(u"a.txt"_s);
        write(u"first, with a comma"_s, u"mAdd"_s, target);
        QCOMPARE(m_h->message(), u"Text written"_s);
        QCOMPARE(m_h->working(), QString());
        QCOMPARE(m_h->form->TargetFile(), target);
        QVERIFY(m_h->form->Timer1().isActive());
        const SaveDialog::Options first = m_h->platform.saveDialog.shown.first();
        QCOMPARE(first.title, u"Add To..."_s);
        QCOMPARE(first.fileName, u"Untitled"_s);
        QCOMPARE(first.filter, u"Text Documents (*.txt)|*.txt"_s);
        QCOMPARE(first.flags, 4);
        // With nothing remembered the dialog starts at the root of the program's volume.
        QCOMPARE(first.initDir, QStorageInfo(m_h->dir.path()).rootPath());
        QCOMPARE(m_h->platform.settings.log,
                 (QStringList{u"read LastFile"_s, u"read Filename"_s, u"write LastFile="_s + target, u"write Filename=a.txt"_s}));

        // The next Add proposes the remembered name and folder; Create always says Untitled.
        write(u"second \"quoted\""_s, u"mAdd"_s, target);
        QCOMPARE(readBytes(target), QByteArray("\"first, with a comma\"\r\n\"second \"\"quoted\"\"\"\r\n"));
        QCOMPARE(m_h->platform.saveDialog.shown.last().fileName, u"a.txt"_s);
        QCOMPARE(m_h->platform.saveDialog.shown.last().initDir, target);
        m_h->platform.settings.log.clear();
        write(u"only"_s, u"mCreate"_s, target);
        const SaveDialog::Options create = m_h->platform.saveDialog.shown.last();
        QCOMPARE(create.title, u"Save As..."_s);
        QCOMPARE(create.fileName, u"Untitled"_s);
        QCOMPARE(create.initDir, target);
        QCOMPARE(create.flags, 6);
        QCOMPARE(m_h->platform.settings.log, (QStringList{u"read LastFile"_s, u"write LastFile="_s + target}));
        QCOMPARE(readBytes(target), QByteArray("\"only\"\r\n"));
        QCOMPARE(m_h->message(), u"Text written"_s);
    }

    void failures_data()
    {
        QTest::addColumn<QString>("command");
        QTest::addColumn<bool>("cancel");
        QTest::addColumn<QStringList>("writtenSettings");
        QTest::newRow("add, cancel") << "mAdd" << true << QStringList();
        QTest::newRow("create, cancel") << "mCreate" << true << QStringList();
        QTest::newRow("add, folder missing") << "mAdd" << false << QStringList{u"Filename"_s, u"LastFile"_s};
        QTest::newRow("create, folder missing") << "mCreate" << false << QStringList{u"LastFile"_s};
    }

    void failures()
    {
        QFETCH(QString, command);
        QFETCH(bool, cancel);
        const QString target = file(u"missing/folder/x.txt"_s);
        write(u"keep me"_s, command, cancel ? std::nullopt : std::optional<QString>(target));
        QCOMPARE(m_h->working(), u"keep me"_s);
        QCOMPARE(m_h->form->PendingText(), u"keep me"_s);
        QCOMPARE(m_h->message(), QString());
        QVERIFY(m_h->form->Timer1().isActive());
        QVERIFY(!QFile::exists(target));
        // Settings stored after a confirmed dialog stay stored (keys in sorted order).
        QTEST(m_h->platform.settings.values.keys(), "writtenSettings");
    }

    void emptyBoxDoubleClickDoesNothing()
    {
        m_h->platform.menus.choices = {u"mAdd"_s};
        openMenuAfter([this] { m_h->doubleClick(u"Image4"_s); });
        QVERIFY(m_h->platform.menus.shownMenus.isEmpty());
        QVERIFY(!m_h->form->Timer1().isActive());
    }

    void dismissedMenuLeavesTheHint()
    {
        m_h->combo()->setText(u"box"_s);
        openMenuAfter([this] { QVERIFY(m_h->drop(u"Image4"_s, u"dropped"_s)); });
        QCOMPARE(m_h->platform.menus.shownMenus, QStringList{u"pop2"_s});
        QCOMPARE(m_h->form->PendingText(), u"dropped"_s);
        QCOMPARE(m_h->message(), u"Drop here to write to file"_s);
        QVERIFY(!m_h->form->Timer1().isActive());
        QVERIFY(m_h->platform.saveDialog.shown.isEmpty());
        QCOMPARE(m_h->working(), u"box"_s);
    }
};

QTEST_MAIN(WriteTargetTest)
#include "tst_WriteTarget.moc"
