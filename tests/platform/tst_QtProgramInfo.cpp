#include "QtProgramInfo.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QTest>

/** Title, version from the build and the folders the program works with. */
class tst_QtProgramInfo : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void titleAndVersion()
    {
        const QtProgramInfo info;
        QCOMPARE(info.title(), QStringLiteral("Quippet"));
        QCOMPARE(info.version(), QVersionNumber(1, 0, 61));
    }

    void folderHoldsTheExecutable()
    {
        const QtProgramInfo info;
        QCOMPARE(QFileInfo(QCoreApplication::applicationFilePath()).absolutePath(), info.folder());
    }

    void userDataFolderIsAbsolute()
    {
        const QtProgramInfo info;
        QVERIFY(QDir::isAbsolutePath(info.userDataFolder()));
    }
};

QTEST_GUILESS_MAIN(tst_QtProgramInfo)
#include "tst_QtProgramInfo.moc"
