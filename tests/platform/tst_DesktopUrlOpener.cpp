#include "DesktopUrlOpener.h"

#include <QDesktopServices>
#include <QList>
#include <QTest>
#include <QUrl>

/** The desktop's answer mapped onto "33 or more: handed over". */
class tst_DesktopUrlOpener : public QObject
{
    Q_OBJECT

public Q_SLOTS:
    /** Stands in for the browser registered for web addresses. */
    void receiveUrl(const QUrl& url) { m_received.append(url); }

private Q_SLOTS:
    void init() { m_received.clear(); }

    void handledAddressCountsAsOpened_data()
    {
        QTest::addColumn<QString>("address");
        QTest::addColumn<QUrl>("expectedUrl");

        QTest::newRow("homepage") << QStringLiteral("http://www.example.org/quippet/")
                                  << QUrl(QStringLiteral("http://www.example.org/quippet/"));
        QTest::newRow("upper-case scheme") << QStringLiteral("HTTP://www.example.org/")
                                           << QUrl(QStringLiteral("http://www.example.org/"));
        QTest::newRow("query kept") << QStringLiteral("http://www.example.org/?v=1.0.61")
                                    << QUrl(QStringLiteral("http://www.example.org/?v=1.0.61"));
    }

    void handledAddressCountsAsOpened()
    {
        QFETCH(QString, address);
        QFETCH(QUrl, expectedUrl);
        QDesktopServices::setUrlHandler(QStringLiteral("http"), this, "receiveUrl");

        DesktopUrlOpener opener;
        const int result = opener.open(address);
        QDesktopServices::unsetUrlHandler(QStringLiteral("http"));

        QVERIFY(result >= 33);
        QCOMPARE(m_received, QList<QUrl>{expectedUrl});
    }

    void unhandledAddressCountsAsFailure()
    {
        DesktopUrlOpener opener;
        const int result = opener.open(QStringLiteral("quippet-no-such-scheme:nothing"));
        if (result >= 33)
            QSKIP("This platform hands unknown schemes to an external opener");
        QVERIFY(result < 33);
        QVERIFY(m_received.isEmpty());
    }

private:
    QList<QUrl> m_received;
};

QTEST_MAIN(tst_DesktopUrlOpener)
#include "tst_DesktopUrlOpener.moc"
