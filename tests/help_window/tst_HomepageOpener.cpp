#include "FakeMessageBox.h"
#include "FakeUrlOpener.h"
#include "HomepageOpener.h"

#include <QTest>

class tst_HomepageOpener : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void resultBelow33IsReportedOnce_data();
    void resultBelow33IsReportedOnce();
};

void tst_HomepageOpener::resultBelow33IsReportedOnce_data()
{
    QTest::addColumn<int>("result");
    QTest::addColumn<bool>("reported");

    QTest::newRow("32, just below the limit") << 32 << true;
    QTest::newRow("0, out of resources") << 0 << true;
    QTest::newRow("-5, negative") << -5 << true;
    QTest::newRow("33, exactly the limit") << 33 << false;
}

void tst_HomepageOpener::resultBelow33IsReportedOnce()
{
    QFETCH(int, result);
    QFETCH(bool, reported);

    FakeUrlOpener urls;
    urls.result = result;
    FakeMessageBox messages;
    HomepageOpener opener(urls, messages, QStringLiteral("Quippet"));

    opener.OpenWebsite(nullptr, HomepageOpener::Address);

    QCOMPARE(urls.addresses, QStringList{HomepageOpener::Address});
    QCOMPARE(messages.shown.size(), reported ? 1 : 0);
    if (reported) {
        QCOMPARE(messages.shown.first().prompt, QStringLiteral("Error: site could not be opened"));
        QCOMPARE(messages.shown.first().style, 48);
        QCOMPARE(messages.shown.first().title, QStringLiteral("Quippet"));
    }
    QVERIFY(messages.retryPrompts.isEmpty());
}

QTEST_GUILESS_MAIN(tst_HomepageOpener)
#include "tst_HomepageOpener.moc"
