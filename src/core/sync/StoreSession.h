#pragma once

#include "core/store/StoreFile.h"
#include "core/sync/BackgroundSave.h"
#include "core/sync/StoreDisk.h"
#include "core/sync/SyncedStore.h"

#include <QObject>
#include <QThread>
#include <QTimer>
#include <functional>
#include <memory>
#include <mutex>
#include <optional>

class ConflictCopies;
class SnippetList;
class StoreWatcher;

/**
 * The store's whole life beside a snippet list: loading it at start-up, creating an empty one on
 * the first run, following changes other programs make to it, saving a moment after each change of
 * the list, and the final save at exit. The window only shows what it reports.
 *
 * Reading, merging and saving run on a store thread of its own, one job at a time: the list's
 * thread hands over a copy of the list and applies what comes back. A result that arrives after
 * the list changed is merged with that change by the next job, never applied over it, and so are
 * the entries of sync engines' conflict copies, which each job takes in too. `finish` waits for
 * the store thread.
 */
class StoreSession : public QObject
{
    Q_OBJECT
public:
    /** Asked when the final save failed: true to try again. Gets the system's reason. */
    using RetryQuestion = std::function<bool(const QString& reason)>;

    /** `disk`: the store's file operations; the real file when null. */
    explicit StoreSession(SnippetList& list, QObject* parent = nullptr,
                          std::shared_ptr<StoreDisk> disk = nullptr);
    ~StoreSession() override;

    /**
     * Loads the store at `path` into the list (behind what it holds) and starts following it.
     * `leaveOut` (the date entry) is never stored. A missing store is created empty. Whatever
     * changed on disk since the read is read and merged at once.
     */
    StoreFile::LoadResult start(const QString& path, const QString& leaveOut);
    /** True once `start` ran and until `finish`. */
    bool running() const { return m_running; }
    /** The user's warning when the store did not load whole; empty otherwise. */
    QString loadWarning() const { return m_loadWarning; }
    /** The store's path; empty before `start`. */
    QString path() const { return m_path; }
    /** False when the store must not be saved over in this session. */
    bool savesAllowed() const { return m_savesAllowed; }

    /** The list changed: it is saved a moment later. */
    void listChanged();
    /**
     * Stops following the file, waits for the store thread, removes every `leaveOut` entry from
     * the list and saves it, asking `retry` after each failure. Runs once.
     */
    void finish(const RetryQuestion& retry);

    /** True while the last background save has failed; `failureReason` says why. */
    bool saveFailed() const { return m_saves.failed(); }
    QString failureReason() const { return m_saves.reason(); }

    BackgroundSave& backgroundSave() { return m_saves; }
    void setQuietMs(int ms);

Q_SIGNALS:
    /** The file changed outside but could not be read; once until it reads again. */
    void unreadable(const QString& path);
    /** A background save failed, or the first one after failures succeeded. */
    void saveStateChanged();
    /** The list took in a change made outside. */
    void merged();
    /** A sync engine's conflict copy was merged into the list and moved aside. */
    void conflictCopyMerged();

private:
    enum class Job
    {
        Refresh,
        Save
    };
    struct Result
    {
        Job job;
        SyncedStore::Outcome outcome;
        QStringList snapshot;
        quint64 generation;
        /** Conflict copies merged, and whether one was still being written. */
        int copiesMerged = 0;
        bool copyBeingWritten = false;
    };
    /** A result the list had moved past: the list it started from and what it found. */
    struct Unapplied
    {
        QStringList base;
        QStringList theirs;
    };

    void post(Job job);
    /** One job on the store thread. */
    Result run(Job job, const QStringList& snapshot, quint64 generation,
               const std::optional<Unapplied>& unapplied);
    void takeResult();
    void apply(const Result& result);
    /** `list` merged with the result it moved past, if any. */
    QStringList withUnapplied(const std::optional<Unapplied>& unapplied,
                              const QStringList& list) const;
    /** Puts `entries` in the list when they differ from it. */
    void takeIn(const QStringList& entries);
    Result runNow(Job job);

    SnippetList& m_list;
    std::shared_ptr<StoreDisk> m_disk;
    QString m_path;
    QString m_leaveOut;
    QString m_loadWarning;
    bool m_savesAllowed = true;
    bool m_running = false;
    bool m_finishing = false;

    // Used on the store thread only:
    std::unique_ptr<SyncedStore> m_synced;
    std::unique_ptr<ConflictCopies> m_copies;
    QThread m_thread;
    QObject m_worker;
    std::mutex m_resultLock;
    std::optional<Result> m_result;

    BackgroundSave m_saves;
    std::unique_ptr<StoreWatcher> m_watcher;
    /**
     * Looks again at replaced files for appended lines while any are held, and at a conflict
     * copy that was still being written.
     */
    QTimer m_lookAgain;
    quint64 m_generation = 0;
    bool m_busy = false;
    std::optional<Job> m_pending;
    /** Handed to the next job, which merges it with the list. */
    std::optional<Unapplied> m_unapplied;
};
