#include "core/sync/StoreSession.h"

#include "core/list/DatePurge.h"
#include "core/list/SnippetList.h"
#include "core/sync/ConflictCopies.h"
#include "core/sync/StoreMerge.h"
#include "core/sync/StoreWatcher.h"

#include <utility>

StoreSession::StoreSession(SnippetList& list, QObject* parent, std::shared_ptr<StoreDisk> disk)
    : QObject(parent), m_list(list), m_disk(disk ? std::move(disk) : std::make_shared<StoreDisk>()),
      m_saves([this] { post(Job::Save); })
{
    m_thread.setObjectName(QStringLiteral("store"));
    connect(&m_saves, &BackgroundSave::outcomeChanged, this, &StoreSession::saveStateChanged);
    m_lookAgain.setSingleShot(true);
    m_lookAgain.setInterval(1000);
    connect(&m_lookAgain, &QTimer::timeout, this, [this] { post(Job::Refresh); });
}

StoreSession::~StoreSession()
{
    m_thread.quit();
    m_thread.wait();
}

StoreFile::LoadResult StoreSession::start(const QString& path, const QString& leaveOut)
{
    m_leaveOut = leaveOut;
    m_path = path;
    StoreFile::Contents contents = m_disk->read(m_path, true);
    const StoreFile::LoadResult loaded = contents.result;
    m_loadWarning = contents.warning;
    m_savesAllowed = !contents.keepFile;
    QStringList entries = std::move(contents.entries);
    if (!entries.isEmpty())
        m_list.appendAll(std::move(entries));
    // A store another program makes in the meantime keeps the stamp of none: it is read at once.
    if (loaded == StoreFile::LoadResult::Missing)
        StoreFile(m_path).createEmpty(nullptr, &contents.stamp);

    m_synced = std::make_unique<SyncedStore>(*m_disk, m_path, m_leaveOut);
    m_synced->begin(m_list.allEntries(), contents);
    m_copies = std::make_unique<ConflictCopies>(m_path, m_leaveOut);
    m_worker.moveToThread(&m_thread);
    m_thread.start();
    m_watcher = std::make_unique<StoreWatcher>(m_path);
    connect(m_watcher.get(), &StoreWatcher::changed, this, [this] { post(Job::Refresh); });
    m_watcher->start();
    m_running = true;
    // Anything delivered since the read was stamped is read now, not taken as already seen, and
    // conflict copies left meanwhile are taken in.
    post(Job::Refresh);
    return loaded;
}

void StoreSession::setQuietMs(int ms)
{
    if (m_watcher)
        m_watcher->setQuietMs(ms);
}

void StoreSession::listChanged()
{
    if (!m_running)
        return;
    ++m_generation;
    // Every change is saved a moment later, so a crash loses at most that moment.
    m_saves.schedule();
}

void StoreSession::post(Job job)
{
    if (!m_running)
        return;
    if (m_busy) {
        // One job at a time; the next one starts from the list as it is then.
        if (!m_pending || job == Job::Save)
            m_pending = job;
        return;
    }
    m_busy = true;
    QStringList snapshot = m_list.allEntries();
    const quint64 generation = m_generation;
    QMetaObject::invokeMethod(
        &m_worker,
        [this, job, snapshot = std::move(snapshot), generation,
         unapplied = std::exchange(m_unapplied, std::nullopt)] {
            Result result = run(job, snapshot, generation, unapplied);
            {
                const std::lock_guard lock(m_resultLock);
                m_result = std::move(result);
            }
            QMetaObject::invokeMethod(this, &StoreSession::takeResult, Qt::QueuedConnection);
        },
        Qt::QueuedConnection);
}

