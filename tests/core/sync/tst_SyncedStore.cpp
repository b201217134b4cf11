#include "core/sync/SyncedStore.h"
#include "fakes/FakeStoreDisk.h"

#include <QTest>

using namespace Qt::Literals::StringLiterals;

namespace {
QStringList letters(const QString& text)
{
    QStringList entries;
    for (const QChar letter : text)
        entries.append(letter == u'D' ? u"12/7/2026"_s : QString(letter));
    return entries;
}
} // namespace

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
        QTest::addColumn<QStringList>("outside"); // a change right before each check
        QTest::addColumn<int>("writes");
        QTest::addColumn<bool>("saved");
        QTest::addColumn<QString>("stored");
        QTest::addColumn<QString>("listed");
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
        QFETCH(QStringList, outside);
        QFETCH(bool, saved);
        begin(u"ab"_s);
        m_disk.beforeReplace = outside;
        const SyncedStore::Outcome out = m_store->save(letters(u"Dabc"_s));
        QTEST(m_disk.writes, "writes");
        QCOMPARE(out.saved, saved);
        QCOMPARE(out.error.contains(u"kept changing"_s), !saved);
        QFETCH(QString, stored);
        QFETCH(QString, listed);
        QCOMPARE(m_disk.entries(), letters(stored));
        QCOMPARE(out.entries, letters(listed));
    }

    void appendedLines_data()
    {
        QTest::addColumn<QByteArray>("toReplaced"); // appended to the file replaced by our save
        QTest::addColumn<QByteArray>("later");      // appended to it before the second look
        QTest::addColumn<QString>("firstLook");
        QTest::addColumn<QString>("secondLook");
        // We read "ab", saved "abc"; a writer still holding the old file appends to it.
        QTest::newRow("nothing appended") << QByteArray() << QByteArray() << "Dabc"
                                          << "Dabc";
        QTest::newRow("a line") << "\"x\"\r\n"_ba << QByteArray() << "Dabcx"
                                << "Dabcx";
        QTest::newRow("half a line waits for its end") << "\"x"_ba
                                                       << "\"\r\n\"y\"\r\n"_ba
                                                       << "Dabc"
                                                       << "Dabcxy";
        QTest::newRow("lines at both looks") << "\"x\"\r\n"_ba
                                             << "\"y\"\r\n"_ba
                                             << "Dabcx"
                                             << "Dabcxy";
    }

    void appendedLines()
    {
        QFETCH(QByteArray, toReplaced);
        QFETCH(QByteArray, later);
        QFETCH(QString, firstLook);
        QFETCH(QString, secondLook);
        begin(u"ab"_s);
        const auto replaced = m_disk.current;
        QVERIFY(m_store->save(letters(u"Dabc"_s)).saved);
        replaced->bytes += toReplaced;
        SyncedStore::Outcome out = m_store->refresh(letters(u"Dabc"_s));
        QCOMPARE(out.entries, letters(firstLook));
        QCOMPARE(out.unsaved, out.changed);
        QVERIFY(out.holdsReplaced);
        replaced->bytes += later;
        out = m_store->refresh(out.entries);
        QCOMPARE(out.entries, letters(secondLook));
        // Saved, the lines are in the store once, and the file we wrote is no replaced file.
        QVERIFY(m_store->save(out.entries).saved);
        QCOMPARE(m_disk.entries(), letters(secondLook).mid(1));
        QCOMPARE(m_store->refresh(out.entries).entries, letters(secondLook));
    }

    void appendsInPlaceAreReadOnce()
    {
        // Appended to the file we wrote: read through its stamp, never again as a tail.
        begin(u"ab"_s);
        QVERIFY(m_store->save(letters(u"Dab"_s)).saved);
        m_disk.outside(u"append x"_s);
        SyncedStore::Outcome out = m_store->refresh(letters(u"Dab"_s));
        QCOMPARE(out.entries, letters(u"Dabx"_s));
        QVERIFY(!out.unsaved);
        m_disk.outside(u"deliver y"_s);
        out = m_store->refresh(out.entries);
        QCOMPARE(out.entries, letters(u"Dabxy"_s));
        QCOMPARE(m_store->refresh(out.entries).entries, letters(u"Dabxy"_s));
    }
};

QTEST_MAIN(tst_SyncedStore)
#include "tst_SyncedStore.moc"
