#include "FakePlatform.h"
#include "Form1.h"
#include "PanelStatusBar.h"
#include "SnippetCombo.h"
#include "StoreFormat.h"
#include "UserInput.h"

#include <QMimeData>
#include <QTemporaryDir>
#include <QtTest>
#include <functional>

namespace {

QByteArray readAll(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

} // namespace

/** The Write icon, its menu, the save dialog, the settings it remembers and the files. */
class WriteTargetTest : public QObject
{
    Q_OBJECT

private:
    std::unique_ptr<QTemporaryDir> m_dir;
    std::unique_ptr<FakePlatform> m_platform;
    std::unique_ptr<Form1> m_form;

    QWidget* writeIcon() const { return m_form->findChild<QWidget*>(QStringLiteral("Image4")); }
    SnippetCombo* combo() const
    {
        return m_form->findChild<SnippetCombo*>(QStringLiteral("Combo1"));
    }
    QString message() const
    {
        return m_form->findChild<PanelStatusBar*>(QStringLiteral("StatusBar1"))->panelText(1);
    }
    QString file(const QString& name) const { return m_dir->filePath(name); }

    // The menu opens only once the icon's own event has been handled.
    void openMenuAfter(const std::function<void()>& iconEvent)
    {
        const qsizetype shown = m_platform->menus.shownMenus.size();
        iconEvent();
        QCOMPARE(m_platform->menus.shownMenus.size(), shown);
        QCoreApplication::processEvents();
    }
    void doubleClickWrite()
    {
        openMenuAfter([this] { UserInput::doubleClick(writeIcon()); });
    }
    void dropOnWrite(const QString& text)
    {
        openMenuAfter([&] { QVERIFY(UserInput::dropText(writeIcon(), text)); });
    }

    /** Double-clicks Write with `text` in the box, answers the menu and the dialog. */
    void write(const QString& text, const QString& command, const std::optional<QString>& path)
    {
        combo()->setText(text);
        m_platform->menus.choices = {command};
        m_platform->saveDialog.answers = {path};
        doubleClickWrite();
    }

private Q_SLOTS:
    void init()
    {
        m_dir = std::make_unique<QTemporaryDir>();
        m_platform = std::make_unique<FakePlatform>();
        m_platform->program.programFolder = m_dir->path();
        m_form = std::make_unique<Form1>(m_platform->services());
    }

    void addTextTwiceAppendsInOrder()
    {
        const QString target = file(QStringLiteral("notes.txt"));
        write(QStringLiteral("first, with a comma"), QStringLiteral("mAdd"), target);
        QCOMPARE(message(), QStringLiteral("Text written"));
        QCOMPARE(combo()->text(), QString());
        write(QStringLiteral("second \"quoted\""), QStringLiteral("mAdd"), target);
        const QByteArray bytes = readAll(target);
        QCOMPARE(bytes, QByteArray("\"first, with a comma\"\r\n\"second \"\"quoted\"\"\"\r\n"));
        // A file made by Write loads back as a store file.
        QCOMPARE(StoreFormat::parse(StoreFormat::decode(bytes)),
                 (QStringList{QStringLiteral("first, with a comma"),
                              QStringLiteral("second \"quoted\"")}));
        QCOMPARE(m_form->TargetFile(), target);
        QVERIFY(m_form->Timer1().isActive());
    }

    void addTextDialogAndSettings()
    {
        const QString target = file(QStringLiteral("a.txt"));
        write(QStringLiteral("x"), QStringLiteral("mAdd"), target);
        QCOMPARE(m_platform->saveDialog.shown.size(), 1);
        const SaveDialog::Options first = m_platform->saveDialog.shown.first();
        QCOMPARE(first.title, QStringLiteral("Add To..."));
        QCOMPARE(first.fileName, QStringLiteral("Untitled"));
        QCOMPARE(first.filter, QStringLiteral("Text Documents (*.txt)|*.txt"));
        QCOMPARE(first.flags, 4);
        QVERIFY(!first.initDir.isEmpty());
        QVERIFY(QDir(first.initDir).exists());
        QCOMPARE(m_platform->settings.log,
                 (QStringList{QStringLiteral("read LastFile"), QStringLiteral("read Filename"),
                              QStringLiteral("write LastFile=") + target,
                              QStringLiteral("write Filename=a.txt")}));

        // The next Add proposes the remembered name and folder; Create always says Untitled.
        write(QStringLiteral("y"), QStringLiteral("mAdd"), target);
        QCOMPARE(m_platform->saveDialog.shown.last().fileName, QStringLiteral("a.txt"));
        QCOMPARE(m_platform->saveDialog.shown.last().initDir, target);
        m_platform->settings.log.clear();
        write(QStringLiteral("z"), QStringLiteral("mCreate"), file(QStringLiteral("b")));
        const SaveDialog::Options create = m_platform->saveDialog.shown.last();
        QCOMPARE(create.title, QStringLiteral("Save As..."));
        QCOMPARE(create.fileName, QStringLiteral("Untitled"));
        QCOMPARE(create.initDir, target);
        QCOMPARE(create.flags, 6);
        QCOMPARE(m_platform->settings.log,
                 (QStringList{QStringLiteral("read LastFile"),
                              QStringLiteral("write LastFile=") + file(QStringLiteral("b"))}));
        QCOMPARE(m_platform->settings.values.value(QStringLiteral("Filename")),
                 QStringLiteral("a.txt"));
        // No extension is added to a name typed without one.
        QVERIFY(QFile::exists(file(QStringLiteral("b"))));
        QVERIFY(!QFile::exists(file(QStringLiteral("b.txt"))));
    }

