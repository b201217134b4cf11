#include "core/store/StoreFile.h"
#include "core/sync/StoreDisk.h"
#include "core/sync/StoreMerge.h"
#include "core/sync/SyncedStore.h"
#include "fakes/CoreFixture.h"
#include "fakes/FileBytes.h"
#include "fakes/TableRows.h"

#include <QTest>

using namespace Qt::Literals::StringLiterals;

/** Merging outside changes into the list, and the save that merges them first. */
class tst_Sync : public QObject
{
    Q_OBJECT

private:
    std::unique_ptr<QTemporaryDir> m_dir;
    QString m_path;

private Q_SLOTS:
    void init() { freshStoreFolder(m_dir, m_path); }

    void merge_data()
    {
        addColumns<QString, QString, QString, QString>("base", "ours", "theirs", "result");
        // Entries are letters; D is the date entry, which is never stored.
        // clang-format off
        QTest::newRow("nothing changed") << "ab" << "ab" << "ab" << "ab";
        QTest::newRow("appended outside") << "ab" << "ab" << "abc" << "abc";
        QTest::newRow("outside lines follow their predecessors, together") << "abc" << "abc" << "axybzc" << "axybzc";
        QTest::newRow("predecessor moved by us: follows it") << "abc" << "cab" << "axbc" << "caxb";
        QTest::newRow("predecessor removed by us: at the end") << "abc" << "bc" << "axbc" << "bcx";
        QTest::newRow("removed outside") << "abc" << "abc" << "ac" << "ac";
        QTest::newRow("both sides change") << "abc" << "abcy" << "xbc" << "xbcy";
        QTest::newRow("added on both sides appears once") << "a" << "ax" << "xa" << "ax";
        QTest::newRow("one copy removed on each side: one removal") << "aba" << "ab" << "ba" << "ab";
        QTest::newRow("outside reordering keeps our order") << "abc" << "abc" << "cba" << "abc";
        QTest::newRow("duplicate added by us, removed outside") << "ab" << "aab" << "b" << "ab";
        QTest::newRow("our duplicate, outside third copy") << "a" << "aa" << "aaa" << "aaa";
        QTest::newRow("outside emptied the file, our addition stays") << "ab" << "abc" << "" << "c";
        QTest::newRow("date entry stays on top, outside top line after it") << "a" << "Da" << "xa" << "Dxa";
        QTest::newRow("date entry in the file is never merged in") << "a" << "Da" << "aD" << "Da";
        QTest::newRow("date entry between ours") << "ab" << "aDb" << "abx" << "aDbx";
        QTest::newRow("two date entries stay on top") << "a" << "DDa" << "xa" << "DDxa";
        // clang-format on
    }

    void merge()
    {
        auto [base, ours, theirs, result] = fetch<QString, QString, QString, QString>("base", "ours", "theirs", "result");
        QCOMPARE(StoreMerge::merge(letters(base), letters(ours), letters(theirs), u"12/7/2026"_s), letters(result));
    }

    void saveMergesOutsideChangesFirst_data()
    {
        addColumns<QByteArray, QStringList>("outside", "list");
        // Quippet read "a","b" and added "ours"; then the outside wrote this (empty: removed).
        const QStringList ours{u"D"_s, u"a"_s, u"b"_s, u"ours"_s};
        QTest::newRow("untouched") << "\"a\"\r\n\"b\"\r\n"_ba << ours;
        QTest::newRow("same entries written again") << "a\r\nb\r\n"_ba << ours;
        QTest::newRow("line added and line removed") << "\"x\"\r\n\"b\"\r\n"_ba << QStringList{u"D"_s, u"x"_s, u"b"_s, u"ours"_s};
        QTest::newRow("vanished: written from the list") << QByteArray() << ours;
    }

    void saveMergesOutsideChangesFirst()
    {
        auto [outside, list] = fetch<QByteArray, QStringList>("outside", "list");
        writeBytes(m_path, "\"a\"\r\n\"b\"\r\n");
        StoreDisk disk;
        const StoreFile::Contents read = disk.read(m_path);
        QStringList entries = QStringList{u"D"_s} + read.entries;
        SyncedStore synced(disk, m_path, u"D"_s);
        synced.begin(entries, read);
        const auto save = [&] {
            const SyncedStore::Outcome outcome = synced.save(entries);
            if (outcome.changed)
                entries = outcome.entries;
            return outcome.saved;
        };
        entries.append(u"ours"_s);

        QFile::remove(m_path);
        if (!outside.isEmpty())
            writeBytes(m_path, outside);
        QVERIFY(save());
        QCOMPARE(entries, list);

        // A second outside change after a merged save is seen as well.
        writeBytes(m_path, readBytes(m_path) + "\"z\"\r\n");
        QVERIFY(save());
        QCOMPARE(entries, list + QStringList{u"z"_s});
        QCOMPARE(StoreFile::read(m_path).entries, list.mid(1) + QStringList{u"z"_s});
    }
};

QTEST_GUILESS_MAIN(tst_Sync)
#include "tst_Sync.moc"
