#include "FileBytes.h"
#include "FileSizeLimit.h"
#include "QuotedLineFile.h"

#include <QDir>
#include <QTemporaryDir>
#include <QTest>

using namespace Qt::Literals::StringLiterals;

namespace {
bool write(const QString& mode, const QString& path, const QString& text, QString* error)
{
    return mode == u"append"_s ? QuotedLineFile::append(path, text, error) : QuotedLineFile::create(path, text, error);
}
} // namespace

/** One quoted line appended to a file or written as its only content; failures change nothing. */
class tst_QuotedLineFile : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void writes_data()
    {
        QTest::addColumn<QString>("mode");
        QTest::addColumn<QByteArray>("before"); // null: no file yet
        QTest::addColumn<QStringList>("texts");
        QTest::addColumn<QByteArray>("after");

        // clang-format off
        // Quotes doubled, UTF-8 without a BOM, comma, blanks and line break kept as they are.
        QTest::newRow("append keeps existing content") << u"append"_s << QByteArray("old line\r\n") << QStringList{u"\"\u00E9\", \r\n x "_s} << QByteArray("old line\r\n\"\"\"\xC3\xA9\"\", \r\n x \"\r\n");
        QTest::newRow("create empty text twice") << u"create"_s << QByteArray() << QStringList{u"one"_s, QString()} << QByteArray("\"\"\r\n");
        // clang-format on
    }

    void writes()
    {
        QFETCH(QString, mode);
        QFETCH(QByteArray, before);
        QFETCH(QStringList, texts);
        QFETCH(QByteArray, after);

        QTemporaryDir dir;
        const QString path = dir.filePath(u"notes.txt"_s);
        if (!before.isNull())
            writeBytes(path, before);
        for (const QString& text : texts) {
            QString error;
            QVERIFY2(write(mode, path, text, &error), qPrintable(error));
        }
        QCOMPARE(readBytes(path), after);
        QCOMPARE(QDir(dir.path()).entryList(QDir::Files), QStringList{u"notes.txt"_s});
    }

    void failures_data()
    {
        QTest::addColumn<QString>("mode");
        QTest::addColumn<QString>("target");

        for (const QString& mode : {u"append"_s, u"create"_s}) {
            QTest::addRow("%s into a missing folder", qPrintable(mode)) << mode << u"missing/notes.txt"_s;
            QTest::addRow("%s onto a folder", qPrintable(mode)) << mode << u"folder"_s;
            QTest::addRow("%s with the disk full keeps the old file", qPrintable(mode)) << mode << u"notes.txt"_s;
        }
    }

    void failures()
    {
        QFETCH(QString, mode);
        QFETCH(QString, target);

        QTemporaryDir dir;
        QVERIFY(QDir(dir.path()).mkdir(u"folder"_s));
        const QString path = dir.filePath(target);
        const bool diskFull = target == u"notes.txt"_s;
        const QByteArray before("\"kept\"\r\n");
        if (diskFull)
            writeBytes(path, before);

        QString error;
        bool ok = true;
        {
            const FileSizeLimit limit(64);
            ok = write(mode, path, QString(500, u'x'), &error);
        }
        QVERIFY(!ok);
        QVERIFY(!error.isEmpty());
        QVERIFY(!QFile::exists(dir.filePath(u"missing"_s)));
        QVERIFY(QDir(dir.filePath(u"folder"_s)).isEmpty());
        QCOMPARE(QDir(dir.path()).entryList(QDir::Files), diskFull ? QStringList{u"notes.txt"_s} : QStringList());
        if (diskFull)
            QCOMPARE(readBytes(path), before);
    }
};

QTEST_GUILESS_MAIN(tst_QuotedLineFile)
#include "tst_QuotedLineFile.moc"
