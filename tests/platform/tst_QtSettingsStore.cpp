#include "FileBytes.h"
#include "QtSettingsStore.h"

#include <QTemporaryDir>
#include <QTest>

using namespace Qt::Literals::StringLiterals;

/** Settings in an INI file: the bytes on disk and how hand-edited lines read back. */
class tst_QtSettingsStore : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase()
    {
        // Before any QSettings exists, so that the per-user store lands in the temporary folder.
        QVERIFY(m_configHome.isValid());
        qputenv("XDG_CONFIG_HOME", QFile::encodeName(m_configHome.path()));
    }

    void init()
    {
        m_path = m_dir.filePath(u"Quippet.ini"_s);
        QFile::remove(m_path);
    }

    void writesPlainTextLinesInStartupGroup()
    {
        QtSettingsStore store(m_path);
        store.writeSetting(u"Height"_s, u"2600"_s);
        store.writeSetting(u"Top"_s, u"True"_s);
        store.writeSetting(u"Taskbar"_s, u"False"_s);
        store.writeSetting(u"Height"_s, u"1030"_s);
        // Each write reaches the file at once, while the writer is still alive.
        QCOMPARE(readBytes(m_path), QByteArray("[Startup]\nHeight=1030\nTaskbar=False\nTop=True\n"));
    }

    void defaultStoreIsTheUsersQuippetIni()
    {
        QtSettingsStore().writeSetting(u"Top"_s, u"False"_s);
        QCOMPARE(readBytes(m_configHome.filePath(u"Quippet/Quippet.ini"_s)), QByteArray("[Startup]\nTop=False\n"));
    }

    void readsFileText_data()
    {
        QTest::addColumn<QByteArray>("fileText");
        QTest::addColumn<QString>("expected");

        QTest::newRow("no file gives the default") << QByteArray() << u"Untitled"_s;
        QTest::newRow("same key in another group gives the default") << QByteArray("[Other]\nFilename=x.txt\n") << u"Untitled"_s;
        QTest::newRow("quoted") << QByteArray("[Startup]\nFilename=\"a, b.txt\"\n") << u"a, b.txt"_s;
        QTest::newRow("unquoted comma stays one text, CR LF line ends") << QByteArray("[Startup]\r\nFilename=a, b.txt\r\n") << u"a, b.txt"_s;
    }

    void readsFileText()
    {
        QFETCH(QByteArray, fileText);
        QFETCH(QString, expected);
        if (!fileText.isNull())
            writeBytes(m_path, fileText);
        QCOMPARE(QtSettingsStore(m_path).readSetting(u"Filename"_s, u"Untitled"_s), expected);
    }

private:
    QTemporaryDir m_configHome;
    QTemporaryDir m_dir;
    QString m_path;
};

QTEST_GUILESS_MAIN(tst_QtSettingsStore)
#include "tst_QtSettingsStore.moc"
