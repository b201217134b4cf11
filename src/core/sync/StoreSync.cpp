#include "core/sync/StoreSync.h"

#include "core/list/SnippetList.h"
#include "core/store/StoreFile.h"
#include "core/sync/StoreMerge.h"

#include <QFileInfo>
#include <sys/stat.h>
#include <utility>

namespace {

/** Receives a reload of the file. */
class PlainList : public SnippetList
{
public:
    int count() const override { return static_cast<int>(entries.size()); }
    QString entryAt(int index) const override { return entries.value(index); }
    void append(const QString& text) override { entries.append(text); }
    void appendAll(QStringList texts) override { entries.append(texts); }
    void removeAt(int index) override
    {
        if (index >= 0 && index < entries.size())
            entries.removeAt(index);
    }

    QStringList entries;
};

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

StoreSync::StoreSync(StoreFile& store, SnippetList& list, QString leaveOut, QObject* parent)
    : QObject(parent), m_store(store), m_list(list), m_leaveOut(std::move(leaveOut)),
      m_unconfirmed(m_leaveOut)
{
    m_quiet.setInterval(DefaultQuietMs);
    connect(&m_quiet, &QTimer::timeout, this, &StoreSync::syncFromDisk);
    connect(&m_watcher, &QFileSystemWatcher::fileChanged, this, &StoreSync::fileEvent);
    connect(&m_watcher, &QFileSystemWatcher::directoryChanged, this, &StoreSync::fileEvent);
}

void StoreSync::begin()
{
    m_base = m_list.allEntries();
    m_stamp = stampOf(m_store.path());
    m_unconfirmed.begin(m_base);
    m_active = true;
    watch();
}

void StoreSync::stop()
{
    m_active = false;
    m_quiet.stop();
    const QStringList watched = m_watcher.files() + m_watcher.directories();
    if (!watched.isEmpty())
        m_watcher.removePaths(watched);
}

QString StoreSync::targetPath() const
{
    return targetOf(m_store.path());
}

QString StoreSync::targetOf(const QString& storePath)
{
    const QFileInfo info(storePath);
    if (!info.isSymLink())
        return storePath;
    const QString canonical = info.canonicalFilePath();
    // A link to a file that is gone names the file the next save writes again.
    return canonical.isEmpty() ? info.symLinkTarget() : canonical;
}

StoreSync::Stamp StoreSync::stampOf(const QString& path)
{
    struct stat st
    {
    };
    // Anything but a file (a folder in its place) holds no entries to merge; the save reports it.
    if (::stat(QFile::encodeName(path).constData(), &st) != 0 || !S_ISREG(st.st_mode))
        return {};
    return {true, static_cast<qint64>(st.st_size),
            static_cast<qint64>(st.st_mtim.tv_sec) * 1000000000 + st.st_mtim.tv_nsec,
            static_cast<quint64>(st.st_dev), static_cast<quint64>(st.st_ino)};
}

void StoreSync::fileEvent()
{
    if (!m_active)
        return;
    // A replace by rename drops the watch on the old file; watch the new one.
    watch();
    // Not restarted on later events: a steady stream of changes still gets read.
    if (!m_quiet.isActive())
        m_quiet.start();
}

void StoreSync::watch()
{
    const QString target = targetPath();
    QStringList wanted{QFileInfo(target).absolutePath(), QFileInfo(m_store.path()).absolutePath()};
    if (QFileInfo::exists(target))
        wanted.append(target);
    wanted.removeDuplicates();

    const QStringList watched = m_watcher.files() + m_watcher.directories();
    QStringList stale;
    for (const QString& path : watched)
        if (!wanted.contains(path))
            stale.append(path);
    if (!stale.isEmpty())
        m_watcher.removePaths(stale);
    QStringList missing;
    for (const QString& path : std::as_const(wanted))
        if (!watched.contains(path))
            missing.append(path);
    if (!missing.isEmpty())
        m_watcher.addPaths(missing);
}

void StoreSync::syncFromDisk()
{
    m_quiet.stop(); // which also makes the quiet timer fire once per burst of events
    // Taken before reading: a change made during the read is seen at the next look.
    const Stamp stamp = stampOf(m_store.path());
    if (stamp == m_stamp)
        return; // unchanged, or our own save
    m_stamp = stamp;
    m_fileHoldsBase = false;
    if (!stamp.exists)
        return; // vanished: the list is kept and the next save writes the file again

    PlainList theirs;
    const StoreFile::LoadResult result = m_store.load(theirs);
    if (result == StoreFile::LoadResult::Missing)
        return;
    if (result != StoreFile::LoadResult::Loaded) {
        // Never taken for an emptied file. The store has kept the bytes aside; the list stays.
        if (!m_warned)
            Q_EMIT unreadable(m_store.path());
        m_warned = true;
        return;
    }
    m_warned = false;

    const QStringList ours = m_list.allEntries();
    // The other side cannot remove what it never saw.
    const QHash<QString, int> unseen =
        m_unconfirmed.unseenRemovals(m_base, theirs.entries, stamp.modifiedNs);
    const QStringList next = StoreMerge::merge(m_base, ours, theirs.entries, m_leaveOut, unseen);
    m_unconfirmed.read(theirs.entries);
    m_base = std::move(theirs.entries);
    m_fileHoldsBase = true;
    if (next != ours) {
        m_list.replaceAll(next);
        Q_EMIT merged();
    }
    if (!unseen.isEmpty())
        Q_EMIT keptUnseen();
}

bool StoreSync::save(QString* error)
{
    syncFromDisk();
    // Rewriting the entries the file holds would only hand sync engines a version to reconcile.
    if (m_fileHoldsBase && sameEntries(m_list.allEntries(), m_base, m_leaveOut))
        return true;
    if (!m_store.save(m_list, error, m_leaveOut))
        return false;
    m_base = m_list.allEntries();
    m_stamp = stampOf(m_store.path());
    m_fileHoldsBase = m_stamp.exists;
    m_unconfirmed.saved(m_base, m_stamp.modifiedNs);
    if (m_active)
        watch();
    return true;
}
