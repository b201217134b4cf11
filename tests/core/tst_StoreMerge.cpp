#include "StoreMerge.h"

#include <QTest>

/** The three-way merge of the list with a store that another program changed. */
class tst_StoreMerge : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void merge_data()
    {
        QTest::addColumn<QString>("base");
        QTest::addColumn<QString>("ours");
        QTest::addColumn<QString>("theirs");
        QTest::addColumn<QString>("result");

        // Entries are letters; D is the date entry, which is never stored.
        // clang-format off
        QTest::newRow("nothing changed") << "ab" << "ab" << "ab" << "ab";
        QTest::newRow("appended outside") << "ab" << "ab" << "abc" << "abc";
        QTest::newRow("inserted outside, placed after its predecessor") << "abc" << "abc" << "axbc" << "axbc";
        QTest::newRow("consecutive outside lines stay together") << "abc" << "abc" << "axybc" << "axybc";
        QTest::newRow("outside line at the top") << "ab" << "ab" << "xab" << "xab";
        QTest::newRow("predecessor moved by us: follows it") << "abc" << "cab" << "axbc" << "caxb";
        QTest::newRow("predecessor removed by us: at the end") << "abc" << "bc" << "axbc" << "bcx";
        QTest::newRow("removed outside") << "abc" << "abc" << "ac" << "ac";
        QTest::newRow("removed by us, untouched outside") << "abc" << "ac" << "abc" << "ac";
        QTest::newRow("both sides change") << "abc" << "abcy" << "xbc" << "xbcy";
        QTest::newRow("added on both sides appears once") << "a" << "ax" << "xa" << "ax";
        QTest::newRow("removed on both sides") << "ab" << "a" << "a" << "a";
        QTest::newRow("outside reordering keeps our order") << "abc" << "abc" << "cba" << "abc";
        QTest::newRow("outside edit of a line") << "abc" << "abc" << "aXc" << "aXc";
        QTest::newRow("duplicate added outside") << "ab" << "ab" << "aba" << "aba";
        QTest::newRow("one of two duplicates removed outside") << "aab" << "aab" << "ab" << "ab";
        QTest::newRow("duplicate added on both sides, once") << "a" << "aa" << "aa" << "aa";
        QTest::newRow("duplicate added by us, removed outside") << "ab" << "aab" << "b" << "ab";
        QTest::newRow("our duplicate, outside third copy") << "a" << "aa" << "aaa" << "aaa";
        QTest::newRow("outside emptied the file, our addition stays") << "ab" << "abc" << "" << "c";
        QTest::newRow("empty base: both kept, theirs first") << "" << "a" << "b" << "ba";
        QTest::newRow("empty ours: outside additions only") << "a" << "" << "ab" << "b";
        QTest::newRow("date entry stays on top, outside top line after it") << "a" << "Da" << "xa" << "Dxa";
        QTest::newRow("date entry in the file is never merged in") << "a" << "Da" << "aD" << "Da";
        QTest::newRow("date entry in the base is not a removal") << "aD" << "Da" << "a" << "Da";
        QTest::newRow("date entry between ours") << "ab" << "aDb" << "abx" << "aDbx";
        // clang-format on
    }

    void merge()
    {
        QFETCH(QString, base);
        QFETCH(QString, ours);
        QFETCH(QString, theirs);
        QFETCH(QString, result);

        const auto list = [](const QString& letters) {
            QStringList entries;
            for (const QChar letter : letters)
                entries.append(letter == u'D' ? QStringLiteral("12/7/2026") : QString(letter));
            return entries;
        };
        QCOMPARE(StoreMerge::merge(list(base), list(ours), list(theirs), QStringLiteral("12/7/2026")), list(result));
    }
};

QTEST_GUILESS_MAIN(tst_StoreMerge)
#include "tst_StoreMerge.moc"
