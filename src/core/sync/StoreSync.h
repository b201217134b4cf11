#pragma once

#include "core/store/FileStamp.h"
#include "core/sync/StoreDisk.h"
#include "core/sync/StoreWatcher.h"
#include "core/sync/SyncedStore.h"

#include <QObject>
#include <QStringList>

class SnippetList;
class StoreFile;

/**
 * Keeps the snippet list and the store file in step on the calling thread while other programs
 * (an editor, a file-sync tool, another copy of Quippet through a shared file) change the file:
 * watches it, merges outside changes into the list, and merges before every save so nothing on
 * disk is replaced unseen. The window's store session does the same on a thread of its own.
 */
class StoreSync : public QObject
{
    Q_OBJECT
public:
    using Stamp = FileStamp;

    /** Changes within this many milliseconds of the first are read as one. */
    static constexpr int DefaultQuietMs = StoreWatcher::DefaultQuietMs;

    /** `leaveOut` (the date entry) is never written and never merged in. */
    StoreSync(StoreFile& store, SnippetList& list, QString leaveOut, QObject* parent = nullptr);

    /** Takes the list as it stands as the file's content and starts watching. */
    void begin();
    /** Stops watching; the list is no longer changed from outside. */
    void stop();

    /**
     * Saves the list. When the file changed on disk since it was last read or written, the
     * change is merged into the list first; a vanished file is written again from the list.
     */
    bool save(QString* error = nullptr);

    /** Reads the file when it changed since last read or written and merges the change. */
    void syncFromDisk();

    void setQuietMs(int ms) { m_watcher.setQuietMs(ms); }
    /** The file the store path names, symbolic links followed. */
    QString targetPath() const;
    static Stamp stampOf(const QString& path) { return FileStamp::of(path); }

Q_SIGNALS:
    /** The list took in a change made outside. */
    void merged();
    /** The file changed outside but could not be read; once until it reads again. */
    void unreadable(const QString& path);
    /** The list kept entries the file lacks because its writer never saw them: save soon. */
    void keptUnseen();

private:
    void apply(const SyncedStore::Outcome& outcome);

    StoreFile& m_store;
    SnippetList& m_list;
    StoreDisk m_disk;
    SyncedStore m_synced;
    StoreWatcher m_watcher;
};
