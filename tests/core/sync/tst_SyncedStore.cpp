#include "core/sync/SyncedStore.h"
#include "fakes/CoreFixture.h"
#include "fakes/FakeStoreDisk.h"
#include "fakes/TableRows.h"

#include <QTest>

using namespace Qt::Literals::StringLiterals;

/** The store's saves against a file that others change: the check before the replace with its
 * bounded retries, and lines appended to a file after it was read or replaced. */
class tst_SyncedStore : public QObject
{
    Q_OBJECT

private:
    FakeStoreDisk m_disk;
    std::unique_ptr<SyncedStore> m_store;

    /** The file holds `stored`, read at start-up into the date entry and those entries. */
    void begin(const QString& stored)
    {
        QByteArray bytes;
        for (const QString& entry : letters(stored))
            bytes += FakeStoreDisk::line(entry);
        m_disk.current = m_disk.make(bytes);
        m_store = std::make_unique<SyncedStore>(m_disk, u"Text.txt"_s, u"12/7/2026"_s);
        m_store->begin(letters(u"D"_s + stored), m_disk.read(QString()));
    }

private Q_SLOTS:
    void init() { m_disk = FakeStoreDisk(); }

    void checkBeforeReplace_data()
    {
        // outside: a change right before each check.
        addColumns<QStringList, int, bool, QString, QString>("outside", "writes", "saved", "stored", "listed");
        const QStringList restless{u"append p"_s, u"append q"_s, u"deliver r"_s, u"append s"_s, u"append t"_s};
        // We read "ab" and added "c"; outside lines go after the line they follow.
        // clang-format off
        QTest::newRow("file holds still") << QStringList() << 1 << true << "abc" << "Dabc";
        QTest::newRow("appended in place: merged, written again") << QStringList{u"append x"_s} << 2 << true << "abxc" << "Dabxc";
        QTest::newRow("renamed over: merged, written again") << QStringList{u"deliver x"_s} << 2 << true << "abxc" << "Dabxc";
        QTest::newRow("two changes, then still") << QStringList{u"append x"_s, u"deliver y"_s} << 3 << true << "abxyc" << "Dabxyc";
        QTest::newRow("never holds still: not saved, nothing lost") << restless << int(SyncedStore::MaxAttempts) << false << "abpqrst" << "Dabpqrstc";
        // clang-format on
    }

    void checkBeforeReplace()
    {
        const auto [outside, saved, stored, listed] = fetch<QStringList, bool, QString, QString>("outside", "saved", "stored", "listed");
        begin(u"ab"_s);
        m_disk.beforeReplace = outside;
        const SyncedStore::Outcome out = m_store->save(letters(u"Dabc"_s));
        QTEST(m_disk.writes, "writes");
        QVERIFY(out.saved == saved && out.error.contains(u"kept changing"_s) != saved);
        QVERIFY(m_disk.entries() == letters(stored) && out.entries == letters(listed));
    }

    void unreadableChangeIsReportedOnceUntilItReads()
    {
        begin(u"ab"_s);
        QList<bool> reported;
        for (const bool unreadable : {true, true, false, true}) {
            m_disk.unreadable = unreadable;
            m_disk.outside(u"append x"_s);
            reported << m_store->refresh(letters(u"Dab"_s)).unreadable;
        }
        QCOMPARE(reported, (QList<bool>{true, false, false, true}));
    }

    void appendedLines_data()
    {
        // changes: "old BYTES" is appended to the replaced file, "save E" adds E and saves, others as FakeStoreDisk::outside;
        // looks: the list after each.
        addColumns<QStringList, QStringList>("changes", "looks");
        // We read "ab" and saved "abc"; a writer still holding the old file appends to it.
        // clang-format off
        QTest::newRow("nothing appended") << QStringList{u"old "_s} << QStringList{u"Dabc"_s};
        QTest::newRow("a line") << QStringList{u"old \"x\"\r\n"_s} << QStringList{u"Dabcx"_s};
        QTest::newRow("a line shorter than a byte-order mark") << QStringList{u"old x\n"_s} << QStringList{u"Dabcx"_s};
        QTest::newRow("half a line waits for its end") << QStringList{u"old \"x"_s, u"old \"\r\n\"y\"\r\n"_s} << QStringList{u"Dabc"_s, u"Dabcxy"_s};
        QTest::newRow("lines at both looks") << QStringList{u"old \"x\"\r\n"_s, u"old \"y\"\r\n"_s} << QStringList{u"Dabcx"_s, u"Dabcxy"_s};
        QTest::newRow("a line, a save of ours, a line") << QStringList{u"old \"x\"\r\n"_s, u"save u"_s, u"old \"y\"\r\n"_s} << QStringList{u"Dabcx"_s, u"Dabcxu"_s, u"Dabcxuy"_s};
        QTest::newRow("the file we wrote, appended in place, then renamed over: read once") << QStringList{u"append x"_s, u"deliver y"_s} << QStringList{u"Dabcx"_s, u"Dabcxy"_s};
        // clang-format on
    }

    void appendedLines()
    {
        const auto [changes, looks] = fetch<QStringList, QStringList>("changes", "looks");
        begin(u"ab"_s);
        const auto replaced = m_disk.current;
        QVERIFY(m_store->save(letters(u"Dabc"_s)).saved);
        SyncedStore::Outcome out;
        out.entries = letters(u"Dabc"_s);
        for (qsizetype i = 0; i < changes.size(); ++i) {
            if (changes[i].startsWith(u"old "_s))
                replaced->bytes += changes[i].mid(4).toUtf8();
            else if (!changes[i].startsWith(u"save "_s))
                m_disk.outside(changes[i]);
            out = changes[i].startsWith(u"save "_s) ? m_store->save(out.entries << changes[i].mid(5)) : m_store->refresh(out.entries);
            QVERIFY(out.entries == letters(looks[i]) && out.unsaved == (out.changed && changes[i].startsWith(u"old "_s)));
        }
        // Saved, the lines are in the store once, and neither file is read again.
        QVERIFY(m_store->save(out.entries).saved && m_disk.entries() == letters(looks.last()).mid(1));
        QCOMPARE(m_store->refresh(out.entries).entries, letters(looks.last()));
    }
};

QTEST_MAIN(tst_SyncedStore)
#include "tst_SyncedStore.moc"
