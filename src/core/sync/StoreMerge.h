#pragma once

#include <QHash>
#include <QString>
#include <QStringList>

/**
 * Three-way merge of the snippet list with a store file that another program changed.
 *
 * Entries are counted as a multiset per text. Against the base (the list as last read or
 * written), each side's change in count is kept: added on one side appears, removed on one side
 * and untouched on the other disappears, the same change on both sides happens once, and
 * opposite changes add up. The result keeps our order; an entry the outside added goes right
 * after the entry that precedes it in the outside file (first when nothing precedes it, last
 * when that entry is not in the result).
 */
class StoreMerge
{
public:
    /** A text our saves wrote in more copies than the last outside version of the file held. */
    struct Written
    {
        /** Copies beyond that version's. */
        int copies = 0;
        /** The number of our save that first wrote them; saves count up from 1. */
        int save = 0;
        /** The modification time of the file that save wrote, in ns since the epoch. */
        qint64 savedNs = 0;
        bool operator==(const Written&) const = default;
    };

    /**
     * Merges `theirs` into `ours`. Entries equal to `leaveOut` (when not empty) are ignored in
     * `base` and `theirs` and stay where they are in `ours`: that entry is never stored.
     * `unseen` names copies that `theirs` lacks against `base` but did not remove (see
     * `unseenRemovals`): they count as still there.
     */
    static QStringList merge(const QStringList& base, const QStringList& ours,
                             const QStringList& theirs, const QString& leaveOut = QString(),
                             const QHash<QString, int>& unseen = {});

    /**
     * Which of our entries `theirs`, modified at `theirsModifiedNs`, lacks without having seen
     * them, as copies per text: the other side cannot remove what it never saw. A copy we wrote
     * (`written`) counts as removed outside only when both hold:
     * - the outside version is not older than the save that wrote it, and
     * - the outside version was made from that save or a later one: it holds a copy we wrote
     *   in that save or later, or it is `base` with nothing changed but some of our copies
     *   left out (a line deleted in an editor).
     * Any doubt keeps the entry. `base` is our last save or the outside version read since.
     */
    static QHash<QString, int> unseenRemovals(const QStringList& base, const QStringList& theirs,
                                              qint64 theirsModifiedNs,
                                              const QHash<QString, Written>& written,
                                              const QString& leaveOut = QString());

    /**
     * Takes in the entries of `copy` (a sync engine's conflict copy) that `ours` lacks, each after
     * the entry that precedes it in `copy`; never removes one.
     */
    static QStringList mergeAdditions(const QStringList& ours, const QStringList& copy,
                                      const QString& leaveOut = QString());

    /** Copies of each text in `after` beyond those in `before`, `leaveOut` aside. */
    static QHash<QString, int> copiesBeyond(const QStringList& before, const QStringList& after,
                                            const QString& leaveOut = QString());
};
