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
        QTest::addColumn<QStringList>("files"); // created below a fresh folder; "/" ends a folder
        QTest::addColumn<QString>("program");   // the program folder, relative to it
        QTest::addColumn<bool>("installed");

        const QString entry = u"share/applications/org.example.quippet.desktop"_s;
        QTest::newRow("prefix like /usr")
            << QStringList{u"usr/bin/"_s, u"usr/"_s + entry} << u"usr/bin"_s << true;
        QTest::newRow("prefix like /usr/local, trailing slash")
            << QStringList{u"usr/local/bin/"_s, u"usr/local/"_s + entry} << u"usr/local/bin/"_s
            << true;
        QTest::newRow("bin without the entry")
            << QStringList{u"usr/bin/"_s} << u"usr/bin"_s << false;
        QTest::newRow("another program's entry")
            << QStringList{u"usr/bin/"_s, u"usr/share/applications/other.desktop"_s} << u"usr/bin"_s
            << false;
        QTest::newRow("entry is a folder")
            << QStringList{u"usr/bin/"_s, u"usr/"_s + entry + u"/"_s} << u"usr/bin"_s << false;
        QTest::newRow("build folder beside a share folder")
            << QStringList{u"build/app/"_s, u"build/"_s + entry} << u"build/app"_s << false;
        QTest::newRow("folder named like bin")
            << QStringList{u"Bin/"_s, entry} << u"Bin"_s << false;
        QTest::newRow("entry under bin's own share")
            << QStringList{u"bin/share/applications/org.example.quippet.desktop"_s} << u"bin"_s
            << false;
    }

    void isInstalled()
    {
        QFETCH(QStringList, files);
        QFETCH(QString, program);
        QFETCH(bool, installed);

        QTemporaryDir root;
        QVERIFY(root.isValid());
        for (const QString& file : files) {
            const QString path = root.filePath(file);
            if (file.endsWith(u'/')) {
                QVERIFY(QDir().mkpath(path));
                continue;
            }
            QVERIFY(QDir().mkpath(QFileInfo(path).path()));
            QFile out(path);
            QVERIFY(out.open(QIODevice::WriteOnly));
        }
        QCOMPARE(
            InstallLayout::isInstalled(root.filePath(program), u"org.example.quippet.desktop"_s),
            installed);
    }
};

QTEST_APPLESS_MAIN(tst_InstallLayout)
#include "tst_InstallLayout.moc"
