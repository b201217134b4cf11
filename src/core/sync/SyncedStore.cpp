#include "core/sync/SyncedStore.h"

#include "core/store/StoreFormat.h"
#include "core/store/StoreReader.h"
#include "core/sync/StoreDisk.h"
#include "core/sync/StoreMerge.h"

#include <QDir>
#include <utility>

namespace {

/** Whether both lists hold the same entries in the same order, `leaveOut` aside. */
bool sameEntries(const QStringList& a, const QStringList& b, const QString& leaveOut)
{
    qsizetype i = 0, j = 0;
    for (;;) {
        while (i < a.size() && !leaveOut.isEmpty() && a.at(i) == leaveOut)
            ++i;
        while (j < b.size() && !leaveOut.isEmpty() && b.at(j) == leaveOut)
            ++j;
        if (i == a.size() || j == b.size())
            return i == a.size() && j == b.size();
        if (a.at(i++) != b.at(j++))
            return false;
    }
}

} // namespace

SyncedStore::SyncedStore(StoreDisk& disk, QString path, QString leaveOut)
    : m_disk(disk), m_path(std::move(path)), m_leaveOut(std::move(leaveOut)),
      m_unconfirmed(m_leaveOut)
{
}

void SyncedStore::begin(const QStringList& listed, const StoreFile::Contents& read)
{
    m_base = listed;
    m_unconfirmed.begin(m_base);
    m_known = read.stamp;
    m_keepFile = read.keepFile;
    m_held = read.held;
    m_heldEnd = read.readEnd;
    m_heldStamp = read.stamp;
}

void SyncedStore::hold(std::shared_ptr<HeldFile> file, qint64 end, const FileStamp& stamp)
{
    // The same file read again in place is no replaced file: its tail is in the new read.
    if (m_held && !stamp.isSameFileAs(m_heldStamp))
        m_replaced.push_back({std::move(m_held), m_heldEnd, std::chrono::steady_clock::now()});
    m_held = std::move(file);
    m_heldEnd = end;
    m_heldStamp = stamp;
}

void SyncedStore::mergeReplacedTails(Outcome& out)
{
    QStringList appended;
    const auto now = std::chrono::steady_clock::now();
    for (auto it = m_replaced.begin(); it != m_replaced.end();) {
        const QByteArray tail = it->file->readFrom(it->end);
        // Whole lines only: a writer may be halfway through the last one. A short line
        // appended must not be taken for the start of a byte-order mark.
        StoreReader reader;
        if (it->end > 0)
            reader.startWithin();
        it->end += reader.consume(tail, false, appended);
        if (now - it->since > ReplacedKeptFor)
            it = m_replaced.erase(it);
        else
            ++it;
    }
    out.holdsReplaced = !m_replaced.empty();
    if (appended.isEmpty())
        return;
    // Lines added to the store as it was: merged like outside additions at its end, behind
    // those merged before.
    const QStringList before = m_base + m_appended;
    m_appended += appended;
    out.entries = StoreMerge::merge(before, out.entries, m_base + m_appended, m_leaveOut);
    out.changed = true;
    out.unsaved = true;
}

void SyncedStore::refreshInto(Outcome& out)
{
    mergeReplacedTails(out);
    const FileStamp now = m_disk.stamp(m_path);
    if (now == m_known)
        return; // unchanged, or our own save
    m_fileHoldsBase = false;
    if (!now.exists) {
        m_known = now;
        return; // vanished: the list is kept and the next save writes the file again
    }
    StoreFile::Contents theirs = m_disk.read(m_path);
    m_known = theirs.stamp.exists ? theirs.stamp : now;
    if (theirs.result == StoreFile::LoadResult::Missing)
        return;
    m_keepFile = theirs.keepFile;
    if (theirs.result != StoreFile::LoadResult::Loaded) {
        // Never taken for an emptied file. The store has kept the bytes aside; the list stays.
        out.unreadable = !m_warned;
        m_warned = true;
        return;
    }
    m_warned = false;
    hold(std::move(theirs.held), theirs.readEnd, theirs.stamp);
    // Appended lines are in the list and stay there: the new base is only what the file holds.
    m_appended.clear();
    // The other side cannot remove what it never saw.
    const QHash<QString, int> unseen =
        m_unconfirmed.unseenRemovals(m_base, theirs.entries, theirs.stamp.modifiedNs);
    const QStringList next =
        StoreMerge::merge(m_base, out.entries, theirs.entries, m_leaveOut, unseen);
    m_unconfirmed.read(theirs.entries);
    m_base = std::move(theirs.entries);
    m_fileHoldsBase = true;
    if (next != out.entries) {
        out.entries = next;
        out.changed = true;
    }
    if (!unseen.isEmpty()) {
        // The file lacks them only because its writer never saw them: they go out again.
        out.keptUnseen = true;
        out.unsaved = true;
    }
}

SyncedStore::Outcome SyncedStore::refresh(const QStringList& ours)
{
    Outcome out;
    out.entries = ours;
    refreshInto(out);
    out.savesAllowed = !m_keepFile;
    return out;
}

SyncedStore::Outcome SyncedStore::save(const QStringList& ours)
{
    Outcome out;
    out.entries = ours;
    refreshInto(out);
    for (int attempt = 0; attempt < MaxAttempts && !m_keepFile; ++attempt) {
        // Rewriting the entries the file holds would only hand sync engines a version to
        // reconcile.
        if (m_fileHoldsBase && sameEntries(out.entries, m_base, m_leaveOut)) {
            out.saved = true;
            out.unsaved = false;
            break;
        }
        const QByteArray bytes = StoreFormat::serialize(out.entries, m_leaveOut);
        const StoreFile::Written written =
            m_disk.write(m_path, bytes, [this] { return m_disk.stamp(m_path) == m_known; });
        if (written.refused) {
            // Changed since the merge read it: read, merge and write again.
            refreshInto(out);
            continue;
        }
        if (!written.saved) {
            out.error = written.error;
            break;
        }
        m_known = written.stamp;
        m_base = out.entries;
        m_fileHoldsBase = true;
        m_unconfirmed.saved(m_base, written.stamp.modifiedNs);
        m_appended.clear();
        hold(written.held, bytes.size(), written.stamp);
        out.saved = true;
        out.unsaved = false;
        // Lines a writer appended to the old file after it was read, up to its replace.
        mergeReplacedTails(out);
        break;
    }
    out.savesAllowed = !m_keepFile;
    if (m_keepFile)
        out.error = StoreFile::notSavedOverReason(m_path);
    else if (!out.saved && out.error.isEmpty())
        out.error = QStringLiteral("%1 kept changing while it was saved (%2 tries).")
                        .arg(QDir::toNativeSeparators(m_path))
                        .arg(MaxAttempts);
    return out;
}
