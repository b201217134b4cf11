#pragma once

#include "core/store/StoreFile.h"
#include "core/store/StoreReadAhead.h"
#include "core/sync/BackgroundSave.h"

#include <QObject>
#include <functional>
#include <memory>

class ConflictCopies;
class SnippetList;
class StoreSync;

/**
 * The store's whole life beside a snippet list: loading it at start-up (from the read-ahead or
 * from the file), creating an empty one on the first run, following changes other programs make
 * to it, saving a moment after each change of the list, and the final save at exit. The window
 * only shows what it reports.
 */
class StoreSession : public QObject
{
    Q_OBJECT
public:
    /** Asked when the final save failed: true to try again. Gets the system's reason. */
    using RetryQuestion = std::function<bool(const QString& reason)>;

    explicit StoreSession(SnippetList& list, QObject* parent = nullptr);
    ~StoreSession() override;

    /**
     * Loads the store into the list (behind what it holds) and starts following it. Takes the
     * read-ahead's result when one is given, else reads the file at `path`. `leaveOut` (the date
     * entry) is never stored. A missing store is created empty.
     */
    StoreFile::LoadResult start(std::unique_ptr<StoreReadAhead> readAhead, const QString& path,
                                const QString& leaveOut);
    /** True once `start` ran and until `finish`. */
    bool running() const { return m_running; }
    /** The user's warning when the store did not load whole; empty otherwise. */
    QString loadWarning() const;
    /** The store's path; empty before `start`. */
    QString path() const;
    /** False when the store must not be saved over in this session. */
    bool savesAllowed() const;

    /** The list changed: it is saved a moment later. */
    void listChanged();
    /**
     * Stops following the file, removes every `leaveOut` entry from the list and saves it,
     * asking `retry` after each failure. Runs once; nothing after it changes the file.
     */
    void finish(const RetryQuestion& retry);

    /** True while the last background save has failed; `failureReason` says why. */
    bool saveFailed() const { return m_saves.failed(); }
    QString failureReason() const { return m_saves.reason(); }

    BackgroundSave& backgroundSave() { return m_saves; }

Q_SIGNALS:
    /** The file changed outside but could not be read; once until it reads again. */
    void unreadable(const QString& path);
    /** A background save failed, or the first one after failures succeeded. */
    void saveStateChanged();
    /** A sync engine's conflict copy was merged into the list and moved aside. */
    void conflictCopyMerged();

private:
    bool save(QString* error);

    SnippetList& m_list;
    QString m_leaveOut;
    std::unique_ptr<StoreFile> m_store;
    std::unique_ptr<StoreSync> m_sync;
    std::unique_ptr<ConflictCopies> m_conflicts;
    BackgroundSave m_saves;
    bool m_running = false;
};
