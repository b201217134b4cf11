#include "MainWindowHarness.h"
#include "StoreFile.h"
#include "UnreadableFile.h"

using namespace Qt::Literals::StringLiterals;

/** A store that did not load whole is announced once at start-up; the start-up goes on. */
class tst_StoreWarning : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void startupWarnsOnce_data()
    {
        QTest::addColumn<QString>("store");
        QTest::addColumn<QString>("warningPart"); // empty: no box at all
        QTest::addColumn<QByteArray>("savedAtExit");

        QTest::newRow("store loads") << u"ok"_s << QString() << QByteArray("\"a\"\r\n\"new\"\r\n");
        QTest::newRow("unreadable: kept aside, later saves go on")
            << u"unreadable"_s << u"is kept as\n%1/Text.txt.bak"_s << QByteArray("\"new\"\r\n");
        QTest::newRow("over the size limit: never saved over") << u"big"_s << u"more than the 256 MB Quippet loads"_s << QByteArray();
    }

    void startupWarnsOnce()
    {
        QFETCH(QString, store);
        QFETCH(QString, warningPart);
        QFETCH(QByteArray, savedAtExit);

        MainWindowHarness h;
        FakePlatform& platform = h.platform;
        const QString path = h.storePath();
        if (store == u"unreadable"_s)
            QVERIFY(makeUnreadableFile(path));
        if (store == u"big"_s) {
            QFile big(path);
            QVERIFY(big.open(QIODevice::WriteOnly) && big.resize(StoreFile::MaxBytes + 1));
        }

        QVERIFY(h.load({}, store == u"ok"_s ? QByteArray("\"a\"\r\n") : QByteArray()));
        Form1& form = *h.form;
        if (warningPart.isEmpty()) {
            QVERIFY(platform.messages.shown.isEmpty());
        } else {
            QCOMPARE(platform.messages.shown.size(), 1);
            const FakeMessageBox::Shown& box = platform.messages.shown.first();
            QCOMPARE(box.style, int(MessageBox::Exclamation));
            QVERIFY2(box.prompt.contains(path) && box.prompt.contains(warningPart.arg(h.dir.path())), qPrintable(box.prompt));
        }

        form.list().append(u"new"_s);
        form.Form_Unload();
        QVERIFY(platform.messages.retryPrompts.isEmpty());
        if (store == u"big"_s)
            QCOMPARE(QFileInfo(path).size(), StoreFile::MaxBytes + 1);
        else
            QCOMPARE(readBytes(path), savedAtExit);
    }
};

QTEST_MAIN(tst_StoreWarning)
#include "tst_StoreWarning.moc"
