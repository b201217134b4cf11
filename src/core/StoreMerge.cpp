#include "StoreMerge.h"

#include <QHash>
#include <algorithm>
#include <vector>

namespace {

struct Counts
{
    int base = 0;
    int ours = 0;
    int theirs = 0;
    int result = 0;
    int seen = 0;
    /** Where this text's kept entries of ours sit in the kept list, in order. */
    QList<int> kept;
};

/** How many copies of a text the merge keeps, from the three counts. */
int mergedCount(int base, int ours, int theirs)
{
    const int ourChange = ours - base;
    const int theirChange = theirs - base;
    // The same kind of change on both sides is one change: an entry added in both places
    // appears once, not twice.
    if (ourChange >= 0 && theirChange >= 0)
        return base + std::max(ourChange, theirChange);
    if (ourChange <= 0 && theirChange <= 0)
        return base + std::min(ourChange, theirChange);
    return ours + theirs - base;
}

} // namespace

QStringList StoreMerge::merge(const QStringList& base, const QStringList& ours,
                              const QStringList& theirs, const QString& leaveOut)
{
    const auto skipped = [&leaveOut](const QString& text) {
        return !leaveOut.isEmpty() && text == leaveOut;
    };

    QHash<QString, Counts> counts;
    counts.reserve(ours.size() + theirs.size() / 8 + 16);
    for (const QString& text : base)
        if (!skipped(text))
            ++counts[text].base;
    for (const QString& text : ours)
        if (!skipped(text))
            ++counts[text].ours;
    for (const QString& text : theirs)
        if (!skipped(text))
            ++counts[text].theirs;
    for (Counts& c : counts)
        c.result = mergedCount(c.base, c.ours, c.theirs);

    // Our entries in our order, as many of each text as the merge keeps.
    QStringList kept;
    kept.reserve(ours.size());
    int leading = 0; // entries left out at the top of ours, which stay on top
    for (const QString& text : ours) {
        if (skipped(text)) {
            if (kept.size() == leading)
                ++leading;
            kept.append(text);
            continue;
        }
        Counts& c = counts[text];
        if (c.kept.size() < c.result) {
            c.kept.append(static_cast<int>(kept.size()));
            kept.append(text);
        }
    }

    // The outside's additions: the last copies of each text in their file beyond what ours
    // keeps. Each goes into the group after its anchor: 0 is the top, i + 1 follows kept
    // entry i, and the last group is the end.
    const int endGroup = static_cast<int>(kept.size()) + 1;
    std::vector<QStringList> groups(static_cast<size_t>(endGroup) + 1);
    int anchor = 0;
    int added = 0;
    for (const QString& text : theirs) {
        if (skipped(text))
            continue;
        Counts& c = counts[text];
        const int occurrence = c.seen++;
        const int additions = std::max(0, c.result - static_cast<int>(c.kept.size()));
        if (occurrence >= c.theirs - additions) {
            groups[static_cast<size_t>(anchor)].append(text);
            ++added;
        } else if (c.kept.isEmpty()) {
            anchor = endGroup;
        } else {
            const auto which = std::min(static_cast<qsizetype>(occurrence), c.kept.size() - 1);
            anchor = c.kept.at(which) + 1;
        }
    }
    if (added == 0)
        return kept;

    QStringList result;
    result.reserve(kept.size() + added);
    for (int i = 0; i < leading; ++i)
        result.append(kept.at(i));
    result.append(groups.front());
    for (int i = 0; i < kept.size(); ++i) {
        if (i >= leading)
            result.append(kept.at(i));
        result.append(groups[static_cast<size_t>(i) + 1]);
    }
    result.append(groups.back());
    return result;
}
