#include "InstallLayout.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

using namespace Qt::Literals::StringLiterals;

/** An installed layout is told by the folders around the program, wherever the prefix is. */
class tst_InstallLayout : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void isInstalled_data()
    {
        QTest::addColumn<QString>("entry");   // a file made below a fresh root ("/" ends a folder)
        QTest::addColumn<QString>("program"); // the program folder, made below the same root
        QTest::addColumn<bool>("installed");

        const QString apps = u"share/applications/"_s;
        QTest::newRow("/usr") << u"usr/"_s + apps + ours() << u"usr/bin"_s << true;
        QTest::newRow("/usr/local/bin/") << u"usr/local/"_s + apps + ours() << u"usr/local/bin/"_s << true;
        QTest::newRow("no entry") << QString() << u"usr/bin"_s << false;
        QTest::newRow("another program's entry") << apps + u"other.desktop"_s << u"bin"_s << false;
        QTest::newRow("entry is a folder") << apps + ours() + u"/"_s << u"bin"_s << false;
        QTest::newRow("build folder") << apps + ours() << u"app"_s << false;
        QTest::newRow("entry under bin itself") << u"bin/"_s + apps + ours() << u"bin"_s << false;
    }

    void isInstalled()
    {
        QFETCH(QString, entry);
        QFETCH(QString, program);
        QFETCH(bool, installed);

        QTemporaryDir root;
        QVERIFY(QDir().mkpath(root.filePath(program)));
        if (!entry.isEmpty()) {
            QVERIFY(QDir().mkpath(QFileInfo(root.filePath(entry)).path()));
            QFile file(root.filePath(entry));
            QVERIFY(entry.endsWith(u'/') ? QDir().mkpath(file.fileName()) : file.open(QIODevice::WriteOnly));
        }
        QCOMPARE(InstallLayout::isInstalled(root.filePath(program), ours()), installed);
    }

private:
    static QString ours() { return u"org.example.quippet.desktop"_s; }
};

QTEST_APPLESS_MAIN(tst_InstallLayout)
#include "tst_InstallLayout.moc"
