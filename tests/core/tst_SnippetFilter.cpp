#include "SnippetFilter.h"
#include "VectorSnippetList.h"

#include <QSignalSpy>
#include <QTest>
#include <random>

using namespace Qt::Literals::StringLiterals;

namespace {

/** The plain definition: starting matches, then the others, in list order, cut at `limit`. */
QStringList definition(const QStringList& entries, const QString& text, int limit)
{
    QStringList starting, others;
    for (const QString& entry : entries) {
        if (text.isEmpty())
            break;
        if (entry.startsWith(text, Qt::CaseInsensitive))
            starting << entry;
        else if (entry.contains(text, Qt::CaseInsensitive))
            others << entry;
    }
    return (starting + others).mid(0, limit);
}

/** Types each text in turn (only the first slice runs in between), then waits for the last. */
QStringList typeAll(SnippetFilter& filter, const VectorSnippetList& list, const QStringList& typed)
{
    QStringList result;
    QObject::connect(&filter, &SnippetFilter::matched, [&](const QString& text, QList<int> rows) {
        result.clear();
        if (text == typed.last())
            for (int row : rows)
                result << list.entryAt(row);
    });
    for (const QString& text : typed)
        filter.setText(text);
    for (int i = 0; filter.isBusy() && i < 100000; ++i)
        QCoreApplication::processEvents();
    return result;
}

} // namespace

/** The filter pop-up's matching: order, case, limit, and reuse of earlier work for later keys. */
class tst_SnippetFilter : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void matches_data()
    {
        QTest::addColumn<QStringList>("entries");
        QTest::addColumn<QStringList>("typed");
        QTest::addColumn<int>("limit");
        QTest::addColumn<QStringList>("expected");

        const QStringList e{u"say hello"_s, u"Hello world"_s, u"other"_s, u"help"_s, u"shell"_s, u"HELP desk"_s};
        const QStringList allHe{u"Hello world"_s, u"help"_s, u"HELP desk"_s, u"say hello"_s, u"other"_s, u"shell"_s};
        // clang-format off
        QTest::newRow("starting matches first, each group in list order") << e << QStringList{u"he"_s} << 200 << allHe;
        QTest::newRow("narrowed key by key") << e << QStringList{u"h"_s, u"he"_s, u"hel"_s, u"help"_s} << 200 << QStringList{u"help"_s, u"HELP desk"_s};
        QTest::newRow("backspace widens again") << e << QStringList{u"h"_s, u"he"_s, u"hel"_s, u"help"_s, u"hel"_s, u"he"_s} << 200 << allHe;
        QTest::newRow("another text starts afresh") << e << QStringList{u"hel"_s, u"o"_s} << 200 << QStringList{u"other"_s, u"say hello"_s, u"Hello world"_s};
        QTest::newRow("limit within the starting matches") << e << QStringList{u"he"_s} << 2 << QStringList{u"Hello world"_s, u"help"_s};
        QTest::newRow("narrowed after the limit cut the starting scan") << e << QStringList{u"h"_s, u"hel"_s} << 2 << QStringList{u"Hello world"_s, u"help"_s};
        QTest::newRow("narrowed after the limit cut the scan: the rest is still read") << e << QStringList{u"l"_s, u"ll"_s} << 3 << QStringList{u"say hello"_s, u"Hello world"_s, u"shell"_s};
        QTest::newRow("nothing matches") << e << QStringList{u"h"_s, u"hx"_s} << 200 << QStringList();
        QTest::newRow("empty text offers nothing") << e << QStringList{u"he"_s, QString()} << 200 << QStringList();
        QTest::newRow("case beyond ASCII") << QStringList{u"Élan"_s, u"café"_s, u"CAFÉ au lait"_s} << QStringList{u"é"_s} << 200 << QStringList{u"Élan"_s, u"café"_s, u"CAFÉ au lait"_s};
        QTest::newRow("line breaks are text") << QStringList{u"one\ntwo"_s, u"two"_s} << QStringList{u"e\nt"_s} << 200 << QStringList{u"one\ntwo"_s};
        // clang-format on

        // Many entries of words: narrowing, widening and limits mixed, against the definition.
        const QStringList words{u"and"_s, u"Anna"_s, u"tea"_s, u"earth"_s, u"near"_s, u"bean"_s, u"Ant"_s, u"ear"_s, u"read"_s, u"dane"_s};
        std::mt19937 random(7);
        QStringList many;
        for (int i = 0; i < 3000; ++i)
            many << words.at(static_cast<qsizetype>(random() % 10)) + u' ' + words.at(static_cast<qsizetype>(random() % 10));
        const QStringList typing[] = {{u"a"_s, u"an"_s, u"and"_s, u"an"_s, u"a"_s, u"ea"_s, u"ear"_s},
                                      {u"e"_s, u"ea"_s, u"ear"_s, u"eart"_s, u"ear"_s, u"ea"_s, u"ean"_s},
                                      {u"n"_s, u"ne"_s, u"n"_s, u"an"_s, u"ann"_s, u"an"_s}};
        for (const QStringList& typed : typing)
            for (int limit : {1, 40, 3000})
                QTest::addRow("many entries, %s, limit %d", qPrintable(typed.join(u'>')), limit)
                    << many << typed << limit << definition(many, typed.last(), limit);
    }

    void matches()
    {
        QFETCH(QStringList, entries);
        QFETCH(QStringList, typed);
        QFETCH(int, limit);
        QFETCH(QStringList, expected);

        QCOMPARE(definition(entries, typed.last(), limit), expected);
        const VectorSnippetList list(entries);
        // Slices of one entry leave every earlier text half done; large ones finish each text.
        for (int checks : {1, 3, 50, 1000000}) {
            SnippetFilter filter(list.entries(), limit);
            filter.setSlice(1000, checks);
            QCOMPARE(typeAll(filter, list, typed), expected);
        }
    }

    void staleResultsAreNeverEmitted()
    {
        VectorSnippetList list;
        for (int i = 0; i < 100; ++i)
            list.append(u"entry %1 of the list"_s.arg(i));
        SnippetFilter filter(list.entries(), 10);
        filter.setSlice(1000, 5);
        QSignalSpy spy(&filter, &SnippetFilter::matched);
        filter.setText(u"9"_s);
        QCoreApplication::processEvents();
        QVERIFY(filter.isBusy());
        filter.setText(u"99"_s);
        QTRY_VERIFY(!filter.isBusy());
        QCOMPARE(spy.count(), 1);
        QCOMPARE(spy.at(0).at(0).toString(), u"99"_s);
        QCOMPARE(spy.at(0).at(1).value<QList<int>>(), QList<int>{99});

        // A list change while busy: the result counts positions in the changed list.
        spy.clear();
        filter.setText(u"9"_s);
        list.removeAt(0);
        list.removeAt(0);
        filter.listChanged();
        QTRY_VERIFY(!filter.isBusy());
        QCOMPARE(spy.last().at(0).toString(), u"9"_s);
        QCOMPARE(spy.last().at(1).value<QList<int>>(), (QList<int>{7, 17, 27, 37, 47, 57, 67, 77, 87, 88}));
        filter.clear();
        QVERIFY(!filter.isBusy());
    }
};

QTEST_GUILESS_MAIN(tst_SnippetFilter)
#include "tst_SnippetFilter.moc"
