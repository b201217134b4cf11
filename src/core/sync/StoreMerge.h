#pragma once

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
    /**
     * Merges `theirs` into `ours`. Entries equal to `leaveOut` (when not empty) are ignored in
     * `base` and `theirs` and stay where they are in `ours`: that entry is never stored.
     */
    static QStringList merge(const QStringList& base, const QStringList& ours,
                             const QStringList& theirs, const QString& leaveOut = QString());
};
