#include "FindEntry.h"
#include "VectorSnippetList.h"

#include <QTest>

using namespace Qt::Literals::StringLiterals;

class tst_FindEntry : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void find_data();
    void find();
};

void tst_FindEntry::find_data()
{
    QTest::addColumn<QStringList>("entries");
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("foundBefore");
    QTest::addColumn<int>("index");
    QTest::addColumn<bool>("found");

    const QStringList six{u"a"_s, u"b"_s, u"abc"_s, u"c"_s, u"d"_s, u"abc"_s};
    QTest::newRow("empty list: index 0, found keeps false")
        << QStringList() << u"abc"_s << false << 0 << false;
    QTest::newRow("empty list: index 0, found keeps true")
        << QStringList() << u"abc"_s << true << 0 << true;
    QTest::newRow("text at 2 and 5 reports 2") << six << u"abc"_s << false << 2 << true;
    QTest::newRow("first entry") << six << u"a"_s << false << 0 << true;
    QTest::newRow("last entry") << six << u"d"_s << false << 4 << true;
    QTest::newRow("no match reports count and false") << six << u"zzz"_s << true << 6 << false;
    QTest::newRow("case-sensitive") << six << u"ABC"_s << true << 6 << false;
    QTest::newRow("trailing blank matters") << six << u"abc "_s << true << 6 << false;
    QTest::newRow("leading blank matters") << six << u" abc"_s << true << 6 << false;
    QTest::newRow("prefix does not match") << six << u"ab"_s << true << 6 << false;
    QTest::newRow("empty text matches empty entry")
        << QStringList{u"x"_s, QString(), u"y"_s} << QString() << false << 1 << true;
    QTest::newRow("empty text without empty entry")
        << QStringList{u"x"_s, u" "_s} << QString() << true << 2 << false;
}

void tst_FindEntry::find()
{
    QFETCH(QStringList, entries);
    QFETCH(QString, text);
    QFETCH(bool, foundBefore);
    QFETCH(int, index);
    QFETCH(bool, found);

    const VectorSnippetList list(entries);
    int gotIndex = -99;
    bool gotFound = foundBefore;
    FindEntry(list, text, gotIndex, gotFound);
    QCOMPARE(gotIndex, index);
    QCOMPARE(gotFound, found);
}

QTEST_GUILESS_MAIN(tst_FindEntry)
#include "tst_FindEntry.moc"
