#pragma once

#include "core/sync/StoreMerge.h"

#include <QHash>
#include <QString>
#include <QStringList>
#include <utility>

/**
 * Remembers which entries our saves wrote that no outside version of the store file has held
 * yet, with the save that first wrote each, so that an outside version made before it saw them
 * (a sync engine delivering another machine's file) cannot remove them.
 */
class UnconfirmedWrites
{
public:
    /** Entries equal to `leaveOut` (the date entry) are never written and never counted. */
    explicit UnconfirmedWrites(QString leaveOut = QString()) : m_leaveOut(std::move(leaveOut)) {}

    /** The file as first read: everything in it is confirmed. */
    void begin(const QStringList& file);
    /** Our save wrote `entries`; the written file's modification time is `savedNs`. */
    void saved(const QStringList& entries, qint64 savedNs);
    /** An outside version was read and merged: what it holds is confirmed. */
    void read(const QStringList& outside);

    /** See `StoreMerge::unseenRemovals`. */
    QHash<QString, int> unseenRemovals(const QStringList& base, const QStringList& theirs,
                                       qint64 theirsModifiedNs) const
    {
        return StoreMerge::unseenRemovals(base, theirs, theirsModifiedNs, m_written, m_leaveOut);
    }

    const QHash<QString, StoreMerge::Written>& written() const { return m_written; }

private:
    QString m_leaveOut;
    /** The last outside version read. */
    QStringList m_outside;
    QHash<QString, StoreMerge::Written> m_written;
    int m_saves = 0;
};
