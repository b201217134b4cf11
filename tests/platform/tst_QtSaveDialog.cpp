#include "FileBytes.h"
#include "QtSaveDialog.h"

#include <QDir>
#include <QFileDialog>
#include <QTemporaryDir>
#include <QTest>

using namespace Qt::Literals::StringLiterals;

/** Filter conversion, start folder choice and how the dialog is set up. */
class tst_QtSaveDialog : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void nameFilters_data()
    {
        QTest::addColumn<QString>("filter");
        QTest::addColumn<QStringList>("expected");

        QTest::newRow("description already shows the pattern") << u"Text Documents (*.txt)|*.txt"_s << QStringList{u"Text Documents (*.txt)"_s};
        QTest::newRow("plain description, several patterns") << u"Text|*.txt;*.log"_s << QStringList{u"Text (*.txt *.log)"_s};
        QTest::newRow("two filters") << u"Text (*.txt)|*.txt|All Files (*.*)|*.*"_s << QStringList{u"Text (*.txt)"_s, u"All Files (*.*)"_s};
        QTest::newRow("description naming another pattern") << u"Notes (*.md)|*.txt"_s << QStringList{u"Notes (*.md) (*.txt)"_s};
        QTest::newRow("no filter") << QString() << QStringList{};
    }

    void nameFilters()
    {
        QFETCH(QString, filter);
        QFETCH(QStringList, expected);
        QCOMPARE(QtSaveDialog::nameFilters(filter), expected);
    }

    void startFolder_data()
    {
        QTest::addColumn<QString>("initDir");
        QTest::addColumn<QString>("expected");

        QTest::newRow("existing file") << u"sub/kept.txt"_s << u"sub"_s;
        QTest::newRow("folders gone, dot segments") << u"sub/x/../y/z/gone.txt"_s << u"sub"_s;
        QTest::newRow("no value is left to the dialog") << QString() << QString();
    }

    void startFolder()
    {
        QFETCH(QString, initDir);
        QFETCH(QString, expected);
        QTemporaryDir dir;
        QVERIFY(QDir(dir.path()).mkpath(u"sub"_s));
        writeBytes(dir.filePath(u"sub/kept.txt"_s), QByteArray());

        const QString folder = QtSaveDialog::startFolder(initDir.isNull() ? QString() : dir.filePath(initDir));
        QCOMPARE(folder, expected.isNull() ? QString() : QDir::cleanPath(dir.filePath(expected)));
    }

    void configuresDialog_data()
    {
        QTest::addColumn<int>("flags");
        QTest::addColumn<bool>("confirmsOverwrite");

        QTest::newRow("add: read-only box hidden only") << int{SaveDialog::HideReadOnly} << false;
        QTest::newRow("create: overwrite question") << (SaveDialog::HideReadOnly | SaveDialog::OverwritePrompt) << true;
    }

    void configuresDialog()
    {
        QFETCH(int, flags);
        QFETCH(bool, confirmsOverwrite);
        QTemporaryDir dir;
        QFileDialog dialog;
        QtSaveDialog::configure(dialog, {u"Add To..."_s, dir.path(), u"Untitled"_s, u"Text Documents (*.txt)|*.txt"_s, flags});

        QCOMPARE(dialog.acceptMode(), QFileDialog::AcceptSave);
        QCOMPARE(dialog.directory().absolutePath(), QDir(dir.path()).absolutePath());
        QCOMPARE(dialog.nameFilters(), QStringList{u"Text Documents (*.txt)"_s});
        QVERIFY(dialog.defaultSuffix().isEmpty());
        QCOMPARE(!dialog.testOption(QFileDialog::DontConfirmOverwrite), confirmsOverwrite);
    }
};

QTEST_MAIN(tst_QtSaveDialog)
#include "tst_QtSaveDialog.moc"
