#include "core/sync/UnconfirmedWrites.h"

void UnconfirmedWrites::begin(const QStringList& file)
{
    m_outside = file;
    m_written.clear();
}

void UnconfirmedWrites::saved(const QStringList& entries, qint64 savedNs)
{
    ++m_saves;
    const QHash<QString, int> beyond = StoreMerge::copiesBeyond(m_outside, entries, m_leaveOut);
    QHash<QString, StoreMerge::Written> written;
    written.reserve(beyond.size());
    for (auto it = beyond.cbegin(); it != beyond.cend(); ++it) {
        const StoreMerge::Written before = m_written.value(it.key());
        // An entry written again keeps the save that first wrote it; a copy more is new.
        written.insert(it.key(), before.copies >= it.value()
                                     ? StoreMerge::Written{it.value(), before.save, before.savedNs}
                                     : StoreMerge::Written{it.value(), m_saves, savedNs});
    }
    m_written = std::move(written);
}

void UnconfirmedWrites::read(const QStringList& outside)
{
    const QHash<QString, int> held = StoreMerge::copiesBeyond(m_outside, outside, m_leaveOut);
    for (auto it = held.cbegin(); it != held.cend(); ++it) {
        const auto write = m_written.find(it.key());
        if (write != m_written.end() && (write->copies -= it.value()) <= 0)
            m_written.erase(write);
    }
    m_outside = outside;
}
