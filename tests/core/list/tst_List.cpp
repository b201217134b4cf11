#include "core/list/DatePurge.h"
#include "core/list/FindEntry.h"
#include "core/list/ListCommand.h"
#include "core/list/SnippetFilter.h"
#include "fakes/CoreFixture.h"
#include "fakes/TableRows.h"
#include "fakes/VectorSnippetList.h"

#include <QSignalSpy>
#include <QTest>
#include <random>

using namespace Qt::Literals::StringLiterals;

namespace {
/** The plain definition of the filter: starting matches, then the others, in list order, cut at `limit`. */
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
QStringList typeAll(SnippetFilter& filter, const QStringList& entries, const QStringList& typed)
{
    QStringList result;
    QObject::connect(&filter, &SnippetFilter::matched, [&](const QString& text, QList<int> rows) {
        result.clear();
        if (text == typed.last())
            for (int row : rows)
                result << entries.at(row);
    });
    for (const QString& text : typed)
        filter.setText(text);
    for (int i = 0; filter.isBusy() && i < 100000; ++i)
        QCoreApplication::processEvents();
    return result;
}
} // namespace

/** Finding an entry, purging the date entries, and filtering the list as the user types. */
class tst_List : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void init() { failOnStrayWarnings(); }

    void find_data()
    {
        addColumns<QStringList, QString, bool, int, bool>("entries", "text", "foundBefore", "index", "found");
        const QStringList six{u"a"_s, u"b"_s, u"abc"_s, u"c"_s, u"d"_s, u"abc"_s};
        QTest::newRow("empty list: index 0, found keeps true") << QStringList() << u"abc"_s << true << 0 << true;
        QTest::newRow("text at 2 and 5 reports 2") << six << u"abc"_s << false << 2 << true;
        QTest::newRow("no match reports count and false") << six << u"zzz"_s << true << 6 << false;
    }

    void find()
    {
        auto [entries, text, foundBefore] = fetch<QStringList, QString, bool>("entries", "text", "foundBefore");
        int index = -99;
        FindEntry(VectorSnippetList(entries), text, index, foundBefore);
        QTEST(index, "index");
        QTEST(foundBefore, "found");
    }

    void listCommand_data()
    {
        // The list before, the command, its text; then whether it changed the list and what it said.
        using K = ListCommand::Kind;
        addColumns<QStringList, K, QString, bool, QString>("entries", "kind", "text", "changed", "message");
        const QStringList two{u"3/1/2024"_s, u"Abc"_s};
        const QString odd = u"say \"hi\"\nbye \U0001F600"_s;
        QStringList full(SnippetList::MaxEntries - 1, u"x"_s);
        full.prepend(u"3/1/2024"_s);
        QTest::newRow("add at the end") << two << K::Add << odd << true << u"Text added"_s;
        QTest::newRow("add: listed text") << two << K::Add << u"Abc"_s << false << u"the text is already in the list"_s;
        QTest::newRow("add: another case is another text") << two << K::Add << u"abc"_s << true << u"Text added"_s;
        QTest::newRow("add: empty") << two << K::Add << QString() << false << u"the text is empty"_s;
        QTest::newRow("add: full list") << full << K::Add << u"new"_s << false << u"the list is full"_s;
        QTest::newRow("remove: exact match only") << two << K::Remove << u"Abc "_s << false << u"the text is not in the list"_s;
        QTest::newRow("remove the first match") << two + two << K::Remove << u"Abc"_s << true << u"Text removed"_s;
        QTest::newRow("remove: empty") << two << K::Remove << QString() << false << u"the text is empty"_s;
    }

    void listCommand()
    {
        const auto [entries, kind, text, changed] = fetch<QStringList, ListCommand::Kind, QString, bool>("entries", "kind", "text", "changed");
        VectorSnippetList list(entries);
        const ListCommand::Result result = ListCommand::apply(kind, list, text);
        QCOMPARE(result.changed, changed);
        QTEST(result.message, "message");
        QCOMPARE(result.statusMessage, entries.size() == SnippetList::MaxEntries ? u"List is full"_s : QString());
        QStringList expected = entries;
        if (changed && kind == ListCommand::Kind::Add)
            expected.append(text);
        else if (changed)
            expected.removeOne(text);
        QCOMPARE(list.entries(), expected);
        // The store's view leaves the date entry out, wherever it stands.
        list.append(entries.first());
        expected.removeAll(entries.first());
        QCOMPARE(ListCommand::entries(list, entries.first()), expected);
    }

    void purge_data()
    {
        addColumns<QStringList, QString, QStringList>("entries", "today", "remaining");
        const QString t = u"3/1/2024"_s, x = u"x"_s, y = u"y"_s;
        QTest::newRow("T,x,T -> x") << QStringList{t, x, t} << t << QStringList{x};
        QTest::newRow("x,T,T,y -> x,y") << QStringList{x, t, t, y} << t << QStringList{x, y};
        const QStringList nearMisses{t + u' ', u' ' + t, u"3/1/2024X"_s, u"3/1/202"_s};
        QTest::newRow("near misses stay") << nearMisses + QStringList{t} << t << nearMisses;
        QTest::newRow("empty today removes nothing") << QStringList{QString(), x} << QString() << QStringList{QString(), x};
    }

    void purge()
    {
        auto [entries, today, remaining] = fetch<QStringList, QString, QStringList>("entries", "today", "remaining");
        VectorSnippetList list(entries);
        QVERIFY(DatePurge::purge(list, today) == int(entries.size() - remaining.size()) && list.entries() == remaining);
    }

    void filter_data()
    {
        addColumns<QStringList, QStringList, int, QStringList>("entries", "typed", "limit", "expected");
        const QStringList e{u"say hello"_s, u"Hello world"_s, u"other"_s, u"help"_s, u"shell"_s, u"HELP desk"_s};
        // clang-format off
        QTest::newRow("starting matches first, each group in list order") << e << QStringList{u"he"_s} << 200 << QStringList{u"Hello world"_s, u"help"_s, u"HELP desk"_s, u"say hello"_s, u"other"_s, u"shell"_s};
        QTest::newRow("narrowed after the limit cut the scan: the rest is still read") << e << QStringList{u"l"_s, u"ll"_s} << 3 << QStringList{u"say hello"_s, u"Hello world"_s, u"shell"_s};
        QTest::newRow("nothing matches") << e << QStringList{u"h"_s, u"hx"_s} << 200 << QStringList();
        QTest::newRow("empty text offers nothing") << e << QStringList{u"he"_s, QString()} << 200 << QStringList();
        QTest::newRow("case beyond ASCII") << QStringList{u"Élan"_s, u"café"_s, u"CAFÉ au lait"_s} << QStringList{u"é"_s} << 200 << QStringList{u"Élan"_s, u"café"_s, u"CAFÉ au lait"_s};
        QTest::newRow("line breaks are text") << QStringList{u"one\ntwo"_s, u"two"_s} << QStringList{u"e\nt"_s} << 200 << QStringList{u"one\ntwo"_s};
        // clang-format on

        // Many entries of words: narrowing, widening, starting afresh and limits mixed, against the definition.
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

    void filter()
    {
        auto [entries, typed, limit] = fetch<QStringList, QStringList, int>("entries", "typed", "limit");
        // Slices of one entry leave every earlier text half done; large ones finish each text.
        for (int checks : {1, 3, 50, 1000000}) {
            SnippetFilter filter(entries, limit);
            filter.setSlice(1000, checks);
            QTEST(typeAll(filter, entries, typed), "expected");
        }
    }

    void filterNeverEmitsStaleResults()
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
        QVERIFY(spy.count() == 1 && spy.at(0).at(0).toString() == u"99"_s && spy.at(0).at(1).value<QList<int>>() == (QList<int>{99}));
        list.removeAt(0);
        filter.listChanged();
        QTRY_COMPARE(spy.last().at(1).value<QList<int>>(), QList<int>{98}); // a list change after a search: searched again

        // A list change while busy: the result counts positions in the changed list.
        spy.clear();
        filter.setText(u"9"_s);
        list.removeAt(0);
        filter.listChanged();
        QTRY_VERIFY(!filter.isBusy());
        QVERIFY(spy.last().at(0).toString() == u"9"_s && spy.last().at(1).value<QList<int>>() == (QList<int>{7, 17, 27, 37, 47, 57, 67, 77, 87, 88}));
        filter.clear();
        QVERIFY(!filter.isBusy());
    }
};

QTEST_GUILESS_MAIN(tst_List)
#include "tst_List.moc"
