#include "core/store/StoreFile.h"
#include "core/sync/ConflictCopies.h"
#include "core/sync/StoreDisk.h"
#include "core/sync/StoreMerge.h"
#include "core/sync/StoreWatcher.h"
#include "core/sync/SyncedStore.h"
#include "core/sync/UnconfirmedWrites.h"
#include "fakes/CoreFixture.h"
#include "fakes/FileBytes.h"
#include "fakes/TableRows.h"

#include <QDateTime>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <cstdio>

using namespace Qt::Literals::StringLiterals;

namespace {

/** "x1y2": x first written by our save 1, y by save 2, one copy each (x1x1: two); save n at n seconds. */
QHash<QString, StoreMerge::Written> writes(const QString& pairs)
{
    QHash<QString, StoreMerge::Written> written;
    for (qsizetype i = 0; i + 1 < pairs.size(); i += 2) {
        const int save = pairs.at(i + 1).digitValue();
        written[pairs.at(i)] = {written.value(pairs.at(i)).copies + 1, save, save * 1'000'000'000LL};
    }
    return written;
}

} // namespace

/** The list in step with its file and across machines: merging outside changes, the save that merges them first,
 * entries the other side has not seen, and the conflict copies sync engines leave. */
class tst_Sync : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void init() { failOnStrayWarnings(); }

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
        const QTemporaryDir dir;
        const QString path = dir.filePath(u"Text.txt"_s);
        writeBytes(path, "\"a\"\r\n\"b\"\r\n");
        StoreDisk disk;
        const StoreFile::Contents read = disk.read(path);
        QStringList entries = QStringList{u"D"_s} + read.entries;
        SyncedStore synced(disk, path, u"D"_s);
        synced.begin(entries, read);
        const auto save = [&] {
            const SyncedStore::Outcome outcome = synced.save(entries);
            entries = outcome.changed ? outcome.entries : entries;
            return outcome.saved;
        };
        entries.append(u"ours"_s);

        QFile::remove(path);
        if (!outside.isEmpty())
            writeBytes(path, outside);
        QVERIFY(save() && entries == list);

