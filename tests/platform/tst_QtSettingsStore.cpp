#include "QtSettingsStore.h"

#include <QFile>
#include <QTemporaryDir>
#include <QTest>

/** Settings in an INI file: the bytes on disk and values that must come back unchanged. */
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
        QVERIFY(m_dir.isValid());
        m_path = m_dir.filePath(QStringLiteral("Quippet.ini"));
        QFile::remove(m_path);
    }

    void writesPlainTextLinesInStartupGroup()
    {
        {
            QtSettingsStore store(m_path);
            store.writeSetting(QStringLiteral("Height"), QStringLiteral("2600"));
            store.writeSetting(QStringLiteral("Top"), QStringLiteral("True"));
            store.writeSetting(QStringLiteral("Taskbar"), QStringLiteral("False"));
        }
        QFile file(m_path);
        QVERIFY(file.open(QIODevice::ReadOnly));
        QCOMPARE(file.readAll(), QByteArray("[Startup]\nHeight=2600\nTaskbar=False\nTop=True\n"));
    }

    void defaultStoreIsTheUsersQuippetIni()
    {
        QtSettingsStore store;
        store.writeSetting(QStringLiteral("Top"), QStringLiteral("False"));
        QFile file(m_configHome.filePath(QStringLiteral("Quippet/Quippet.ini")));
        QVERIFY(file.open(QIODevice::ReadOnly));
        QCOMPARE(file.readAll(), QByteArray("[Startup]\nTop=False\n"));
    }

    void eachWriteReachesTheFileAtOnce()
    {
        QtSettingsStore store(m_path);
        store.writeSetting(QStringLiteral("Height"), QStringLiteral("1030"));
        // A second reader sees the value while the writer is still alive.
        QtSettingsStore reader(m_path);
        QCOMPARE(reader.readSetting(QStringLiteral("Height"), QStringLiteral("2600")),
                 QStringLiteral("1030"));
    }

    void roundTrip_data()
    {
        QTest::addColumn<QString>("key");
        QTest::addColumn<QString>("value");

        QTest::newRow("height") << QStringLiteral("Height") << QStringLiteral("2600");
        QTest::newRow("negative height") << QStringLiteral("Height") << QStringLiteral("-15");
        QTest::newRow("flag word") << QStringLiteral("Top") << QStringLiteral("True");
        QTest::newRow("unix path") << QStringLiteral("LastFile") << QStringLiteral("/home/x/a.txt");
        QTest::newRow("path with blanks and comma")
            << QStringLiteral("LastFile") << QStringLiteral("/home/x/My Notes, 2024/a b.txt");
        QTest::newRow("windows path with backslashes")
            << QStringLiteral("LastFile") << QStringLiteral("D:\\Tools\\notes.txt");
        QTest::newRow("drive root") << QStringLiteral("LastFile") << QStringLiteral("D:\\");
        QTest::newRow("leading at sign")
            << QStringLiteral("Filename") << QStringLiteral("@Variant(x)");
        QTest::newRow("quotes and equals")
            << QStringLiteral("Filename") << QStringLiteral("say \"a=b\"; ok");
        QTest::newRow("non-latin name")
            << QStringLiteral("Filename") << QStringLiteral("Übersicht – 日本.txt");
        QTest::newRow("surrounding blanks")
            << QStringLiteral("Filename") << QStringLiteral("  padded  ");
        QTest::newRow("empty text") << QStringLiteral("Filename") << QString();
    }

    void roundTrip()
    {
        QFETCH(QString, key);
        QFETCH(QString, value);
        {
            QtSettingsStore store(m_path);
            store.writeSetting(key, value);
        }
        QtSettingsStore store(m_path);
        QCOMPARE(store.readSetting(key, QStringLiteral("default")), value);
    }

    void absentKeyGivesDefault_data()
    {
        QTest::addColumn<QString>("fileText");
        QTest::addColumn<QString>("key");
        QTest::addColumn<QString>("defaultValue");

        QTest::newRow("no file") << QString() << QStringLiteral("Height") << QStringLiteral("2600");
        QTest::newRow("other key written") << QStringLiteral("[Startup]\nTop=True\n")
                                           << QStringLiteral("Taskbar") << QStringLiteral("False");
        QTest::newRow("same key in another group")
            << QStringLiteral("[Other]\nFilename=x.txt\n") << QStringLiteral("Filename")
            << QStringLiteral("Untitled");
    }

    void absentKeyGivesDefault()
    {
        QFETCH(QString, fileText);
        QFETCH(QString, key);
        QFETCH(QString, defaultValue);
        if (!fileText.isNull())
            writeFile(fileText.toUtf8());
        QtSettingsStore store(m_path);
        QCOMPARE(store.readSetting(key, defaultValue), defaultValue);
    }

    void readsHandWrittenValues_data()
    {
        QTest::addColumn<QByteArray>("fileText");
        QTest::addColumn<QString>("expected");

        QTest::newRow("plain") << QByteArray("[Startup]\nFilename=notes.txt\n")
                               << QStringLiteral("notes.txt");
        QTest::newRow("quoted") << QByteArray("[Startup]\nFilename=\"a, b.txt\"\n")
                                << QStringLiteral("a, b.txt");
        QTest::newRow("unquoted comma stays one text")
            << QByteArray("[Startup]\nFilename=a, b.txt\n") << QStringLiteral("a, b.txt");
        QTest::newRow("windows line ends")
            << QByteArray("[Startup]\r\nFilename=x.txt\r\n") << QStringLiteral("x.txt");
    }

    void readsHandWrittenValues()
    {
        QFETCH(QByteArray, fileText);
        QFETCH(QString, expected);
        writeFile(fileText);
        QtSettingsStore store(m_path);
        QCOMPARE(store.readSetting(QStringLiteral("Filename"), QStringLiteral("Untitled")),
                 expected);
    }

    void rewritingKeepsOtherKeys()
    {
        QtSettingsStore store(m_path);
        store.writeSetting(QStringLiteral("LastFile"), QStringLiteral("/tmp/a.txt"));
        store.writeSetting(QStringLiteral("Filename"), QStringLiteral("a.txt"));
        store.writeSetting(QStringLiteral("LastFile"), QStringLiteral("/tmp/b.txt"));

        QtSettingsStore reader(m_path);
        QCOMPARE(reader.readSetting(QStringLiteral("LastFile"), QString()),
                 QStringLiteral("/tmp/b.txt"));
        QCOMPARE(reader.readSetting(QStringLiteral("Filename"), QString()),
                 QStringLiteral("a.txt"));
    }

private:
    void writeFile(const QByteArray& bytes)
    {
        QFile file(m_path);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(bytes);
    }

    QTemporaryDir m_configHome;
    QTemporaryDir m_dir;
    QString m_path;
};

QTEST_GUILESS_MAIN(tst_QtSettingsStore)
#include "tst_QtSettingsStore.moc"