    void createReplacesAnExistingFile()
    {
        const QString target = file(QStringLiteral("old.txt"));
        QFile existing(target);
        QVERIFY(existing.open(QIODevice::WriteOnly));
        existing.write("\"one\"\r\n\"two\"\r\n");
        existing.close();
        write(QStringLiteral("only"), QStringLiteral("mCreate"), target);
        QCOMPARE(readAll(target), QByteArray("\"only\"\r\n"));
        QCOMPARE(message(), QStringLiteral("Text written"));
    }

    void failures_data()
    {
        QTest::addColumn<QString>("command");
        QTest::addColumn<bool>("cancel");
        QTest::addColumn<QStringList>("writtenSettings");

        QTest::newRow("add, cancel") << "mAdd" << true << QStringList();
        QTest::newRow("create, cancel") << "mCreate" << true << QStringList();
        QTest::newRow("add, folder missing")
            << "mAdd" << false
            << QStringList{QStringLiteral("Filename"), QStringLiteral("LastFile")};
        QTest::newRow("create, folder missing")
            << "mCreate" << false << QStringList{QStringLiteral("LastFile")};
    }

    void failures()
    {
        QFETCH(QString, command);
        QFETCH(bool, cancel);
        QFETCH(QStringList, writtenSettings);
        const QString target = file(QStringLiteral("missing/folder/x.txt"));
        write(QStringLiteral("keep me"), command,
              cancel ? std::nullopt : std::optional<QString>(target));

        QCOMPARE(combo()->text(), QStringLiteral("keep me"));
        QCOMPARE(m_form->PendingText(), QStringLiteral("keep me"));
        QCOMPARE(message(), QString());
        QVERIFY(m_form->Timer1().isActive());
        QVERIFY(!QFile::exists(target));
        // Settings stored after a confirmed dialog stay stored (keys in sorted order).
        QCOMPARE(m_platform->settings.values.keys(), writtenSettings);
    }

    void emptyBoxDoubleClickDoesNothing()
    {
        combo()->setText(QString());
        m_platform->menus.choices = {QStringLiteral("mAdd")};
        doubleClickWrite();
        QVERIFY(m_platform->menus.shownMenus.isEmpty());
        QVERIFY(!m_form->Timer1().isActive());
    }

    void emptyDropWritesAnEmptyLine()
    {
        const QString target = file(QStringLiteral("e.txt"));
        combo()->setText(QStringLiteral("untouched"));
        m_platform->menus.choices = {QStringLiteral("mCreate")};
        m_platform->saveDialog.answers = {target};
        dropOnWrite(QString());
        QCOMPARE(m_platform->menus.shownMenus, QStringList{QStringLiteral("pop2")});
        QCOMPARE(readAll(target), QByteArray("\"\"\r\n"));
        QCOMPARE(combo()->text(), QString());
    }

    void dismissedMenuLeavesTheHint()
    {
        combo()->setText(QStringLiteral("box"));
        dropOnWrite(QStringLiteral("dropped"));
        QCOMPARE(m_form->PendingText(), QStringLiteral("dropped"));
        QCOMPARE(message(), QStringLiteral("Drop here to write to file"));
        QVERIFY(!m_form->Timer1().isActive());
        QVERIFY(m_platform->saveDialog.shown.isEmpty());
        QCOMPARE(combo()->text(), QStringLiteral("box"));
    }
};

QTEST_MAIN(WriteTargetTest)
#include "tst_WriteTarget.moc"
