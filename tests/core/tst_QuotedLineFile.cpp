#include "FileSizeLimit.h"
#include "QuotedLineFile.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

using namespace Qt::Literals::StringLiterals;

namespace {

QByteArray readBytes(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return QByteArray("<unreadable>");
    return file.readAll();
}

} // namespace

class tst_QuotedLineFile : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void writes_data();
    void writes();
    void failures_data();
    void failures();
    void diskFullKeepsOldContent_data();
    void diskFullKeepsOldContent();
};

void tst_QuotedLineFile::writes_data()
{
    QTest::addColumn<QString>("mode");
    QTest::addColumn<QByteArray>("before"); // null: no file yet
    QTest::addColumn<QStringList>("texts");
    QTest::addColumn<QByteArray>("after");

    QTest::newRow("append twice gives two lines in order")
        << u"append"_s << QByteArray() << QStringList{u"first"_s, u"second, too"_s}
        << QByteArray("\"first\"\r\n\"second, too\"\r\n");
    QTest::newRow("append keeps existing content")
        << u"append"_s << QByteArray("old line\r\n") << QStringList{u"new"_s}
        << QByteArray("old line\r\n\"new\"\r\n");
    QTest::newRow("append empty text")
        << u"append"_s << QByteArray() << QStringList{QString()} << QByteArray("\"\"\r\n");
    QTest::newRow("create over existing file leaves one line")
        << u"create"_s << QByteArray("\"a\"\r\n\"b\"\r\n\"c\"\r\n") << QStringList{u"only"_s}
        << QByteArray("\"only\"\r\n");
    QTest::newRow("create twice keeps the last line")
        << u"create"_s << QByteArray() << QStringList{u"one"_s, u"two"_s}
        << QByteArray("\"two\"\r\n");
    QTest::newRow("create empty text")
        << u"create"_s << QByteArray() << QStringList{QString()} << QByteArray("\"\"\r\n");
    QTest::newRow("quote and UTF-8") << u"append"_s << QByteArray() << QStringList{u"\"\u00E9\""_s}
                                     << QByteArray("\"\"\"\xC3\xA9\"\"\"\r\n");
}

void tst_QuotedLineFile::writes()
{
    QFETCH(QString, mode);
    QFETCH(QByteArray, before);
    QFETCH(QStringList, texts);
    QFETCH(QByteArray, after);

    QTemporaryDir dir;
    const QString path = dir.filePath(u"notes.txt"_s);
    if (!before.isNull()) {
        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(before);
    }
    for (const QString& text : texts) {
        QString error;
        const bool ok = mode == u"append"_s ? QuotedLineFile::append(path, text, &error)
                                            : QuotedLineFile::create(path, text, &error);
        QVERIFY2(ok, qPrintable(error));
    }
    QCOMPARE(readBytes(path), after);
    QCOMPARE(QDir(dir.path()).entryList(QDir::Files), QStringList{u"notes.txt"_s});
}

void tst_QuotedLineFile::failures_data()
{
    QTest::addColumn<QString>("mode");
    QTest::addColumn<QString>("target");

    for (const QString& mode : {u"append"_s, u"create"_s}) {
        QTest::addRow("%s into a missing folder", qPrintable(mode))
            << mode << u"missing/notes.txt"_s;
        QTest::addRow("%s onto a folder", qPrintable(mode)) << mode << u"folder"_s;
    }
}

void tst_QuotedLineFile::failures()
{
    QFETCH(QString, mode);
    QFETCH(QString, target);

    QTemporaryDir dir;
    QVERIFY(QDir(dir.path()).mkdir(u"folder"_s));
    const QString path = dir.filePath(target);
    QString error;
    const bool ok = mode == u"append"_s ? QuotedLineFile::append(path, u"text"_s, &error)
                                        : QuotedLineFile::create(path, u"text"_s, &error);
    QVERIFY(!ok);
    QVERIFY(!error.isEmpty());
    QVERIFY(!QFile::exists(dir.filePath(u"missing"_s)));
    QVERIFY(QDir(dir.filePath(u"folder"_s)).isEmpty());
    QCOMPARE(QDir(dir.path()).entryList(QDir::Files), QStringList());
}

void tst_QuotedLineFile::diskFullKeepsOldContent_data()
{
    QTest::addColumn<QString>("mode");
    QTest::newRow("append leaves no half line") << u"append"_s;
    QTest::newRow("create leaves the old file whole") << u"create"_s;
}

void tst_QuotedLineFile::diskFullKeepsOldContent()
{
    QFETCH(QString, mode);

    QTemporaryDir dir;
    const QString path = dir.filePath(u"notes.txt"_s);
    const QByteArray before("\"kept\"\r\n");
    {
        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(before);
    }
    const QString text(500, u'x');
    QString error;
    bool ok = true;
    {
        const FileSizeLimit limit(64);
        ok = mode == u"append"_s ? QuotedLineFile::append(path, text, &error)
                                 : QuotedLineFile::create(path, text, &error);
    }
    QVERIFY(!ok);
    QVERIFY(!error.isEmpty());
    QCOMPARE(readBytes(path), before);
    QCOMPARE(QDir(dir.path()).entryList(QDir::Files), QStringList{u"notes.txt"_s});
}

QTEST_GUILESS_MAIN(tst_QuotedLineFile)
#include "tst_QuotedLineFile.moc"
