#include "QtSaveDialog.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QMessageBox>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

/** Filter conversion, start folder choice and the dialog's answer. */
class tst_QtSaveDialog : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void nameFilters_data()
    {
        QTest::addColumn<QString>("filter");
        QTest::addColumn<QStringList>("expected");

        QTest::newRow("description already shows the pattern")
            << QStringLiteral("Text Documents (*.txt)|*.txt")
            << QStringList{QStringLiteral("Text Documents (*.txt)")};
        QTest::newRow("plain description") << QStringLiteral("Text Documents|*.txt")
                                           << QStringList{QStringLiteral("Text Documents (*.txt)")};
        QTest::newRow("several patterns") << QStringLiteral("Text|*.txt;*.log")
                                          << QStringList{QStringLiteral("Text (*.txt *.log)")};
        QTest::newRow("two filters")
            << QStringLiteral("Text (*.txt)|*.txt|All Files (*.*)|*.*")
            << QStringList{QStringLiteral("Text (*.txt)"), QStringLiteral("All Files (*.*)")};
        QTest::newRow("description naming another pattern")
            << QStringLiteral("Notes (*.md)|*.txt")
            << QStringList{QStringLiteral("Notes (*.md) (*.txt)")};
        QTest::newRow("pattern without description")
            << QStringLiteral("|*.txt") << QStringList{QStringLiteral("(*.txt)")};
        QTest::newRow("description without pattern")
            << QStringLiteral("Anything") << QStringList{QStringLiteral("Anything (*)")};
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

        QTest::newRow("existing folder") << QStringLiteral("sub") << QStringLiteral("sub");
        QTest::newRow("existing folder with slash")
            << QStringLiteral("sub/") << QStringLiteral("sub");
        QTest::newRow("existing file") << QStringLiteral("sub/kept.txt") << QStringLiteral("sub");
        QTest::newRow("file gone") << QStringLiteral("sub/gone.txt") << QStringLiteral("sub");
        QTest::newRow("folders gone")
            << QStringLiteral("sub/x/y/gone.txt") << QStringLiteral("sub");
        QTest::newRow("dot segments")
            << QStringLiteral("sub/x/../kept.txt") << QStringLiteral("sub");
    }

    void startFolder()
    {
        QFETCH(QString, initDir);
        QFETCH(QString, expected);
        QTemporaryDir dir;
        QVERIFY(QDir(dir.path()).mkpath(QStringLiteral("sub")));
        QFile kept(dir.filePath(QStringLiteral("sub/kept.txt")));
        QVERIFY(kept.open(QIODevice::WriteOnly));
        kept.close();

        QCOMPARE(QtSaveDialog::startFolder(dir.filePath(initDir)),
                 QDir::cleanPath(dir.filePath(expected)));
    }

    void startFolderWithoutValueIsLeftToTheDialog()
    {
        QVERIFY(QtSaveDialog::startFolder(QString()).isEmpty());
    }

    void configuresDialog_data()
    {
        QTest::addColumn<int>("flags");
        QTest::addColumn<bool>("confirmsOverwrite");

        QTest::newRow("add: read-only box hidden only") << SaveDialog::HideReadOnly << false;
        QTest::newRow("create: overwrite question")
            << (SaveDialog::HideReadOnly | SaveDialog::OverwritePrompt) << true;
    }

    void configuresDialog()
    {
        QFETCH(int, flags);
        QFETCH(bool, confirmsOverwrite);
        QTemporaryDir dir;
        QFileDialog dialog;
        QtSaveDialog::configure(dialog, {QStringLiteral("Add To..."), dir.path(),
                                         QStringLiteral("Untitled"),
                                         QStringLiteral("Text Documents (*.txt)|*.txt"), flags});

        QCOMPARE(dialog.windowTitle(), QStringLiteral("Add To..."));
        QCOMPARE(dialog.acceptMode(), QFileDialog::AcceptSave);
        QCOMPARE(dialog.directory().absolutePath(), QDir(dir.path()).absolutePath());
        QCOMPARE(dialog.nameFilters(), QStringList{QStringLiteral("Text Documents (*.txt)")});
        QVERIFY(dialog.defaultSuffix().isEmpty());
        QCOMPARE(!dialog.testOption(QFileDialog::DontConfirmOverwrite), confirmsOverwrite);
    }

    void answer_data()
    {
        QTest::addColumn<QString>("fileName");
        QTest::addColumn<int>("flags");
        QTest::addColumn<bool>("accept");
        QTest::addColumn<bool>("expectQuestion");

        QTest::newRow("proposed name accepted")
            << QStringLiteral("Untitled") << int{SaveDialog::HideReadOnly} << true << false;
        QTest::newRow("existing file, no overwrite question")
            << QStringLiteral("kept.txt") << int{SaveDialog::HideReadOnly} << true << false;
        QTest::newRow("existing file, overwrite confirmed")
            << QStringLiteral("kept.txt")
            << (SaveDialog::HideReadOnly | SaveDialog::OverwritePrompt) << true << true;
        QTest::newRow("new file, nothing to confirm")
            << QStringLiteral("new.txt") << (SaveDialog::HideReadOnly | SaveDialog::OverwritePrompt)
            << true << false;
        QTest::newRow("cancelled")
            << QStringLiteral("Untitled") << int{SaveDialog::HideReadOnly} << false << false;
    }

    void answer()
    {
        QFETCH(QString, fileName);
        QFETCH(int, flags);
        QFETCH(bool, accept);
        QFETCH(bool, expectQuestion);
        QTemporaryDir dir;
        QFile kept(dir.filePath(QStringLiteral("kept.txt")));
        QVERIFY(kept.open(QIODevice::WriteOnly));
        kept.close();

        // Answer the modal dialog, and any overwrite question, from inside their event loops.
        bool answered = false;
        bool asked = false;
        QTimer answerer;
        connect(&answerer, &QTimer::timeout, this, [&]() {
            QWidget* modal = QApplication::activeModalWidget();
            if (auto* question = qobject_cast<QMessageBox*>(modal)) {
                asked = true;
                question->button(QMessageBox::Yes)->click();
            } else if (auto* dialog = qobject_cast<QFileDialog*>(modal); dialog && !answered) {
                answered = true;
                // Queued, so that a nested overwrite question does not block this timer.
                QTimer::singleShot(0, dialog, [dialog, accept]() {
                    if (accept)
                        static_cast<QDialog*>(dialog)->accept();
                    else
                        dialog->reject();
                });
            }
        });
        answerer.start(10);

        QtSaveDialog saveDialog;
        const std::optional<QString> chosen = saveDialog.showSave(
            nullptr, {QStringLiteral("Save As..."), dir.filePath(QStringLiteral("kept.txt")),
                      fileName, QStringLiteral("Text Documents (*.txt)|*.txt"), flags});
        QCOMPARE(asked, expectQuestion);
        if (!accept) {
            QVERIFY(!chosen.has_value());
            return;
        }
        QVERIFY(chosen.has_value());
        QCOMPARE(*chosen, QDir(dir.path()).absoluteFilePath(fileName));
    }
};

QTEST_MAIN(tst_QtSaveDialog)
#include "tst_QtSaveDialog.moc"
