#include "core/sync/StoreSession.h"

#include "core/list/DatePurge.h"
#include "core/list/SnippetList.h"
#include "core/store/StoreReadAhead.h"
#include "core/sync/ConflictCopies.h"
#include "core/sync/StoreSync.h"

#include <utility>

StoreSession::StoreSession(SnippetList& list, QObject* parent)
    : QObject(parent), m_list(list), m_saves([this](QString* error) { return save(error); })
{
    connect(&m_saves, &BackgroundSave::outcomeChanged, this, &StoreSession::saveStateChanged);
}

StoreSession::~StoreSession() = default;

StoreFile::LoadResult StoreSession::start(std::unique_ptr<StoreReadAhead> readAhead,
                                          const QString& path, const QString& leaveOut)
{
    m_leaveOut = leaveOut;
    StoreFile::LoadResult loaded;
    if (readAhead) {
        m_store = std::make_unique<StoreFile>(readAhead->path());
        loaded = m_store->accept(readAhead->take(), m_list);
    } else {
        m_store = std::make_unique<StoreFile>(path);
        loaded = m_store->load(m_list);
    }
    if (loaded == StoreFile::LoadResult::Missing)
        m_store->createEmpty();
    m_sync = std::make_unique<StoreSync>(*m_store, m_list, m_leaveOut);
    connect(m_sync.get(), &StoreSync::unreadable, this, &StoreSession::unreadable);
    // Entries the file lacks only because its writer never saw them go out with the next save.
    connect(m_sync.get(), &StoreSync::keptUnseen, &m_saves, &BackgroundSave::schedule);
    m_sync->begin();
    m_conflicts = std::make_unique<ConflictCopies>(m_store->path(), m_list, m_leaveOut);
    connect(m_conflicts.get(), &ConflictCopies::merged, this, [this] {
        m_saves.schedule();
        Q_EMIT conflictCopyMerged();
    });
    m_conflicts->begin();
    m_running = true;
    return loaded;
}

QString StoreSession::loadWarning() const
{
    return m_store ? m_store->loadWarning() : QString();
}

QString StoreSession::path() const
{
    return m_store ? m_store->path() : QString();
}

bool StoreSession::savesAllowed() const
{
    return m_store && m_store->savesAllowed();
}

void StoreSession::listChanged()
{
    // Every change is saved a moment later, so a crash loses at most that moment.
    if (m_running)
        m_saves.schedule();
}

bool StoreSession::save(QString* error)
{
    return m_sync->save(error);
}

void StoreSession::finish(const RetryQuestion& retry)
{
    if (!m_running)
        return;
    m_running = false;
    m_saves.stop();
    m_sync->stop();
    m_conflicts->stop();
    DatePurge::purge(m_list, m_leaveOut);
    QString error;
    // A store that must not be saved over was announced at start-up; asking again helps no one.
    while (m_store->savesAllowed() && !m_sync->save(&error))
        if (!retry(error))
            break;
}
