#include "DatePurge.h"
#include "VectorSnippetList.h"

#include <QTest>

using namespace Qt::Literals::StringLiterals;

class tst_DatePurge : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void purge_data();
    void purge();
};

void tst_DatePurge::purge_data()
{
    QTest::addColumn<QStringList>("entries");
    QTest::addColumn<QString>("today");
    QTest::addColumn<QStringList>("remaining");
    QTest::addColumn<int>("removed");

    const QString t = u"3/1/2024"_s;
    const QString x = u"x"_s;
    const QString y = u"y"_s;
    QTest::newRow("T,T,x -> x") << QStringList{t, t, x} << t << QStringList{x} << 2;
    QTest::newRow("T,x,T -> x") << QStringList{t, x, t} << t << QStringList{x} << 2;
    QTest::newRow("T,T,T -> empty") << QStringList{t, t, t} << t << QStringList() << 3;
    QTest::newRow("x,T,T,y -> x,y") << QStringList{x, t, t, y} << t << QStringList{x, y} << 2;
    QTest::newRow("T,x,y -> x,y") << QStringList{t, x, y} << t << QStringList{x, y} << 1;
    QTest::newRow("empty list") << QStringList() << t << QStringList() << 0;
    QTest::newRow("near misses stay")
        << QStringList{t + u' ', u' ' + t, u"3/1/2024X"_s, u"3/1/202"_s} << t
        << QStringList{t + u' ', u' ' + t, u"3/1/2024X"_s, u"3/1/202"_s} << 0;
    QTest::newRow("case differs stays")
        << QStringList{u"Mon"_s, u"MON"_s} << u"mon"_s << QStringList{u"Mon"_s, u"MON"_s} << 0;
    QTest::newRow("empty today removes nothing")
        << QStringList{QString(), x, QString()} << QString() << QStringList{QString(), x, QString()}
        << 0;
}

void tst_DatePurge::purge()
{
    QFETCH(QStringList, entries);
    QFETCH(QString, today);
    QFETCH(QStringList, remaining);
    QFETCH(int, removed);

    VectorSnippetList list(entries);
    QCOMPARE(DatePurge::purge(list, today), removed);
    QCOMPARE(list.entries(), remaining);
}

QTEST_GUILESS_MAIN(tst_DatePurge)
#include "tst_DatePurge.moc"