        // A second outside change after a merged save is seen as well.
        writeBytes(path, readBytes(path) + "\"z\"\r\n");
        QVERIFY(save() && entries == list + QStringList{u"z"_s} && StoreFile::read(path).entries == list.mid(1) + QStringList{u"z"_s});
    }
    void unseenEntriesAreKept_data()
    {
        // theirsAt: in seconds
        addColumns<QString, QString, QString, QString, double, QString>("base", "ours", "theirs", "written", "theirsAt", "result");
        // We read "ab" from the file, then wrote the entries in `written`; the file now holds `theirs`.
        // clang-format off
        QTest::newRow("editor deletes the line we wrote") << "Dabx" << "Dabx" << "ab" << "x1" << 60.0 << "Dab";
        QTest::newRow("editor deletes an older line of ours, a newer one stays") << "abxy" << "abxy" << "aby" << "x1y2" << 60.0 << "aby";
        QTest::newRow("editor deletes a line read from the file") << "abx" << "abx" << "bx" << "x1" << 60.0 << "bx";
        QTest::newRow("version older than our save") << "abx" << "abx" << "ab" << "x1" << 0.5 << "abx";
        QTest::newRow("other machine added meanwhile, never saw ours") << "Dabx" << "Dabx" << "aby" << "x1" << 1.5 << "Dabyx";
        QTest::newRow("other machine removed a line, never saw ours") << "abx" << "abx" << "b" << "x1" << 1.5 << "bx";
        QTest::newRow("other machine saw our first save, not the second") << "abxy" << "abxy" << "abxz" << "x1y2" << 9.0 << "abxzy";
        QTest::newRow("other machine saw our second save: removal of the first counts") << "abxy" << "abxy" << "abyz" << "x1y2" << 9.0 << "abyz";
        QTest::newRow("it holds our line of the same save") << "abxy" << "abxy" << "abyz" << "x1y1" << 9.0 << "abyz";
        QTest::newRow("it holds our line but is dated before it: clocks differ, kept") << "abxy" << "abxy" << "ayz" << "x1y1" << 0.5 << "axyz";
        QTest::newRow("editor deletes our line and changes another: kept") << "abx" << "abx" << "Ab" << "x1" << 60.0 << "Abx";
        QTest::newRow("confirmed entry removed outside") << "abx" << "abx" << "ab" << "" << 0.5 << "ab";
        QTest::newRow("we removed it too") << "abx" << "ab" << "aby" << "x1" << 1.5 << "aby";
        QTest::newRow("it lacks a line it held before ours, and holds none of ours: kept") << "axb" << "axbxx" << "abz" << "x1x1" << 9.0 << "axbzxx";
        QTest::newRow("stale copy lacks ours and an older copy: one removed") << "aba" << "aba" << "b" << "a1" << 1.5 << "ab";
        // clang-format on
    }

    void unseenEntriesAreKept()
    {
        const auto [base, ours, theirs, written, theirsAt, result] =
            fetch<QString, QString, QString, QString, double, QString>("base", "ours", "theirs", "written", "theirsAt", "result");
        const QString date = u"12/7/2026"_s;
        const auto unseen = StoreMerge::unseenRemovals(letters(base), letters(theirs), qint64(theirsAt * 1e9), writes(written), date);
        QCOMPARE(StoreMerge::merge(letters(base), letters(ours), letters(theirs), date, unseen), letters(result));
    }

    void ledgerFollowsSavesAndReads()
    {
        UnconfirmedWrites ledger(u"12/7/2026"_s);
        ledger.begin(letters(u"ab"_s));
        ledger.saved(letters(u"Dabx"_s), 100);
        // An outside version without x: x stays ours, and written again keeps its first save.
        ledger.read(letters(u"aby"_s));
        ledger.saved(letters(u"abyxz"_s), 300);
        QCOMPARE(ledger.written(), (QHash<QString, StoreMerge::Written>{{u"x"_s, {1, 1, 100}}, {u"z"_s, {1, 2, 300}}}));
        ledger.saved(letters(u"abyxzx"_s), 400); // a second copy is a new write
        QCOMPARE(ledger.written().value(u"x"_s), (StoreMerge::Written{2, 3, 400}));
        ledger.read(letters(u"abyxzx"_s)); // a version holding them confirms them
        QVERIFY(ledger.written().isEmpty());
        ledger.saved(letters(u"wabyxzx"_s), 500); // added on top
        QCOMPARE(ledger.written(), (QHash<QString, StoreMerge::Written>{{u"w"_s, {1, 4, 500}}}));
    }

    void outsideVersionAfterOurSave_data()
    {
        addColumns<QByteArrayList, int, QString>("outside", "secondsAfterSave", "list"); // versions read one after another
        // Quippet read "a","b", then added and saved "x".
        // clang-format off
        QTest::newRow("editor deletes our line a minute later") << QByteArrayList{"a\nb\n"} << 60 << "Dab";
        QTest::newRow("other machine's version made before our save") << QByteArrayList{"a\nb\n"} << -5 << "Dabx";
        QTest::newRow("other machine added at the same moment") << QByteArrayList{"a\nb\ny\n"} << 1 << "Dabyx";
        QTest::newRow("other machine saw ours, then removed it: its clock is behind") << QByteArrayList{"a\nb\nx\n", "a\nb\n"} << -5 << "Dab";
        // clang-format on
    }

    void outsideVersionAfterOurSave()
    {
        const auto [outside, secondsAfterSave, list] = fetch<QByteArrayList, int, QString>("outside", "secondsAfterSave", "list");
        const QTemporaryDir dir;
        const QString path = dir.filePath(u"Text.txt"_s);
        writeBytes(path, "\"a\"\r\n\"b\"\r\n");
        StoreDisk disk;
        const StoreFile::Contents read = disk.read(path);
        QStringList entries = QStringList{u"12/7/2026"_s} + read.entries;
        SyncedStore synced(disk, path, u"12/7/2026"_s);
        synced.begin(entries, read);
        entries.append(u"x"_s);
        QVERIFY(synced.save(entries).saved);
        // A save with nothing new leaves the file as it is.
        const FileStamp saved = FileStamp::of(path);
        QVERIFY(synced.save(entries).saved && FileStamp::of(path) == saved);

        // Written as another program would, dated `secondsAfterSave` from our save.
        SyncedStore::Outcome outcome;
        QStringList merged = entries;
        for (const QByteArray& version : outside) {
            writeBytes(path, version);
            QFile file(path);
            const QDateTime modified = QDateTime::fromMSecsSinceEpoch(saved.modifiedNs / 1'000'000).addSecs(secondsAfterSave);
            QVERIFY(file.open(QIODevice::ReadWrite) && file.setFileTime(modified, QFileDevice::FileModificationTime));
            outcome = synced.refresh(merged);
            merged = outcome.changed ? outcome.entries : merged;
        }
        const FileStamp delivered = FileStamp::of(path);
        QVERIFY(merged == letters(list) && outcome.keptUnseen == list.contains(u'x'));
        // The next save hands what was kept to the other side, and leaves a file holding the list alone.
        QVERIFY(synced.save(merged).saved && (FileStamp::of(path) == delivered) != list.contains(u'x'));
        QCOMPARE(StoreFile::read(path).entries, letters(list).mid(1));
    }

    void watchFollowsTheFileThroughAReplace()
    {
        const QTemporaryDir dir;
        const QString path = dir.filePath(u"Text.txt"_s);
        StoreWatcher watcher(path);
        watcher.setQuietMs(0);
        QSignalSpy changed(&watcher, &StoreWatcher::changed);
        watcher.start();
        for (const QString& written : {path, path + u".new"_s, path}) { // made, replaced by a rename, written in place
            QTest::qWait(50);                                           // what the last step set off has been reported
            const qsizetype before = changed.size();
            writeBytes(written, "\"x\"\r\n");
            QVERIFY(written == path || std::rename(qPrintable(written), qPrintable(path)) == 0);
            QTRY_VERIFY(changed.size() > before);
        }
    }

    void conflictCopyNames_data()
    {
        addColumns<QString, QString, bool>("fileName", "name", "conflictCopy");
        // clang-format off
        QTest::newRow("Syncthing") << "Text.txt" << "Text.sync-conflict-20261207-181500-ABC2DEF.txt" << true;
        QTest::newRow("Nextcloud, ownCloud") << "Text.txt" << "Text (conflicted copy 2026-12-07 181500).txt" << true;
        QTest::newRow("Dropbox") << "Text.txt" << "Text (Jane's conflicted copy 2026-12-07).txt" << true;
        QTest::newRow("Dropbox, numbered") << "Text.txt" << "Text (Jane Roe\u2019s conflicted copy 2026-12-07) (1).txt" << true;
        QTest::newRow("store linked to another name") << "quips.list" << "quips.sync-conflict-20261207-181500-ABC2DEF.list" << true;
        QTest::newRow("Syncthing, a hidden store") << ".list" << ".sync-conflict-20261207-181500-ABC2DEF.list" << true;
        QTest::newRow("Nextcloud, a hidden store") << ".list" << ".list (conflicted copy 2026-12-07 181500)" << true;
        QTest::newRow("the store itself") << "Text.txt" << "Text.txt" << false;
        QTest::newRow("a backup") << "Text.txt" << "Text.txt.1.bak" << false;
        QTest::newRow("a backup's conflict copy") << "Text.txt" << "Text.txt.sync-conflict-20261207-181500-ABC2DEF.bak" << false;
        QTest::newRow("another file's") << "Text.txt" << "Notes.sync-conflict-20261207-181500-ABC2DEF.txt" << false;
        QTest::newRow("another file starting alike") << "Text.txt" << "Text2.sync-conflict-20261207-181500-ABC2DEF.txt" << false;
        QTest::newRow("a sync engine's temporary file") << "Text.txt" << ".syncthing.Text.sync-conflict-20261207-181500-ABC2DEF.txt.tmp" << false;
        // clang-format on
    }

    void conflictCopyNames()
    {
        const auto [fileName, name] = fetch<QString, QString>("fileName", "name");
        QTEST(ConflictCopies::isConflictCopy(fileName, name), "conflictCopy");
    }
};

QTEST_GUILESS_MAIN(tst_Sync)
#include "tst_Sync.moc"
