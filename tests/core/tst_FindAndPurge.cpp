#include "DatePurge.h"
#include "FindEntry.h"
#include "VectorSnippetList.h"

#include <QTest>

using namespace Qt::Literals::StringLiterals;

/** Looking an entry up by its exact text, and removing the entries that hold today's date. */
class tst_FindAndPurge : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void find_data()
    {
        QTest::addColumn<QStringList>("entries");
        QTest::addColumn<QString>("text");
        QTest::addColumn<bool>("foundBefore");
        QTest::addColumn<int>("index");
        QTest::addColumn<bool>("found");

        const QStringList six{u"a"_s, u"b"_s, u"abc"_s, u"c"_s, u"d"_s, u"abc"_s};
        QTest::newRow("empty list: index 0, found keeps true") << QStringList() << u"abc"_s << true << 0 << true;
        QTest::newRow("text at 2 and 5 reports 2") << six << u"abc"_s << false << 2 << true;
        QTest::newRow("first entry") << six << u"a"_s << false << 0 << true;
        QTest::newRow("no match reports count and false") << six << u"zzz"_s << true << 6 << false;
        QTest::newRow("case-sensitive") << six << u"ABC"_s << true << 6 << false;
        QTest::newRow("trailing blank matters") << six << u"abc "_s << true << 6 << false;
        QTest::newRow("prefix does not match") << six << u"ab"_s << true << 6 << false;
        QTest::newRow("empty text matches empty entry") << QStringList{u"x"_s, QString(), u"y"_s} << QString() << false << 1 << true;
    }

    void find()
    {
        QFETCH(QStringList, entries);
        QFETCH(QString, text);
        QFETCH(bool, foundBefore);
        QFETCH(int, index);
        QFETCH(bool, found);

        int gotIndex = -99;
        bool gotFound = foundBefore;
        FindEntry(VectorSnippetList(entries), text, gotIndex, gotFound);
        QCOMPARE(gotIndex, index);
        QCOMPARE(gotFound, found);
    }

    void purge_data()
    {
        QTest::addColumn<QStringList>("entries");
        QTest::addColumn<QString>("today");
        QTest::addColumn<QStringList>("remaining");

        const QString t = u"3/1/2024"_s;
        const QString x = u"x"_s;
        const QString y = u"y"_s;
        QTest::newRow("T,T,x -> x") << QStringList{t, t, x} << t << QStringList{x};
        QTest::newRow("T,x,T -> x") << QStringList{t, x, t} << t << QStringList{x};
        QTest::newRow("x,T,T,y -> x,y") << QStringList{x, t, t, y} << t << QStringList{x, y};
        QTest::newRow("T,T,T -> empty") << QStringList{t, t, t} << t << QStringList();
        const QStringList nearMisses{t + u' ', u' ' + t, u"3/1/2024X"_s, u"3/1/202"_s};
        QTest::newRow("near misses stay") << nearMisses + QStringList{t} << t << nearMisses;
        QTest::newRow("empty today removes nothing") << QStringList{QString(), x} << QString() << QStringList{QString(), x};
    }

    void purge()
    {
        QFETCH(QStringList, entries);
        QFETCH(QString, today);
        QFETCH(QStringList, remaining);

        VectorSnippetList list(entries);
        QCOMPARE(DatePurge::purge(list, today), int(entries.size() - remaining.size()));
        QCOMPARE(list.entries(), remaining);
    }
};

QTEST_GUILESS_MAIN(tst_FindAndPurge)
#include "tst_FindAndPurge.moc"
