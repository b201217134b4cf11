#include "FakeMessageBox.h"
#include "FakeUrlOpener.h"
#include "HomepageOpener.h"

#include <QTest>
#include <QUrl>
#include <climits>

class tst_HomepageOpener : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void resultBelow33IsReportedOnce_data();
    void resultBelow33IsReportedOnce();
    void addressIsPassedUnchanged_data();
    void addressIsPassedUnchanged();
    void retryAfterFailureCallsAgain();
    void homepageIsAnHttpAddress();
};

void tst_HomepageOpener::resultBelow33IsReportedOnce_data()
{
    QTest::addColumn<int>("result");
    QTest::addColumn<bool>("reported");

    QTest::newRow("32, just below the limit") << 32 << true;
    QTest::newRow("0, out of resources") << 0 << true;
    QTest::newRow("2, file not found") << 2 << true;
    QTest::newRow("-5, negative") << -5 << true;
    QTest::newRow("most negative") << INT_MIN << true;
    QTest::newRow("33, exactly the limit") << 33 << false;
    QTest::newRow("42, a handler took it") << 42 << false;
    QTest::newRow("largest value") << INT_MAX << false;
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

    QCOMPARE(urls.addresses.size(), 1);
    QCOMPARE(messages.shown.size(), reported ? 1 : 0);
    if (reported) {
        QCOMPARE(messages.shown.first().prompt, QStringLiteral("Error: site could not be opened"));
        QCOMPARE(messages.shown.first().style, 48);
        QCOMPARE(messages.shown.first().title, QStringLiteral("Quippet"));
    }
    QVERIFY(messages.retryPrompts.isEmpty());
}

void tst_HomepageOpener::addressIsPassedUnchanged_data()
{
    QTest::addColumn<QString>("address");

    QTest::newRow("the homepage") << HomepageOpener::Address;
    QTest::newRow("query and blanks kept") << QStringLiteral("http://example.org/a b?x=1&y=2");
    QTest::newRow("not checked before the call") << QStringLiteral("not an address");
}

void tst_HomepageOpener::addressIsPassedUnchanged()
{
    QFETCH(QString, address);

    FakeUrlOpener urls;
    FakeMessageBox messages;
    HomepageOpener opener(urls, messages, QStringLiteral("Quippet"));

    opener.OpenWebsite(nullptr, address);

    QCOMPARE(urls.addresses, QStringList{address});
}

void tst_HomepageOpener::retryAfterFailureCallsAgain()
{
    FakeUrlOpener urls;
    urls.result = 31;
    FakeMessageBox messages;
    HomepageOpener opener(urls, messages, QStringLiteral("Quippet"));

    opener.OpenWebsite(nullptr, HomepageOpener::Address);
    urls.result = 33;
    opener.OpenWebsite(nullptr, HomepageOpener::Address);

    QCOMPARE(urls.addresses.size(), 2);
    QCOMPARE(messages.shown.size(), 1);
}

void tst_HomepageOpener::homepageIsAnHttpAddress()
{
    const QUrl homepage(HomepageOpener::Address, QUrl::StrictMode);
    QVERIFY(homepage.isValid());
    QCOMPARE(homepage.scheme(), QStringLiteral("http"));
    QVERIFY(!homepage.host().isEmpty());
}

QTEST_GUILESS_MAIN(tst_HomepageOpener)
#include "tst_HomepageOpener.moc"
