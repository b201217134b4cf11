#include "core/sync/StoreSync.h"

#include "core/list/SnippetList.h"
#include "core/store/StoreFile.h"

#include <utility>

StoreSync::StoreSync(StoreFile& store, SnippetList& list, QString leaveOut, QObject* parent)
    : QObject(parent), m_store(store), m_list(list),
      m_synced(m_disk, store.path(), std::move(leaveOut)), m_watcher(store.path())
{
    connect(&m_watcher, &StoreWatcher::changed, this, &StoreSync::syncFromDisk);
}

void StoreSync::begin()
{
    StoreFile::Contents loaded;
    loaded.stamp = FileStamp::of(m_store.path());
    loaded.keepFile = !m_store.savesAllowed();
    m_synced.begin(m_list.allEntries(), loaded);
    m_watcher.start();
}

void StoreSync::stop()
{
    m_watcher.stop();
}

QString StoreSync::targetPath() const
{
    return StoreWatcher::targetPath(m_store.path());
}

void StoreSync::apply(const SyncedStore::Outcome& outcome)
{
    if (outcome.changed) {
        m_list.replaceAll(outcome.entries);
        Q_EMIT merged();
    }
    if (outcome.unreadable)
        Q_EMIT unreadable(m_store.path());
    if (outcome.keptUnseen)
        Q_EMIT keptUnseen();
}

void StoreSync::syncFromDisk()
{
    apply(m_synced.refresh(m_list.allEntries()));
}

bool StoreSync::save(QString* error)
{
    const SyncedStore::Outcome outcome = m_synced.save(m_list.allEntries());
    apply(outcome);
    if (!outcome.saved && error)
        *error = outcome.error;
    m_watcher.rewatch();
    return outcome.saved;
}