StoreSession::Result StoreSession::run(Job job, const QStringList& snapshot, quint64 generation,
                                       const std::optional<Unapplied>& unapplied)
{
    Result result{job, {}, snapshot, generation};
    // Merged here rather than on the list's thread, which a full list would hold up.
    QStringList ours = withUnapplied(unapplied, snapshot);
    // A conflict copy's entries join the list here, so they reach it the way outside changes do.
    result.copiesMerged = m_copies->collect(ours, &result.copyBeingWritten);
    const bool copied = ours != snapshot;
    result.outcome = job == Job::Save ? m_synced->save(ours) : m_synced->refresh(ours);
    if (copied) {
        result.outcome.changed = true;
        result.outcome.unsaved = result.outcome.unsaved || !result.outcome.saved;
    }
    return result;
}

void StoreSession::takeResult()
{
    std::optional<Result> result;
    {
        const std::lock_guard lock(m_resultLock);
        result.swap(m_result);
    }
    if (!result || !m_running)
        return;
    m_busy = false;
    apply(*result);
    if (result->job == Job::Save)
        m_saves.finished(result->outcome.saved, result->outcome.error);
    if (result->outcome.unsaved)
        m_saves.schedule();
    if ((result->outcome.holdsReplaced || result->copyBeingWritten) && !m_lookAgain.isActive())
        m_lookAgain.start();
    m_watcher->rewatch();
    if (m_pending) {
        const Job next = *m_pending;
        m_pending.reset();
        post(next);
    } else if (m_unapplied && !m_finishing) {
        post(Job::Refresh);
    }
}

void StoreSession::apply(const Result& result)
{
    const SyncedStore::Outcome& outcome = result.outcome;
    m_savesAllowed = outcome.savesAllowed;
    if (outcome.changed) {
        // The list changed while the store thread worked: merged with it, never applied over it.
        if (result.generation != m_generation)
            m_unapplied = Unapplied{result.snapshot, outcome.entries};
        else
            takeIn(outcome.entries);
    }
    if (outcome.unreadable)
        Q_EMIT unreadable(m_path);
    if (result.copiesMerged > 0)
        Q_EMIT conflictCopyMerged();
}

QStringList StoreSession::withUnapplied(const std::optional<Unapplied>& unapplied,
                                        const QStringList& list) const
{
    return unapplied ? StoreMerge::merge(unapplied->base, list, unapplied->theirs, m_leaveOut)
                     : list;
}

void StoreSession::takeIn(const QStringList& entries)
{
    if (entries == m_list.allEntries())
        return;
    m_list.replaceAll(entries);
    Q_EMIT merged();
}

StoreSession::Result StoreSession::runNow(Job job)
{
    Result result{job, {}, m_list.allEntries(), m_generation};
    QMetaObject::invokeMethod(
        &m_worker,
        [&] {
            result.outcome = job == Job::Save ? m_synced->save(result.snapshot)
                                              : m_synced->refresh(result.snapshot);
        },
        Qt::BlockingQueuedConnection);
    return result;
}

void StoreSession::finish(const RetryQuestion& retry)
{
    if (!m_running)
        return;
    m_saves.stop();
    m_watcher->stop();
    m_pending.reset();
    // Waits for the job under way; its result is taken in before the last save.
    QMetaObject::invokeMethod(
        &m_worker, [] {}, Qt::BlockingQueuedConnection);
    m_finishing = true;
    takeResult();
    if (m_unapplied)
        takeIn(withUnapplied(std::exchange(m_unapplied, std::nullopt), m_list.allEntries()));
    m_running = false;
    m_lookAgain.stop();

    DatePurge::purge(m_list, m_leaveOut);
    // A store that must not be saved over was announced at start-up; asking again helps no one.
    for (int round = 0; m_savesAllowed;) {
        const Result result = runNow(Job::Save);
        apply(result);
        if (result.outcome.saved) {
            // Lines appended to the replaced file meanwhile are saved too, within reason.
            if (!result.outcome.unsaved || ++round == SyncedStore::MaxAttempts)
                break;
            continue;
        }
        if (!m_savesAllowed || !retry(result.outcome.error))
            break;
    }
}
